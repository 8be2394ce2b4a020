#include "CKXSplinePolyline.h"

#include "geom/CTransf2D.h"
#include "render/KXCurveDraw.h"
#include "render/KXEntityDraw.h"

void CKXSplinePolyline::Draw(HDC dc, CKXConverter& rc) {
    if (!kxdraw::FineCurves(rc) || kxdraw::HasActiveClip(rc) || !m_spline->CanEvaluate()) {
        CKXPolyline::Draw(dc, rc);
        return;
    }
    kxdraw::DrawSpline(*m_spline, dc, rc);
}

KXEntPtr CKXSplinePolyline::CloneTransformed(const CTransf2D& xf) const {
    std::vector<CFltPoint> points;
    points.reserve(GetPoints().size());
    for (const CFltPoint& p : GetPoints()) points.push_back(xf.Apply(p));
    std::vector<CFltPoint> controls;
    controls.reserve(m_spline->GetControls().size());
    for (const CFltPoint& p : m_spline->GetControls()) controls.push_back(xf.Apply(p));
    auto spline = std::make_shared<const CKXNURBS>(m_spline->GetDegree(), std::move(controls), m_spline->GetKnots(),
                                                   m_spline->GetWeights(), 0);
    auto copy = std::make_unique<CKXSplinePolyline>(std::move(points), std::move(spline));
    copy->SetFlags(GetFlags());
    copy->Update();
    return copy;
}

void CKXSplinePolyline::RefineCurve(double resolution) {
    std::vector<CFltPoint> points = kxdraw::FineSplinePoints(*m_spline, CTransf2D(), resolution);
    if (points.size() <= GetPoints().size()) return;
    SetPoints(std::move(points));
    Update();
}
