#include "CKXMarker.h"

CFltExtents& CKXMarker::GetExtents(CFltExtents& out) const {
    out = CFltExtents::AlwaysVisible();
    return out;
}

int CKXMarker::Read(CKXArchive* archive, int) { return archive ? 1 : 0; }

std::uint16_t CKXMarker::GetRecordKind() const {
    switch (m_type) {
    case kOpen: return KXREC_MARKER_OPEN;
    case kClose: return KXREC_MARKER_CLOSE;
    default: return KXREC_NONE;
    }
}

KXEntPtr CKXMarker::CloneTransformed(const CTransf2D&) const { return std::make_unique<CKXMarker>(m_type); }

void CKXMarker::Clip(CKXClipRgnSet&, KXEntList& out, CKXDoc&, const CTransf2D*) {
    out.push_back(std::make_unique<CKXMarker>(m_type));
}
