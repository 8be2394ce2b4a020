// A view's bookmarks: up to kMaxSize named extents in the order they were
// set, with a current index that next and previous navigation move (around
// the ends when wrapping) and that always stays within the list.
#pragma once

#include <string>
#include <vector>

#include "CKXBookmark.h"

class CKXBookmarkList {
public:
    static constexpr int kMaxSize = 100;

    CKXBookmarkList(bool wrap = true, bool uniqueNames = true) : m_wrap(wrap), m_unique(uniqueNames) {}

    // False when full. The name is made unique when the list asks for it.
    bool Add(const std::string& name, const CFltExtents& extents);
    int Size() const { return static_cast<int>(m_entries.size()); }
    // Null unless 0 <= index < Size().
    const CKXBookmark* At(int index) const;

    bool NextAvailable() const;
    bool PrevAvailable() const;
    // Moves the current index and returns the entry there; null when
    // unavailable.
    const CKXBookmark* GoNext();
    const CKXBookmark* GoPrev();
    // Null unless the index is in range.
    const CKXBookmark* GoTo(int index);
    // -1 for an empty list; on a list never navigated, 0 becomes current.
    int Current();
    // False when out of range; the name is taken as given.
    bool Rename(int index, const std::string& name);
    // Every entry when indexes is null (or the list is empty). Otherwise
    // nothing unless every index is in range; repeated indexes count once.
    void Remove(const int* indexes, int count);

    // The name itself when free, else name + " (i)" for the first free i
    // of 1 ... 2 * kMaxSize (the last when all are taken). Case-insensitive.
    std::string UniqueName(const std::string& name) const;

private:
    bool Holds(const std::string& name) const;

    std::vector<CKXBookmark> m_entries;
    int m_current = -1;
    bool m_wrap;
    bool m_unique;
};
