#include "CKXHatch.h"

#include "CKXClipRgn.h"
#include "CKXHatchFill.h"

CFltExtents& CKXHatch::GetExtents(CFltExtents& out) const {
    return GetExtentsXf(out, nullptr, nullptr, 0);
}

CFltExtents& CKXHatch::GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet*, int) const {
    out.SetEmpty();
    if (m_region == nullptr) return out;
    out = m_region->GetExtents();
    if (out.IsEmpty()) return out;
    const CTransf2D placed = xf != nullptr ? *xf * m_transform : m_transform;
    if (!placed.IsIdentity()) out.Transform(placed);
    return out;
}

KXEntPtr CKXHatch::CloneTransformed(const CTransf2D& xf) const {
    auto copy = std::make_unique<CKXHatch>(*this);
    copy->m_transform = xf * m_transform;
    return copy;
}

bool CKXHatch::ExplodeFill(CKXDoc& doc, KXEntList& out) const {
    // A fill that had to be thinned has told the debug output why; its
    // pieces replace the hatch all the same.
    static_cast<void>(CKXHatchFill(doc).Explode(*this, out));
    return true;
}
