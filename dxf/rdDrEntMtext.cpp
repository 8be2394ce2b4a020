#include "rdDrEntMtext.h"

#include <cmath>
#include <string>

#include "clsEntityAttribs.h"
#include "clsMTEXT.h"
#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlEntityKeys.h"
#include "utlNumbers.h"
#include "utlTextEntity.h"

namespace kxdxf {
namespace {

constexpr const char* kReader = "rdDrEntMTEXT";
// The gap between lines, relative to the height of the line below.
constexpr double kLineSpacing = 0.6000000000000001;

// Engine alignment flags of the attachment points 1 to 9 (group 71).
constexpr int kAttachmentFlags[] = {2, 4, 8, 16, 32, 64, 128, 256, 512};
constexpr int kTopLeft = 2;
constexpr int kFirstMiddle = 16;
constexpr int kFirstBottom = 128;

// Groups "3.0", "3.1"... then "1.0": the whole text, of which only what
// the parser takes is kept.
std::string mtextValue(clsTranslator& tr, const clssENTITY& entity)
{
    std::string text;
    const long count = utlKeyInt(entity, "3", 0);
    for (long i = 0; i < count; ++i) {
        const std::string& part = utlRequiredKey(tr, entity, utlIndexedKey("3", i).view(),
                                                 "rdDrEntMTEXT:\tNo value for Group Code <s> Additional Text\n");
        if (text.size() <= clsMTEXT::kMaxInput)
            text += part;
    }
    const std::string& last =
        utlRequiredKey(tr, entity, "1.0", "rdDrEntMTEXT:\tNo value for Group Code <1.0> Text\n");
    if (text.size() <= clsMTEXT::kMaxInput)
        text += last;
    if (text.size() > clsMTEXT::kMaxInput)
        text.resize(clsMTEXT::kMaxInput);
    return text;
}

// The text's direction: group 50 in degrees, or the direction vector
// 11/21 when the entity has one.
double mtextRotation(const clssENTITY& entity)
{
    const std::string* dx = entity.find("11.0");
    const std::string* dy = entity.find("21.0");
    if (dx && dy) {
        const double x = utlAtof(dx->c_str());
        const double y = utlAtof(dy->c_str());
        if (x != 0.0 || y != 0.0)
            return std::atan2(y, x);
    }
    return utlTextRotation(utlKeyReal(entity, "50.0", 0.0));
}

// The record of one run: its height, the gap below it and its width.
void sizeRun(const clsMTEXT& parsed, std::size_t run, double height, tagKXText& record)
{
    record.height = parsed.runs()[run].heightFactor * height;
    record.lineSpacing = kLineSpacing * record.height;
    record.widthFactor = parsed.widthFactor(run);
}

// Bottom and middle attachments are turned into the top attachment of the
// same column: the lines are measured and the insertion point moved up by
// their height (half of it for the middle row).
void attachAtTop(clsTranslator& tr, const clsMTEXT& parsed, double height, tagKXText& record)
{
    const bool bottom = record.align >= kFirstBottom;
    const bool middle = !bottom && record.align >= kFirstMiddle;
    if (!bottom && !middle)
        return;
    const auto& runs = parsed.runs();
    bool hasBreak = false;
    for (const STxt& run : runs)
        hasBreak = hasBreak || run.newLine != 0;

    tagKXText measure = record;
    measure.measureOnly = 1;
    bool firstLine = true;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (!firstLine && runs[i].newLine == 0)
            continue;
        sizeRun(parsed, i, height, measure);
        const auto extents = utlAddText(tr, kReader, runs[i].text, measure);
        double amount = extents ? extents->ymax : 0.0;
        if (!firstLine || !hasBreak)
            amount += kLineSpacing * measure.height;
        record.y += bottom ? amount : amount / 2;
        firstLine = false;
    }
    // 128, 256, 512 (or 16, 32, 64) become 2, 4, 8.
    record.align = record.align / (bottom ? kFirstBottom : kFirstMiddle) * kTopLeft;
}

}  // namespace

int rdDrEntMTEXT(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntMTEXT>:\t\tentered");
    const std::string value = mtextValue(tr, entity);
    tr.logs().logMsg("strText: <%s>", value.c_str());
    const clsMTEXT parsed(value, utlTextEncoding(tr), &tr.logs());
    tr.logs().logMsg("strText: <%s>", value.c_str());

    tagKXText record{};
    record.x = utlRequiredReal(tr, entity, "10.0", "rdDrEntMTEXT:\tNo value for Group Code <10>\n");
    record.y = utlRequiredReal(tr, entity, "20.0", "rdDrEntMTEXT:\tNo value for Group Code <20>\n");
    record.angle = mtextRotation(entity);
    const double height = utlRequiredReal(tr, entity, "40.0", "rdDrEntMTEXT:\tNo value for Group Code <40>\n");
    record.wrapWidth = utlKeyReal(entity, "41.0", 0.0);
    const int point =
        utlAtoi(utlRequiredKey(tr, entity, "71.0", "rdDrEntMTEXT:\tNo value for Group Code <71>\n").c_str());
    // An attachment DXF does not define is taken as its default, top left.
    record.align = point >= 1 && point <= 9 ? kAttachmentFlags[point - 1] : kTopLeft;

    attachAtTop(tr, parsed, height, record);
    clsEntityAttribs::setEntityAttribsMKey(tr, entity);

    // The runs one after the other; a smaller run sits on the baseline of
    // the tallest one of its line.
    const auto& runs = parsed.runs();
    const double startX = record.x;
    double lineY = record.y;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        sizeRun(parsed, i, height, record);
        record.y = lineY - height * (runs[i].lineHeightFactor - runs[i].heightFactor);
        const auto extents = utlAddText(tr, kReader, runs[i].text, record);
        if (!extents || i + 1 == runs.size())
            continue;
        if (runs[i + 1].newLine != 0) {
            record.x = startX;
            lineY = extents->ymin - runs[i + 1].heightFactor * height * kLineSpacing;
        } else {
            record.x = extents->xmax;
        }
    }
    tr.utlLogMsg("<rdDrEntMTEXT>:\t\tnormal exit");
    return 1;
}

}  // namespace kxdxf
