#include "text/CKXTextLayout.h"

#include <cmath>
#include <memory>

#include "CKXDoc.h"
#include "text/CKXFont.h"
#include "text/CKXGlyphStore.h"
#include "text/CKXTextLine.h"

namespace {
// Offsets of the start point per alignment: of the text width W (0, 1/2, 1)
// and of the height (y).
struct AlignOffset {
    int flag;
    double ofWidth;
    double ofHeight;
};
constexpr AlignOffset kAlignOffsets[] = {
    {CKXTextLayout::kAlignTopLeft, 0.0, -0.5},       {CKXTextLayout::kAlignTopCentre, 0.5, -0.5},
    {CKXTextLayout::kAlignTopRight, 1.0, -0.5},      {CKXTextLayout::kAlignMiddleLeft, 0.0, 0.075},
    {CKXTextLayout::kAlignMiddleCentre, 0.5, 0.075}, {CKXTextLayout::kAlignMiddleRight, 1.0, 0.075},
    {CKXTextLayout::kAlignBottomLeft, 0.0, 0.85},    {CKXTextLayout::kAlignBottomCentre, 0.5, 0.85},
    {CKXTextLayout::kAlignBottomRight, 1.0, 0.85},
};

bool Finite(const tagKXText& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.angle) && std::isfinite(p.height) &&
           std::isfinite(p.widthFactor) && std::isfinite(p.lineSpacing);
}
}  // namespace

double CKXTextLayout::CharWidth(const tagKXText& params) {
    const double w = params.widthFactor * params.height;
    return w > 0.0 ? w : params.height;
}

CFltPoint CKXTextLayout::AlignedStart(std::string_view text, const tagKXText& params) const {
    for (const AlignOffset& offset : kAlignOffsets) {
        if ((params.align & offset.flag) == 0) continue;
        const double width = offset.ofWidth != 0.0 ? m_font.TextWidth(text, CharWidth(params)) : 0.0;
        return {params.x - offset.ofWidth * width, params.y + offset.ofHeight * params.height};
    }
    return {params.x, params.y};
}

std::vector<std::pair<std::size_t, std::size_t>> CKXTextLayout::SplitLines(std::string_view text, double charWidth,
                                                                           double wrapWidth) const {
    std::vector<std::pair<std::size_t, std::size_t>> lines;
    if (!(wrapWidth > 0.0)) {
        lines.emplace_back(0, text.size());
        return lines;
    }
    std::size_t start = 0;
    std::size_t lastSpace = std::string_view::npos;
    double sum = 0.0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<std::uint8_t>(text[i]);
        sum += m_font.Advance(code, charWidth);
        if (code == ' ') lastSpace = i;
        if (sum <= wrapWidth) continue;
        // The line ends after its last space, else before this character,
        // but holds at least one character.
        std::size_t end = lastSpace != std::string_view::npos ? lastSpace + 1 : i;
        if (end <= start) end = start + 1;
        lines.emplace_back(start, end);
        start = end;
        i = start - 1;  // the walk goes on with the next line's first character
        sum = 0.0;
        lastSpace = std::string_view::npos;
    }
    if (start < text.size()) lines.emplace_back(start, text.size());
    return lines;
}

KXResult<CFltExtents> CKXTextLayout::Add(CKXDoc& doc, std::string_view text, const tagKXText& params) const {
    // Without a font (reported once, when it was read) or characters there
    // is nothing to lay out.
    if (!m_font.IsLoaded() || text.empty()) return CFltExtents(0.0, 0.0, 0.0, 0.0);
    if (!Finite(params) || params.height == 0.0 || std::fabs(params.height) > kMaxHeight)
        return KXStatus::Failure("text: height, place or angle is not a finite size");
    IKXContainer* container = doc.GetCurrentContainer();
    CFltExtents result;
    if (container == nullptr) return result;

    const bool measuring = params.measureOnly != 0;
    const double w = CharWidth(params);
    if (!(std::fabs(w) <= kMaxHeight)) return KXStatus::Failure("text: character width is not a finite size");
    const double wrap = std::isfinite(params.wrapWidth) ? params.wrapWidth : 0.0;
    CKXGlyphStore* store = measuring ? nullptr : &CKXGlyphStore::Of(doc);
    const CFltPoint start = AlignedStart(text, params);

    CKXTextLine::Layout layout;
    layout.angle = params.angle;
    layout.charWidth = w;
    layout.height = params.height;
    double total = 0.0;
    double lastLength = 0.0;
    double y = start.y;
    for (const auto& [first, end] : SplitLines(text, w, wrap)) {
        layout.start = {start.x, y};
        auto line = std::make_unique<CKXTextLine>(store);
        line->LayOut(m_font, text.substr(first, end - first), layout);
        if (measuring) {
            total += line->GetHeight() + params.lineSpacing;
            lastLength = line->GetSegmentLength();
        } else {
            CFltExtents box;
            result.Merge(line->GetExtents(box));
            container->AddEnt(std::move(line), true, nullptr);
        }
        y -= params.height + params.lineSpacing;
    }
    if (measuring) return CFltExtents(0.0, 0.0, lastLength, total - params.lineSpacing);
    return result;
}
