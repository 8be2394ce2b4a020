#include "utlSplineFit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kxdxf {
namespace {

KXPoint operator+(KXPoint a, KXPoint b)
{
    return {a.x + b.x, a.y + b.y};
}

KXPoint operator-(KXPoint a, KXPoint b)
{
    return {a.x - b.x, a.y - b.y};
}

KXPoint operator*(double s, KXPoint a)
{
    return {s * a.x, s * a.y};
}

// Points closer than this part of their coordinates' size are one point:
// chord lengths below it are rounding noise.
constexpr double kCoincident = 1e-12;

bool utlSamePoint(KXPoint a, KXPoint b)
{
    const double size = std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y)});
    return std::hypot(b.x - a.x, b.y - a.y) <= kCoincident * size;
}

// The unit vector of a tangent; null when there is none to honour.
const KXPoint* utlUnitTangent(const KXPoint* tangent, KXPoint& unit)
{
    if (!tangent)
        return nullptr;
    const double length = std::hypot(tangent->x, tangent->y);
    if (!(length > 0.0) || !std::isfinite(length))
        return nullptr;
    unit = (1.0 / length) * *tangent;
    return &unit;
}

double utlCross(KXPoint a, KXPoint b)
{
    return a.x * b.y - a.y * b.x;
}

// The tangent at a of the curve through a, b, c... when the file gives
// none: Akima's five-point estimate, as CAD programs draw such ends, with
// the two chords before a extrapolated from the two after it. Its length
// does not matter.
KXPoint utlEstimatedTangent(KXPoint a, KXPoint b, KXPoint c)
{
    const KXPoint q1 = b - a;
    const KXPoint q2 = c - b;
    const KXPoint q0 = 2.0 * q1 - q2;
    const KXPoint before = 2.0 * q0 - q1;
    const double v1 = std::fabs(utlCross(before, q0));
    const double v2 = std::fabs(utlCross(q1, q2));
    const double alpha = v1 + v2 > 0.0 ? v1 / (v1 + v2) : 0.5;
    const KXPoint tangent = (1.0 - alpha) * q0 + alpha * q1;
    // Unevenly spaced points can extrapolate a chord that turns back; an
    // estimate pointing away from b is no estimate.
    return tangent.x * q1.x + tangent.y * q1.y > 0.0 ? tangent : KXPoint{0.0, 0.0};
}

// One row of a tridiagonal system: sub * x[i-1] + diag * x[i] + super * x[i+1] = rhs.
struct clsRow {
    double sub;
    double diag;
    double super;
    KXPoint rhs;
};

// Thomas algorithm, x and y at once. The rows built here are strictly
// diagonally dominant, so elimination without pivoting is stable.
std::vector<KXPoint> utlSolveTridiagonal(std::vector<clsRow> rows)
{
    const std::size_t n = rows.size();
    for (std::size_t i = 1; i < n; ++i) {
        const double factor = rows[i].sub / rows[i - 1].diag;
        rows[i].diag -= factor * rows[i - 1].super;
        rows[i].rhs = rows[i].rhs - factor * rows[i - 1].rhs;
    }
    std::vector<KXPoint> x(n);
    x[n - 1] = (1.0 / rows[n - 1].diag) * rows[n - 1].rhs;
    for (std::size_t i = n - 1; i-- > 0;)
        x[i] = (1.0 / rows[i].diag) * (rows[i].rhs - rows[i].super * x[i + 1]);
    return x;
}

// The same system closed on itself: row 0 also has sub * x[n-1], row n-1
// also super * x[0]. Solved as the open system plus a correction of rank
// one (Sherman-Morrison); n >= 3.
std::vector<KXPoint> utlSolveCyclic(std::vector<clsRow> rows)
{
    const std::size_t n = rows.size();
    const double gamma = -rows.front().diag;
    const double corner0 = rows.front().sub;  // row 0, column n-1
    const double cornerN = rows.back().super;  // row n-1, column 0
    rows.front().sub = 0.0;
    rows.back().super = 0.0;
    rows.front().diag -= gamma;
    rows.back().diag -= cornerN * corner0 / gamma;
    const std::vector<KXPoint> x = utlSolveTridiagonal(rows);
    // z solves the same matrix for u = (gamma, 0, ..., cornerN); the x
    // part of a point carries it.
    for (clsRow& row : rows)
        row.rhs = KXPoint{0.0, 0.0};
    rows.front().rhs.x = gamma;
    rows.back().rhs.x = cornerN;
    const std::vector<KXPoint> z = utlSolveTridiagonal(std::move(rows));
    const double scale = 1.0 + z.front().x + corner0 * z.back().x / gamma;
    const KXPoint factor = (1.0 / scale) * (x.front() + (corner0 / gamma) * x.back());
    std::vector<KXPoint> solution(n);
    for (std::size_t i = 0; i < n; ++i)
        solution[i] = x[i] - KXPoint{z[i].x * factor.x, z[i].x * factor.y};
    return solution;
}

// The C2 condition at interior fit point i, between spans i-1 and i.
clsRow utlInteriorRow(double hBefore, double hAfter, KXPoint slopeBefore, KXPoint slopeAfter)
{
    return {hAfter, 2.0 * (hBefore + hAfter), hBefore, 3.0 * (hAfter * slopeBefore + hBefore * slopeAfter)};
}

}  // namespace

