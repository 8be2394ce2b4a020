#include "CKXPath.h"

#include <cmath>
#include <limits>

#include "CKXBuilder.h"
#include "CKXCircle.h"
#include "CKXDoc.h"
#include "CKXEllipse.h"
#include "CKXNURBS.h"
#include "CKXPolyline.h"
#include "geom/CTransf3D.h"

namespace {

bool Finite(const CFltPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool AllFinite(const std::vector<CFltPoint>& points) {
    for (const CFltPoint& p : points)
        if (!Finite(p)) return false;
    return true;
}

// The document's projection for an elevation; false for an unusable one.
bool ProjectionOf(const CKXDoc& doc, const double* z, const CTransf3D*& projection) {
    projection = doc.ProjectionFor(z);
    return projection == nullptr || (projection->IsValid() && std::isfinite(*z));
}

void ProjectAll(std::vector<CFltPoint>& points, const CTransf3D& projection, double z) {
    for (CFltPoint& p : points) p = projection.Project(p, z);
}

double Distance2(const CFltPoint& a, const CFltPoint& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    return dx * dx + dy * dy;
}

}  // namespace

CKXPath::CKXPath() = default;
CKXPath::~CKXPath() = default;

void CKXPath::Quantise(double scale, const CFltPoint& origin) {
    for (const KXEntPtr& piece : m_pieces) piece->Quantise(scale, origin);
    for (const auto& polyline : m_polylines) polyline->Quantise(scale, origin);
}

void CKXPath::Accept(KXEntPtr piece, std::unique_ptr<CKXPolyline> polyline, bool closedPiece) {
    if (m_closed != 0 || !polyline || polyline->GetCount() == 0) return;
    if (closedPiece && !m_pieces.empty()) return;
    if (closedPiece) m_closed = 1;
    polyline->Update();
    m_pieces.push_back(std::move(piece));
    m_polylines.push_back(std::move(polyline));
}

KXStatus CKXPath::AddPolyline(CKXDoc& doc, std::vector<CFltPoint> points, const double* z) {
    if (points.empty()) return KXStatus::Failure("path polyline without points");
    const CTransf3D* projection;
    if (!ProjectionOf(doc, z, projection)) return KXStatus::Failure("path polyline: unusable elevation");
    if (projection) ProjectAll(points, *projection, *z);
    if (!AllFinite(points)) return KXStatus::Failure("path polyline with a non-finite point");
    const bool closed = points.size() >= 2 && points.front() == points.back();
    auto piece = std::make_unique<CKXPolyline>(points);
    Accept(std::move(piece), std::make_unique<CKXPolyline>(std::move(points)), closed);
    return {};
}

KXStatus CKXPath::AddCircleArc(CKXDoc& doc, const CFltPoint& centre, double radius, double start, double end,
                               bool full, const double* z) {
    if (!Finite(centre) || !std::isfinite(radius) || !(radius > 0.0) || !std::isfinite(start) ||
        !std::isfinite(end))
        return KXStatus::Failure("path arc: bad centre, radius or angles");
    const CTransf3D* projection;
    if (!ProjectionOf(doc, z, projection)) return KXStatus::Failure("path arc: unusable elevation");
    if (projection) {
        // Projected arcs are kept as 200 points evenly spaced in angle.
        std::vector<CFltPoint> points = CKXBuilder::SampleArc(centre, radius, full ? 0.0 : start, full ? 0.0 : end);
        ProjectAll(points, *projection, *z);
        if (!AllFinite(points)) return KXStatus::Failure("path arc: projection leaves the number range");
        const bool closed = full || (start == 0.0 && end == 0.0);
        auto piece = std::make_unique<CKXPolyline>(points);
        Accept(std::move(piece), std::make_unique<CKXPolyline>(std::move(points)), closed);
        return {};
    }
    auto circle = std::make_unique<CKXCircle>(centre, radius, start, end, full);
    std::unique_ptr<CKXPolyline> outline = circle->ToArcPolyline();
    Accept(std::move(circle), std::move(outline), full);
    return {};
}

KXStatus CKXPath::AddEllipticArc(CKXDoc& doc, const CFltPoint& centre, const CFltPoint& axis, double ratio,
                                 double start, double end, bool full, const double* z) {
    const double major = std::hypot(axis.x, axis.y);
    if (!Finite(centre) || !Finite(axis) || !std::isfinite(major) || !(major > 0.0) || !std::isfinite(ratio) ||
        !std::isfinite(major * ratio) || !std::isfinite(start) || !std::isfinite(end))
        return KXStatus::Failure("path elliptic arc: the ellipse cannot be made");
    const CTransf3D* projection;
    if (!ProjectionOf(doc, z, projection)) return KXStatus::Failure("path elliptic arc: unusable elevation");
    auto ellipse = std::make_unique<CKXEllipse>(centre, axis, ratio, start, end, full);
    std::unique_ptr<CKXPolyline> outline = ellipse->ToArcPolyline();
    if (!outline) return KXStatus::Failure("path elliptic arc: no outline");
    if (projection) {
        ProjectAll(outline->GetPoints(), *projection, *z);
        if (!AllFinite(outline->GetPoints())) return KXStatus::Failure("path elliptic arc: projection leaves the number range");
        auto piece = std::make_unique<CKXPolyline>(outline->GetPoints());
        Accept(std::move(piece), std::move(outline), full);
        return {};
    }
    Accept(std::move(ellipse), std::move(outline), full);
    return {};
}

KXStatus CKXPath::AddSpline(CKXDoc& doc, int degree, std::vector<CFltPoint> controls, std::vector<double> knots,
                            std::vector<double> weights, int flags, const double* z) {
    if (static_cast<long long>(degree) + static_cast<long long>(controls.size()) + 1 !=
        static_cast<long long>(knots.size()))
        return KXStatus::Failure("path spline: knot count is not degree + control points + 1");
    if ((flags & 1) != 0) return KXStatus::Failure("path spline: flagged invalid");
    const CTransf3D* projection;
    if (!ProjectionOf(doc, z, projection)) return KXStatus::Failure("path spline: unusable elevation");
    if (projection) ProjectAll(controls, *projection, *z);
    const bool closed = controls.size() >= 2 && controls.front() == controls.back();
    auto spline = std::make_unique<CKXNURBS>(degree, std::move(controls), std::move(knots), std::move(weights), flags);
    if (!spline->CanEvaluate()) return KXStatus::Failure("path spline: invalid definition");
    std::unique_ptr<CKXPolyline> outline = spline->Tessellate(CKXNURBS::kTessellationPoints);
    if (!outline) return KXStatus::Failure("path spline: cannot be evaluated");
    Accept(std::move(spline), std::move(outline), closed);
    return {};
}

std::unique_ptr<CKXPolyline> CKXPath::ToContour() const {
    if (m_polylines.empty()) return nullptr;
    const std::size_t n = m_polylines.size();
    std::vector<CFltPoint> points;
    std::vector<std::uint8_t> used(n, 0);
    const auto append = [&](const std::vector<CFltPoint>& piece, bool reversed) {
        if (reversed)
            points.insert(points.end(), piece.rbegin(), piece.rend());
        else
            points.insert(points.end(), piece.begin(), piece.end());
    };
    append(m_polylines[0]->GetPoints(), false);
    used[0] = 1;
    for (std::size_t placed = 1; placed < n; ++placed) {
        const CFltPoint end = points.back();
        double best = std::numeric_limits<double>::infinity();
        std::size_t bestIndex = n;
        bool bestReversed = false;
        for (std::size_t i = 0; i < n; ++i) {
            if (used[i] != 0) continue;
            const std::vector<CFltPoint>& piece = m_polylines[i]->GetPoints();
            const double toStart = Distance2(end, piece.front());
            if (toStart < best || bestIndex == n) {
                best = toStart;
                bestIndex = i;
                bestReversed = false;
            }
            const double toEnd = Distance2(end, piece.back());
            if (toEnd < best) {
                best = toEnd;
                bestIndex = i;
                bestReversed = true;
            }
        }
        used[bestIndex] = 1;
        append(m_polylines[bestIndex]->GetPoints(), bestReversed);
    }
    if (m_closed == 0 && m_appendClosing != 0) points.push_back(points.front());
    auto contour = std::make_unique<CKXPolyline>(std::move(points));
    contour->Update();
    return contour;
}
