#include "CKXClipRgnSet.h"

#include <algorithm>

#include "CKXClipRgn.h"
#include "CKXDoc.h"

CKXClipRgnSet::CKXClipRgnSet(CKXDoc& doc) : m_doc(doc) {}

CKXClipRgnSet::CKXClipRgnSet(CKXDoc& doc, CKXClipRgnSet* previous)
    : m_doc(doc), m_previous(previous), m_scale(previous->m_scale), m_origin(previous->m_origin) {}

CKXClipRgnSet::~CKXClipRgnSet() {
    // Each level is unlinked before it goes: no recursion however deep.
    while (m_next) m_next = std::move(m_next->m_next);
}

CKXClipRgnSet& CKXClipRgnSet::Of(CKXDoc& doc) {
    KXOwned<CKXClipRgnSet>& owner = doc.ClipRgnSetOwner();
    if (!owner) owner = KXMakeOwned<CKXClipRgnSet>(doc);
    return *owner;
}

void CKXClipRgnSet::Changed() {
    m_extents.SetEmpty();
    m_doc.SetClipActive(!IsEmpty());
}

void CKXClipRgnSet::Reset() {
    while (m_next) m_next = std::move(m_next->m_next);
    m_top = this;
    m_pushedBeyond = 0;
    m_active.clear();
    Changed();
}

int CKXClipRgnSet::Depth() const {
    int depth = 0;
    for (const CKXClipRgnSet* level = m_next.get(); level != nullptr; level = level->m_next.get()) ++depth;
    return depth;
}

void CKXClipRgnSet::Push() {
    if (Depth() >= kMaxLevels) {
        ++m_pushedBeyond;
        return;
    }
    CKXClipRgnSet& top = Top();
    top.m_next.reset(new CKXClipRgnSet(m_doc, &top));
    m_top = top.m_next.get();
}

void CKXClipRgnSet::Pop() {
    if (m_pushedBeyond > 0) {
        --m_pushedBeyond;
        return;
    }
    CKXClipRgnSet& top = Top();
    if (top.m_previous == nullptr) return;
    m_top = top.m_previous;
    m_top->m_next.reset();
    Changed();
}

CKXClipRgn* CKXClipRgnSet::Lookup(int id, const CTransf2D& xf) {
    KXOwnedList<CKXClipRgn>& regions = m_doc.ClipRegions();
    if (id <= 0 || static_cast<std::size_t>(id) > regions.size()) return nullptr;
    CKXClipRgn* region = regions[static_cast<std::size_t>(id) - 1].get();
    if (xf.IsIdentity()) return region;
    std::array<double, 6> key{xf.m[0], xf.m[1], xf.m[2], xf.m[3], xf.m[4], xf.m[5]};
    std::unique_ptr<CKXClipRgn>& copy = m_copies[{id, key}];
    if (!copy) {
        copy = region->CloneTransformed(xf);
        if (m_scale > 0.0) copy->Quantise(m_scale, m_origin);
    }
    return copy.get();
}

bool CKXClipRgnSet::AddRegion(int id) {
    CKXClipRgn* region = Lookup(id, CTransf2D());
    if (region == nullptr) return false;
    Top().m_active.emplace_back(id, region);
    Changed();
    return true;
}

void CKXClipRgnSet::RemoveRegion(int id) {
    auto& active = Top().m_active;
    if (id == 0) {
        active.clear();
    } else {
        active.erase(std::remove_if(active.begin(), active.end(), [id](const auto& a) { return a.first == id; }),
                     active.end());
    }
    Changed();
}

void CKXClipRgnSet::Apply(int id, int flags, const CTransf2D& xf) {
    if ((flags & (kAdd | kReplace)) != 0) {
        CKXClipRgn* region = Lookup(id, xf);
        if (region == nullptr) return;
        if ((flags & kAdd) == 0) Top().m_active.clear();
        Top().m_active.emplace_back(id, region);
        Changed();
    } else if ((flags & kRemove) != 0) {
        RemoveRegion(id);
    }
}

namespace {

// Iterator number which (0 or 1) of pair, set to walk the contours each
// active region gives through contoursOf.
template <class Iter, class Active, class ContoursOf>
Iter& WalkOver(Iter (&pair)[2], int which, const Active& active, ContoursOf contoursOf) {
    std::vector<const typename Iter::Contours*> lists;
    lists.reserve(active.size());
    for (const auto& region : active) lists.push_back(&contoursOf(*region.second));
    Iter& it = pair[which == 1 ? 1 : 0];
    it = Iter(std::move(lists));
    return it;
}

}  // namespace

CDirectSegmentIter& CKXClipRgnSet::SegmentIter(int which) {
    return WalkOver(m_iters, which, m_active, [](const CKXClipRgn& r) -> const auto& { return r.GetContours(); });
}

CDirectSegmentIntIter& CKXClipRgnSet::IntSegmentIter(int which) {
    return WalkOver(m_intIters, which, m_active,
                    [](const CKXClipRgn& r) -> const auto& { return r.GetGridContours(); });
}

const CFltExtents& CKXClipRgnSet::GetExtents() {
    if (m_extents.IsEmpty()) {
        for (const auto& active : m_active) m_extents.Merge(active.second->GetExtents());
        if (m_next) m_extents.Merge(m_next->GetExtents());
    }
    return m_extents;
}

bool CKXClipRgnSet::IsEmpty() const {
    for (const CKXClipRgnSet* level = this; level != nullptr; level = level->m_next.get())
        if (!level->m_active.empty()) return false;
    return true;
}

void CKXClipRgnSet::Quantise(double scale, const CFltPoint& origin) {
    m_scale = scale;
    m_origin = origin;
    for (const auto& active : m_active)
        if (!active.second->IsEmpty()) active.second->Quantise(scale, origin);
    for (auto& copy : m_copies) copy.second->Quantise(scale, origin);
    if (m_next) m_next->Quantise(scale, origin);
}
