#include "geom/KXAngleTable.h"

#include <array>
#include <cmath>
#include <cstddef>

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

StepDirection DirectionOfStep(int k) {
    const auto compute = [](int step) {
        const double angle = step * kStep;
        return StepDirection{std::cos(angle), std::sin(angle)};
    };
    // Filled once, on first use, and never changed: a constant of the
    // program that is cheaper to compute than to write down.
    static const std::array<StepDirection, kSteps + 1> table = [&] {
        std::array<StepDirection, kSteps + 1> steps;
        for (int i = 0; i <= kSteps; ++i) steps[static_cast<std::size_t>(i)] = compute(i);
        return steps;
    }();
    if (k < 0 || k > kSteps) return compute(k);
    return table[static_cast<std::size_t>(k)];
}

}  // namespace kxangle
