#include "CKXClipRgn.h"

#include <algorithm>
#include <cmath>

#include "CKXPolyline.h"
#include "geom/CTransf2D.h"
#include "geom/KXTrunc.h"

namespace {

// Determinants of grid coordinates (up to 2^32 apart) need 65 bits.
__extension__ using Wide = __int128;

// Grid coordinates below this magnitude differ by less than 2^31, so their
// determinants fit in 64 bits.
constexpr std::int64_t kNarrow = std::int64_t{1} << 30;

bool IsNarrow(const KXGridPoint& p) { return p.x > -kNarrow && p.x < kNarrow && p.y > -kNarrow && p.y < kNarrow; }

template <class W>
int Sign(W v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// Side of p against the line a -> a + d (cross product).
Wide Side(const KXGridPoint& a, std::int64_t dx, std::int64_t dy, const KXGridPoint& p) {
    return Wide{dx} * (p.y - a.y) - Wide{dy} * (p.x - a.x);
}

// Of the signs of two points' sides: 0 when either lies on the line, -1 on
// opposite sides, 1 on the same side.
int Orientation(int signOfFirst, int signOfSecond) {
    if (signOfFirst == 0 || signOfSecond == 0) return 0;
    return signOfFirst == signOfSecond ? 1 : -1;
}

CPointIntCross Record(const KXGridPoint& p, std::int32_t kind) {
    return {static_cast<std::int32_t>(p.x), static_cast<std::int32_t>(p.y), kind};
}

bool AllOnOneLine(const std::vector<std::int32_t>& v) {
    const KXGridPoint a{v[0], v[1]}, b{v[2], v[3]};
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    for (std::size_t i = 4; i < v.size(); i += 2)
        if (Side(a, dx, dy, {v[i], v[i + 1]}) != 0) return false;
    return true;
}

std::int32_t TruncToInt(long double v) {
    return KXTrunc32(static_cast<double>(std::trunc(v)));
}

}  // namespace

CKXClipRgn::CKXClipRgn() {
    for (CDirectSegmentIter& it : m_iters) it = CDirectSegmentIter(m_contours);
    for (CDirectSegmentIntIter& it : m_intIters) it = CDirectSegmentIntIter(m_grid);
}

CKXClipRgn::~CKXClipRgn() = default;

CDirectSegmentIter& CKXClipRgn::SegmentIter(int which) { return m_iters[which == 1 ? 1 : 0]; }

CDirectSegmentIntIter& CKXClipRgn::IntSegmentIter(int which) { return m_intIters[which == 1 ? 1 : 0]; }

const CFltExtents& CKXClipRgn::GetExtents() {
    if (m_extents.IsEmpty()) {
        for (const auto& contour : m_contours) {
            CFltExtents box;
            m_extents.Merge(contour->GetExtents(box));
        }
    }
    return m_extents;
}

bool CKXClipRgn::AddContour(std::unique_ptr<CKXPolyline> contour) {
    if (!contour || contour->GetCount() < 2) return false;
    contour->Update();
    CFltExtents box;
    m_extents.Merge(contour->GetExtents(box));
    m_contours.push_back(std::move(contour));
    // A contour added after the grid was set joins it at once.
    if (HasGrid()) Quantise(m_scale, m_origin);
    return true;
}

std::size_t CKXClipRgn::GridVertexCount() const {
    std::size_t count = 0;
    for (const auto& contour : m_grid) count += contour.size() / 2 - 1;
    return count;
}

void CKXClipRgn::Quantise(double scale, const CFltPoint& origin) {
    m_scale = std::isfinite(scale) && scale > 0.0 ? scale : 0.0;
    m_origin = origin;
    m_grid.clear();
    m_gridBoxes.clear();
    m_gridMin = {INT64_MAX, INT64_MAX};
    m_gridMax = {INT64_MIN, INT64_MIN};
    for (const auto& contour : m_contours) {
        contour->Quantise(m_scale, origin);
        const std::vector<std::int32_t>& q = contour->GetQuantised();
        // The last point closes the contour and is not a vertex of its own.
        const std::size_t used = q.size() / 2 - 1;
        std::vector<std::int32_t> vertices;
        vertices.reserve(2 * used + 2);
        for (std::size_t v = 0; v < used; ++v) {
            const std::int32_t x = q[2 * v], y = q[2 * v + 1];
            const std::size_t n = vertices.size();
            if (n >= 2 && vertices[n - 2] == x && vertices[n - 1] == y) continue;
            vertices.push_back(x);
            vertices.push_back(y);
        }
        while (vertices.size() >= 4 && vertices[0] == vertices[vertices.size() - 2] &&
               vertices[1] == vertices.back())
            vertices.resize(vertices.size() - 2);
        // A single grid point, or vertices all on one line, enclose nothing
        // (the overlap rules would otherwise see an inside along the line).
        if (vertices.size() < 4 || AllOnOneLine(vertices)) continue;
        GridBox box{{INT64_MAX, INT64_MAX}, {INT64_MIN, INT64_MIN}};
        for (std::size_t i = 0; i < vertices.size(); i += 2) {
            box.low = {std::min<std::int64_t>(box.low.x, vertices[i]), std::min<std::int64_t>(box.low.y, vertices[i + 1])};
            box.high = {std::max<std::int64_t>(box.high.x, vertices[i]), std::max<std::int64_t>(box.high.y, vertices[i + 1])};
        }
        m_gridMin = {std::min(m_gridMin.x, box.low.x), std::min(m_gridMin.y, box.low.y)};
        m_gridMax = {std::max(m_gridMax.x, box.high.x), std::max(m_gridMax.y, box.high.y)};
        m_gridBoxes.push_back(box);
        vertices.push_back(vertices[0]);
        vertices.push_back(vertices[1]);
        m_grid.push_back(std::move(vertices));
    }
    m_narrowGrid = m_grid.empty() || (IsNarrow(m_gridMin) && IsNarrow(m_gridMax));
}

void CKXClipRgn::EnsureGrid() {
    if (HasGrid()) return;
    const CFltExtents& box = GetExtents();
    if (box.IsEmpty()) return;
    const double side = std::max(box.Width(), box.Height());
    const double scale = side > 0.0 && std::isfinite(side) ? kOwnGridSpan / side : 1.0;
    // The origin sits in the middle so that lines reaching far beyond the
    // region still find room on both sides.
    Quantise(scale, {(box.xmin + box.xmax) / 2.0, (box.ymin + box.ymax) / 2.0});
}

KXGridPoint CKXClipRgn::ToGrid(const CFltPoint& p) const {
    return {KXQuantiseCoord(p.x, m_origin.x, m_scale), KXQuantiseCoord(p.y, m_origin.y, m_scale)};
}

CFltPoint CKXClipRgn::FromGrid(const KXGridPoint& g) const {
    if (m_scale == 0.0) return {};
    return {static_cast<double>(g.x) / m_scale + m_origin.x, static_cast<double>(g.y) / m_scale + m_origin.y};
}

bool CKXClipRgn::FitsGrid(const CFltPoint& p) const {
    const double x = (p.x - m_origin.x) * m_scale, y = (p.y - m_origin.y) * m_scale;
    return std::fabs(x) < 2147483647.0 && std::fabs(y) < 2147483647.0;
}

bool CKXClipRgn::SpanInGridBox(const CFltPoint& a, const CFltPoint& b, double& t0, double& t1) const {
    if (m_grid.empty()) return false;
    constexpr double kMargin = 4.0;  // grid steps
    const double ax = (a.x - m_origin.x) * m_scale, ay = (a.y - m_origin.y) * m_scale;
    const double dx = (b.x - a.x) * m_scale, dy = (b.y - a.y) * m_scale;
    t0 = 0.0;
    t1 = 1.0;
    // Liang-Barsky: each side of the box cuts the parameter range.
    const auto cut = [&](double p, double q) {
        if (p == 0.0) return q >= 0.0;
        const double r = q / p;
        if (p < 0.0) t0 = std::max(t0, r);
        else t1 = std::min(t1, r);
        return t0 <= t1;
    };
    return cut(-dx, ax - (static_cast<double>(m_gridMin.x) - kMargin)) &&
           cut(dx, static_cast<double>(m_gridMax.x) + kMargin - ax) &&
           cut(-dy, ay - (static_cast<double>(m_gridMin.y) - kMargin)) &&
           cut(dy, static_cast<double>(m_gridMax.y) + kMargin - ay) && std::isfinite(t0) && std::isfinite(t1);
}

std::unique_ptr<CKXClipRgn> CKXClipRgn::CloneTransformed(const CTransf2D& xf) const {
    auto copy = std::make_unique<CKXClipRgn>();
    for (const auto& contour : m_contours) {
        KXEntPtr moved = contour->CloneTransformed(xf);
        auto* polyline = static_cast<CKXPolyline*>(moved.get());
        copy->AddContour(std::make_unique<CKXPolyline>(polyline->GetPoints()));
    }
    if (HasGrid()) copy->Quantise(m_scale, m_origin);
    return copy;
}

template <class W>
void CKXClipRgn::CrossingsIn(const KXGridPoint& a, const KXGridPoint& b, std::vector<CPointIntCross>& out) const {
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    const bool vertical = dx == 0, horizontal = dy == 0;
    // Spans along the segment are compared on its major axis, the one its
    // crossings are sorted on.
    const bool alongY = std::llabs(dy) > std::llabs(dx);
    const std::int64_t abLow = alongY ? std::min(a.y, b.y) : std::min(a.x, b.x);
    const std::int64_t abHigh = alongY ? std::max(a.y, b.y) : std::max(a.x, b.x);
    const auto side = [&](const KXGridPoint& v) { return W{dx} * (v.y - a.y) - W{dy} * (v.x - a.x); };
    // The segment's ends at abLow and at abHigh.
    const bool aFirst = alongY ? a.y <= b.y : a.x <= b.x;
    const KXGridPoint& segmentStart = aFirst ? a : b;
    const KXGridPoint& segmentEnd = aFirst ? b : a;
    const KXGridPoint segmentLow{std::min(a.x, b.x), std::min(a.y, b.y)};
    const KXGridPoint segmentHigh{std::max(a.x, b.x), std::max(a.y, b.y)};
    for (std::size_t c = 0; c < m_grid.size(); ++c) {
        // A contour whose box the segment's box misses has no crossing.
        const GridBox& box = m_gridBoxes[c];
        if (box.high.x < segmentLow.x || box.low.x > segmentHigh.x || box.high.y < segmentLow.y ||
            box.low.y > segmentHigh.y)
            continue;
        const std::vector<std::int32_t>& contour = m_grid[c];
        // Vertices 0..n-1; the closing copy of vertex 0 is not one.
        const std::size_t n = contour.size() / 2 - 1;
        const auto vertex = [&](std::size_t i) { return KXGridPoint{contour[2 * i], contour[2 * i + 1]}; };
        // Each vertex's side is computed once and carried to the next edge.
        KXGridPoint p = vertex(0);
        W sidePrevious = side(vertex(n - 1));
        W sideP = side(p);
        KXGridPoint q;
        W sideQ = 0;
        for (std::size_t i = 0; i < n; ++i, sidePrevious = sideP, sideP = sideQ, p = q) {
            const std::size_t next = i + 1 == n ? 0 : i + 1;
            q = vertex(next);
            sideQ = side(q);
            // Strictly on one side: no intersection (parallel edges too).
            if ((sideP > 0 && sideQ > 0) || (sideP < 0 && sideQ < 0)) continue;
            if (sideP == 0 && sideQ == 0) {
                // Collinear: a run of edges along the line is taken whole,
                // from its first edge (one whose predecessor leaves the
                // line) to the last vertex on the line.
                if (sidePrevious == 0) continue;
                std::size_t last = next, after = next + 1 == n ? 0 : next + 1;
                W sideAfter = side(vertex(after));
                for (std::size_t steps = 0; sideAfter == 0 && steps < n; ++steps) {
                    last = after;
                    after = after + 1 == n ? 0 : after + 1;
                    sideAfter = side(vertex(after));
                }
                const KXGridPoint end = vertex(last);
                // The boundary passes through the line along the run, or
                // only touches it: a passing run's ends are one crossing, a
                // touching run's ends only mark the stretch on the boundary.
                const bool passes = Orientation(Sign(sidePrevious), Sign(sideAfter)) < 1;
                const std::int64_t pc = alongY ? p.y : p.x, ec = alongY ? end.y : end.x;
                const std::int64_t low = std::min(pc, ec), high = std::max(pc, ec);
                if (low == high) {
                    // The run comes back to where it began: a vertex.
                    if (passes && abLow < low && low < abHigh) out.push_back(Record(p, CPointIntCross::kCrossing));
                    continue;
                }
                if (!(abLow < high && low < abHigh)) continue;
                // Both ends are recorded, an end beyond the segment at the
                // segment's own end, so that the ends always come in pairs;
                // the lower one, first along the sorted segment, opens.
                const std::int32_t kind = passes ? CPointIntCross::kOverlapEnd : CPointIntCross::kTouchEnd;
                const KXGridPoint& lowEnd = pc <= ec ? p : end;
                const KXGridPoint& highEnd = pc <= ec ? end : p;
                out.push_back(Record(abLow < low ? lowEnd : segmentStart, kind | CPointIntCross::kOpens));
                out.push_back(Record(abHigh > high ? highEnd : segmentEnd, kind));
                continue;
            }
            const W den = sideQ - sideP;  // e.y d.x - d.y e.x
            const W lambda = -sideP;      // position on the edge, 0..den
            const std::int64_t ex = q.x - p.x, ey = q.y - p.y;
            const W mu = W{ey} * (p.x - a.x) - W{ex} * (p.y - a.y);  // position on a->b
            if (den > 0 ? (mu <= 0 || mu >= den) : (mu >= 0 || mu <= den)) continue;  // outside, or at a or b
            if (lambda == den) continue;  // at q: the next edge's start
            if (lambda == 0) {
                // At p: a crossing only when the boundary passes from one side to the other.
                if (Orientation(Sign(sidePrevious), Sign(sideQ)) == -1) out.push_back(Record(p, CPointIntCross::kCrossing));
                continue;
            }
            const long double t = static_cast<long double>(lambda) / static_cast<long double>(den);
            CPointIntCross cross;
            cross.x = vertical ? static_cast<std::int32_t>(a.x)
                               : TruncToInt(static_cast<long double>(p.x) + t * static_cast<long double>(ex));
            cross.y = horizontal ? static_cast<std::int32_t>(a.y)
                                 : TruncToInt(static_cast<long double>(p.y) + t * static_cast<long double>(ey));
            out.push_back(cross);
        }
    }
}

void CKXClipRgn::Crossings(const KXGridPoint& a, const KXGridPoint& b, std::vector<CPointIntCross>& out) const {
    if (a.x == b.x && a.y == b.y) return;
    // Small coordinates keep every determinant within 64 bits.
    if (m_narrowGrid && IsNarrow(a) && IsNarrow(b))
        CrossingsIn<std::int64_t>(a, b, out);
    else
        CrossingsIn<Wide>(a, b, out);
}

int CKXClipRgn::Flips(const std::vector<CPointIntCross>& records, std::size_t first) {
    int flips = 0;
    bool pendingOverlap = false;
    for (std::size_t i = first; i < records.size(); ++i) {
        if (records[i].Kind() == CPointIntCross::kTouchEnd) continue;
        if (records[i].Kind() != CPointIntCross::kOverlapEnd) {
            ++flips;
            continue;
        }
        if (pendingOverlap) ++flips;
        pendingOverlap = !pendingOverlap;
    }
    return flips;
}

bool CKXClipRgn::IsInside(const KXGridPoint& p, std::vector<CPointIntCross>& probe) const {
    if (m_grid.empty() || p.x < m_gridMin.x || p.x > m_gridMax.x || p.y < m_gridMin.y || p.y > m_gridMax.y)
        return false;
    probe.clear();
    Crossings({m_gridMin.x - 5, p.y}, p, probe);
    std::sort(probe.begin(), probe.end());
    return Flips(probe, 0) % 2 == 1;
}

int CKXClipRgn::IsInsideAlong(const KXGridPoint& a, const KXGridPoint& b, std::int64_t along) const {
    // Everything is scaled by 2^kAlongBits: grid coordinates stay within 32
    // bits, so the point within 58 and every product below within 117.
    const Wide one = Wide{1} << kAlongBits;
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    const Wide px = Wide{a.x} * one + Wide{dx} * along;
    const Wide py = Wide{a.y} * one + Wide{dy} * along;
    if (m_grid.empty() || px < Wide{m_gridMin.x} * one || px > Wide{m_gridMax.x} * one ||
        py < Wide{m_gridMin.y} * one || py > Wide{m_gridMax.y} * one)
        return 0;
    // A point where the segment meets the boundary without running along
    // it (a vertex it touches, say) is tested as moved a little further
    // along the segment, p + e (b - a) for a vanishing e, and then a little
    // up (the half-open rule below): what is inside beside the point is
    // what the caller asks about. Each comparison with the point falls to
    // the first of those terms that is not zero.
    const auto above = [&](Wide y) { return y != py ? y > py : dy < 0; };
    bool inside = false;
    for (std::size_t c = 0; c < m_grid.size(); ++c) {
        // A contour beside or below the point's rightward probe has no say
        // (a contour that only reaches the point is looked at).
        const GridBox& box = m_gridBoxes[c];
        if (py < Wide{box.low.y} * one || py > Wide{box.high.y} * one || px > Wide{box.high.x} * one) continue;
        const std::vector<std::int32_t>& contour = m_grid[c];
        // The closing copy of vertex 0 ends the last edge.
        for (std::size_t i = 0; i + 3 < contour.size(); i += 2) {
            const Wide ex = Wide{contour[i]} * one, ey = Wide{contour[i + 1]} * one;
            const Wide fx = Wide{contour[i + 2]} * one, fy = Wide{contour[i + 3]} * one;
            const Wide cross = (fx - ex) * (py - ey) - (fy - ey) * (px - ex);
            // How the moved point turns against the edge.
            const Wide turn = Wide{std::int64_t{contour[i + 2]} - contour[i]} * dy -
                              Wide{std::int64_t{contour[i + 3]} - contour[i + 1]} * dx;
            // On an edge the segment runs along, the point stays on the
            // boundary however it is moved: the test cannot tell.
            if (cross == 0 && turn == 0 && std::min(ex, fx) <= px && px <= std::max(ex, fx) &&
                std::min(ey, fy) <= py && py <= std::max(ey, fy))
                return -1;
            // Half-open in y: an edge counts when it spans the point's height
            // and passes to its right.
            if (above(ey) == above(fy)) continue;
            const bool left = cross != 0 ? cross > 0 : turn > 0;
            if (left == (fy > ey)) inside = !inside;
        }
    }
    return inside ? 1 : 0;
}
