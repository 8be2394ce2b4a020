#include "CKXClipSet.h"

#include "CKXClipRgnSet.h"
#include "render/CKXConverter.h"

bool CKXClipSet::IsDrawTime() const { return (m_setFlags & CKXClipRgnSet::kAtDrawTime) != 0; }

void CKXClipSet::ApplyTo(CKXClipRgnSet& clip, const CTransf2D& placement) const {
    clip.Apply(m_region, m_setFlags, placement.IsIdentity() ? m_transform : placement * m_transform);
}

void CKXClipSet::Draw(HDC, CKXConverter& rc) {
    if (!IsDrawTime()) return;
    if (CKXClipRgnSet* clip = rc.GetClipStack()) ApplyTo(*clip, rc.GetTransform());
}

CFltExtents& CKXClipSet::GetExtents(CFltExtents& out) const {
    out = CFltExtents::AlwaysVisible();
    return out;
}

CFltExtents& CKXClipSet::GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet* clip, int) const {
    if (clip != nullptr && IsDrawTime()) ApplyTo(*clip, xf != nullptr ? *xf : CTransf2D());
    out.SetEmpty();
    return out;
}

KXEntPtr CKXClipSet::CloneTransformed(const CTransf2D& xf) const {
    auto copy = std::make_unique<CKXClipSet>(m_region, m_setFlags);
    copy->m_transform = xf * m_transform;
    copy->SetFlags(GetFlags());
    return copy;
}

void CKXClipSet::Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc&, const CTransf2D* xf) {
    if (IsDrawTime()) {
        out.push_back(CloneTransformed(xf != nullptr ? *xf : CTransf2D()));
        return;
    }
    ApplyTo(clip, xf != nullptr ? *xf : CTransf2D());
}
