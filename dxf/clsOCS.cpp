#include "clsOCS.h"

#include <cmath>

#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr double kWorldTolerance = 1e-7;
constexpr double kZeroComponent = 1e-7;
// Below this in both x and y the extrusion is "close to the world Z axis".
constexpr double kArbitraryAxisLimit = 1.0 / 64.0;

struct Vec3 {
    double x;
    double y;
    double z;
};

double zeroIfTiny(double v)
{
    return std::fabs(v) <= kZeroComponent ? 0.0 : v;
}

double lengthOf(const Vec3& v)
{
    const double squared = v.x * v.x + v.y * v.y + v.z * v.z;
    // The squares of a huge extrusion's components overflow; hypot scales
    // them first (and is only needed then).
    return std::isfinite(squared) ? std::sqrt(squared) : std::hypot(v.x, v.y, v.z);
}

// Zero when the vectors are parallel or too short to tell.
Vec3 unitCross(const Vec3& a, const Vec3& b)
{
    Vec3 c{zeroIfTiny(a.y * b.z - a.z * b.y), zeroIfTiny(a.z * b.x - a.x * b.z),
           zeroIfTiny(a.x * b.y - a.y * b.x)};
    const double length = lengthOf(c);
    if (length > 0 && std::isfinite(length)) {
        c.x /= length;
        c.y /= length;
        c.z /= length;
    }
    return c;
}

bool isZero(const Vec3& v)
{
    return v.x == 0.0 && v.y == 0.0 && v.z == 0.0;
}

double component(const clssENTITY& entity, const char* single, const char* multi, double fallback)
{
    const std::string* text = entity.find(entity.isMultiKey() ? multi : single);
    return text ? utlAtof(text->c_str()) : fallback;
}

}  // namespace

clsOCS::clsOCS(const clssENTITY& entity)
{
    build(component(entity, "210", "210.0", 0.0), component(entity, "220", "220.0", 0.0),
          component(entity, "230", "230.0", 1.0));
}

clsOCS::clsOCS(double nx, double ny, double nz)
{
    build(nx, ny, nz);
}

void clsOCS::build(double nx, double ny, double nz)
{
    if (std::fabs(nx) <= kWorldTolerance && std::fabs(ny) <= kWorldTolerance &&
        std::fabs(nz - 1.0) <= kWorldTolerance)
        return;
    // A zero or non-finite extrusion defines no plane: such an entity is
    // taken as lying in the world plane rather than collapsing it.
    if (!std::isfinite(nx) || !std::isfinite(ny) || !std::isfinite(nz) ||
        (nx == 0.0 && ny == 0.0 && nz == 0.0))
        return;
    const Vec3 n{nx, ny, nz};
    const bool nearWorldZ = std::fabs(nx) < kArbitraryAxisLimit && std::fabs(ny) < kArbitraryAxisLimit;
    const Vec3 x = unitCross(nearWorldZ ? Vec3{0, 1, 0} : Vec3{0, 0, 1}, n);
    const Vec3 y = unitCross(n, x);
    // An extrusion so short that its axes vanish defines no plane either.
    if (isZero(x) || isZero(y))
        return;
    axes_ = {x.x, x.y, x.z, y.x, y.y, y.z, n.x, n.y, n.z};
    needsTransform_ = true;
}

clsOCS::Scope::Scope(clsTranslator& tr, const clsOCS& ocs) : tr_(tr), pushed_(ocs.needsTransform())
{
    if (pushed_)
        tr_.api().PushCoordSys3D(tr_.doc(), ocs.axes().data());
}

clsOCS::Scope::~Scope()
{
    if (pushed_)
        tr_.api().PopCoordSys3D(tr_.doc());
}

}  // namespace kxdxf
