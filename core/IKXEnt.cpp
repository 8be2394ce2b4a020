#include "IKXEnt.h"

#include "BigEndian.h"
#include "render/KXEntityDraw.h"

void KXEntDeleter::operator()(IKXEnt* ent) const {
    if (ent != nullptr) ent->Dispose();
}

void IKXEnt::Dispose() { delete this; }

bool IKXEnt::ExplodeFill(CKXDoc&, KXEntList&) const { return false; }

CFltExtents& IKXEnt::GetExtentsXf(CFltExtents& out, const CTransf2D*, CKXClipRgnSet*, int) const {
    out.SetEmpty();
    return out;
}

int IKXEnt::Write(std::uint8_t* buffer) const {
    KXBEWriter w(buffer);
    w.U16(static_cast<std::uint16_t>(GetRecordKind() | GetFlags()));
    return w.SizeInt();
}

int IKXEnt::Read(CKXArchive*, int) { return 0; }

KXEntPtr IKXEnt::CloneTransformed(const CTransf2D&) const { return nullptr; }

void IKXEnt::Clip(CKXClipRgnSet&, KXEntList&, CKXDoc&, const CTransf2D*) {}

int IKXEnt::WritePoints(std::uint8_t*) const { return 0; }

void IKXEnt::DrawClipped(HDC dc, CKXConverter& rc) { kxdraw::DrawClipped(*this, dc, rc); }
