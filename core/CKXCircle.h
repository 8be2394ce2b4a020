// A circle or a circular arc running counter-clockwise from start to end.
#pragma once

#include <memory>
#include <vector>

#include "IKXEnt.h"
#include "geom/KXAngleTable.h"

class CKXPolyline;

class CKXCircle : public IKXEnt {
public:
    // Circles whose quantised radius reaches this are written as polylines:
    // the reader's integer arithmetic does not cover them.
    static constexpr std::int32_t kMaxWritableRadius = 199001;

    // A full circle when full is set (angles become 0 and 2*pi); otherwise
    // the arc's angles are normalised.
    CKXCircle(const CFltPoint& centre, double radius, double start, double end, bool full);

    const CFltPoint& GetCentre() const { return m_centre; }
    double GetRadius() const { return m_radius; }
    double GetStart() const { return m_start; }
    double GetEnd() const { return m_end; }
    bool IsFull() const { return m_full != 0; }
    CFltPoint GetStartPoint() const;
    CFltPoint GetEndPoint() const;
    CFltPoint PointAt(double angle) const;

    // Angle-table step indexes, computed on first use.
    int GetStartIndex() const;
    int GetEndIndex() const;
    // The table steps the arc passes, computed on first use.
    const kxangle::StepRange& Steps() const;

    // Centre x, y, start x, y, end x, y, radius as made by Quantise.
    const std::int32_t* GetQuantised() const { return m_q; }
    const CFltPoint& GetQuantOrigin() const { return m_quantOrigin; }
    double GetQuantScale() const { return m_quantScale; }

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
    int GetType() const override { return KXENT_CIRCLE; }
    std::uint16_t GetRecordKind() const override { return KXREC_CIRCLE; }
    void Quantise(double scale, const CFltPoint& origin) override;
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    int IsDuplicate(KXKeyMap&, double) override { return 0; }
    // Clipping is provided by the clip-region code.
    void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) override;

private:
    std::uint8_t m_full = 0;
    CFltPoint m_centre;
    double m_radius = 0.0;
    double m_start = 0.0;
    double m_end = kxangle::kTwoPi;
    mutable kxangle::StepRange m_steps;
    std::int32_t m_q[7] = {0, 0, 0, 0, 0, 0, 0};
    CFltPoint m_quantOrigin;
    double m_quantScale = 0.0;
};
