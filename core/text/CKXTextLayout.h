// Lays a string out into text lines (KXAddText): alignment of the start
// point, wrapping at a width, one line below the other, and the measuring
// mode that adds nothing and reports the size the text would take.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <korvex/kxtypes.h>

#include "KXStatus.h"
#include "geom/CFltExtents.h"
#include "geom/CFltPoint.h"

class CKXDoc;
class CKXFont;

class CKXTextLayout {
public:
    // Alignment flags of tagKXText, in the order they are looked at.
    enum Align : int {
        kAlignTopLeft = 0x002,
        kAlignTopCentre = 0x004,
        kAlignTopRight = 0x008,
        kAlignMiddleLeft = 0x010,
        kAlignMiddleCentre = 0x020,
        kAlignMiddleRight = 0x040,
        kAlignBottomLeft = 0x080,
        kAlignBottomCentre = 0x100,
        kAlignBottomRight = 0x200,
    };
    // Heights and character widths beyond this cannot be drawn in 32-bit file coordinates at any
    // resolution and would overflow the arithmetic of finishing.
    static constexpr double kMaxHeight = 1e100;

    explicit CKXTextLayout(const CKXFont& font) : m_font(font) {}

    // Adds the text's lines to the document's current container and returns
    // the union of their extents; in measuring mode adds nothing and returns
    // (0, 0, length of the last line, height of all lines). A font that is
    // not loaded or an empty text adds nothing and gives (0, 0, 0, 0); a
    // height, place or angle that is not a finite size (or a zero height)
    // adds nothing and fails.
    KXResult<CFltExtents> Add(CKXDoc& doc, std::string_view text, const tagKXText& params) const;

    // Where the first line starts for the alignment flags.
    CFltPoint AlignedStart(std::string_view text, const tagKXText& params) const;
    // The lines a text is wrapped into, as (first, end) character ranges;
    // no wrap width (0 or less) gives one line.
    std::vector<std::pair<std::size_t, std::size_t>> SplitLines(std::string_view text, double charWidth,
                                                                double wrapWidth) const;
    // Character width of the parameters: width factor times height, or the
    // height when that is not positive.
    static double CharWidth(const tagKXText& params);

private:
    const CKXFont& m_font;
};
