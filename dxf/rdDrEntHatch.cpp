#include "rdDrEntHatch.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "clsEntityAttribs.h"
#include "clsOCS.h"
#include "clsTranslator.h"
#include "clssENTITY.h"
#include "rdDrEntHatchPaths.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr int kMaxHatchPairs = 10000;
constexpr int kMaxPathPairs = 10000;
constexpr int kMaxEdgePairs = 10000;
constexpr int kMaxPatternPairs = 1000;

constexpr double kShiftTolerance = 1e-7;
constexpr int kAciDefault = 7;
// Line-style kind of a pattern line's dashes.
constexpr int kPatternLineStyleKind = 3;
constexpr long kMaxDashes = 255;

// A boundary path ends at a hatch-level code that follows the paths, or at
// the second occurrence of a code that starts a path. Both lists are
// searched for the code as a substring.
constexpr std::string_view kCodesAfterPaths = "41;52;75;76;77;78";
constexpr std::string_view kPathStartCodes = "72;92;93;97";
constexpr std::string_view kPatternLineCodes = "53;43;44;45;46;79;49;";
// Besides the next edge and the source-object groups, an edge ends where a
// path or the hatch-level groups after the paths start, so that a path
// written without group 97 does not swallow what follows it.
constexpr std::string_view kCodesAfterEdge[] = {"72", "97", "330", "0", "92", "41", "52", "75", "76", "77", "78"};

// Hatch style (group 75).
enum : long { kStyleOddParity = 0, kStyleOutermost = 1, kStyleIgnore = 2 };

struct clsPatternLine {
    double angle = 0.0;  // radians
    double baseX = 0.0;
    double baseY = 0.0;
    double shift = 0.0;
    double spacing = 0.0;
    std::vector<double> dashes;
};

bool isSubstringOf(std::string_view list, std::string_view code)
{
    return list.find(code) != std::string_view::npos;
}

bool endsEdge(std::string_view code, int pairIndex)
{
    for (const std::string_view end : kCodesAfterEdge) {
        if (code == end)
            return pairIndex > 0 || code != "72";
    }
    return false;
}

long toLong(std::string_view text)
{
    return utlAtol(std::string(text).c_str());
}

// One pair read together with the position before it, so that a reader
// that stops at it can leave it for the next one.
struct Pair {
    std::size_t before;
    std::string_view code;
    std::string_view value;
};

// Reads pairs until ends(pair, index) holds, leaving that pair unread, and
// hands every other pair to take; 1 then, 0 (and the limit message) when
// limit pairs came first. A named reader logs its entry and exit.
template <class Ends, class Take>
int readPairs(clsTranslator& tr, const char* reader, int limit, const char* limitMessage, Ends ends, Take take)
{
    if (reader)
        tr.logs().logMsg("<%s>:\t\tentered", reader);
    clsDxfStream& in = tr.input();
    for (int n = 0; n < limit; ++n) {
        Pair pair{in.tell(), {}, {}};
        tr.utlReadGrpCodeValue(pair.code, pair.value);
        if (ends(pair, n)) {
            in.seek(pair.before);
            if (reader)
                tr.logs().logMsg("<%s>:\t\tnormal exit", reader);
            return 1;
        }
        take(pair);
    }
    tr.logs().errMsg(limitMessage, limit);
    if (reader)
        tr.logs().logMsg("<%s>:\t\tabnormal exit", reader);
    return 0;
}

bool startsEntity(const Pair& pair, int)
{
    return pair.code == "0";
}

int readBndrEdge(clsTranslator& tr, clsKeyMap& edge)
{
    return readPairs(
        tr, "readBndrEdge", kMaxEdgePairs, "<readBndrEdge>:\t\tNumber of entries in hatch Boundary Edge exceeded <%d>",
        [](const Pair& pair, int n) { return endsEdge(pair.code, n); },
        [&edge](const Pair& pair) { edge.addOccurrence(pair.code, pair.value); });
}

