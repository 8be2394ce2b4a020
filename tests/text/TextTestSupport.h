// Fonts made in the test (every glyph a known box, so widths and places can
// be worked out by hand) and documents to lay text into.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <korvex/kxtypes.h>

#include "CKXDoc.h"
#include "text/CKXFont.h"
#include "text/CKXTextLayout.h"
#include "text/CKXTextLine.h"

namespace texttest {

// Little-endian bytes of a font file.
class FontBytes {
public:
    FontBytes& I32(std::int32_t v) {
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
        return *this;
    }
    FontBytes& F64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i) m_bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        return *this;
    }
    // One glyph record: offsets and strokes of (x, y) pairs.
    FontBytes& Glyph(double left, double right, const std::vector<std::vector<std::pair<double, double>>>& strokes) {
        F64(left).F64(right).I32(static_cast<std::int32_t>(strokes.size()));
        for (const auto& stroke : strokes) {
            I32(static_cast<std::int32_t>(stroke.size()));
            for (const auto& [x, y] : stroke) F64(x).F64(y);
        }
        return *this;
    }
    FontBytes& NoGlyph() { return F64(0).F64(0).I32(0); }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// count codes; every lowercase letter is the unit box's diagonal from
// (0, 0) to (1, 1) with left 0 and right 1, so a character is w wide and
// advances w; 'W' is a wide glyph from (-0.5, 0) to (1.5, 1) with left -0.5
// and right 1.5. Everything else has no glyph.
inline FontBytes BoxFontBytes(int count = 256) {
    FontBytes font;
    font.I32(count);
    for (int code = 0; code < count; ++code) {
        if (code >= 'a' && code <= 'z')
            font.Glyph(0, 1, {{{0, 0}, {1, 1}}});
        else if (code == 'W')
            font.Glyph(-0.5, 1.5, {{{-0.5, 0}, {1.5, 1}}});
        else
            font.NoGlyph();
    }
    return font;
}

inline CKXFont BoxFont(int count = 256) {
    CKXFont font;
    const std::vector<std::uint8_t> bytes = BoxFontBytes(count).Bytes();
    EXPECT_TRUE(font.Parse(bytes.data(), bytes.size()).IsOk());
    return font;
}

inline tagKXText Params(double x, double y, double height, double widthFactor = 1.0) {
    tagKXText p{};
    p.x = x;
    p.y = y;
    p.height = height;
    p.widthFactor = widthFactor;
    return p;
}

// The text lines at the top level of a document.
inline std::vector<const CKXTextLine*> Lines(const CKXDoc& doc) {
    std::vector<const CKXTextLine*> lines;
    for (const KXEntPtr& ent : doc.GetEntList())
        if (ent->GetType() == KXENT_TEXTLINE) lines.push_back(static_cast<const CKXTextLine*>(ent.get()));
    return lines;
}

}  // namespace texttest
