// Walks every vertex of every contour of a clip region (or of several
// regions, one after the other) on the double coordinates, with the vertex
// before and after it. A contour of n points uses vertices 0..n-2: its last
// point repeats the first and closes it.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "geom/CFltPoint.h"

class CKXPolyline;

class CDirectSegmentIter {
public:
    using Contours = std::vector<std::unique_ptr<CKXPolyline>>;

    CDirectSegmentIter() = default;
    explicit CDirectSegmentIter(const Contours& contours) : m_lists{&contours} {}
    // The contours of every list in turn.
    explicit CDirectSegmentIter(std::vector<const Contours*> lists) : m_lists(std::move(lists)) {}
    virtual ~CDirectSegmentIter() = default;

    // Back to the first vertex of the first contour; null when there is none.
    virtual const CFltPoint* Reset();
    // The next vertex, moving to the next contour after vertex n-2; null at the end.
    virtual const CFltPoint* Next();
    // The vertex before the current one (vertex n-2 for vertex 0).
    virtual const CFltPoint* Previous() const;
    // The vertex after the current one (vertex 0 after vertex n-2).
    virtual const CFltPoint* Following() const;

private:
    bool AtEnd() const { return m_list >= m_lists.size(); }
    const CKXPolyline& Contour() const;
    // Vertices used of the current contour: its points less the closing one.
    std::size_t Used() const;
    const CFltPoint* At(std::size_t v) const;
    // Moves to the first usable vertex from (m_list, m_contour, m_vertex) on.
    const CFltPoint* Settle();

    std::vector<const Contours*> m_lists;
    std::size_t m_list = 0;
    std::size_t m_contour = 0;
    std::size_t m_vertex = 0;
};
