#include "geom/CTransf2D.h"

#include <cmath>

namespace {

bool Differs(double value, double expected) { return std::fabs(value - expected) >= CTransf2D::kTolerance; }

}  // namespace

void CTransf2D::SetRotation(double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    m[0] = c;
    m[4] = c;
    m[3] = s;
    m[1] = -s;
    if (Differs(c, 1.0) || Differs(s, 0.0)) flags = static_cast<std::uint8_t>((flags & ~kIdentity) | kRotation);
}

void CTransf2D::Scale(double sx, double sy) {
    m[0] *= sx;
    m[3] *= sx;
    m[1] *= sy;
    m[4] *= sy;
    if (Differs(m[0], 1.0) || Differs(m[3], 0.0))
        flags = static_cast<std::uint8_t>((flags & ~kIdentity) | kRotation);
    if (Differs(m[0], 1.0) || Differs(m[4], 1.0))
        flags = static_cast<std::uint8_t>((flags & ~kIdentity) | kScale);
}

void CTransf2D::Translate(double dx, double dy) {
    m[2] += dx;
    m[5] += dy;
    if (Differs(m[2], 0.0) || Differs(m[5], 0.0))
        flags = static_cast<std::uint8_t>((flags & ~kIdentity) | kTranslation);
}

void CTransf2D::Apply(double& x, double& y) const {
    if (flags & kIdentity) return;
    const double px = x;
    const double py = y;
    if (flags & (kRotation | kGeneral)) {
        x = m[0] * px + m[1] * py;
        y = m[3] * px + m[4] * py;
        if (flags & (kTranslation | kGeneral)) {
            x += m[2];
            y += m[5];
        }
    } else if (flags & kScale) {
        x = px * m[0];
        y = py * m[4];
        if (flags & kTranslation) {
            x += m[2];
            y += m[5];
        }
    } else {
        x = px + m[2];
        y = py + m[5];
    }
}

CFltPoint CTransf2D::Apply(const CFltPoint& p) const {
    CFltPoint r = p;
    Apply(r.x, r.y);
    return r;
}

CTransf2D CTransf2D::operator*(const CTransf2D& other) const {
    CTransf2D r;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k) sum += m[row * 3 + k] * other.m[k * 3 + col];
            r.m[row * 3 + col] = sum;
        }
    }
    r.flags = static_cast<std::uint8_t>((flags | other.flags) & kGeneral);
    r.RecomputeFlags();
    return r;
}

void CTransf2D::RecomputeFlags() {
    std::uint8_t f = static_cast<std::uint8_t>(flags & kGeneral);
    if (Differs(m[1], 0.0) || Differs(m[3], 0.0)) f |= kRotation;
    if (Differs(m[0], 1.0) || Differs(m[4], 1.0)) f |= kScale;
    if (Differs(m[2], 0.0) || Differs(m[5], 0.0)) f |= kTranslation;
    if (f == 0) f = kIdentity;
    flags = f;
}

double CTransf2D::ScaleFactor() const {
    const CFltPoint o = Apply(CFltPoint{0.0, 0.0});
    const CFltPoint x = Apply(CFltPoint{1.0, 0.0});
    return std::hypot(x.x - o.x, x.y - o.y);
}

bool CTransf2D::Mirrors() const { return m[0] * m[4] - m[3] * m[1] < 0.0; }
