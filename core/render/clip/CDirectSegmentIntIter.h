// Walks every vertex of every contour of a clip region (or of several
// regions, one after the other) on the quantised integer coordinates, with
// the vertex before and after it; the same walk as CDirectSegmentIter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

struct KXGridPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

class CDirectSegmentIntIter final {
public:
    // Per contour: its quantised x, y pairs, closing point included.
    using Contours = std::vector<std::vector<std::int32_t>>;

    CDirectSegmentIntIter() = default;
    explicit CDirectSegmentIntIter(const Contours& contours) : m_lists{&contours} {}
    // The contours of every list in turn.
    explicit CDirectSegmentIntIter(std::vector<const Contours*> lists) : m_lists(std::move(lists)) {}

    // Back to the first vertex of the first contour; false when there is none.
    bool Reset() {
        m_list = 0;
        m_contour = 0;
        m_vertex = 0;
        return Settle();
    }
    // The next vertex, moving to the next contour after vertex n-2; false at the end.
    bool Next() {
        if (m_list >= m_lists.size()) return false;
        ++m_vertex;
        return Settle();
    }
    KXGridPoint Current() const { return At(m_vertex); }
    // The vertex before the current one (vertex n-2 for vertex 0).
    KXGridPoint Previous() const { return At(m_vertex == 0 ? m_used - 1 : m_vertex - 1); }
    // The vertex after the current one (vertex 0 after vertex n-2).
    KXGridPoint Following() const { return At(m_vertex + 1 == m_used ? 0 : m_vertex + 1); }
    // The vertex after the following one.
    KXGridPoint AfterFollowing() const {
        const std::size_t next = m_vertex + 1 == m_used ? 0 : m_vertex + 1;
        return At(next + 1 == m_used ? 0 : next + 1);
    }

private:
    KXGridPoint At(std::size_t v) const {
        const std::int32_t* q = m_points + 2 * v;
        return {q[0], q[1]};
    }
    bool Settle() {
        while (m_list < m_lists.size()) {
            const Contours& contours = *m_lists[m_list];
            if (m_contour < contours.size()) {
                const std::size_t n = contours[m_contour].size() / 2;
                m_used = n >= 2 ? n - 1 : 0;
                if (m_vertex < m_used) {
                    m_points = contours[m_contour].data();
                    return true;
                }
                ++m_contour;
            } else {
                ++m_list;
                m_contour = 0;
            }
            m_vertex = 0;
        }
        return false;
    }

    std::vector<const Contours*> m_lists;
    std::size_t m_list = 0;
    const std::int32_t* m_points = nullptr;
    std::size_t m_contour = 0;
    std::size_t m_vertex = 0;
    std::size_t m_used = 0;
};
