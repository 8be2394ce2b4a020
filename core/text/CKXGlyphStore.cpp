#include "text/CKXGlyphStore.h"

#include <cmath>

#include "CKXDoc.h"

namespace {
bool Differ(double a, double b) {
    return std::fabs(a - b) > CKXGlyphStore::kKeyTolerance;
}

bool SameSizeAndAngle(const CKXGlyphStore::Key& a, const CKXGlyphStore::Key& b) {
    return a.width == b.width && a.height == b.height && a.angle == b.angle;
}
}  // namespace

bool CKXGlyphStore::KeyLess::operator()(const Key& a, const Key& b) const {
    const auto ca = static_cast<std::int8_t>(a.code);
    const auto cb = static_cast<std::int8_t>(b.code);
    if (ca != cb) return ca < cb;
    if (Differ(a.width, b.width)) return a.width < b.width;
    if (Differ(a.height, b.height)) return a.height < b.height;
    if (Differ(a.angle, b.angle)) return a.angle < b.angle;
    return false;
}

CKXGlyphStore& CKXGlyphStore::Of(CKXDoc& doc) {
    KXOwned<CKXGlyphStore>& owner = doc.GlyphStoreOwner();
    if (!owner) owner = KXMakeOwned<CKXGlyphStore>();
    return *owner;
}

int CKXGlyphStore::Find(const Key& key) const {
    const auto found = m_index.find(key);
    return found == m_index.end() ? -1 : found->second;
}

int CKXGlyphStore::InstanceFor(const Key& key, const CKXGlyph& source, const CTransf2D& shape) {
    int& recent = RecentSlot(key);
    if (recent >= 0) return recent;
    int index = Find(key);
    if (index < 0) {
        std::unique_ptr<CKXGlyph> instance = source.Clone();
        instance->Transform(shape);
        instance->SetKey(key.width, key.height, key.angle);
        instance->SetPrivate(false);
        index = Append(std::move(instance));
        m_index.emplace(key, index);
    }
    recent = index;
    return index;
}

int& CKXGlyphStore::RecentSlot(const Key& key) {
    for (Recent& recent : m_recent)
        if (SameSizeAndAngle(key, recent.key)) return recent.instances[key.code];
    // A new size takes the place of the oldest one.
    if (m_recent.size() < kRecentSizes) {
        m_recent.emplace_back();
        m_recentNext = m_recent.size() - 1;
    }
    Recent& slot = m_recent[m_recentNext];
    m_recentNext = (m_recentNext + 1) % kRecentSizes;
    slot.key = key;
    slot.instances.fill(-1);
    return slot.instances[key.code];
}

int CKXGlyphStore::AddPrivate(std::unique_ptr<CKXGlyph> glyph) {
    glyph->SetPrivate(true);
    return Append(std::move(glyph));
}

int CKXGlyphStore::Append(std::unique_ptr<CKXGlyph> glyph) {
    m_instances.push_back(std::move(glyph));
    return GetCount() - 1;
}

void CKXGlyphStore::Quantise(double scale) {
    CFltExtents all;
    for (const auto& glyph : m_instances) all.Merge(glyph->GetBox());
    m_origin = all.IsValid() ? CFltPoint{all.xmin, all.ymin} : CFltPoint{};
    for (const auto& glyph : m_instances) glyph->Quantise(scale, m_origin);
}

int CKXGlyphStore::WriteElement(int index, std::uint8_t* buffer) const {
    const CKXGlyph* glyph = Get(index);
    return glyph ? glyph->Write(buffer) : 0;
}