int readBndryPath(clsTranslator& tr, clsHatchPath& path)
{
    long flags = 0;
    const auto ends = [&path](const Pair& pair, int) {
        const bool nextPath = isSubstringOf(kPathStartCodes, pair.code) && path.keys.has(pair.code);
        return pair.code == "0" || isSubstringOf(kCodesAfterPaths, pair.code) || nextPath;
    };
    const auto take = [&tr, &path, &flags](const Pair& pair) {
        if (pair.code == "92")
            flags = toLong(pair.value);
        if ((flags & kPathPolyline) != 0 || pair.code != "72") {
            path.keys.addOccurrence(pair.code, pair.value);
            return;
        }
        // An edge starts with its type.
        tr.input().seek(pair.before);
        path.edges.emplace_back();
        readBndrEdge(tr, path.edges.back());
    };
    return readPairs(tr, "readBndryPath", kMaxPathPairs,
                     "<readBndryPath>:\t\tNumber of entries in hatch Boundary Path exceeded <%d>", ends, take);
}

int readPatternLineData(clsTranslator& tr, clsKeyMap& line)
{
    const auto ends = [&line](const Pair& pair, int) {
        const bool nextLine = line.has(pair.code) && pair.code.find("49") == std::string_view::npos;
        return !isSubstringOf(kPatternLineCodes, pair.code) || nextLine;
    };
    return readPairs(tr, "readPatternLineData", kMaxPatternPairs,
                     "<readPatternLineData>:\t\tExceeded max number of Group Code - Value pairs <%d>", ends,
                     [&line](const Pair& pair) { line.addOccurrence(pair.code, pair.value); });
}

// Reads as many items as the count read from the file asks for, but no
// more than follow: an item that reads nothing ends the reading, so a
// count of 2^31 costs no more than the items present.
template <class Item>
void readCounted(clsTranslator& tr, std::string_view countText, const char* what, std::vector<Item>& items,
                 int (*read)(clsTranslator&, Item&))
{
    const long count = toLong(countText);
    if (count < 0)
        tr.logs().errMsg("<rdDrEntHATCH>:\tNegative %s count <%ld>", what, count);
    clsDxfStream& in = tr.input();
    for (long i = 0; i < count; ++i) {
        const std::size_t before = in.tell();
        items.emplace_back();
        const int complete = read(tr, items.back());
        if (in.tell() == before) {
            items.pop_back();
            tr.logs().errMsg("<rdDrEntHATCH>:\t%s count <%ld> but <%ld> follow", what, count, i);
            return;
        }
        if (complete == 0)
            return;
    }
}

void readHatchPairs(clsTranslator& tr, clsKeyMap& keys, std::vector<clsHatchPath>& paths,
                    std::vector<clsKeyMap>& lines)
{
    const auto take = [&](const Pair& pair) {
        keys.addOccurrence(pair.code, pair.value);
        if (pair.code == "91")
            readCounted(tr, pair.value, "Boundary path", paths, readBndryPath);
        else if (pair.code == "78")
            readCounted(tr, pair.value, "Pattern line", lines, readPatternLineData);
    };
    constexpr const char* kLimitMessage = "<rdDrEntHATCH>:\t\tNumber of entries in HATCH exceeded <%d>";
    if (readPairs(tr, nullptr, kMaxHatchPairs, kLimitMessage, startsEntity, take) != 0)
        return;
    // The rest of the hatch is passed over, up to the next entity; the end
    // of the file bounds it.
    readPairs(tr, nullptr, std::numeric_limits<int>::max(), kLimitMessage, startsEntity, [](const Pair&) {});
}

int getPathType(clsTranslator& tr, const clsHatchPath& path)
{
    const std::string* flags = path.keys.find("92.0");
    if (!flags) {
        tr.logs().errMsg("<getPathType>:\tNo value for mrkr <92.0> - Boundary path type flag");
        return 0;
    }
    return utlAtoi(flags->c_str());
}

bool styleUsesPath(long style, int flags)
{
    switch (style) {
    case kStyleOddParity:
        return true;
    case kStyleOutermost:
        return (flags & (kPathExternal | kPathOutermost)) != 0;
    case kStyleIgnore:
        return (flags & kPathExternal) != 0;
    default:
        return false;
    }
}

