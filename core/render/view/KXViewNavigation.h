// How a view compares and reports drawing areas: the zoom ratio of extents
// (the zoom level relative to showing the whole document in the client
// area), whether a jump changes it, and the debug line of each backward or
// forward step.
#pragma once

#include <optional>
#include <string>

#include "geom/CFltExtents.h"

namespace kxview {

// Ratios closer than this are the same zoom: a jump between them is not
// recorded in the zoom history.
constexpr double kSameZoomTolerance = 0.01;

// 1 when the client area has no inner width or height (2 units of frame).
double ZoomRatio(const CFltExtents& extents, const CFltExtents& document, int clientWidth,
                 int clientHeight);
bool SameZoom(double a, double b);
// "Bkw zoom: %f\n" / "Frw zoom: %f\n" with the ratio reached, or
// "Bkw zoom is unavailable.\n" / "Frw zoom is unavailable.\n".
std::string NavigationLine(bool backward, std::optional<double> ratio);

}  // namespace kxview
