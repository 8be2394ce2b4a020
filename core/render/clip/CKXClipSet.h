// A clip-set entity: changes the clip regions in force for the entities
// that follow it, either once while the document is finished or every time
// it is drawn (flag 8).
#pragma once

#include <cstdint>

#include "IKXEnt.h"

class CKXClipSet : public IKXEnt {
public:
    CKXClipSet(int region, int flags) : m_region(region), m_setFlags(static_cast<std::uint8_t>(flags)) {}

    int GetRegion() const { return m_region; }
    int GetSetFlags() const { return m_setFlags; }
    const CTransf2D& GetTransform() const { return m_transform; }
    bool IsDrawTime() const;

    // Applies the set to the drawing's clip regions (flag 8 only).
    void Draw(HDC dc, CKXConverter& rc) override;
    // Never left out of a draw: it changes what follows.
    CFltExtents& GetExtents(CFltExtents& out) const override;
    // With flag 8, applies the set as drawing would and measures nothing,
    // so that the extents of what follows are measured clipped.
    CFltExtents& GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet* clip,
                              int extra) const override;
    int GetType() const override { return KXENT_CLIPSET; }
    void Quantise(double, const CFltPoint&) override {}
    // A copy whose transform is this set's composed with xf.
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    int IsDuplicate(KXKeyMap&, double) override { return 1; }
    int Read(CKXArchive*, int) override { return 1; }
    bool ChangesClip() const override { return true; }
    // With flag 8 a copy goes to out; otherwise the set is applied now.
    void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) override;

private:
    void ApplyTo(CKXClipRgnSet& clip, const CTransf2D& placement) const;

    std::int32_t m_region;
    std::uint8_t m_setFlags;
    CTransf2D m_transform;
};
