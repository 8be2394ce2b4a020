#include "CKXDoc.h"

#include <future>

#include "CKXAttribSet.h"
#include "KXBeside.h"

CKXDoc::CKXDoc()
    : m_clipRgnSet(KXNullOwned<CKXClipRgnSet>()),
      m_directionCache(kDirectionCacheSize),
      m_glyphStore(KXNullOwned<CKXGlyphStore>()),
      m_current(this) {
    // The default record is current from the start without an entity for it:
    // every drawing pass begins from the same record.
    m_attribState.attrib = m_attribs.DefaultRecord();
    m_attribState.scale = 1.0;
}

CKXDoc::~CKXDoc() {
    // Stored pieces own nothing and go with their store: millions of them
    // are let go here without being visited.
    bool stored = false;
    for (KXEntPtr& ent : m_entities) {
        if (m_pieces.Owns(ent.get())) {
            static_cast<void>(ent.release());
            stored = true;
        }
    }
    // A store of millions of pieces gives its memory back on a second
    // thread while the rest of the document is freed.
    std::future<void> storeFreed;
    if (stored) storeFreed = KXStartBeside([this] { m_pieces.Clear(); });
    // Entities may refer to blocks, regions and glyphs: they go first.
    m_entities.clear();
    m_entities.shrink_to_fit();
    m_poolSlots = {};
    m_tree = CKXTree();
    if (storeFreed.valid()) storeFreed.get();
}

int CKXDoc::AddEnt(KXEntPtr ent, bool growExtents, IKXContainer* target) {
    if (!ent) return 0;
    if (target && target != this) return target->AddEnt(std::move(ent), growExtents, nullptr);
    if (growExtents) {
        CFltExtents box;
        m_extents.Merge(ent->GetExtents(box));
    }
    m_entities.push_back(std::move(ent));
    return 1;
}

IKXEnt* CKXDoc::GetEnt(int index) {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_entities[static_cast<std::size_t>(index)].get();
}

int CKXDoc::SetAttrib(CKXAttribTable* tables, const CKXAttribute* requested) {
    if (!tables || !requested) return 0;
    const int id = tables->Delta(m_attribState, *requested, 1.0);
    if (id) AddEnt(std::make_unique<CKXAttribSet>(id, 1.0), false, nullptr);
    return 1;
}

int CKXDoc::GetAttrib(CKXAttribute* out) const {
    if (!out) return 0;
    *out = m_attribState.attrib;
    return 1;
}

int CKXDoc::AddEntClipped(KXEntPtr ent, bool growExtents, IKXContainer* target) {
    if (!ent) return 0;
    if (!IsClipActive()) return AddEnt(std::move(ent), growExtents, target);
    KXEntList pieces;
    ent->Clip(*m_clipRgnSet, pieces, *this, nullptr);
    ent.reset();
    for (KXEntPtr& piece : pieces) AddEnt(std::move(piece), growExtents, target);
    return 1;
}

void CKXDoc::RecalcExtents() {
    m_extents.SetEmpty();
    // The set itself, also while it has no region: draw-time clip sets in
    // the stream give it regions as they are met.
    CKXClipRgnSet* clip = GetClipRgnSet();
    for (const KXEntPtr& ent : m_entities) MergeExtentsOf(*ent, clip);
}

void CKXDoc::MergeExtentsOf(const IKXEnt& ent, CKXClipRgnSet* clip) {
    CFltExtents box;
    ent.GetExtentsXf(box, nullptr, clip, 0);
    if (box.IsValid()) m_extents.Merge(box);
}

void CKXDoc::BuildTree(const std::function<void(IKXEnt&)>& visit) {
    m_tree.Setup(m_extents);
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        IKXEnt& ent = *m_entities[static_cast<std::size_t>(i)];
        CFltExtents box;
        ent.GetExtents(box);
        m_tree.Insert(i, box);
        if (visit) visit(ent);
    }
}

int CKXDoc::AddLayout(const char* name) {
    if (!name || !*name) return -1;
    m_layouts.emplace_back(name);
    return GetNumLayouts() - 1;
}

const std::string* CKXDoc::GetLayout(int index) const {
    if (index < 0 || index >= GetNumLayouts()) return nullptr;
    return &m_layouts[static_cast<std::size_t>(index)];
}

void CKXDoc::AddProperty(const char* name, const char* value) {
    if (!name || !value) return;
    m_properties.push_back({name, value});
}

const CTransf3D* CKXDoc::ProjectionFor(const double* elevation) const {
    if (!elevation || m_coordSystems.empty()) return nullptr;
    const CTransf3D& top = m_coordSystems.back();
    return top.IsIdentity() ? nullptr : &top;
}
