// Brackets the entities produced by exploding one block reference: type 1
// opens the group, type 2 closes it.
#pragma once

#include "IKXEnt.h"

class CKXMarker : public IKXEnt {
public:
    enum : int { kOpen = 1, kClose = 2 };

    explicit CKXMarker(int type) : m_type(type) {}

    int GetMarkerType() const { return m_type; }

    void Draw(HDC, CKXConverter&) override {}
    CFltExtents& GetExtents(CFltExtents& out) const override;
    int Read(CKXArchive* archive, int extra) override;
    int GetType() const override { return KXENT_MARKER; }
    std::uint16_t GetRecordKind() const override;
    void Quantise(double, const CFltPoint&) override {}
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    int IsDuplicate(KXKeyMap&, double) override { return 1; }
    void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) override;

private:
    int m_type;
};
