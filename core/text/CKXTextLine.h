// One line of text: its characters placed along the line, each drawn with a
// shared glyph instance of the document's glyph store, and the line's
// mid-line segment and height for the drawing file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "IKXEnt.h"
#include "text/CKXChar.h"
#include "text/CKXGlyphStore.h"

class CKXFont;

class CKXTextLine : public IKXEnt {
public:
    // Characters of one stored record: the record of a longer line would not
    // fit a 32 KB entity pool, so it is stored as several lines.
    static constexpr std::size_t kMaxStoredChars = (32768 - 26) / 12;

    // What one line is laid out from.
    struct Layout {
        CFltPoint start;         // origin of the line (before rotation)
        double angle = 0.0;      // radians, about the start
        double charWidth = 0.0;  // <= 0: the height
        double height = 0.0;
    };

    // Lines refer to the glyph store by pointer; without a store (measuring
    // only) every character refers to instance 0.
    explicit CKXTextLine(CKXGlyphStore* store) : m_store(store) {}

    // Places the characters of text with the font: characters without a
    // glyph only advance the pen.
    void LayOut(const CKXFont& font, std::string_view text, const Layout& layout);

    const std::string& GetText() const { return m_text; }
    const std::vector<CKXChar>& GetChars() const { return m_chars; }
    double GetHeight() const { return m_height; }
    const CFltPoint& GetSegmentStart() const { return m_segmentStart; }
    const CFltPoint& GetSegmentEnd() const { return m_segmentEnd; }
    double GetSegmentLength() const;
    CKXGlyphStore* GetStore() const { return m_store; }
    std::int32_t GetQuantisedHeight() const { return m_qHeight; }

    void Draw(HDC dc, CKXConverter& rc) override;
    // The union of the characters' glyph boxes, as Update last measured it.
    CFltExtents& GetExtents(CFltExtents& out) const override;
    CFltExtents& GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet* clip, int extra) const override;
    // Measures the characters' boxes again (laying out, copying, clipping
    // and splitting do it for the lines they make).
    void Update() override;
    int Write(std::uint8_t* buffer) const override;
    int GetType() const override { return KXENT_TEXTLINE; }
    std::uint16_t GetRecordKind() const override { return KXREC_TEXTLINE; }
    void Quantise(double scale, const CFltPoint& origin) override;
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    int IsDuplicate(KXKeyMap&, double) override { return 0; }
    // Characters all of whose strokes lie inside keep their shared glyph;
    // the others get a private glyph of the strokes' pieces inside.
    void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) override;
    // Draw clips each stroke where it is drawn: clipping the whole line at
    // every draw would add private glyphs to the document each time.
    void DrawClipped(HDC dc, CKXConverter& rc) override { Draw(dc, rc); }

    bool GrowsExtents() const override { return true; }
    bool SplitForStorage(KXEntList& out) const override;

private:
    // The instance a character is drawn with, or null.
    const CKXGlyph* InstanceOf(const CKXChar& c) const { return m_store ? m_store->Get(c.instance) : nullptr; }
    // A character's instance box moved to its position (empty without one).
    CFltExtents BoxOf(const CKXChar& c) const;
    // A copy of everything but the characters.
    std::unique_ptr<CKXTextLine> EmptyCopy() const;
    void AddChar(const CKXChar& c);

    std::string m_text;
    std::vector<CKXChar> m_chars;
    CFltPoint m_segmentStart;
    CFltPoint m_segmentEnd;
    double m_height = 0.0;
    CKXGlyphStore* m_store;
    CFltExtents m_extents;
    std::int32_t m_qHeight = 0;
    std::int32_t m_qSegment[4] = {0, 0, 0, 0};
};
