// An open sequence of points; a single point is a dot.
#pragma once

#include <vector>

#include "IKXEnt.h"

class CKXPolyline : public IKXEnt {
public:
    // The drawing file stores point counts in 16 bits.
    static constexpr int kMaxWritablePoints = 0xFFFF;
    // Finished drawings store longer polylines as pieces of at most this
    // many points.
    static constexpr int kMaxStoredPoints = 250;

    CKXPolyline() = default;
    explicit CKXPolyline(std::vector<CFltPoint> points) : m_points(std::move(points)) {}

    int GetCount() const { return static_cast<int>(m_points.size()); }
    const std::vector<CFltPoint>& GetPoints() const { return m_points; }
    std::vector<CFltPoint>& GetPoints() { return m_points; }
    void SetPoints(std::vector<CFltPoint> points) { m_points = std::move(points); }
    // Two quantised ints (x, y) per point.
    const std::vector<std::int32_t>& GetQuantised() const { return m_quantised; }
    const CFltExtents& GetCachedExtents() const { return m_extents; }

    // Drawing is provided by the renderer.
    void Draw(HDC dc, CKXConverter& rc) override;
    CFltExtents& GetExtents(CFltExtents& out) const override;
    CFltExtents& GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet* clip,
                              int extra) const override;
    void Update() override;
    // A polyline of more points than the record can count is not written
    // (0 bytes): the finishing step splits long polylines before writing.
    int Write(std::uint8_t* buffer) const override;
    int Read(CKXArchive* archive, int extra) override;
    int GetType() const override { return KXENT_POLYLINE; }
    std::uint16_t GetRecordKind() const override { return KXREC_POLYLINE; }
    void Quantise(double scale, const CFltPoint& origin) override;
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    int IsDuplicate(KXKeyMap& keys, double scale) override;
    // Clipping is provided by the clip-region code.
    void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) override;
    int WritePoints(std::uint8_t* buffer) const override;

    bool GrowsExtents() const override { return true; }
    bool IsStyledGeometry() const override { return true; }
    // Up to three pieces per segment: centred patterns cut each one into a
    // middle and two solid ends.
    std::size_t MostStyledPieces() const override { return 3 * m_points.size(); }
    // Pieces of at most kMaxStoredPoints points; consecutive pieces share
    // their end points.
    bool SplitForStorage(KXEntList& out) const override;

private:
    std::vector<CFltPoint> m_points;
    std::vector<std::int32_t> m_quantised;
    CFltExtents m_extents;
};
