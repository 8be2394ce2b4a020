#include "geom/KXArcBox.h"

#include <cmath>
#include <initializer_list>

#include "geom/KXAngleTable.h"

namespace {

CFltPoint At(const CFltPoint& c, const CFltPoint& u, const CFltPoint& v, double t) {
    const double ct = std::cos(t);
    const double st = std::sin(t);
    return {c.x + ct * u.x + st * v.x, c.y + ct * u.y + st * v.y};
}

bool InSweep(double t, double start, double end) {
    t = kxangle::Normalise(t);
    if (start <= end) return t >= start && t <= end;
    return t >= start || t <= end;
}

}  // namespace

CFltExtents KXArcBox(const CFltPoint& centre, const CFltPoint& u, const CFltPoint& v, double start,
                     double end, bool full) {
    CFltExtents box;
    if (full) {
        const double hx = std::hypot(u.x, v.x);
        const double hy = std::hypot(u.y, v.y);
        return {centre.x - hx, centre.y - hy, centre.x + hx, centre.y + hy};
    }
    box.Merge(At(centre, u, v, start));
    box.Merge(At(centre, u, v, end));
    // Extremes in x where -sin t * u.x + cos t * v.x = 0, in y likewise.
    const double tx = std::atan2(v.x, u.x);
    const double ty = std::atan2(v.y, u.y);
    for (double t : {tx, tx + kxangle::kPi, ty, ty + kxangle::kPi}) {
        if (InSweep(t, start, end)) box.Merge(At(centre, u, v, t));
    }
    return box;
}