// The pattern line's groups; nothing (with an error-log line) for a line
// whose numbers are not finite.
std::optional<clsPatternLine> readPatternLine(clsTranslator& tr, const clsKeyMap& line)
{
    const double angle = utlHatchRequired(tr, line, "53.0", "<crtPattern>:\tNo value for mrkr <%s> (Line Angle)\n");
    const double baseX = utlHatchRequired(tr, line, "43.0", "<crtPattern>:\tNo value for mrkr <%s> (X Base Point)\n");
    const double baseY = utlHatchRequired(tr, line, "44.0", "<crtPattern>:\tNo value for mrkr <%s> (Y Base Point)\n");
    const double dx = utlHatchRequired(tr, line, "45.0", "<crtPattern>:\tNo value for mrkr <%s> (X Offset)\n");
    const double dy = utlHatchRequired(tr, line, "46.0", "<crtPattern>:\tNo value for mrkr <%s> (Y Offset)\n");
    if (!std::isfinite(angle) || !std::isfinite(baseX) || !std::isfinite(baseY) || !std::isfinite(dx) ||
        !std::isfinite(dy)) {
        tr.logs().errMsg("<crtPattern>:\tPattern line with a value that is not a finite number, left out");
        return std::nullopt;
    }
    clsPatternLine pattern;
    pattern.angle = utlDegreesToRadians(angle);
    pattern.baseX = baseX;
    pattern.baseY = baseY;
    // The offset between lines, split into the shift along the lines and
    // the spacing across them.
    const double shift = dx * std::cos(pattern.angle) + dy * std::sin(pattern.angle);
    pattern.shift = std::fabs(shift) < kShiftTolerance ? 0.0 : shift;
    double acrossDegrees = angle + 90.0;
    if (acrossDegrees > 360.0)
        acrossDegrees -= 360.0;
    const double across = utlDegreesToRadians(acrossDegrees);
    pattern.spacing = dx * std::cos(across) + dy * std::sin(across);

    const std::string* countText = line.find("79.0");
    const long declared = countText ? utlAtol(countText->c_str()) : 0;
    if (declared < 0 || declared > kMaxDashes)
        tr.logs().errMsg("<crtPattern>:\tDash count <%ld> is not a count of at most %ld dashes, taken modulo 256",
                         declared, kMaxDashes);
    const long count = declared & kMaxDashes;
    for (long i = 0; i < count; ++i) {
        const std::string key = "49." + std::to_string(i);
        const std::string* dash = line.find(key);
        const double length = dash ? utlAtof(dash->c_str()) : 0.0;
        if (!dash || !std::isfinite(length)) {
            // A line missing a dash is drawn solid.
            if (dash)
                tr.logs().errMsg("<crtPattern>:\tDash <%s> is not a finite number, the line drawn solid", key.c_str());
            pattern.dashes.clear();
            break;
        }
        pattern.dashes.push_back(length);
    }
    return pattern;
}

int crtPattern(clsTranslator& tr, const clsPatternLine& pattern, int colour)
{
    tr.utlLogMsg("<crtPattern>:\t\tentered");
    const tagKXLineStyle style{kPatternLineStyleKind, static_cast<int>(pattern.dashes.size()),
                               pattern.dashes.empty() ? nullptr : pattern.dashes.data()};
    const int lineStyle = tr.api().AttribLineStyle(tr.doc(), &style);
    const KXPatternRecord record{colour,
                                 lineStyle,
                                 0,
                                 0,
                                 pattern.baseX,
                                 pattern.baseY,
                                 std::cos(pattern.angle),
                                 std::sin(pattern.angle),
                                 pattern.shift,
                                 pattern.spacing};
    const int id = tr.api().HatchCreatePattern(tr.doc(), &record);
    tr.utlLogMsg("<crtPattern>:\t\tnormal exit");
    return id;
}

