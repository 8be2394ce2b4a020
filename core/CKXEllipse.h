// An ellipse or an elliptic arc, given by its centre, the vector to the end
// of its major axis, the minor/major ratio, and parametric start and end.
#pragma once

#include <memory>
#include <vector>

#include "IKXEnt.h"
#include "geom/KXAngleTable.h"

class CKXPolyline;

class CKXEllipse : public IKXEnt {
public:
    // Ellipses whose largest quantised axis term reaches this are written as
    // polylines.
    static constexpr std::int32_t kMaxWritableAxis = 199001;

    // A ratio <= 0 becomes 1. Full: parameters 0 and 2*pi; otherwise the
    // arc's parameters are normalised.
    CKXEllipse(const CFltPoint& centre, const CFltPoint& axis, double ratio, double start,
               double end, bool full);

    const CFltPoint& GetCentre() const { return m_centre; }
    const CFltPoint& GetAxis() const { return m_axis; }
    double GetRatio() const { return m_ratio; }
    double GetStart() const { return m_start; }
    double GetEnd() const { return m_end; }
    bool IsFull() const { return m_full != 0; }
    double GetMajorLength() const { return m_major; }
    double GetMinorLength() const { return m_minor; }
    // U = (L*c, L*s) is the major semi-axis vector, V = (-minor*s, minor*c)
    // the minor one: the point at t is centre + cos t * U + sin t * V.
    double GetLc() const { return m_lc; }
    double GetLs() const { return m_ls; }
    double GetMinorC() const { return m_minorC; }
    double GetMinorS() const { return m_minorS; }
    CFltPoint PointAt(double t) const;
    // The point whose parameter has this cosine and sine.
    CFltPoint PointAtDirection(const kxangle::StepDirection& d) const;
    CFltPoint GetStartPoint() const { return PointAt(m_start); }
    CFltPoint GetEndPoint() const { return PointAt(m_end); }

    int GetStartIndex() const;
    int GetEndIndex() const;
    // The table steps the arc passes, computed on first use.
    const kxangle::StepRange& Steps() const;

    // Centre x, y, start x, y, end x, y; |L*c|, |L*s|, |minor*c|, |minor*s|.
    const std::int32_t* GetQuantised() const { return m_q; }

    // The arc's outline as points (kxangle::ArcPoints).
    void ArcPoints(std::vector<CFltPoint>& points) const;
    // The same points as a polyline.
    std::unique_ptr<CKXPolyline> ToArcPolyline() const;

    // Drawing is provided by the renderer.
    void Draw(HDC dc, CKXConverter& rc) override;
    CFltExtents& GetExtents(CFltExtents& out) const override;
    CFltExtents& GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet* clip,
                              int extra) const override;
    int Write(std::uint8_t* buffer) const override;
    int Read(CKXArchive*, int) override { return 0; }
    bool GrowsExtents() const override { return true; }
    bool IsStyledGeometry() const override { return true; }
    // Three pieces per segment of the outline (one per angle step, and its
    // two ends).
    std::size_t MostStyledPieces() const override { return 3 * (kxangle::kSteps + 2); }
    int GetType() const override { return KXENT_ELLIPSE; }
    std::uint16_t GetRecordKind() const override { return KXREC_ELLIPSE; }
    void Quantise(double scale, const CFltPoint& origin) override;
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    int IsDuplicate(KXKeyMap&, double) override { return 0; }
    // Clipping is provided by the clip-region code.
    void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) override;

private:
    void ComputeDerived();

    std::uint8_t m_full = 0;
    CFltPoint m_centre;
    CFltPoint m_axis;
    double m_ratio = 1.0;
    double m_start = 0.0;
    double m_end = kxangle::kTwoPi;
    mutable kxangle::StepRange m_steps;
    double m_major = 0.0;
    double m_minor = 0.0;
    double m_c = 1.0;
    double m_s = 0.0;
    double m_lc = 0.0;
    double m_ls = 0.0;
    double m_minorC = 0.0;
    double m_minorS = 0.0;
    std::int32_t m_q[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    CFltPoint m_quantOrigin;
    double m_quantScale = 0.0;
};
