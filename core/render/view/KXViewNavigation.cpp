#include "KXViewNavigation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kxview {

namespace {

// Divisors this small stand for an area too narrow to measure.
constexpr double kSmallestDivisor = 1e-7;
// The debug line is formatted into a buffer of this size.
constexpr std::size_t kLineBuffer = 128;

double Quotient(double w, double divisor) {
    return divisor <= kSmallestDivisor ? std::numeric_limits<double>::max() : w / divisor;
}

}  // namespace

double ZoomRatio(const CFltExtents& extents, const CFltExtents& document, int clientWidth,
                 int clientHeight) {
    if (clientWidth - 2 == 0 || clientHeight - 2 == 0) return 1.0;
    const double w = std::abs(static_cast<double>(clientWidth) - 2.0);
    const double shown = std::min(Quotient(w, std::fabs(extents.Width())), Quotient(w, std::fabs(extents.Height())));
    const double whole = std::min(Quotient(w, document.Width()), Quotient(w, document.Height()));
    return shown / whole;
}

bool SameZoom(double a, double b) { return !(std::fabs(a - b) > kSameZoomTolerance); }

std::string NavigationLine(bool backward, std::optional<double> ratio) {
    char line[kLineBuffer];
    const char* way = backward ? "Bkw" : "Frw";
    if (ratio)
        std::snprintf(line, sizeof line, "%s zoom: %f\n", way, *ratio);
    else
        std::snprintf(line, sizeof line, "%s zoom is unavailable.\n", way);
    return line;
}

}  // namespace kxview
