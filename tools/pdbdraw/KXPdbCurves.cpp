#include "KXPdbCurves.h"

#include <algorithm>
#include <cmath>

#include "KXPdbEntity.h"
#include "KXPdbTables.h"

namespace kxpdbcurves {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kSteps = static_cast<int>(KXPdbTables::kSteps);
constexpr int kFullFirst = 1;
constexpr int kFullLast = 198;
constexpr double kMaxChordError = 0.5;
constexpr int kMaxFineChords = 1 << 17;

// Walks the table steps first, first + inc, ... before last, wrapping
// through step 0, then step last itself.
template <class StepPoint>
void DrawSteps(CKXPdbDevicePath& path, int first, int last, int increment, StepPoint point) {
    if (last < first) {
        for (int k = first; k < kSteps; k += increment) path.LineTo(point(k));
        for (int k = 0; k < last; k += increment) path.LineTo(point(k));
    } else {
        for (int k = first; k < last; k += increment) path.LineTo(point(k));
    }
    path.LineTo(point(last));
}

double Cos(const KXPdbTables& t, int k) {
    return t.cosSin[static_cast<std::size_t>(k)].cos / KXPdbTables::kCosSinScale;
}
double Sin(const KXPdbTables& t, int k) {
    return t.cosSin[static_cast<std::size_t>(k)].sin / KXPdbTables::kCosSinScale;
}

bool IsChord(const KXPdbEntity& e) {
    return e.a >= kSteps || e.b >= kSteps;
}

// A whole turn: the steps of a full curve and one point for start and end.
bool IsFull(const KXPdbEntity& e) {
    return e.a == kFullFirst && e.b == kFullLast && e.q[2] == e.q[4] && e.q[3] == e.q[5];
}

// The sweep from angle a0 to a1 counter-clockwise, in (0, 2*pi].
double Sweep(double a0, double a1, bool full) {
    if (full) return kTwoPi;
    double sweep = a1 - a0;
    while (sweep <= 0.0) sweep += kTwoPi;
    return sweep;
}

// Fine mode: n chords from parameter t0 over sweep, point(t) in device units.
template <class PointAt>
void DrawFine(CKXPdbDevicePath& path, double t0, double sweep, int n, PointAt point) {
    for (int i = 1; i < n; ++i) path.LineTo(point(t0 + sweep * i / n));
}

}  // namespace

int ChordIncrement(double deviceRadius) {
    if (deviceRadius < 5.0) return 20;
    if (deviceRadius < 20.0) return 10;
    return 5;
}

int FineChordCount(double deviceRadius, double sweep) {
    if (!(deviceRadius > kMaxChordError) || !(sweep > 0.0)) return 1;
    // A chord spanning angle a strays r * (1 - cos(a / 2)) from the arc.
    const double most = 2.0 * std::acos(1.0 - kMaxChordError / deviceRadius);
    const double n = std::ceil(sweep / most);
    return n >= kMaxFineChords ? kMaxFineChords : std::max(1, static_cast<int>(n));
}

void DrawCircle(const KXPdbEntity& e, const KXPdbTables& tables, const KXPdbDeviceMap& map, bool fine,
                CKXPdbDevicePath& path) {
    const KXPdbDevPoint start = map.Map(e.q[2], e.q[3]);
    const KXPdbDevPoint end = map.Map(e.q[4], e.q[5]);
    path.MoveTo(start);
    const KXPdbDevPoint centre = map.Map(e.q[0], e.q[1]);
    const double radius = std::hypot(start.x - centre.x, start.y - centre.y);
    if (IsChord(e) && !fine) {
        if (start == end)
            path.Dot(start);
        else
            path.LineTo(end);
        return;
    }
    if (radius == 0.0) {
        path.Dot(start);
        return;
    }
    if (fine) {
        const double cx = e.q[0], cy = e.q[1], r = e.q[6];
        const double a0 = std::atan2(e.q[3] - cy, e.q[2] - cx);
        const double sweep = Sweep(a0, std::atan2(e.q[5] - cy, e.q[4] - cx), IsFull(e));
        DrawFine(path, a0, sweep, FineChordCount(r * map.UnitScale(), sweep),
                 [&](double t) { return map.Map(cx + r * std::cos(t), cy + r * std::sin(t)); });
    } else {
        DrawSteps(path, e.a, e.b, ChordIncrement(radius), [&](int k) {
            return KXPdbDevPoint{KXPdbRoundHalfToZero(centre.x + Cos(tables, k) * radius),
                                 KXPdbRoundHalfToZero(centre.y - Sin(tables, k) * radius)};
        });
    }
    path.LineTo(end);
}

void DrawEllipse(const KXPdbEntity& e, const KXPdbTables& tables, const KXPdbDeviceMap& map, bool fine,
                 CKXPdbDevicePath& path) {
    const KXPdbDevPoint start = map.Map(e.q[2], e.q[3]);
    const KXPdbDevPoint end = map.Map(e.q[4], e.q[5]);
    path.MoveTo(start);
    if (IsChord(e) && !fine) {
        if (start == end)
            path.Dot(start);
        else
            path.LineTo(end);
        return;
    }
    if (start == map.Map(e.q[0], e.q[1])) {
        path.Dot(start);
        return;
    }
    const double cx = e.q[0], cy = e.q[1];
    const double lc = e.q[6], ls = e.q[7], mc = e.q[8], ms = e.q[9];
    const auto pointAt = [&](double c, double s) { return map.Map(cx + lc * c - ms * s, cy + ls * c + mc * s); };
    const double major = std::hypot(lc, ls), minor = std::hypot(mc, ms);
    if (fine) {
        // Parameters of the end points in the ellipse's own frame.
        const auto parameter = [&](double x, double y) {
            const double u = major > 0.0 ? ((x - cx) * lc + (y - cy) * ls) / (major * major) : 0.0;
            const double v = minor > 0.0 ? ((y - cy) * mc - (x - cx) * ms) / (minor * minor) : 0.0;
            return std::atan2(v, u);
        };
        const double t0 = parameter(e.q[2], e.q[3]);
        const double sweep = Sweep(t0, parameter(e.q[4], e.q[5]), IsFull(e));
        DrawFine(path, t0, sweep, FineChordCount(std::max(major, minor) * map.UnitScale(), sweep),
                 [&](double t) { return pointAt(std::cos(t), std::sin(t)); });
    } else {
        DrawSteps(path, e.a, e.b, ChordIncrement(std::min(major, minor) * map.UnitScale()),
                  [&](int k) { return pointAt(Cos(tables, k), Sin(tables, k)); });
    }
    path.LineTo(end);
}

}  // namespace kxpdbcurves
