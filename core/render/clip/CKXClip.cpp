#include "CKXClip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "CKXClipRgn.h"
#include "CKXLine.h"
#include "CKXPolyline.h"

namespace {

bool SameGrid(const CPointIntCross& r, const KXGridPoint& g) { return r.x == g.x && r.y == g.y; }

// Records ordered along the segment: by its major axis, ties by the minor
// one in the direction the segment runs. (Sorting by x alone would misplace
// truncated crossings of steep segments.)
struct AlongLess {
    bool xMajor;
    bool sameSense;
    AlongLess(std::int64_t dx, std::int64_t dy) : xMajor(std::llabs(dx) >= std::llabs(dy)), sameSense((dx >= 0) == (dy >= 0)) {}
    bool operator()(const CPointIntCross& a, const CPointIntCross& b) const {
        const std::int32_t am = xMajor ? a.x : a.y, bm = xMajor ? b.x : b.y;
        if (am != bm) return am < bm;
        const std::int32_t an = xMajor ? a.y : a.x, bn = xMajor ? b.y : b.x;
        return sameSense ? an < bn : an > bn;
    }
};

// Where the middle of the stretch between two records lies along the grid
// segment a -> b, in steps of 2^-kAlongBits of the segment (the records,
// truncated on the grid, are projected on it).
std::int64_t Along(const KXGridPoint& a, const KXGridPoint& b, const CPointIntCross& from, const CPointIntCross& to) {
    const long double dx = static_cast<long double>(b.x - a.x), dy = static_cast<long double>(b.y - a.y);
    const auto at = [&](const CPointIntCross& r) {
        return ((static_cast<long double>(r.x) - static_cast<long double>(a.x)) * dx +
                (static_cast<long double>(r.y) - static_cast<long double>(a.y)) * dy) /
               (dx * dx + dy * dy);
    };
    const long double one = static_cast<long double>(std::int64_t{1} << CKXClipRgn::kAlongBits);
    const long double middle = std::clamp((at(from) + at(to)) / 2.0L, 0.0L, 1.0L);
    return std::llround(middle * one);
}

CPointIntCross RecordOf(const KXGridPoint& g) {
    return {static_cast<std::int32_t>(g.x), static_cast<std::int32_t>(g.y), CPointIntCross::kCrossing};
}

}  // namespace

CKXClip::CKXClip(CKXClipRgn& region, bool startsOutside)
    : m_region(region), m_startsOutside(startsOutside ? 1 : 0) {
    m_region.EnsureGrid();
}

CFltPoint CKXClip::Back(const KXGridPoint& g, const CFltPoint& a, const CFltPoint& b) const {
    const CFltPoint p = m_region.FromGrid(g);
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    if (!(len2 > 0.0)) return a;
    double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
    t = std::clamp(t, 0.0, 1.0);
    return {a.x + t * dx, a.y + t * dy};
}

int CKXClip::ClipSegment(const CFltPoint& a, const CFltPoint& b, std::vector<CFltPoint>& spans) {
    if (m_region.IsEmpty()) {
        spans.push_back(a);
        spans.push_back(b);
        return kFirstAtStart | kLastAtEnd;
    }
    if (m_region.FitsGrid(a) && m_region.FitsGrid(b)) return ClipOnGrid(a, b, spans);
    // An end beyond the grid's range would saturate and turn the segment:
    // it is first cut to the region's box (what lies beyond is outside).
    double t0 = 0.0, t1 = 1.0;
    if (!m_region.SpanInGridBox(a, b, t0, t1)) return 0;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const CFltPoint from = t0 > 0.0 ? CFltPoint{a.x + t0 * dx, a.y + t0 * dy} : a;
    const CFltPoint to = t1 < 1.0 ? CFltPoint{a.x + t1 * dx, a.y + t1 * dy} : b;
    int report = ClipOnGrid(from, to, spans);
    if (t0 > 0.0) report &= ~(kFirstAtStart | kLastAtStart);
    if (t1 < 1.0) report &= ~(kFirstAtEnd | kLastAtEnd);
    return report;
}

