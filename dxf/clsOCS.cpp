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

Vec3 unitCross(const Vec3& a, const Vec3& b)
{
    Vec3 c{zeroIfTiny(a.y * b.z - a.z * b.y), zeroIfTiny(a.z * b.x - a.x * b.z),
           zeroIfTiny(a.x * b.y - a.y * b.x)};
    const double length = std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z);
    if (length > 0) {
        c.x /= length;
        c.y /= length;
        c.z /= length;
    }
    return c;
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
    axes_ = {x.x, x.y, x.z, y.x, y.y, y.z, n.x, n.y, n.z};
    needsTransform_ = true;
}

void clsOCS::push(clsTranslator& tr) const
{
    if (needsTransform_)
        tr.api().PushCoordSys3D(tr.doc(), axes_.data());
}

void clsOCS::pop(clsTranslator& tr) const
{
    if (needsTransform_)
        tr.api().PopCoordSys3D(tr.doc());
}

}  // namespace kxdxf
