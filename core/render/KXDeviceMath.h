// Rounding used wherever the renderer turns exact values into device units.
#pragma once

#include <cmath>

// Nearest integer, ties toward zero (2.5 -> 2, -2.5 -> -2), as a double so
// that huge values stay representable until they are clipped.
inline double KXRoundHalfToZero(double v) {
    return v >= 0.0 ? std::ceil(v - 0.5) : std::floor(v + 0.5);
}
