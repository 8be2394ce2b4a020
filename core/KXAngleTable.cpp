#include "KXAngleTable.h"

#include <cmath>

namespace kxangle {

double Normalise(double a) {
    if (!std::isfinite(a)) return 0.0;
    if (a > kTwoPi) {
        a -= std::trunc(a / kTwoPi) * kTwoPi;
        if (a < 0.0) a = 0.0;
    } else if (a < 0.0) {
        a += kTwoPi * (1.0 + std::trunc(std::fabs(a) / kTwoPi));
        if (a > kTwoPi) a = kTwoPi;
    }
    return a;
}

namespace {

int ClampStep(double index) {
    if (!(index > 0.0)) return 0;
    if (index > kSteps - 1) return kSteps - 1;
    return static_cast<int>(index);
}

}  // namespace

StepRange ComputeSteps(double start, double end, bool full, bool degenerateWhenEqual) {
    StepRange r;
    if (full) {
        r.first = kFullFirst;
        r.last = kFullLast;
        return r;
    }
    const double e = end < start ? end + kTwoPi : end;
    if (e - start <= kChordSweep || (degenerateWhenEqual && start == end)) {
        r.first = kChord;
        r.last = kChord;
        return r;
    }
    double first = 1.0 + std::trunc(start / kStep);
    if (first * kStep - start < kHalfStep) first += 1.0;
    double last = std::trunc(end / kStep);
    if (end - last * kStep < kHalfStep) last -= 1.0;
    r.first = ClampStep(first);
    r.last = ClampStep(last);
    return r;
}

}  // namespace kxangle
