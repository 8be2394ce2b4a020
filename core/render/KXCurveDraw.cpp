#include "KXCurveDraw.h"

#include <korvex/kxtypes.h>

#include <algorithm>
#include <cmath>

#include "CKXCircle.h"
#include "CKXConverter.h"
#include "CKXDevicePath.h"
#include "CKXDoc.h"
#include "CKXEllipse.h"
#include "CKXNURBS.h"
#include "KXEntityDraw.h"
#include "geom/KXAngleTable.h"
#include "KXDeviceMath.h"

namespace kxdraw {

namespace {

constexpr double kSmallRadius = 5.0;
constexpr double kMediumRadius = 20.0;
constexpr int kSmallIncrement = 20;
constexpr int kMediumIncrement = 10;
constexpr int kLargeIncrement = 5;
constexpr double kMaxChordError = 0.5;
// Past this many chords a curve reaches far beyond any device.
constexpr int kMaxFineChords = 1 << 17;

// The counter-clockwise sweep from start to end: a whole turn for full
// curves, through 0 when end < start.
double Sweep(double start, double end, bool full) {
    if (full) return kxangle::kTwoPi;
    const double sweep = end - start;
    return sweep < 0.0 ? sweep + kxangle::kTwoPi : sweep;
}

// The inner points of n equal parameter steps from start over sweep, each
// evaluated directly (no table), mapped through the full transform.
template <class PointAt>
void DrawFine(CKXDevicePath& path, CKXConverter& rc, double start, double sweep, int n, PointAt point) {
    for (int i = 1; i < n; ++i) path.LineTo(rc.ToDeviceExact(point(start + sweep * i / n)));
}

// Walks the table steps of an arc: first, first + inc, ... up to (not
// including) last, wrapping through step 0 when the arc passes angle 0;
// then step last itself.
template <class StepPoint>
void DrawSteps(CKXDevicePath& path, int first, int last, int increment, StepPoint point) {
    if (last < first) {
        for (int k = first; k < kxangle::kSteps; k += increment) path.LineTo(point(k));
        for (int k = 0; k < last; k += increment) path.LineTo(point(k));
    } else {
        for (int k = first; k < last; k += increment) path.LineTo(point(k));
    }
    path.LineTo(point(last));
}

bool IsStep(int k) {
    return k >= 0 && k < kxangle::kSteps;
}

// An arc too short for the table: one chord, or a one-unit dash when both
// ends land on one device point.
void DrawChord(CKXDevicePath& path, const KXDevPoint& start, const KXDevPoint& end) {
    if (start == end)
        path.Dot(start);
    else
        path.LineTo(end);
}

// cos and sin of every table step, computed once: the same values the
// steps would compute each time.
struct StepTable {
    double cosine[kxangle::kSteps];
    double sine[kxangle::kSteps];
    StepTable() {
        for (int k = 0; k < kxangle::kSteps; ++k) {
            cosine[k] = std::cos(k * kxangle::kStep);
            sine[k] = std::sin(k * kxangle::kStep);
        }
    }
};

const StepTable& Steps() {
    static const StepTable table;
    return table;
}

// Distance of m from the chord a-b (from a when the chord is a point).
double ChordDistance(const CFltPoint& a, const CFltPoint& b, const CFltPoint& m) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length == 0.0) return std::hypot(m.x - a.x, m.y - a.y);
    return std::fabs(dx * (m.y - a.y) - dy * (m.x - a.x)) / length;
}

}  // namespace

bool FineCurves(const CKXConverter& rc) {
    const CKXDoc* doc = rc.GetDoc();
    return doc != nullptr && (doc->GetDisplayMode() & KX_DISPLAY_FINE_CURVES) != 0;
}

std::vector<CFltPoint> FineSplinePoints(const CKXNURBS& spline, const CTransf2D& xf, double deviceScale) {
    std::vector<CFltPoint> points;
    if (!spline.CanEvaluate() || !(deviceScale > 0.0) || !std::isfinite(deviceScale)) return points;
    const double t0 = spline.GetT0(), t1 = spline.GetT1();
    const auto at = [&](int i, int n) {
        // The end parameter exactly at the last step.
        return xf.Apply(spline.EvaluateDeBoor(i == n ? t1 : t0 + (t1 - t0) * i / n));
    };
    int n = CKXNURBS::kTessellationPoints - 1;
    for (;;) {
        points.clear();
        points.reserve(static_cast<std::size_t>(n) + 1);
        points.push_back(at(0, n));
        double worst = 0.0;
        for (int i = 1; i <= n; ++i) {
            points.push_back(at(i, n));
            // The chord of a smooth arc strays most near its middle.
            const CFltPoint middle = xf.Apply(spline.EvaluateDeBoor(t0 + (t1 - t0) * (i - 0.5) / n));
            worst = std::fmax(worst, ChordDistance(points[points.size() - 2], points.back(), middle));
        }
        worst *= deviceScale;
        if (!(worst > kMaxChordError) || n >= kMaxFineChords) return points;
        // The error falls with the square of the step.
        const double grow = std::ceil(std::sqrt(worst / kMaxChordError) * 1.25);
        n = static_cast<int>(std::fmin(kMaxFineChords, std::fmax(2.0, grow) * n));
    }
}

