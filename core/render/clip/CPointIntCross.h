// A point where a grid segment meets a clip region's boundary, in the
// region's integer grid units.
#pragma once

#include <cstdint>
#include <tuple>

struct CPointIntCross {
    // Ordinary crossing or end point of the clipped segment.
    static constexpr std::int32_t kCrossing = 0;
    // End of an overlap with a collinear boundary edge: a pair of them
    // crosses the boundary once.
    static constexpr std::int32_t kOverlapEnd = 1;
    // End of an overlap with boundary edges that only touch the line: the
    // pair crosses nothing and marks the stretch that lies on the boundary.
    static constexpr std::int32_t kTouchEnd = 2;
    // Added to the first end of an overlap along the segment.
    static constexpr std::int32_t kOpens = 4;

    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t kind = kCrossing;

    std::int32_t Kind() const { return kind & ~kOpens; }
    bool Opens() const { return (kind & kOpens) != 0; }

    // Records are sorted by x, then y.
    friend bool operator<(const CPointIntCross& a, const CPointIntCross& b) {
        return std::tie(a.x, a.y) < std::tie(b.x, b.y);
    }
};
