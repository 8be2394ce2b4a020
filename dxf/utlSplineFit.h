// The cubic B-spline through a SPLINE's fit points, for splines written
// with fit points and no control points: CAD programs draw those as the
// interpolating cubic, and the engine takes splines by control points.
#ifndef KXDXF_UTLSPLINEFIT_H
#define KXDXF_UTLSPLINEFIT_H

#include <korvex/kxtypes.h>

#include <vector>

namespace kxdxf {

// A clamped cubic B-spline: controls.size() + 4 == knots.size().
struct clsCubicSpline {
    std::vector<KXPoint> controls;
    std::vector<double> knots;
};

// The C2 cubic through the fit points in their order, parametrised by
// chord length (the curve has about unit speed). A non-null start or end
// tangent of non-zero length fixes the direction there (its length does
// not matter); otherwise the direction there is estimated from the three
// nearest points, and two points give a straight line. Consecutive
// coincident fit points count once, and fit points that are not finite
// not at all; when all coincide the result is a curve of zero length at
// that point. Empty for no (finite) fit points. A closed curve returns to
// its first point and, through three or more distinct points, is smooth
// there too (periodic; tangents do not apply).
clsCubicSpline utlSplineFit(const std::vector<KXPoint>& fitPoints, const KXPoint* startTangent,
    const KXPoint* endTangent, bool closed);

}  // namespace kxdxf

#endif
