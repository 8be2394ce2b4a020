// A spline as a document keeps it: the polyline it was tessellated into
// when it was added (drawn, clipped, styled, measured and written as any
// polyline), together with the spline itself, from which the fine-curves
// display mode draws it with as many segments as the device asks for.
#pragma once

#include <memory>
#include <vector>

#include "CKXNURBS.h"
#include "CKXPolyline.h"

class CKXSplinePolyline final : public CKXPolyline {
public:
    CKXSplinePolyline(std::vector<CFltPoint> points, std::shared_ptr<const CKXNURBS> spline)
        : CKXPolyline(std::move(points)), m_spline(std::move(spline)) {}

    const CKXNURBS& GetSpline() const { return *m_spline; }

    // Under the fine-curves display mode (and no clip region in force) the
    // spline itself; otherwise the stored polyline.
    void Draw(HDC dc, CKXConverter& rc) override;
    // The polyline placed, with a spline placed by its control points (an
    // affine map places a spline exactly so).
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    void RefineCurve(double resolution) override;

private:
    std::shared_ptr<const CKXNURBS> m_spline;
};
