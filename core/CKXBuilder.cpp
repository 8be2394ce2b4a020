#include "CKXBuilder.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "CKXCircle.h"
#include "CKXDoc.h"
#include "CKXEllipse.h"
#include "CKXLine.h"
#include "CKXNURBS.h"
#include "CKXPolyline.h"
#include "CKXSplinePolyline.h"
#include "geom/CTransf3D.h"
#include "geom/KXAngleTable.h"

namespace {

bool Finite(double v) { return std::isfinite(v); }
bool Finite(const CFltPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool AllFinite(const std::vector<CFltPoint>& points) {
    for (const CFltPoint& p : points) {
        if (!Finite(p)) return false;
    }
    return true;
}

void ProjectAll(std::vector<CFltPoint>& points, const CTransf3D& projection, double z) {
    for (CFltPoint& p : points) p = projection.Project(p, z);
}

std::unique_ptr<CKXPolyline> MakePolyline(std::vector<CFltPoint> points) {
    auto polyline = std::make_unique<CKXPolyline>(std::move(points));
    polyline->Update();
    return polyline;
}

// Finite input can still describe a shape too large for doubles (a radius of
// 1e308 about a centre of 1e308): such an entity is refused.
bool HasFiniteExtents(const IKXEnt& ent) {
    CFltExtents box;
    ent.GetExtents(box);
    return box.IsEmpty() || (Finite(box.xmin) && Finite(box.ymin) && Finite(box.xmax) && Finite(box.ymax) &&
                             Finite(box.Width()) && Finite(box.Height()));
}

}  // namespace

bool CKXBuilder::Projection(const double* z, const CTransf3D*& projection) const {
    projection = m_doc.ProjectionFor(z);
    return !projection || (projection->IsValid() && Finite(*z));
}

int CKXBuilder::SetAttrib(const CKXAttribute& requested) {
    IKXContainer* container = m_doc.GetCurrentContainer();
    if (!container) return 0;
    return container->SetAttrib(&m_doc.Attribs(), &requested);
}

int CKXBuilder::GetAttrib(CKXAttribute& out) const {
    IKXContainer* container = m_doc.GetCurrentContainer();
    if (!container) return 0;
    return container->GetAttrib(&out);
}

int CKXBuilder::Append(KXEntPtr ent, const KXEntAttribs* attr) {
    IKXContainer* container = m_doc.GetCurrentContainer();
    if (!container || !ent || !HasFiniteExtents(*ent)) return 0;
    const bool restore = attr && attr->restore;
    CKXAttribute saved;
    if (restore) container->GetAttrib(&saved);
    if (attr) {
        CKXAttribute requested;
        requested.color = attr->color;
        requested.lineStyle = attr->lineStyle;
        requested.weight = attr->weight;
        SetAttrib(requested);
    }
    container->AddEnt(std::move(ent), true, nullptr);
    if (restore) SetAttrib(saved);
    return 1;
}

int CKXBuilder::AddLine(const CFltPoint& start, const CFltPoint& end, const KXEntAttribs* attr, const double* z) {
    if (!Finite(start) || !Finite(end) || !m_doc.GetCurrentContainer()) return 0;
    const CTransf3D* projection;
    if (!Projection(z, projection)) return 0;
    CFltPoint a = start;
    CFltPoint b = end;
    if (projection) {
        a = projection->Project(a, *z);
        b = projection->Project(b, *z);
        if (!Finite(a) || !Finite(b)) return 0;
    }
    // A zero-length line is kept as a dot.
    if (a == b) return Append(MakePolyline({a}), attr);
    return Append(std::make_unique<CKXLine>(a, b), attr);
}

int CKXBuilder::AddPolyline(const CFltPoint* points, int count, const KXEntAttribs* attr, const double* z) {
    if (!points || count <= 0 || !m_doc.GetCurrentContainer()) return 0;
    const CTransf3D* projection;
    if (!Projection(z, projection)) return 0;
    std::vector<CFltPoint> copy(points, points + count);
    if (count == 2 && copy[0] == copy[1]) copy.resize(1);
    if (projection) ProjectAll(copy, *projection, *z);
    if (!AllFinite(copy)) return 0;
    return Append(MakePolyline(std::move(copy)), attr);
}

std::vector<CFltPoint> CKXBuilder::SampleArc(const CFltPoint& centre, double radius, double a, double b) {
    if (a > b) b += kxangle::kTwoPi;
    const bool full = a == 0.0 && b == 0.0;
    if (full) b = kxangle::kTwoPi;
    std::vector<CFltPoint> points(kArcSamples);
    for (int i = 0; i < kArcSamples; ++i) {
        const double angle = a + i * (b - a) / (kArcSamples - 1);
        points[static_cast<std::size_t>(i)] = {centre.x + radius * std::cos(angle),
                                               centre.y + radius * std::sin(angle)};
    }
    if (full) points.back() = points.front();
    return points;
}

int CKXBuilder::AddCurvePolyline(std::vector<CFltPoint> points, const CTransf3D& projection, double z,
                                 const KXEntAttribs* attr) {
    ProjectAll(points, projection, z);
    if (!AllFinite(points)) return 0;
    return Append(MakePolyline(std::move(points)), attr);
}

int CKXBuilder::AddCircle(const CFltPoint& centre, double radius, const KXEntAttribs* attr, const double* z) {
    if (!Finite(centre) || !Finite(radius) || !(radius > 0.0) || !m_doc.GetCurrentContainer()) return 0;
    const CTransf3D* projection;
    if (!Projection(z, projection)) return 0;
    if (projection) return AddCurvePolyline(SampleArc(centre, radius, 0.0, 0.0), *projection, *z, attr);
    return Append(std::make_unique<CKXCircle>(centre, radius, 0.0, kxangle::kTwoPi, true), attr);
}

int CKXBuilder::AddArc(const CFltPoint& centre, double radius, double start, double end, const KXEntAttribs* attr,
                       const double* z) {
    if (!Finite(centre) || !Finite(radius) || !(radius > 0.0) || !Finite(start) || !Finite(end) ||
        !m_doc.GetCurrentContainer())
        return 0;
    const CTransf3D* projection;
    if (!Projection(z, projection)) return 0;
    if (projection) {
        // Sampled between the normalised angles, as the unprojected arc is drawn.
        return AddCurvePolyline(SampleArc(centre, radius, kxangle::Normalise(start), kxangle::Normalise(end)),
                                *projection, *z, attr);
    }
    return Append(std::make_unique<CKXCircle>(centre, radius, start, end, false), attr);
}

int CKXBuilder::AddEllipse(const CFltPoint& centre, const CFltPoint& axis, double ratio, const KXEntAttribs* attr,
                           const double* z) {
    return AddEllipseCurve(centre, axis, ratio, 0.0, kxangle::kTwoPi, attr, z, true);
}

int CKXBuilder::AddEllipticArc(const CFltPoint& centre, const CFltPoint& axis, double ratio, double start,
                               double end, const KXEntAttribs* attr, const double* z) {
    return AddEllipseCurve(centre, axis, ratio, start, end, attr, z, false);
}

int CKXBuilder::AddEllipseCurve(const CFltPoint& centre, const CFltPoint& axis, double ratio, double start,
                                double end, const KXEntAttribs* attr, const double* z, bool full) {
    if (!Finite(centre) || !Finite(axis) || (axis.x == 0.0 && axis.y == 0.0) || !Finite(ratio) || !Finite(start) ||
        !Finite(end) || !m_doc.GetCurrentContainer())
        return 0;
    const double major = std::hypot(axis.x, axis.y);
    if (!Finite(major) || !(major > 0.0) || !Finite(major * ratio)) return 0;
    const CTransf3D* projection;
    if (!Projection(z, projection)) return 0;

    std::unique_ptr<IKXEnt> curve;
    std::unique_ptr<CKXPolyline> asPolyline;
    if (!full && ratio == 1.0) {
        // A circular arc: the axis direction shifts both angles.
        const double c = std::max(-1.0, std::min(1.0, axis.x / major));
        const double s = std::max(-1.0, std::min(1.0, axis.y / major));
        double phi = std::acos(c);
        if (s < 0.0) phi = kxangle::kTwoPi - phi;
        auto circle = std::make_unique<CKXCircle>(centre, major, start + phi, end + phi, false);
        if (projection) asPolyline = circle->ToArcPolyline();
        curve = std::move(circle);
    } else {
        auto ellipse = std::make_unique<CKXEllipse>(centre, axis, ratio, start, end, full);
        if (projection) asPolyline = ellipse->ToArcPolyline();
        curve = std::move(ellipse);
    }
    if (!projection) return Append(std::move(curve), attr);
    curve.reset();
    ProjectAll(asPolyline->GetPoints(), *projection, *z);
    if (!AllFinite(asPolyline->GetPoints())) return 0;
    asPolyline->Update();
    return Append(std::move(asPolyline), attr);
}

int CKXBuilder::AddSpline(int degree, CFltPoint* controls, int count, const double* knots, int knotCount,
                          const double* weights, int flags, const KXEntAttribs* attr, const double* z) {
    if (!controls || !knots || count <= 0 || knotCount <= 0 || !m_doc.GetCurrentContainer()) return 0;
    if (static_cast<long long>(degree) + count + 1 != knotCount) return 0;
    const CTransf3D* projection;
    if (!Projection(z, projection)) return 0;
    if (projection) {
        for (int i = 0; i < count; ++i) controls[i] = projection->Project(controls[i], *z);
    }
    std::vector<double> w;
    if (weights) w.assign(weights, weights + count);
    auto spline = std::make_shared<const CKXNURBS>(degree, std::vector<CFltPoint>(controls, controls + count),
                                                   std::vector<double>(knots, knots + knotCount), std::move(w),
                                                   flags);
    std::unique_ptr<CKXPolyline> tessellated = spline->Tessellate(CKXNURBS::kTessellationPoints);
    if (!tessellated) return 0;
    // Stored as its polyline; the spline stays with it for fine drawing.
    auto polyline = std::make_unique<CKXSplinePolyline>(std::move(tessellated->GetPoints()), std::move(spline));
    polyline->Update();
    return Append(std::move(polyline), attr);
}
