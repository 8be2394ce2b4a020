// Anti-aliased raster pictures by supersampling: the drawing is drawn
// aliased at factor times the size, every stroke is widened by one large
// pixel on each side (so a one-pixel line of the large picture becomes a
// line one pixel wide in the small one, as an aliased line covers whole
// pixels), and every block of factor x factor pixels becomes one pixel:
// the background blended towards the mean ink colour by the share of the
// block the strokes cover.
#pragma once

#include <kxplatform/wintypes.h>

constexpr int kAntiAliasFactor = 3;

// A new raster context of width x height made from source, a raster
// context of factor x width by factor x height; null when either side or
// the factor is not positive or the context cannot be made.
HDC KXAntiAliased(HDC source, int width, int height, int factor, COLORREF background);
