#include "CKXLine.h"

#include <algorithm>
#include <utility>

#include "BigEndian.h"
#include "CKXArchive.h"
#include "KXSegmentKey.h"
#include "geom/KXTrunc.h"
#include "render/KXEntityDraw.h"
#include "render/clip/CKXClipRgnSet.h"
#include "render/clip/KXClipRegions.h"

CKXLine::CKXLine(const CKXLine& other)
    : IKXEnt(other),
      m_hasPhase(other.m_hasPhase),
      m_solidPiece(other.m_solidPiece),
      m_start(other.m_start),
      m_end(other.m_end) {
    std::copy(other.m_q, other.m_q + 4, m_q);
    if (other.m_phase) {
        m_phase = new KXLinePhase(*other.m_phase);
        m_ownsPhase = 1;
    }
}

CKXLine& CKXLine::operator=(const CKXLine& other) {
    if (this != &other) {
        // The copy makes the new phase record before anything of this line
        // changes; its record is then handed over.
        CKXLine copy(other);
        IKXEnt::operator=(copy);
        m_hasPhase = copy.m_hasPhase;
        m_solidPiece = copy.m_solidPiece;
        m_start = copy.m_start;
        m_end = copy.m_end;
        std::copy(copy.m_q, copy.m_q + 4, m_q);
        DropPhase();
        KXLinePhase* own = copy.m_phase != nullptr ? OwnPhaseStorage() : nullptr;
        if (own != nullptr) {
            *own = *copy.m_phase;
            m_phase = own;
        } else {
            m_phase = std::exchange(copy.m_phase, nullptr);
            m_ownsPhase = std::exchange(copy.m_ownsPhase, std::uint8_t{0});
        }
    }
    return *this;
}

CKXLine::~CKXLine() { DropPhase(); }

void CKXLine::DropPhase() {
    if (m_ownsPhase) delete m_phase;
    m_phase = nullptr;
    m_ownsPhase = 0;
}

KXLinePhase& CKXLine::EnsurePhase() {
    if (!m_phase) {
        if (KXLinePhase* own = OwnPhaseStorage()) {
            *own = KXLinePhase{};
            m_phase = own;
        } else {
            m_phase = new KXLinePhase();
            m_ownsPhase = 1;
        }
    }
    m_hasPhase = 1;
    return *m_phase;
}

void CKXLine::ClearPhase() {
    DropPhase();
    m_hasPhase = 0;
}

void CKXLine::Draw(HDC dc, CKXConverter& rc) { kxdraw::DrawLine(*this, dc, rc); }

CFltExtents& CKXLine::GetExtents(CFltExtents& out) const {
    out.xmin = std::min(m_start.x, m_end.x);
    out.ymin = std::min(m_start.y, m_end.y);
    out.xmax = std::max(m_start.x, m_end.x);
    out.ymax = std::max(m_start.y, m_end.y);
    return out;
}

CFltExtents& CKXLine::GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet* clip, int) const {
    if (clip != nullptr && !clip->IsEmpty()) {
        KXEntList pieces;
        ClipPlaced(*clip, pieces, xf);
        return kxclip::ExtentsOf(pieces, out);
    }
    if (!xf) return GetExtents(out);
    out.SetEmpty();
    out.Merge(xf->Apply(m_start));
    out.Merge(xf->Apply(m_end));
    return out;
}

std::uint16_t CKXLine::GetRecordKind() const {
    return (m_hasPhase && !m_solidPiece && m_phase) ? KXREC_STYLEDLINE : KXREC_LINE;
}

int CKXLine::Write(std::uint8_t* buffer) const {
    KXBEWriter w(buffer);
    const std::uint16_t kind = GetRecordKind();
    w.U16(static_cast<std::uint16_t>(kind | GetFlags()));
    for (std::int32_t q : m_q) w.I32(q);
    if (kind == KXREC_STYLEDLINE) {
        w.U16(static_cast<std::uint16_t>(m_phase->elementIndex));
        w.I32(m_phase->quantisedOffset);
        w.U16(static_cast<std::uint16_t>(m_phase->directionIndex));
        w.U16(static_cast<std::uint16_t>(m_phase->directionFlags));
    }
    return w.SizeInt();
}

int CKXLine::Read(CKXArchive* archive, int) {
    if (!archive) return 0;
    std::int32_t q[4];
    for (std::int32_t& v : q) {
        if (!archive->ReadI32(v)) return 0;
    }
    std::copy(q, q + 4, m_q);
    m_start = {double(q[0]), double(q[1])};
    m_end = {double(q[2]), double(q[3])};
    return 1;
}

void CKXLine::Quantise(double scale, const CFltPoint& origin) {
    m_q[0] = KXQuantiseCoord(m_start.x, origin.x, scale);
    m_q[1] = KXQuantiseCoord(m_start.y, origin.y, scale);
    m_q[2] = KXQuantiseCoord(m_end.x, origin.x, scale);
    m_q[3] = KXQuantiseCoord(m_end.y, origin.y, scale);
    if (m_phase) m_phase->quantisedOffset = KXTrunc32(m_phase->offset * scale);
}

KXEntPtr CKXLine::CloneTransformed(const CTransf2D& xf) const {
    auto copy = std::make_unique<CKXLine>(xf.Apply(m_start), xf.Apply(m_end));
    copy->SetFlags(GetFlags());
    return copy;
}

int CKXLine::IsDuplicate(KXKeyMap& keys, double scale) {
    return keys.insert(KXSegmentKey(m_q[0], m_q[1], m_q[2], m_q[3], scale)).second ? 0 : 1;
}

void CKXLine::Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc&, const CTransf2D* xf) {
    ClipPlaced(clip, out, xf);
}

void CKXLine::ClipPlaced(CKXClipRgnSet& clip, KXEntList& out, const CTransf2D* xf) const {
    if (xf == nullptr || xf->IsIdentity()) {
        clip.ClipThrough(*this, out);
        return;
    }
    CKXLine placed(*this);
    placed.SetPoints(xf->Apply(m_start), xf->Apply(m_end));
    clip.ClipThrough(placed, out);
}
