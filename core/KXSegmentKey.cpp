#include "KXSegmentKey.h"

#include <cstdio>
#include <utility>

#include "geom/KXTrunc.h"

std::string KXSegmentKey(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, double scale) {
    std::int32_t ax = KXTrunc32(x0 * scale);
    std::int32_t ay = KXTrunc32(y0 * scale);
    std::int32_t bx = KXTrunc32(x1 * scale);
    std::int32_t by = KXTrunc32(y1 * scale);
    if (bx < ax || (bx == ax && by < ay)) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%i%i%i%i", int(ax), int(ay), int(bx), int(by));
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}
