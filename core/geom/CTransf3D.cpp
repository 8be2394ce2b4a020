#include "geom/CTransf3D.h"

#include <cmath>

CTransf3D::CTransf3D(const double axes[9]) {
    for (int i = 0; i < 9; ++i) {
        if (!std::isfinite(axes[i])) {
            m_valid = false;
            return;
        }
    }
    for (int i = 0; i < 9; ++i) m[i] = axes[i];
}

bool CTransf3D::IsIdentity() const {
    if (!m_valid) return false;
    static constexpr double kUnit[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) {
        if (!(std::fabs(m[i] - kUnit[i]) < kIdentityTolerance)) return false;
    }
    return true;
}

CFltPoint CTransf3D::Project(const CFltPoint& p, double z) const {
    return {m[0] * p.x + m[3] * p.y + m[6] * z, m[1] * p.x + m[4] * p.y + m[7] * z};
}
