#include "block/CKXBlock.h"

#include "BigEndian.h"
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
