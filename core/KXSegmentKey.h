// Key of a segment for duplicate suppression: both end points scaled and
// truncated, the one with the smaller x (then y) first, so a segment and its
// reverse share a key.
#pragma once

#include <cstdint>
#include <string>

std::string KXSegmentKey(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, double scale);