// Method: chord-length parameters t_i (cumulative distance between the
// distinct fit points), then the C2 piecewise cubic S with S(t_i) = P_i.
// Its derivatives D_i at the fit points solve a tridiagonal system: for an
// interior point, equal second derivatives from both sides give
//   h_i D_{i-1} + 2 (h_{i-1} + h_i) D_i + h_{i-1} D_{i+1}
//     = 3 (h_i (P_i - P_{i-1}) / h_{i-1} + h_{i-1} (P_{i+1} - P_i) / h_i),
// h_i = t_{i+1} - t_i. An end takes as D its unit tangent: the file's, or
// else the five-point estimate (three or more points, and only when it
// leads along the end chord); with neither (two points, or no usable
// estimate) the end is natural, a zero second derivative:
// 2 D_0 + D_1 = 3 (P_1 - P_0) / h_0, and mirrored. A closed curve has no
// ends: the condition holds at every point, the first one too, and the
// system is cyclic.
// Each span is then the Bezier (P_i, P_i + h_i D_i / 3,
// P_{i+1} - h_i D_{i+1} / 3, P_{i+1}), and the spans together a clamped
// cubic B-spline whose interior knots are each repeated three times.
clsCubicSpline utlSplineFit(const std::vector<KXPoint>& fitPoints, const KXPoint* startTangent,
    const KXPoint* endTangent, bool closed)
{
    clsCubicSpline spline;
    std::vector<KXPoint> points;
    std::vector<double> params;
    const auto append = [&](KXPoint p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return;
        if (points.empty()) {
            points.push_back(p);
            params.push_back(0.0);
            return;
        }
        const double next = params.back() + std::hypot(p.x - points.back().x, p.y - points.back().y);
        // A step lost in the rounding of a long curve's parameter is
        // merged too: every span keeps a length above 0.
        if (utlSamePoint(points.back(), p) || !(next > params.back()))
            return;
        params.push_back(next);
        points.push_back(p);
    };
    for (const KXPoint& p : fitPoints)
        append(p);
    if (points.empty())
        return spline;
    bool periodic = false;
    if (closed && points.size() >= 2) {
        if (utlSamePoint(points.back(), points.front())) {
            points.pop_back();
            params.pop_back();
        }
        // Fewer than three distinct points close as a path back to the
        // first one, with ends.
        const std::size_t distinct = points.size();
        append(points.front());
        periodic = distinct >= 3 && points.size() == distinct + 1;
    }
    if (points.size() < 2) {
        // All fit points coincide: a curve of zero length there.
        spline.controls.assign(4, points.front());
        spline.knots = {0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0};
        return spline;
    }

    const std::size_t spans = points.size() - 1;
    std::vector<double> h(spans);
    std::vector<KXPoint> slope(spans);  // (P_{i+1} - P_i) / h_i
    for (std::size_t i = 0; i < spans; ++i) {
        h[i] = params[i + 1] - params[i];
        slope[i] = (1.0 / h[i]) * (points[i + 1] - points[i]);
    }

    std::vector<KXPoint> derivatives;
    if (periodic) {
        std::vector<clsRow> rows(spans);
        for (std::size_t i = 0; i < spans; ++i) {
            const std::size_t before = (i + spans - 1) % spans;
            rows[i] = utlInteriorRow(h[before], h[i], slope[before], slope[i]);
        }
        derivatives = utlSolveCyclic(std::move(rows));
        derivatives.push_back(derivatives.front());
    } else {
        KXPoint startGuess{};
        KXPoint endGuess{};
        if (points.size() >= 3) {
            const std::size_t n = points.size();
            startGuess = utlEstimatedTangent(points[0], points[1], points[2]);
            endGuess = -1.0 * utlEstimatedTangent(points[n - 1], points[n - 2], points[n - 3]);
        }
        KXPoint startUnit{};
        KXPoint endUnit{};
        const KXPoint* start = utlUnitTangent(startTangent, startUnit);
        if (!start)
            start = utlUnitTangent(&startGuess, startUnit);
        const KXPoint* end = utlUnitTangent(endTangent, endUnit);
        if (!end)
            end = utlUnitTangent(&endGuess, endUnit);
        std::vector<clsRow> rows(spans + 1);
        rows.front() = start ? clsRow{0.0, 1.0, 0.0, *start} : clsRow{0.0, 2.0, 1.0, 3.0 * slope.front()};
        for (std::size_t i = 1; i < spans; ++i)
            rows[i] = utlInteriorRow(h[i - 1], h[i], slope[i - 1], slope[i]);
        rows.back() = end ? clsRow{0.0, 1.0, 0.0, *end} : clsRow{1.0, 2.0, 0.0, 3.0 * slope.back()};
        derivatives = utlSolveTridiagonal(std::move(rows));
    }

    spline.controls.reserve(3 * spans + 1);
    spline.knots.reserve(3 * spans + 5);
    spline.knots.push_back(params.front());
    for (std::size_t i = 0; i < spans; ++i) {
        spline.controls.push_back(points[i]);
        spline.controls.push_back(points[i] + (h[i] / 3.0) * derivatives[i]);
        spline.controls.push_back(points[i + 1] - (h[i] / 3.0) * derivatives[i + 1]);
        spline.knots.insert(spline.knots.end(), 3, params[i]);
    }
    spline.controls.push_back(points.back());
    spline.knots.insert(spline.knots.end(), 4, params.back());
    return spline;
}

}  // namespace kxdxf