int CKXClip::ClipOnGrid(const CFltPoint& a, const CFltPoint& b, std::vector<CFltPoint>& spans) {
    const KXGridPoint ga = m_region.ToGrid(a);
    const KXGridPoint gb = m_region.ToGrid(b);
    if (ga.x == gb.x && ga.y == gb.y) {
        // Shorter than a grid step: all in or all out.
        if (m_startsOutside || !m_region.IsInside(ga, m_probe)) return 0;
        spans.push_back(a);
        spans.push_back(b);
        return kFirstAtStart | kLastAtEnd;
    }
    m_records.clear();
    m_region.Crossings(ga, gb, m_records);
    const AlongLess along(gb.x - ga.x, gb.y - ga.y);
    std::sort(m_records.begin(), m_records.end(), along);
    if (std::any_of(m_records.begin(), m_records.end(),
                    [](const CPointIntCross& r) { return r.Kind() != CPointIntCross::kTouchEnd; }))
        m_crossed = 1;
    // The walk runs from the end point that sorts first to the other.
    const CPointIntCross ra = RecordOf(ga), rb = RecordOf(gb);
    const bool forward = !along(rb, ra);
    const CPointIntCross& first = forward ? ra : rb;
    const CPointIntCross& last = forward ? rb : ra;
    // Calls span(from, to, flipped, onOverlap) for each stretch between
    // consecutive points: flipped tells whether the state differs from the
    // first stretch's, onOverlap whether the stretch runs along boundary
    // edges (between the two ends of an overlap).
    const auto walk = [&](auto&& span) {
        bool flipped = false, pendingOverlap = false;
        int overlaps = 0;  // overlaps open here, of any number of runs
        const CPointIntCross* from = &first;
        for (std::size_t i = 0; i <= m_records.size(); ++i) {
            const CPointIntCross& to = i < m_records.size() ? m_records[i] : last;
            if (from->x != to.x || from->y != to.y) span(*from, to, flipped, overlaps > 0);
            if (i < m_records.size() && to.Kind() != CPointIntCross::kCrossing) overlaps += to.Opens() ? 1 : -1;
            // An overlap's two ends flip once, at the second; a crossing
            // that meets the line where an overlap starts flips on its own.
            if (to.Kind() == CPointIntCross::kOverlapEnd) {
                if (pendingOverlap) flipped = !flipped;
                pendingOverlap = !pendingOverlap;
            } else if (to.Kind() != CPointIntCross::kTouchEnd) {
                flipped = !flipped;
            }
            from = &to;
        }
    };

    bool inside = false;
    if (!m_startsOutside) {
        // The inside test is made at the middle of the longest stretch off
        // the boundary: on an overlap the probe would find the boundary
        // itself, and next to a crossing the grid's rounding can put the
        // probe on its far side.
        KXGridPoint probeAt{};
        std::int64_t probeAlong = 0;
        bool probeFlipped = false, found = false, probeOnOverlap = true;
        std::int64_t longest = -1;
        walk([&](const CPointIntCross& from, const CPointIntCross& to, bool flipped, bool onOverlap) {
            const std::int64_t length = std::llabs(std::int64_t{to.x} - from.x) + std::llabs(std::int64_t{to.y} - from.y);
            if (found && (onOverlap > probeOnOverlap || (onOverlap == probeOnOverlap && length <= longest))) return;
            probeAt = {(std::int64_t{from.x} + to.x) / 2, (std::int64_t{from.y} + to.y) / 2};
            probeAlong = Along(ga, gb, from, to);
            probeFlipped = flipped;
            probeOnOverlap = onOverlap;
            longest = length;
            found = true;
        });
        if (found) {
            // The probe is taken on the segment itself: the rounded middle
            // of two grid points can lie across an edge that the segment
            // runs along within a grid step. A probe on a vertex the segment
            // only touches is judged beside it; only one on an edge the
            // segment runs along is left to the grid point test.
            const int exact = m_region.IsInsideAlong(ga, gb, probeAlong);
            const bool probeInside = exact >= 0 ? exact == 1 : m_region.IsInside(probeAt, m_probe);
            inside = probeInside != probeFlipped;
        }
    }
    const std::size_t before = spans.size();
    int ends = 0;
    walk([&](const CPointIntCross& from, const CPointIntCross& to, bool flipped, bool) {
        if (inside == flipped) return;
        const bool firstSpan = spans.size() == before;
        const KXGridPoint gFrom{from.x, from.y}, gTo{to.x, to.y};
        const CFltPoint pFrom = SameGrid(from, ga) ? a : SameGrid(from, gb) ? b : Back(gFrom, a, b);
        const CFltPoint pTo = SameGrid(to, ga) ? a : SameGrid(to, gb) ? b : Back(gTo, a, b);
        if (firstSpan) ends |= SameGrid(from, ga) ? kFirstAtStart : SameGrid(from, gb) ? kFirstAtEnd : 0;
        ends &= kFirstAtStart | kFirstAtEnd;
        ends |= SameGrid(to, ga) ? kLastAtStart : SameGrid(to, gb) ? kLastAtEnd : 0;
        spans.push_back(pFrom);
        spans.push_back(pTo);
    });
    return forward ? ends : ends | kBackward;
}

