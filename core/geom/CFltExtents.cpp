#include "geom/CFltExtents.h"

#include "geom/CTransf2D.h"

void CFltExtents::Merge(const CFltExtents& other) {
    if (other.xmin < xmin) xmin = other.xmin;
    if (other.ymin < ymin) ymin = other.ymin;
    if (other.xmax > xmax) xmax = other.xmax;
    if (other.ymax > ymax) ymax = other.ymax;
}

void CFltExtents::Merge(double x, double y) {
    if (x < xmin) xmin = x;
    if (y < ymin) ymin = y;
    if (x > xmax) xmax = x;
    if (y > ymax) ymax = y;
}

void CFltExtents::Merge(const CFltPoint& p) { Merge(p.x, p.y); }

void CFltExtents::Transform(const CTransf2D& xf) {
    if (IsEmpty()) return;
    const CFltPoint corners[4] = {{xmin, ymin}, {xmin, ymax}, {xmax, ymax}, {xmax, ymin}};
    SetEmpty();
    for (const CFltPoint& c : corners) Merge(xf.Apply(c));
}
