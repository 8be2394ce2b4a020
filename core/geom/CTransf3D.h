// A 3D coordinate system given by its X, Y and Z axes in world coordinates.
// Input points (x, y) at elevation z are projected onto the drawing plane;
// the axes' z components and any translation play no part.
#pragma once

#include "geom/CFltPoint.h"

class CTransf3D {
public:
    static constexpr double kIdentityTolerance = 1e-6;

    // X axis (x, y, z), Y axis (x, y, z), Z axis (x, y, z).
    double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    CTransf3D() = default;
    // Axes with a non-finite component make an invalid system: it keeps the
    // unit axes (no NaN is stored) but is never the identity, and nothing
    // can be projected through it.
    explicit CTransf3D(const double axes[9]);

    bool IsValid() const { return m_valid; }
    bool IsIdentity() const;
    CFltPoint Project(const CFltPoint& p, double z) const;

private:
    bool m_valid = true;
};
