#include "CKXBookmarkList.h"

#include <strings.h>

#include <algorithm>
#include <set>

bool CKXBookmarkList::Add(const std::string& name, const CFltExtents& extents) {
    if (Size() >= kMaxSize) return false;
    m_entries.push_back({m_unique ? UniqueName(name) : name, extents});
    return true;
}

const CKXBookmark* CKXBookmarkList::At(int index) const {
    if (index < 0 || index >= Size()) return nullptr;
    return &m_entries[static_cast<std::size_t>(index)];
}

bool CKXBookmarkList::NextAvailable() const {
    return Size() > 0 && !(m_current + 1 >= Size() && !m_wrap);
}

bool CKXBookmarkList::PrevAvailable() const {
    return Size() > 0 && m_current != -1 && (m_current != 0 || m_wrap);
}

const CKXBookmark* CKXBookmarkList::GoNext() {
    if (!NextAvailable()) return nullptr;
    m_current = m_current + 1 >= Size() ? 0 : m_current + 1;
    return At(m_current);
}

const CKXBookmark* CKXBookmarkList::GoPrev() {
    if (!PrevAvailable()) return nullptr;
    m_current = m_current <= 0 ? Size() - 1 : m_current - 1;
    return At(m_current);
}

const CKXBookmark* CKXBookmarkList::GoTo(int index) {
    const CKXBookmark* entry = At(index);
    if (entry) m_current = index;
    return entry;
}

int CKXBookmarkList::Current() {
    if (m_entries.empty()) return -1;
    if (m_current == -1) m_current = 0;
    return m_current;
}

bool CKXBookmarkList::Rename(int index, const std::string& name) {
    if (!At(index)) return false;
    m_entries[static_cast<std::size_t>(index)].name = name;
    return true;
}

void CKXBookmarkList::Remove(const int* indexes, int count) {
    if (!indexes || m_entries.empty()) {
        m_entries.clear();
        m_current = -1;
        return;
    }
    if (count <= 0) return;
    std::set<int> doomed;
    for (int i = 0; i < count; ++i) {
        if (!At(indexes[i])) return;
        doomed.insert(indexes[i]);
    }
    // From the back, so the indexes still to go keep their places.
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
        m_entries.erase(m_entries.begin() + *it);
    // The current entry stays named by its index, kept within the list.
    if (m_current >= Size()) m_current = Size() - 1;
}

bool CKXBookmarkList::Holds(const std::string& name) const {
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const CKXBookmark& entry) {
        return strcasecmp(entry.name.c_str(), name.c_str()) == 0;
    });
}

std::string CKXBookmarkList::UniqueName(const std::string& name) const {
    if (!Holds(name)) return name;
    std::string candidate;
    for (int i = 1; i <= 2 * kMaxSize; ++i) {
        candidate = name + " (" + std::to_string(i) + ")";
        if (!Holds(candidate)) break;
    }
    return candidate;
}
