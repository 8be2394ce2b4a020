#include "CKXCircle.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "BigEndian.h"
#include "CKXPolyline.h"
#include "geom/KXArcBox.h"
#include "geom/KXTrunc.h"
#include "render/KXCurveDraw.h"
#include "render/KXEntityDraw.h"

namespace {

// Relative tolerance within which a transform counts as a similarity (keeps
// circles circular).
constexpr double kSimilarityTolerance = 1e-9;

bool IsSimilarity(const CTransf2D& xf) {
    const double a = xf.m[0], b = xf.m[1], c = xf.m[3], d = xf.m[4];
    const double lenX = std::hypot(a, c);
    const double lenY = std::hypot(b, d);
    const double scale = std::max(lenX, lenY);
    if (!(scale > 0.0)) return false;
    return std::fabs(lenX - lenY) <= kSimilarityTolerance * scale &&
           std::fabs(a * b + c * d) <= kSimilarityTolerance * scale * scale;
}

}  // namespace

CKXCircle::CKXCircle(const CFltPoint& centre, double radius, double start, double end, bool full)
    : m_full(full ? 1 : 0), m_centre(centre), m_radius(radius) {
    if (full) {
        m_start = 0.0;
        m_end = kxangle::kTwoPi;
    } else {
        m_start = kxangle::Normalise(start);
        m_end = kxangle::Normalise(end);
    }
}

CFltPoint CKXCircle::PointAt(double angle) const {
    return {m_centre.x + m_radius * std::cos(angle), m_centre.y + m_radius * std::sin(angle)};
}

CFltPoint CKXCircle::GetStartPoint() const { return PointAt(m_start); }
CFltPoint CKXCircle::GetEndPoint() const { return PointAt(m_end); }

const kxangle::StepRange& CKXCircle::Steps() const {
    if (m_steps.first == kxangle::kNotComputed)
        m_steps = kxangle::ComputeSteps(m_start, m_end, IsFull(), false);
    return m_steps;
}

int CKXCircle::GetStartIndex() const { return Steps().first; }

int CKXCircle::GetEndIndex() const { return Steps().last; }

void CKXCircle::ArcPoints(std::vector<CFltPoint>& points) const {
    const auto pointAt = [this](const kxangle::StepDirection& d) {
        return CFltPoint{m_centre.x + m_radius * d.cos, m_centre.y + m_radius * d.sin};
    };
    kxangle::ArcPoints(Steps(), GetStartPoint(), GetEndPoint(), pointAt, points);
}

std::unique_ptr<CKXPolyline> CKXCircle::ToArcPolyline() const {
    std::vector<CFltPoint> points;
    ArcPoints(points);
    return std::make_unique<CKXPolyline>(std::move(points));
}

void CKXCircle::Draw(HDC dc, CKXConverter& rc) {
    // Under clip regions drawn as the pieces of its arc polyline, as lines
    // and polylines are: a curve in a clipped group stays inside it too.
    if (kxdraw::HasActiveClip(rc)) {
        DrawClipped(dc, rc);
        return;
    }
    kxdraw::DrawCircle(*this, dc, rc);
}

CFltExtents& CKXCircle::GetExtents(CFltExtents& out) const {
    out = KXArcBox(m_centre, {m_radius, 0.0}, {0.0, m_radius}, m_start, m_end, IsFull());
    return out;
}

CFltExtents& CKXCircle::GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet*, int) const {
    GetExtents(out);
    if (xf) out.Transform(*xf);
    return out;
}

int CKXCircle::Write(std::uint8_t* buffer) const {
    if (m_q[6] >= kMaxWritableRadius) {
        // Too large for the reader's circle arithmetic: written as points.
        auto polyline = ToArcPolyline();
        polyline->SetFlags(GetFlags());
        polyline->Quantise(m_quantScale, m_quantOrigin);
        return polyline->Write(buffer);
    }
    const kxangle::StepRange& steps = Steps();
    KXBEWriter w(buffer);
    w.U16(static_cast<std::uint16_t>(GetRecordKind() | GetFlags()));
    for (std::int32_t q : m_q) w.I32(q);
    w.U16(static_cast<std::uint16_t>(steps.first));
    w.U16(static_cast<std::uint16_t>(steps.last));
    return w.SizeInt();
}

void CKXCircle::Quantise(double scale, const CFltPoint& origin) {
    const CFltPoint s = GetStartPoint();
    const CFltPoint e = GetEndPoint();
    m_q[0] = KXQuantiseCoord(m_centre.x, origin.x, scale);
    m_q[1] = KXQuantiseCoord(m_centre.y, origin.y, scale);
    m_q[2] = KXQuantiseCoord(s.x, origin.x, scale);
    m_q[3] = KXQuantiseCoord(s.y, origin.y, scale);
    m_q[4] = KXQuantiseCoord(e.x, origin.x, scale);
    m_q[5] = KXQuantiseCoord(e.y, origin.y, scale);
    m_q[6] = KXTrunc32(m_radius * scale);
    m_quantOrigin = origin;
    m_quantScale = scale;
}

KXEntPtr CKXCircle::CloneTransformed(const CTransf2D& xf) const {
    // Only a similarity keeps a circle circular; otherwise keep its shape as points.
    if (xf.IsGeneral() || !IsSimilarity(xf)) return ToArcPolyline()->CloneTransformed(xf);
    const CFltPoint centre = xf.Apply(m_centre);
    const CFltPoint start = xf.Apply(GetStartPoint());
    const double radius = std::hypot(start.x - centre.x, start.y - centre.y);
    std::unique_ptr<CKXCircle> copy;
    if (IsFull()) {
        copy = std::make_unique<CKXCircle>(centre, radius, 0.0, kxangle::kTwoPi, true);
    } else {
        const CFltPoint end = xf.Apply(GetEndPoint());
        double a = std::atan2(start.y - centre.y, start.x - centre.x);
        double b = std::atan2(end.y - centre.y, end.x - centre.x);
        if (xf.Mirrors()) std::swap(a, b);
        copy = std::make_unique<CKXCircle>(centre, radius, a, b, false);
    }
    copy->SetFlags(GetFlags());
    return copy;
}

void CKXCircle::Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) {
    // Pieces of a curve are the pieces of its arc polyline.
    ToArcPolyline()->Clip(clip, out, doc, xf);
}