void CKXClip::Clip(const CKXLine& line, std::vector<std::unique_ptr<CKXLine>>& out) {
    m_spans.clear();
    ClipSegment(line.GetStart(), line.GetEnd(), m_spans);
    for (std::size_t i = 0; i + 1 < m_spans.size(); i += 2) {
        auto piece = std::make_unique<CKXLine>(m_spans[i], m_spans[i + 1]);
        piece->SetFlags(line.GetFlags());
        // A solid dash stays solid in every piece of it.
        if (line.HasPhase() && line.IsSolidPiece()) {
            piece->EnsurePhase() = *line.GetPhase();
            piece->SetSolidPiece(true);
        }
        out.push_back(std::move(piece));
    }
}

void CKXClip::Clip(const CKXPolyline& polyline, std::vector<std::unique_ptr<CKXPolyline>>& out) {
    const std::vector<CFltPoint>& points = polyline.GetPoints();
    std::vector<CFltPoint> current;
    const auto flush = [&] {
        if (current.size() >= 2) {
            auto piece = std::make_unique<CKXPolyline>(std::move(current));
            piece->SetFlags(polyline.GetFlags());
            piece->Update();
            out.push_back(std::move(piece));
        }
        current.clear();
    };
    if (points.size() == 1) {
        // A dot is kept when it lies inside.
        m_spans.clear();
        if (ClipSegment(points[0], points[0], m_spans) != 0) out.push_back(std::make_unique<CKXPolyline>(polyline));
        return;
    }
    for (std::size_t s = 0; s + 1 < points.size(); ++s) {
        m_spans.clear();
        const int report = ClipSegment(points[s], points[s + 1], m_spans);
        const std::size_t count = m_spans.size() / 2;
        // Pieces in the segment's own direction. (Their geometry cannot
        // tell: a span next to an end can shrink to that end point.)
        if ((report & kBackward) != 0) std::reverse(m_spans.begin(), m_spans.end());
        const bool touchesStart = (report & (kFirstAtStart | kLastAtStart)) != 0;
        const bool touchesEnd = (report & (kFirstAtEnd | kLastAtEnd)) != 0;
        if (!touchesStart) flush();
        for (std::size_t j = 0; j < count; ++j) {
            if (j > 0) flush();
            const CFltPoint& from = m_spans[2 * j];
            if (current.empty() || current.back() != from) current.push_back(from);
            current.push_back(m_spans[2 * j + 1]);
        }
        if (!touchesEnd) flush();
    }
    flush();
}
