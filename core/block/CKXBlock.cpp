#include "block/CKXBlock.h"

#include "BigEndian.h"
#include "CKXArchive.h"
#include "CKXLine.h"
#include "CKXMarker.h"
#include "CKXPolyline.h"
#include "CKXAttribSet.h"
#include "CKXAttribTable.h"
#include "block/CKXBlockRef.h"

CFltExtents& CKXBlock::GetExtents(CFltExtents& out) const {
    out = m_extents;
    return out;
}

void CKXBlock::Update() {
    m_extents.SetEmpty();
    for (const KXEntPtr& ent : m_entities) {
        if (ent->GetType() == KXENT_BLOCKREF) ent->Update();
        CFltExtents box;
        ent->GetExtents(box);
        if (box.IsValid()) m_extents.Merge(box);
    }
}

int CKXBlock::Write(std::uint8_t* buffer) const {
    int size = IKXEnt::Write(buffer);
    for (const KXEntPtr& ent : m_entities) size += ent->Write(buffer ? buffer + size : nullptr);
    return size;
}

namespace {

// An empty entity of a record kind that can be read back; null otherwise.
KXEntPtr EntityOfKind(int kind) {
    switch (kind) {
        case KXREC_LINE:
            return std::make_unique<CKXLine>(CFltPoint{}, CFltPoint{});
        case KXREC_POLYLINE:
            return std::make_unique<CKXPolyline>();
        case KXREC_BLOCKREF:
            return std::make_unique<CKXBlockRef>(nullptr, nullptr, 0, std::string());
        case KXREC_ATTRIBSET:
            return std::make_unique<CKXAttribSet>(0, 1.0);
        case KXREC_MARKER_OPEN:
            return std::make_unique<CKXMarker>(CKXMarker::kOpen);
        case KXREC_MARKER_CLOSE:
            return std::make_unique<CKXMarker>(CKXMarker::kClose);
        default:
            return nullptr;
    }
}

}  // namespace

int CKXBlock::Read(CKXArchive* archive, int) {
    if (!archive) return 0;
    // Every record is at least its kind word: the loop ends with the bytes.
    while (archive->Remaining() >= 2) {
        std::uint16_t word = 0;
        if (!archive->ReadU16(word)) return 0;
        // A clip set or stack keeps only its kind word: there is nothing
        // to rebuild it from, and the records after it are still read.
        if ((word & ~IKXEnt::kFlagMask) == KXREC_NONE) continue;
        KXEntPtr ent = EntityOfKind(word & ~IKXEnt::kFlagMask);
        if (!ent || ent->Read(archive, 0) == 0) return 0;
        ent->SetFlags(word & IKXEnt::kFlagMask);
        m_entities.push_back(std::move(ent));
    }
    Update();
    return 1;
}

void CKXBlock::Quantise(double scale, const CFltPoint&) {
    const CFltPoint origin{0.0, 0.0};
    for (const KXEntPtr& ent : m_entities) ent->Quantise(scale, origin);
}

int CKXBlock::AddEnt(KXEntPtr ent, bool growExtents, IKXContainer* target) {
    if (!ent) return 0;
    if (target && target != this) return target->AddEnt(std::move(ent), growExtents, nullptr);
    if (growExtents) {
        CFltExtents box;
        ent->GetExtents(box);
        if (box.IsValid()) m_extents.Merge(box);
    }
    m_entities.push_back(std::move(ent));
    return 1;
}

IKXEnt* CKXBlock::GetEnt(int index) {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_entities[static_cast<std::size_t>(index)].get();
}

int CKXBlock::SetAttrib(CKXAttribTable* tables, const CKXAttribute* requested) {
    if (!tables || !requested) return 0;
    const int id = tables->Delta(m_attribState, *requested, 1.0);
    if (id) AddEnt(std::make_unique<CKXAttribSet>(id, 1.0), false, nullptr);
    return 1;
}

int CKXBlock::GetAttrib(CKXAttribute* out) const {
    if (!out) return 0;
    *out = m_attribState.attrib;
    return 1;
}
