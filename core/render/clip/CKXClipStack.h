// A clip-stack entity: pushes (flag 1) or pops (otherwise) a level of clip
// regions around a group of entities, such as a block's content that holds
// clip sets. Flag 4: the group's clip sets act once, while the document is
// finished; flag 8: they act when drawn.
#pragma once

#include <cstdint>

#include "IKXEnt.h"

class CKXClipStack : public IKXEnt {
public:
    enum StackFlags : int {
        kPush = 1,
        kPop = 2,
        kFinishTime = 4,
        kDrawTime = 8,
    };

    explicit CKXClipStack(int flags) : m_stackFlags(static_cast<std::uint8_t>(flags)) {}

    int GetStackFlags() const { return m_stackFlags; }
    bool IsPush() const { return (m_stackFlags & kPush) != 0; }

    // Pushes or pops a level of the drawing's clip regions (flag 8 only).
    void Draw(HDC dc, CKXConverter& rc) override;
    CFltExtents& GetExtents(CFltExtents& out) const override;
    // With flag 8, pushes or pops as drawing would; measures nothing.
    CFltExtents& GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet* clip,
                              int extra) const override;
    int GetType() const override { return KXENT_CLIPSTACK; }
    void Quantise(double, const CFltPoint&) override {}
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    int IsDuplicate(KXKeyMap&, double) override { return 0; }
    int Read(CKXArchive* archive, int) override { return archive != nullptr ? 1 : 0; }
    bool ChangesClip() const override { return true; }
    // With flag 4 the level is pushed or popped now and nothing is kept;
    // otherwise a copy goes to out.
    void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) override;

private:
    void ApplyTo(CKXClipRgnSet& clip) const;

    std::uint8_t m_stackFlags;
};
