// A document's glyph instances: every distinct (code, width, height, angle)
// a text of the document uses, made once and shared by all its text lines,
// plus the private instances of lines that were clipped or transformed
// generally. Lines refer to instances by index; indexes never change.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "geom/CFltPoint.h"
#include "text/CKXGlyph.h"

class CKXDoc;

class CKXGlyphStore {
public:
    // Sizes and angles closer than this share an instance.
    static constexpr double kKeyTolerance = 1e-6;

    struct Key {
        std::uint8_t code = 0;
        double width = 0.0;
        double height = 0.0;
        double angle = 0.0;
    };
    // Code (as a signed byte) first; width, height and angle count only
    // when they differ by more than the tolerance.
    struct KeyLess {
        bool operator()(const Key& a, const Key& b) const;
    };

    // The document's store, made when first needed.
    static CKXGlyphStore& Of(CKXDoc& doc);

    int GetCount() const { return static_cast<int>(m_instances.size()); }
    // Null for an index outside the store.
    const CKXGlyph* Get(int index) const {
        return index >= 0 && index < GetCount() ? m_instances[static_cast<std::size_t>(index)].get() : nullptr;
    }
    // The index of the instance with the key, or -1.
    int Find(const Key& key) const;
    // The index of the instance with the key; when there is none, source's
    // strokes under shape (scale first, then rotation) become one.
    int InstanceFor(const Key& key, const CKXGlyph& source, const CTransf2D& shape);
    // Appends an instance that is never looked up by key; returns its index.
    int AddPrivate(std::unique_ptr<CKXGlyph> glyph);

    // Quantises every instance's strokes at scale, relative to the store's
    // origin: the lowest corner of all instance strokes, so that written
    // strokes are not negative. The origin itself goes into the file header.
    void Quantise(double scale);
    const CFltPoint& GetOrigin() const { return m_origin; }

    // The glyph table element of an instance (Write of CKXGlyph).
    int WriteElement(int index, std::uint8_t* buffer) const;

private:
    int Append(std::unique_ptr<CKXGlyph> glyph);

    std::vector<std::unique_ptr<CKXGlyph>> m_instances;
    std::map<Key, int, KeyLess> m_index;
    CFltPoint m_origin;
    // Text is laid out with one size and angle at a time, and drawings use
    // few of them: the instances of the last few sizes and angles asked
    // for, by code, skip the ordered lookup.
    struct Recent {
        Key key;
        std::array<int, 256> instances;
    };
    static constexpr std::size_t kRecentSizes = 8;
    int& RecentSlot(const Key& key);

    std::vector<Recent> m_recent;
    std::size_t m_recentNext = 0;
};
