// Conversion of drawing coordinates to the 32-bit integers of the drawing
// file: truncation toward zero, saturated so that out-of-range or NaN input
// cannot invoke undefined behaviour.
#pragma once

#include <cmath>
#include <cstdint>

inline std::int32_t KXTrunc32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

// trunc((coordinate - origin) * scale)
inline std::int32_t KXQuantiseCoord(double coordinate, double origin, double scale) {
    return KXTrunc32((coordinate - origin) * scale);
}
