// Exact bounding box of an arc of a circle or ellipse given as
// centre + cos t * U + sin t * V, for t from start to end (counter-clockwise,
// through 0 when end < start).
#pragma once

#include "geom/CFltExtents.h"

CFltExtents KXArcBox(const CFltPoint& centre, const CFltPoint& u, const CFltPoint& v, double start,
                     double end, bool full);
