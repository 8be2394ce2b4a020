// Object coordinate system of a planar entity, from its extrusion
// direction by the arbitrary-axis rule.
#ifndef KXDXF_CLSOCS_H
#define KXDXF_CLSOCS_H

#include <array>

namespace kxdxf {

class clsTranslator;
class clssENTITY;

class clsOCS {
public:
    // From groups 210/220/230 (multi keys when the entity has them).
    explicit clsOCS(const clssENTITY& entity);
    clsOCS(double nx, double ny, double nz);

    bool needsTransform() const { return needsTransform_; }
    // X, Y and Z axes, three reals each: what KXPushCoordSys3D takes.
    const std::array<double, 9>& axes() const { return axes_; }

    // Keeps the system pushed on the engine while it lives, when it is not
    // the world system; the pop also happens when an engine call throws.
    class Scope {
    public:
        Scope(clsTranslator& tr, const clsOCS& ocs);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        clsTranslator& tr_;
        bool pushed_;
    };

private:
    void build(double nx, double ny, double nz);

    std::array<double, 9> axes_{1, 0, 0, 0, 1, 0, 0, 0, 1};
    bool needsTransform_ = false;
};

}  // namespace kxdxf

#endif
