#include "CKXEllipse.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "BigEndian.h"
#include "CKXPolyline.h"
#include "geom/KXArcBox.h"
#include "geom/KXTrunc.h"
#include "render/KXCurveDraw.h"
#include "render/KXEntityDraw.h"

namespace {

constexpr double kSimilarityTolerance = 1e-9;

double Clamp1(double v) { return std::max(-1.0, std::min(1.0, v)); }

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

CKXEllipse::CKXEllipse(const CFltPoint& centre, const CFltPoint& axis, double ratio, double start,
                       double end, bool full)
    : m_full(full ? 1 : 0), m_centre(centre), m_axis(axis), m_ratio(ratio > 0.0 ? ratio : 1.0) {
    if (full) {
        m_start = 0.0;
        m_end = kxangle::kTwoPi;
    } else {
        m_start = kxangle::Normalise(start);
        m_end = kxangle::Normalise(end);
    }
    ComputeDerived();
}

void CKXEllipse::ComputeDerived() {
    m_major = std::hypot(m_axis.x, m_axis.y);
    m_minor = m_major * m_ratio;
    if (m_major > 0.0) {
        m_c = Clamp1(m_axis.x / m_major);
        m_s = Clamp1(m_axis.y / m_major);
    } else {
        m_c = 1.0;
        m_s = 0.0;
    }
    m_lc = m_major * m_c;
    m_ls = m_major * m_s;
    m_minorC = m_minor * m_c;
    m_minorS = m_minor * m_s;
}

CFltPoint CKXEllipse::PointAt(double t) const { return PointAtDirection({std::cos(t), std::sin(t)}); }

CFltPoint CKXEllipse::PointAtDirection(const kxangle::StepDirection& d) const {
    return {m_centre.x + m_lc * d.cos - m_minorS * d.sin, m_centre.y + m_ls * d.cos + m_minorC * d.sin};
}

const kxangle::StepRange& CKXEllipse::Steps() const {
    if (m_steps.first == kxangle::kNotComputed)
        m_steps = kxangle::ComputeSteps(m_start, m_end, IsFull(), true);
    return m_steps;
}

int CKXEllipse::GetStartIndex() const { return Steps().first; }

int CKXEllipse::GetEndIndex() const { return Steps().last; }

void CKXEllipse::ArcPoints(std::vector<CFltPoint>& points) const {
    const auto pointAt = [this](const kxangle::StepDirection& d) { return PointAtDirection(d); };
    kxangle::ArcPoints(Steps(), GetStartPoint(), GetEndPoint(), pointAt, points);
}

std::unique_ptr<CKXPolyline> CKXEllipse::ToArcPolyline() const {
    std::vector<CFltPoint> points;
    ArcPoints(points);
    return std::make_unique<CKXPolyline>(std::move(points));
}

void CKXEllipse::Draw(HDC dc, CKXConverter& rc) {
    // Under clip regions drawn as the pieces of its arc polyline, as lines
    // and polylines are: a curve in a clipped group stays inside it too.
    if (kxdraw::HasActiveClip(rc)) {
        DrawClipped(dc, rc);
        return;
    }
    kxdraw::DrawEllipse(*this, dc, rc);
}

CFltExtents& CKXEllipse::GetExtents(CFltExtents& out) const {
    out = KXArcBox(m_centre, {m_lc, m_ls}, {-m_minorS, m_minorC}, m_start, m_end, IsFull());
    return out;
}

CFltExtents& CKXEllipse::GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet*, int) const {
    GetExtents(out);
    if (xf) out.Transform(*xf);
    return out;
}

int CKXEllipse::Write(std::uint8_t* buffer) const {
    if (std::max({m_q[6], m_q[7], m_q[8], m_q[9]}) >= kMaxWritableAxis) {
        auto polyline = ToArcPolyline();
        polyline->SetFlags(GetFlags());
        polyline->Quantise(m_quantScale, m_quantOrigin);
        return polyline->Write(buffer);
    }
    const kxangle::StepRange& steps = Steps();
    KXBEWriter w(buffer);
    w.U16(static_cast<std::uint16_t>(GetRecordKind() | GetFlags()));
    for (int i = 0; i < 6; ++i) w.I32(m_q[i]);
    w.U16(static_cast<std::uint16_t>(steps.first));
    w.U16(static_cast<std::uint16_t>(steps.last));
    for (int i = 6; i < 10; ++i) w.I32(m_q[i]);
    for (double v : {m_lc, m_ls, m_minorC, m_minorS}) w.U8(v < 0.0 ? 0xFF : 0x00);
    return w.SizeInt();
}

void CKXEllipse::Quantise(double scale, const CFltPoint& origin) {
    const CFltPoint s = GetStartPoint();
    const CFltPoint e = GetEndPoint();
    m_q[0] = KXQuantiseCoord(m_centre.x, origin.x, scale);
    m_q[1] = KXQuantiseCoord(m_centre.y, origin.y, scale);
    m_q[2] = KXQuantiseCoord(s.x, origin.x, scale);
    m_q[3] = KXQuantiseCoord(s.y, origin.y, scale);
    m_q[4] = KXQuantiseCoord(e.x, origin.x, scale);
    m_q[5] = KXQuantiseCoord(e.y, origin.y, scale);
    m_q[6] = KXTrunc32(std::fabs(m_lc) * scale);
    m_q[7] = KXTrunc32(std::fabs(m_ls) * scale);
    m_q[8] = KXTrunc32(std::fabs(m_minorC) * scale);
    m_q[9] = KXTrunc32(std::fabs(m_minorS) * scale);
    m_quantOrigin = origin;
    m_quantScale = scale;
}

KXEntPtr CKXEllipse::CloneTransformed(const CTransf2D& xf) const {
    // Only a similarity maps the axes onto the image's axes.
    if (xf.IsGeneral() || !IsSimilarity(xf)) return ToArcPolyline()->CloneTransformed(xf);
    const CFltPoint centre = xf.Apply(m_centre);
    const CFltPoint axis{xf.m[0] * m_axis.x + xf.m[1] * m_axis.y, xf.m[3] * m_axis.x + xf.m[4] * m_axis.y};
    std::unique_ptr<CKXEllipse> copy;
    if (IsFull()) {
        copy = std::make_unique<CKXEllipse>(centre, axis, m_ratio, 0.0, kxangle::kTwoPi, true);
    } else if (xf.Mirrors()) {
        copy = std::make_unique<CKXEllipse>(centre, axis, m_ratio, kxangle::kTwoPi - m_end,
                                            kxangle::kTwoPi - m_start, false);
    } else {
        copy = std::make_unique<CKXEllipse>(centre, axis, m_ratio, m_start, m_end, false);
    }
    copy->SetFlags(GetFlags());
    return copy;
}

void CKXEllipse::Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) {
    ToArcPolyline()->Clip(clip, out, doc, xf);
}