// The colour of the pattern lines: the hatch's own, else its layer's. Call
// after the hatch's attributes are set.
int hatchColour(clsTranslator& tr, const clssENTITY& hatch)
{
    if (const std::string* aci = hatch.find("62.0"))
        return tr.utlColorACItoKXColor(utlAtoi(aci->c_str()));
    // In a block definition what lies on layer "0" by layer takes the
    // colour of the block reference, the hatch's pattern lines too.
    if (tr.currentAttrib().color == KX_BYBLOCK)
        return KX_BYBLOCK;
    if (hatch.has("8.0"))
        return tr.utlColorACItoKXColor(tr.tables().GetLayerACI(tr, hatch.layerName()));
    return tr.utlColorACItoKXColor(kAciDefault);
}

void createHatch(clsTranslator& tr, const clssENTITY& hatch, const std::vector<clsHatchPath>& paths,
                 const std::vector<clsKeyMap>& lines)
{
    // Everything is read and checked before the first engine call, so a
    // hatch left out leaves nothing behind.
    const std::string* styleText = hatch.find("75.0");
    if (!styleText)
        utlHatchFault(tr, "rdDrEntHATCH:\tNo value for mrkr <75.0> (Hatch Style)\n");
    const long style = utlAtol(styleText->c_str());
    std::vector<std::vector<clsHatchPiece>> boundaries;
    for (const clsHatchPath& path : paths) {
        const int flags = getPathType(tr, path);
        if (styleUsesPath(style, flags))
            boundaries.push_back(crtPath(tr, path, flags));
    }
    std::vector<clsPatternLine> patterns;
    for (const clsKeyMap& line : lines) {
        if (std::optional<clsPatternLine> pattern = readPatternLine(tr, line))
            patterns.push_back(std::move(*pattern));
    }
    double elevation = utlHatchOptional(hatch.keys(), "30.0", 0.0);
    if (!std::isfinite(elevation)) {
        tr.logs().errMsg("<rdDrEntHATCH>:\tElevation <30.0> is not a finite number, 0 taken");
        elevation = 0.0;
    }

    // The hatch sits on its layer, so that it shows and hides with it.
    clsEntityAttribs::setEntityAttribsMKey(tr, hatch);
    const int colour = hatchColour(tr, hatch);
    const clsEngineApi& api = tr.api();
    const clsOCS::Scope plane(tr, clsOCS(hatch));
    const int region = api.ClipRgnCreate(tr.doc());
    for (const std::vector<clsHatchPiece>& boundary : boundaries) {
        if (!boundary.empty())
            api.ClipRgnAddPath(tr.doc(), region, crtEnginePath(tr, boundary, &elevation));
    }
    const KXHATCH handle = api.HatchCreate(tr.doc());
    for (const clsPatternLine& pattern : patterns)
        api.HatchAddPattern(tr.doc(), handle, crtPattern(tr, pattern, colour));
    if (api.HatchSetClipRgn(tr.doc(), handle, region) == 0)
        tr.logs().errMsg("<rdDrEntHATCH>:\tFAILED TO CALL KXHatchSetClipRgn");
    // Without pattern lines (a solid fill) the hatch draws nothing: its
    // boundary shows where it is.
    if (patterns.empty()) {
        for (const std::vector<clsHatchPiece>& boundary : boundaries)
            drawPathOutline(tr, boundary, &elevation);
    }
}

}  // namespace

int rdDrEntHATCH(clsTranslator& tr, const clssENTITY&)
{
    tr.utlLogMsg("<rdDrEntHATCH>:\t\tentered");
    clsKeyMap keys;
    std::vector<clsHatchPath> paths;
    std::vector<clsKeyMap> lines;
    readHatchPairs(tr, keys, paths, lines);
    clssENTITY hatch;
    hatch.assignMKey(std::move(keys));
    // What a block defines is drawn wherever the block is inserted.
    const bool inBlock = tr.currentSection() == kSectionBlocks;
    if (inBlock || (hatch.space() == tr.readSpace() && hatch.visible() == 1)) {
        try {
            createHatch(tr, hatch, paths, lines);
        } catch (const clsHatchFault&) {
            // Reported where it was found; the reading goes on.
        }
    }
    tr.utlLogMsg("<rdDrEntHATCH>:\t\tnormal exit");
    return 1;
}

}  // namespace kxdxf
