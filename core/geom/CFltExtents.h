// Axis-aligned box in drawing units. The empty box has its minimum at
// +DBL_MAX and its maximum at -DBL_MAX so that merging into it needs no test.
#pragma once

#include <cfloat>

#include "geom/CFltPoint.h"

class CTransf2D;

class CFltExtents {
public:
    double xmin = DBL_MAX;
    double ymin = DBL_MAX;
    double xmax = -DBL_MAX;
    double ymax = -DBL_MAX;

    CFltExtents() = default;
    CFltExtents(double x0, double y0, double x1, double y1) : xmin(x0), ymin(y0), xmax(x1), ymax(y1) {}
    virtual ~CFltExtents() = default;
    CFltExtents(const CFltExtents&) = default;
    CFltExtents& operator=(const CFltExtents&) = default;

    // The box returned by entities without geometry so that no visibility
    // test ever discards them.
    static CFltExtents AlwaysVisible() { return {-100000.0, -100000.0, 100000.0, 100000.0}; }

    bool IsValid() const { return xmax >= xmin && ymax >= ymin; }
    bool IsEmpty() const { return !IsValid(); }
    void SetEmpty() { *this = CFltExtents(); }
    double Width() const { return xmax - xmin; }
    double Height() const { return ymax - ymin; }

    void Merge(const CFltExtents& other);
    void Merge(const CFltPoint& p);
    void Merge(double x, double y);
    void Transform(const CTransf2D& xf);
};
