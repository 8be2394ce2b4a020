#include "CKXClipStack.h"

#include "CKXClipRgnSet.h"
#include "render/CKXConverter.h"

void CKXClipStack::ApplyTo(CKXClipRgnSet& clip) const {
    if (IsPush())
        clip.Push();
    else
        clip.Pop();
}

void CKXClipStack::Draw(HDC, CKXConverter& rc) {
    if ((m_stackFlags & kDrawTime) == 0) return;
    if (CKXClipRgnSet* clip = rc.GetClipStack()) ApplyTo(*clip);
}

CFltExtents& CKXClipStack::GetExtents(CFltExtents& out) const {
    out = CFltExtents::AlwaysVisible();
    return out;
}

CFltExtents& CKXClipStack::GetExtentsXf(CFltExtents& out, const CTransf2D*, CKXClipRgnSet* clip, int) const {
    if (clip != nullptr && (m_stackFlags & kDrawTime) != 0) ApplyTo(*clip);
    out.SetEmpty();
    return out;
}

KXEntPtr CKXClipStack::CloneTransformed(const CTransf2D&) const {
    auto copy = std::make_unique<CKXClipStack>(m_stackFlags);
    copy->SetFlags(GetFlags());
    return copy;
}

void CKXClipStack::Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc&, const CTransf2D* xf) {
    if ((m_stackFlags & kFinishTime) != 0) {
        ApplyTo(clip);
        return;
    }
    out.push_back(CloneTransformed(xf != nullptr ? *xf : CTransf2D()));
}
