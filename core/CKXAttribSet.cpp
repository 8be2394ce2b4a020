#include "CKXAttribSet.h"

#include "BigEndian.h"
#include "render/KXEntityDraw.h"

namespace {
// The record stores the attribute id in 16 bits.
constexpr int kMaxWritableId = 0xFFFF;
}  // namespace

void CKXAttribSet::Draw(HDC dc, CKXConverter& rc) { kxdraw::ApplyAttribSet(*this, dc, rc); }

CFltExtents& CKXAttribSet::GetExtents(CFltExtents& out) const {
    out = CFltExtents::AlwaysVisible();
    return out;
}

int CKXAttribSet::Write(std::uint8_t* buffer) const {
    // An id the record cannot hold is refused rather than written truncated.
    if (m_id < 1 || m_id > kMaxWritableId) return 0;
    KXBEWriter w(buffer);
    w.U16(static_cast<std::uint16_t>(GetRecordKind() | GetFlags()));
    w.U16(static_cast<std::uint16_t>(m_id));
    return w.SizeInt();
}

int CKXAttribSet::Read(CKXArchive* archive, int) { return archive ? 1 : 0; }

KXEntPtr CKXAttribSet::CloneTransformed(const CTransf2D& xf) const {
    auto copy = std::make_unique<CKXAttribSet>(m_id, xf.ScaleFactor() * m_scale);
    copy->SetFlags(GetFlags());
    return copy;
}

void CKXAttribSet::Clip(CKXClipRgnSet&, KXEntList& out, CKXDoc&, const CTransf2D*) {
    out.push_back(std::make_unique<CKXAttribSet>(m_id, 1.0));
}
