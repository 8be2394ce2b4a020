#include "rdDrEntText.h"

#include <cmath>
#include <string>

#include "clsEntityAttribs.h"
#include "clsMTEXT.h"
#include "clsOCS.h"
#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlEntityKeys.h"
#include "utlTextEntity.h"

namespace kxdxf {
namespace {

// Engine alignment flags: top, middle and bottom rows of left, centre, right.
enum : int {
    kTopLeft = 2,
    kTopCentre = 4,
    kTopRight = 8,
    kMiddleLeft = 16,
    kMiddleCentre = 32,
    kMiddleRight = 64,
    kBottomLeft = 128,
    kBottomCentre = 256,
    kBottomRight = 512,
};

// DXF horizontal justification (group 72).
enum : int { kJustLeft = 0, kJustCentre = 1, kJustRight = 2, kJustAligned = 3, kJustMiddle = 4, kJustFit = 5 };

// The engine's flags for the vertical justifications 1 (bottom), 2 (middle)
// and 3 (top) in the columns left, centre and right.
constexpr int kAlignedFlags[3][3] = {
    {kBottomLeft, kBottomCentre, kBottomRight},
    {kMiddleLeft, kMiddleCentre, kMiddleRight},
    {kTopLeft, kTopCentre, kTopRight},
};

// The shifts that bring a baseline point to where the engine's bottom and
// middle rows expect it.
constexpr double kBaselineShift = 0.3;
constexpr double kMiddleShift = 0.1;

constexpr double kStandardStyleWidth = 1.31;
constexpr double kOtherStyleWidth = 1.19;
constexpr int kAttribInvisible = 1;
constexpr const char* kNoX = "rdDrEntTEXT:\tNo value for Group Code <10>\n";
constexpr const char* kNoY = "rdDrEntTEXT:\tNo value for Group Code <20>\n";

bool equalsNoCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
        if (upper(a[i]) != upper(b[i]))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

utlTextPoint alignPoint(clsTranslator& tr, const clssENTITY& entity, const char* name, std::string_view xKey,
                        std::string_view yKey)
{
    tr.logs().logMsg("<%s>:\t\tentered", name);
    const double x = utlRequiredReal(tr, entity, xKey, kNoX);
    const double y = utlRequiredReal(tr, entity, yKey, kNoY);
    tr.logs().logMsg("<%s>:\t\tnormal exit", name);
    return {x, y};
}

// Width of the characters relative to the height: by the style (group 7),
// times the entity's own factor (group 41). Style names compare without
// case, as DXF names do.
double textWidthFactor(const clssENTITY& entity)
{
    double width = kStandardStyleWidth;
    if (const std::string* style = entity.find("7"))
        width = equalsNoCase(*style, "STANDARD") ? kStandardStyleWidth : kOtherStyleWidth;
    return width * utlKeyReal(entity, "41", 1.0);
}

// Alignment flags and reference point from the justification groups 72 and
// verticalKey. Combinations DXF does not define keep the text left on its
// baseline at its first point.
void placeText(clsTranslator& tr, const clssENTITY& entity, std::string_view verticalKey, tagKXText& record)
{
    const int h = utlKeyInt(entity, "72", 0);
    const int v = utlKeyInt(entity, verticalKey, 0);
    utlTextPoint point{};
    double shift = 0.0;
    record.align = kBottomLeft;
    if (v == 0 && (h == kJustCentre || h == kJustRight)) {
        record.align = h == kJustCentre ? kBottomCentre : kBottomRight;
        point = getSecondAlignPnt(tr, entity);
        shift = -kBaselineShift * record.height;
    } else if (v == 0 && h == kJustMiddle) {
        record.align = kMiddleCentre;
        point = getSecondAlignPnt(tr, entity);
        shift = kMiddleShift * record.height;
    } else if (v >= 1 && v <= 3 && h >= kJustLeft && h <= kJustRight) {
        record.align = kAlignedFlags[v - 1][h];
        point = getSecondAlignPnt(tr, entity);
    } else {
        // Left, aligned and fit on the baseline, and the undefined ones.
        point = getFirstAlignPnt(tr, entity);
        if (v == 0 && (h == kJustLeft || h == kJustAligned || h == kJustFit))
            shift = -kBaselineShift * record.height;
    }
    record.x = point.x + std::sin(record.angle) * shift;
    record.y = point.y + shift;
}

void addPlacedText(clsTranslator& tr, const clssENTITY& entity, const char* reader, const std::string& text,
                   const tagKXText& record)
{
    const clsOCS::Scope plane(tr, clsOCS(entity));
    utlAddText(tr, reader, text, record);
}

}  // namespace

utlTextPoint getFirstAlignPnt(clsTranslator& tr, const clssENTITY& entity)
{
    return alignPoint(tr, entity, "getFirstAlignPnt", "10", "20");
}

utlTextPoint getSecondAlignPnt(clsTranslator& tr, const clssENTITY& entity)
{
    return alignPoint(tr, entity, "getSecondAlignPnt", "11", "21");
}

int rdDrEntTEXT(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntTEXT>:\t\tentered");
    const std::string& value = utlRequiredKey(tr, entity, "1", "rdDrEntTEXT:\tNo value for Group Code <1> Text\n");
    if (value.empty())
        return 1;
    // Codes are replaced and only the part before the first change of
    // formatting is shown.
    const clsMTEXT parsed(value, utlTextEncoding(tr), &tr.logs());
    const std::string text(parsed.runText(0));
    tr.utlLogMsg("TEXT");
    tr.logs().logMsg("<%s>", text.c_str());

    tagKXText record{};
    record.angle = utlTextRotation(utlKeyReal(entity, "50", 0.0));
    record.height = utlRequiredReal(tr, entity, "40", "rdDrEntTEXT:\tNo value for Group Code <40>\n");
    record.widthFactor = textWidthFactor(entity);
    placeText(tr, entity, "73", record);
    clsEntityAttribs::setEntityAttribs(tr, entity);
    addPlacedText(tr, entity, "rdDrEntTEXT", text, record);
    tr.utlLogMsg("<readText>:\t\tnormal exit");
    return 1;
}

int rdDrEntATTRIB(clsTranslator& tr, const clssENTITY& entity, AttribVariant variant)
{
    tr.utlLogMsg("<rdDrEntATTRIB>:\t\tentered");
    if ((utlKeyInt(entity, "70", 0) & kAttribInvisible) != 0) {
        tr.utlLogMsg("invisible ATTRIB");
        return 1;
    }
    const bool isValue = variant == AttribVariant::Value;
    const std::string& value =
        utlRequiredKey(tr, entity, isValue ? "1" : "2",
                       isValue ? "<rdDrEntATTRIB>:\tNo value for Grp Code <1> (text string)\n"
                               : "<rdDrEntATTRIB>:\tNo value for Grp Code <2> (tag string)\n");
    // Shown as written: only the encoding is decoded.
    const std::string text = utlDecodeText(value, utlTextEncoding(tr));

    tagKXText record{};
    record.angle = utlTextRotation(utlKeyReal(entity, "50", 0.0));
    record.height = utlRequiredReal(tr, entity, "40", "rdDrEntATTRIB:\tNo value for Group Code <40>\n");
    record.widthFactor = textWidthFactor(entity);
    placeText(tr, entity, "74", record);
    if (isValue && entity.layerName() != "0")
        clsEntityAttribs::setEntityAttribs(tr, entity);
    addPlacedText(tr, entity, "rdDrEntATTRIB", text, record);
    tr.utlLogMsg("<rdDrEntATTRIB>:\tnormal exit");
    return 1;
}

int rdDrEntATTDEF(clsTranslator& tr, const clssENTITY& entity)
{
    return rdDrEntATTRIB(tr, entity, AttribVariant::Tag);
}

}  // namespace kxdxf
