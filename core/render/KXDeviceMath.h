// Rounding and segment clipping used wherever the renderer turns exact
// values into device units.
#pragma once

#include <algorithm>
#include <cmath>

// Nearest integer, ties toward zero (2.5 -> 2, -2.5 -> -2), as a double so
// that huge values stay representable until they are clipped.
inline double KXRoundHalfToZero(double v) {
    return v >= 0.0 ? std::ceil(v - 0.5) : std::floor(v + 0.5);
}

// The part of a segment inside an axis-aligned box, as the parameter
// interval [t0, t1] of from + t * (dx, dy) (Liang-Barsky).
struct KXSegmentSpan {
    double t0 = 0.0;
    double t1 = 1.0;
};

// Narrows span to the box; false when the segment misses it.
inline bool KXClipSegment(double fromX, double fromY, double dx, double dy, double left, double top,
                          double right, double bottom, KXSegmentSpan& span) {
    const auto edge = [&span](double p, double q) {
        if (p == 0.0) return q >= 0.0;
        const double r = q / p;
        if (p < 0.0) {
            if (r > span.t1) return false;
            span.t0 = std::max(span.t0, r);
        } else {
            if (r < span.t0) return false;
            span.t1 = std::min(span.t1, r);
        }
        return true;
    };
    return edge(-dx, fromX - left) && edge(dx, right - fromX) && edge(-dy, fromY - top) &&
           edge(dy, bottom - fromY);
}
