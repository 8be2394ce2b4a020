// A hatch entity: a clip region filled with the lines of its patterns. It
// draws nothing itself: the finishing step replaces it by its pieces
// (CKXHatchFill).
#pragma once

#include <cstdint>
#include <vector>

#include "IKXEnt.h"

class CKXClipRgn;

class CKXHatch : public IKXEnt {
public:
    CKXHatch() = default;

    // Pattern ids (1-based, into the document's pattern table), in order.
    const std::vector<std::int32_t>& GetPatterns() const { return m_patterns; }
    void AddPattern(int id) { m_patterns.push_back(id); }
    int GetRegionId() const { return m_regionId; }
    CKXClipRgn* GetRegion() const { return m_region; }
    void SetRegion(int id, CKXClipRgn* region) {
        m_regionId = id;
        m_region = region;
    }
    const CTransf2D& GetTransform() const { return m_transform; }

    void Draw(HDC, CKXConverter&) override {}
    // The region's extents placed by the hatch's transform; empty without one.
    CFltExtents& GetExtents(CFltExtents& out) const override;
    CFltExtents& GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet* clip,
                              int extra) const override;
    int GetType() const override { return KXENT_HATCH; }
    void Quantise(double, const CFltPoint&) override {}
    // A copy whose transform is xf composed with the hatch's.
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    int IsDuplicate(KXKeyMap&, double) override { return 1; }
    int Read(CKXArchive*, int) override { return 1; }
    bool GrowsExtents() const override { return true; }
    bool ExplodeFill(CKXDoc& doc, KXEntList& out) const override;

private:
    std::vector<std::int32_t> m_patterns;
    std::int32_t m_regionId = 0;
    // The region named by the id, owned by the document's region table.
    CKXClipRgn* m_region = nullptr;
    CTransf2D m_transform;
};