void DrawSpline(const CKXNURBS& spline, HDC dc, CKXConverter& rc) {
    const double scale = std::fmax(std::fabs(rc.GetScaleX()), std::fabs(rc.GetScaleY()));
    const std::vector<CFltPoint> points = FineSplinePoints(spline, rc.GetTransform(), scale);
    if (points.empty()) return;
    std::vector<KXDevPoint> device;
    device.reserve(points.size());
    for (const CFltPoint& p : points) device.push_back(rc.WindowToDevice(p.x, p.y));
    DrawDevicePoints(device, dc, rc);
}

int ChordIncrement(double deviceRadius) {
    if (deviceRadius < kSmallRadius) return kSmallIncrement;
    if (deviceRadius < kMediumRadius) return kMediumIncrement;
    return kLargeIncrement;
}

int FineChordCount(double deviceRadius, double sweep) {
    if (!(deviceRadius > kMaxChordError) || !(sweep > 0.0)) return 1;
    // A chord spanning angle a strays r * (1 - cos(a / 2)) from the arc.
    const double most = 2.0 * std::acos(1.0 - kMaxChordError / deviceRadius);
    const double n = std::ceil(sweep / most);
    return n >= kMaxFineChords ? kMaxFineChords : std::max(1, static_cast<int>(n));
}

// Steps are placed in device space around the mapped centre, so a circle
// stays a circle under any transform, and the radius decides the chords.
void DrawCircle(const CKXCircle& circle, HDC dc, CKXConverter& rc) {
    const KXDevPoint start = rc.ToDeviceExact(circle.GetStartPoint());
    const KXDevPoint end = rc.ToDeviceExact(circle.GetEndPoint());
    CKXDevicePath path(dc);
    path.MoveTo(start);
    const int first = circle.GetStartIndex();
    const int last = circle.GetEndIndex();
    const bool fine = FineCurves(rc);
    if (!fine && (!IsStep(first) || !IsStep(last))) {
        DrawChord(path, start, end);
        return;
    }
    const KXDevPoint centre = rc.ToDeviceExact(circle.GetCentre());
    const double radius = std::hypot(start.x - centre.x, start.y - centre.y);
    if (radius == 0.0) {
        path.Dot(start);
        return;
    }
    if (fine) {
        const double sweep = Sweep(circle.GetStart(), circle.GetEnd(), circle.IsFull());
        DrawFine(path, rc, circle.GetStart(), sweep, FineChordCount(radius, sweep),
                 [&](double t) { return circle.PointAt(t); });
        path.LineTo(end);
        return;
    }
    const StepTable& table = Steps();
    DrawSteps(path, first, last, ChordIncrement(radius), [&](int k) {
        return KXDevPoint{KXRoundHalfToZero(centre.x + table.cosine[k] * radius),
                          KXRoundHalfToZero(centre.y - table.sine[k] * radius)};
    });
    path.LineTo(end);
}

// Steps are placed in drawing units and mapped through the full transform,
// so ellipses follow any transform.
void DrawEllipse(const CKXEllipse& ellipse, HDC dc, CKXConverter& rc) {
    const KXDevPoint start = rc.ToDeviceExact(ellipse.GetStartPoint());
    const KXDevPoint end = rc.ToDeviceExact(ellipse.GetEndPoint());
    CKXDevicePath path(dc);
    path.MoveTo(start);
    const int first = ellipse.GetStartIndex();
    const int last = ellipse.GetEndIndex();
    const bool fine = FineCurves(rc);
    if (!fine && (!IsStep(first) || !IsStep(last))) {
        DrawChord(path, start, end);
        return;
    }
    // As for circles, a curve whose start lands on its centre is a dot.
    const KXDevPoint centre = rc.ToDeviceExact(ellipse.GetCentre());
    if (start == centre) {
        path.Dot(start);
        return;
    }
    const double minorAxis = std::fmin(ellipse.GetMajorLength(), ellipse.GetMinorLength());
    const StepTable& table = Steps();
    const CFltPoint& c = ellipse.GetCentre();
    if (fine) {
        // Parameter steps of the larger axis bound the chord error.
        const double majorAxis = std::fmax(ellipse.GetMajorLength(), ellipse.GetMinorLength());
        const double sweep = Sweep(ellipse.GetStart(), ellipse.GetEnd(), ellipse.IsFull());
        DrawFine(path, rc, ellipse.GetStart(), sweep, FineChordCount(majorAxis * rc.GetScaleX(), sweep),
                 [&](double t) {
                     const double ct = std::cos(t), st = std::sin(t);
                     return CFltPoint{c.x + ellipse.GetLc() * ct - ellipse.GetMinorS() * st,
                                      c.y + ellipse.GetLs() * ct + ellipse.GetMinorC() * st};
                 });
        path.LineTo(end);
        return;
    }
    DrawSteps(path, first, last, ChordIncrement(minorAxis * rc.GetScaleX()), [&](int k) {
        const double ct = table.cosine[k], st = table.sine[k];
        return rc.ToDeviceExact({c.x + ellipse.GetLc() * ct - ellipse.GetMinorS() * st,
                                 c.y + ellipse.GetLs() * ct + ellipse.GetMinorC() * st});
    });
    path.LineTo(end);
}

}  // namespace kxdraw
