// 2D affine transform: a 3x3 matrix in row order plus flags that let the
// common cases (identity, pure translation, axis scaling) skip the full formula.
#pragma once

#include <cstdint>

#include "geom/CFltPoint.h"

class CTransf2D {
public:
    enum Flags : std::uint8_t {
        kIdentity = 0x01,
        kTranslation = 0x02,
        kRotation = 0x04,
        kScale = 0x08,
        kGeneral = 0x10,
    };
    static constexpr double kTolerance = 1e-6;

    double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::uint8_t flags = kIdentity;

    void SetRotation(double angle);
    void Scale(double sx, double sy);
    void Translate(double dx, double dy);
    CFltPoint Apply(const CFltPoint& p) const;
    void Apply(double& x, double& y) const;
    // this * other: other is applied first.
    CTransf2D operator*(const CTransf2D& other) const;
    // Distance between the images of (0,0) and (1,0).
    double ScaleFactor() const;
    bool IsIdentity() const { return (flags & kIdentity) != 0; }
    bool IsGeneral() const { return (flags & kGeneral) != 0; }
    // True when the linear part reverses orientation.
    bool Mirrors() const;
    void RecomputeFlags();
};
