// HATCH through whole reads with a recording engine: boundary paths and
// their edges, path selection by style, pattern lines, colours, spaces, and
// hatches whose counts and numbers do not describe what follows them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>

#include "DxfTestSupport.h"
#include "clsEntitySection.h"
#include "clssENTITY.h"

namespace kxdxf::test {
namespace {

using Lines = std::vector<std::string>;

Lines lineEdge(const std::string& x1, const std::string& y1, const std::string& x2, const std::string& y2)
{
    return {"72", "1", "10", x1, "20", y1, "11", x2, "21", y2};
}

Lines arcEdge(const std::string& cx, const std::string& cy, const std::string& r, const std::string& start,
              const std::string& end, const std::string& ccw = "1")
{
    return {"72", "2", "10", cx, "20", cy, "40", r, "50", start, "51", end, "73", ccw};
}

// An edge path: type flags, edge count (93) and the edges.
Lines edgePath(const std::string& flags, const std::vector<Lines>& edges, const std::string& count = "")
{
    Lines lines{"92", flags, "93", count.empty() ? std::to_string(edges.size()) : count};
    for (const Lines& edge : edges)
        lines.insert(lines.end(), edge.begin(), edge.end());
    lines.insert(lines.end(), {"97", "0"});
    return lines;
}

Lines square(const std::string& flags, const std::string& size = "10")
{
    return edgePath(flags, {lineEdge("0", "0", size, "0"), lineEdge(size, "0", size, size),
                            lineEdge(size, size, "0", size), lineEdge("0", size, "0", "0")});
}

Lines patternLine(const std::string& angle, const std::string& dx, const std::string& dy, const Lines& dashes = {})
{
    Lines lines{"53", angle, "43", "0", "44", "0", "45", dx, "46", dy, "79", std::to_string(dashes.size())};
    for (const std::string& dash : dashes)
        lines.insert(lines.end(), {"49", dash});
    return lines;
}

struct Hatch {
    Lines head{"8", "0"};
    std::vector<Lines> paths;
    std::string pathCount;
    std::string style = "0";
    std::vector<Lines> lines;
    std::string lineCount;
};

Lines hatch(const Hatch& h)
{
    Lines out{"0", "HATCH"};
    out.insert(out.end(), h.head.begin(), h.head.end());
    out.insert(out.end(), {"10", "0", "20", "0", "30", "0", "210", "0", "220", "0", "230", "1", "2",
                           h.lines.empty() ? "SOLID" : "USER", "70", h.lines.empty() ? "1" : "0", "71", "0", "91",
                           h.pathCount.empty() ? std::to_string(h.paths.size()) : h.pathCount});
    for (const Lines& path : h.paths)
        out.insert(out.end(), path.begin(), path.end());
    out.insert(out.end(), {"75", h.style, "76", "1"});
    if (!h.lines.empty())
        out.insert(out.end(), {"52", "0", "41", "1", "77", "0"});
    out.insert(out.end(), {"78", h.lineCount.empty() ? std::to_string(h.lines.size()) : h.lineCount});
    for (const Lines& line : h.lines)
        out.insert(out.end(), line.begin(), line.end());
    out.insert(out.end(), {"98", "0"});
    return out;
}

Lines lineEntity()
{
    return {"0", "LINE", "8", "0", "10", "1", "20", "2", "11", "3", "21", "4"};
}

bool isHatchCall(const std::string& call)
{
    for (const char* prefix : {"ClipRgn", "CreatePath", "PathAdd", "Hatch", "AttribLineStyle"}) {
        if (call.rfind(prefix, 0) == 0)
            return true;
    }
    return false;
}

class HatchTest : public TranslatorTest {
protected:
    int read(const Lines& entities, const Lines& tables = {})
    {
        Lines sections = headerSection("AC1015");
        if (!tables.empty())
            sections = concat({sections, section("TABLES", tables)});
        return readText(joinLines(concat({sections, section("ENTITIES", entities), eofLines()})));
    }
    static Lines hatchCalls()
    {
        // From the first region on: the default line style of the layers
        // comes before.
        Lines calls;
        for (const std::string& call : recorder().calls) {
            if (isHatchCall(call) && (!calls.empty() || call == "ClipRgnCreate"))
                calls.push_back(call);
        }
        return calls;
    }
    static int countCalls(const std::string& call)
    {
        return static_cast<int>(std::count(recorder().calls.begin(), recorder().calls.end(), call));
    }
    // The line styles made for pattern lines (the last ones made).
    static std::vector<RecordedLineStyle> patternStyles()
    {
        const auto& styles = recorder().lineStyles;
        const std::size_t n = std::min(styles.size(), recorder().patterns.size());
        return {styles.end() - static_cast<std::ptrdiff_t>(n), styles.end()};
    }
    static Lines callsStartingWith(const std::string& prefix)
    {
        Lines calls;
        for (const std::string& call : recorder().calls) {
            if (call.rfind(prefix, 0) == 0)
                calls.push_back(call);
        }
        return calls;
    }
    bool errorLogHas(const std::string& text) const { return errorLog().find(text) != std::string::npos; }
    // The error-log lines of the hatch readers.
    std::string hatchErrors() const
    {
        std::istringstream in(errorLog());
        std::string found;
        for (std::string line; std::getline(in, line);) {
            for (const char* reader : {"HATCH", "Bndr", "Bndry", "crtPath", "addPath", "crtPattern", "getPathType",
                                       "PatternLine"}) {
                if (line.find(reader) != std::string::npos) {
                    found += line + "\n";
                    break;
                }
            }
        }
        return found;
    }
    // The engine colour made for a 0x00BBGGRR value (0 when none was).
    static int colorIdOf(COLORREF rgb)
    {
        const auto& colors = recorder().colors;
        const auto at = std::find(colors.begin(), colors.end(), rgb);
        return at == colors.end() ? 0 : static_cast<int>(at - colors.begin()) + 1;
    }
};

TEST_F(HatchTest, PatternHatchMakesRegionPathsAndPatternsInOrder)
{
    Hatch h;
    h.paths = {square("1")};
    h.lines = {patternLine("45", "0", "1", {"0.5", "-0.25"})};
    ASSERT_EQ(1, read(hatch(h)));
    const Lines expected{"ClipRgnCreate",
                         "CreatePath",
                         "PathAddPolyline 1 0,0 10,0 z=0",
                         "PathAddPolyline 1 10,0 10,10 z=0",
                         "PathAddPolyline 1 10,10 0,10 z=0",
                         "PathAddPolyline 1 0,10 0,0 z=0",
                         "ClipRgnAddPath 1 1",
                         "HatchCreate",
                         "AttribLineStyle 2",
                         "HatchCreatePattern 1",
                         "HatchAddPattern 1 1",
                         "HatchSetClipRgn 1 1"};
    EXPECT_EQ(expected, hatchCalls());
    ASSERT_EQ(1u, patternStyles().size());
    EXPECT_EQ(3, patternStyles()[0].kind);
    EXPECT_EQ((std::vector<double>{0.5, -0.25}), patternStyles()[0].elements);

    // 45 degrees with the offset (0, 1): the shift along the lines is
    // sin 45 and the spacing across them sin 135.
    ASSERT_EQ(1u, recorder().patterns.size());
    const KXPatternRecord& p = recorder().patterns[0];
    EXPECT_NEAR(std::sqrt(0.5), p.dirX, 1e-12);
    EXPECT_NEAR(std::sqrt(0.5), p.dirY, 1e-12);
    EXPECT_NEAR(0.70710678, p.shift, 1e-8);
    EXPECT_NEAR(0.70710678, p.spacing, 1e-8);
    EXPECT_EQ(0, p.lineWeight);
    EXPECT_EQ(2, p.lineStyle);  // what AttribLineStyle returned
    EXPECT_EQ("", hatchErrors());
    // No outline: the pattern shows the hatch.
    EXPECT_EQ(0, recorder().count("AddPolyline"));
}

TEST_F(HatchTest, PatternShiftAndSpacingOfAnsi31)
{
    // ANSI31 as AutoCAD writes it at 45 degrees: offset (-0.2652, 0.2652)
    // is all spacing, the tiny shift is rounded to 0.
    Hatch h;
    h.paths = {square("1")};
    h.lines = {patternLine("45", "-0.2651650429449553", "0.2651650429449553"),
               patternLine("300", "1", "0")};
    ASSERT_EQ(1, read(hatch(h)));
    ASSERT_EQ(2u, recorder().patterns.size());
    EXPECT_EQ(0.0, recorder().patterns[0].shift);
    EXPECT_NEAR(0.375, recorder().patterns[0].spacing, 1e-12);
    // 300 + 90 is taken back by a turn: cos 30 across, cos 300 along.
    EXPECT_NEAR(0.5, recorder().patterns[1].shift, 1e-12);
    EXPECT_NEAR(std::sqrt(0.75), recorder().patterns[1].spacing, 1e-12);
}

TEST_F(HatchTest, StyleSelectsThePaths)
{
    struct Case {
        std::string style;
        int paths;
    };
    // Paths flagged external, outermost, and neither.
    for (const Case& c : {Case{"0", 3}, Case{"1", 2}, Case{"2", 1}, Case{"7", 0}}) {
        SCOPED_TRACE("style " + c.style);
        recorder() = Recorder{};
        Hatch h;
        h.paths = {square("1"), square("16", "5"), square("0", "2")};
        h.style = c.style;
        h.lines = {patternLine("0", "0", "1")};
        ASSERT_EQ(1, read(hatch(h)));
        EXPECT_EQ(c.paths, recorder().count("CreatePath"));
        EXPECT_EQ(c.paths, recorder().count("ClipRgnAddPath"));
        EXPECT_EQ(1, recorder().count("HatchSetClipRgn"));
    }
}

TEST_F(HatchTest, SolidFillHasARegionNoPatternAndShowsItsBoundary)
{
    Hatch h;
    h.paths = {square("1"), edgePath("0", {arcEdge("5", "5", "2", "0", "360")})};
    h.head = {"8", "0", "62", "1"};
    ASSERT_EQ(1, read(hatch(h)));
    EXPECT_EQ(0, recorder().count("HatchCreatePattern"));
    EXPECT_EQ(0, recorder().count("HatchAddPattern"));
    EXPECT_EQ(1, recorder().count("HatchSetClipRgn 1 1"));
    // The outline follows the hatch: four sides and the circle island.
    const Lines geometry = recorder().geometry();
    const Lines outline{"AddPolyline 0,0 10,0 z=0", "AddPolyline 10,0 10,10 z=0", "AddPolyline 10,10 0,10 z=0",
                        "AddPolyline 0,10 0,0 z=0", "AddCircle 5,5 r=2 z=0"};
    EXPECT_EQ(outline, geometry);
    const auto hatchAt = std::find(recorder().calls.begin(), recorder().calls.end(), "HatchSetClipRgn 1 1");
    const auto outlineAt = std::find(recorder().calls.begin(), recorder().calls.end(), outline.front());
    EXPECT_LT(hatchAt, outlineAt);
    // In the hatch's colour (index 1) on its layer.
    ASSERT_FALSE(recorder().attribSets.empty());
    EXPECT_EQ(colorIdOf(0x000000FF), recorder().attribSets.back().color);
}

TEST_F(HatchTest, PolylinePaths)
{
    const Lines open{"92", "2", "72", "0", "73", "0", "93", "4", "10", "0", "20", "0", "10", "4", "20", "0",
                     "10", "4", "20", "4", "10", "0", "20", "4"};
    Lines closed = open;
    closed[5] = "1";  // 73 = 1 adds the segment back to the first vertex
    Hatch h;
    h.paths = {closed, open};
    h.lines = {patternLine("0", "0", "1")};
    ASSERT_EQ(1, read(hatch(h)));
    EXPECT_EQ(4, recorder().count("PathAddPolyline 1 "));
    EXPECT_EQ(1, recorder().count("PathAddPolyline 1 0,4 0,0"));
    EXPECT_EQ(3, recorder().count("PathAddPolyline 2 "));

    // Bulges make arcs; a repeated vertex makes no segment (it would pass
    // for a closed piece).
    recorder() = Recorder{};
    h.paths = {{"92", "3", "72", "1", "73", "1", "93", "4", "10", "0", "20", "0", "42", "1", "10", "2", "20", "0",
                "42", "0", "10", "2", "20", "0", "42", "0", "10", "2", "20", "2", "42", "0", "97", "0"}};
    ASSERT_EQ(1, read(hatch(h)));
    const Lines arcs = callsStartingWith("PathAddCircleArc");
    ASSERT_EQ(1u, arcs.size());
    EXPECT_EQ("PathAddCircleArc 1 1,0 r=1 a=3.1415926535897931,0 full=0 z=0", arcs[0]);
    EXPECT_EQ(2, recorder().count("PathAddPolyline 1 "));  // (2,0)-(2,2) and back to the first vertex

    // A quarter arc ending at angle 0, where rounding puts the end's
    // cosine just past 1, is still an arc (numbers of a real drawing).
    recorder() = Recorder{};
    h.paths = {{"92", "7", "72", "1", "73", "1", "93", "3", "10", "2.653302006696719", "20", "18.4263715508317",
                "42", "-0.4142135623731114", "10", "3.136507574845837", "20", "17.94316598268261", "42",
                "-0.4142135623731114", "10", "2.653302006696719", "20", "17.45996041453352", "42", "0", "97", "0"}};
    ASSERT_EQ(1, read(hatch(h)));
    EXPECT_EQ(2, recorder().count("PathAddCircleArc 1 2.6533,17.9432 r=0.483206"));
    EXPECT_EQ("", hatchErrors());
}

TEST_F(HatchTest, CircleArcEdges)
{
    Hatch h;
    h.lines = {patternLine("0", "0", "1")};
    // The only edge of its path: a full circle, flagged as such.
    h.paths = {edgePath("1", {arcEdge("5", "5", "2", "0.00000001", "359.999999999")}),
               // Half circle and its chord: not full.
               edgePath("0", {arcEdge("0", "0", "1", "0", "180"), lineEdge("-1", "0", "1", "0")}),
               // Clockwise: AutoCAD keeps 360 minus the angles, here the
               // first quadrant from 90 down to 0.
               edgePath("0", {lineEdge("0", "0", "0", "1"), arcEdge("0", "0", "1", "270", "360", "0"),
                              lineEdge("1", "0", "0", "0")})};
    ASSERT_EQ(1, read(hatch(h)));
    const Lines arcs = callsStartingWith("PathAddCircleArc");
    ASSERT_EQ(3u, arcs.size());
    EXPECT_EQ("PathAddCircleArc 1 5,5 r=2 a=0,6.2831853071795862 full=1 z=0", arcs[0]);
    EXPECT_EQ("PathAddCircleArc 2 0,0 r=1 a=0,3.1415926535897931 full=0 z=0", arcs[1]);
    EXPECT_EQ("PathAddCircleArc 3 0,0 r=1 a=0,1.5707963267948966 full=0 z=0", arcs[2]);
}

TEST_F(HatchTest, EllipseAndSplineEdges)
{
    Hatch h;
    h.lines = {patternLine("0", "0", "1")};
    h.paths = {edgePath("1", {{"72", "3", "10", "0", "20", "0", "11", "4", "21", "0", "40", "0.5", "73", "1"}}),
               edgePath("0", {{"72", "3", "10", "0", "20", "0", "11", "4", "21", "0", "40", "0.5", "50", "0", "51",
                               "90", "73", "1"},
                              {"72", "4", "94", "2", "73", "1", "74", "0", "95", "6", "96", "3", "40", "0", "40", "0",
                               "40", "0", "40", "1", "40", "1", "40", "1", "10", "0", "20", "2", "42", "1", "10", "1",
                               "20", "3", "42", "0.5", "10", "4", "20", "0", "42", "1"},
                              lineEdge("4", "0", "0", "2")})};
    ASSERT_EQ(1, read(hatch(h)));
    const Lines ellipses = callsStartingWith("PathAddEllipticArc");
    ASSERT_EQ(2u, ellipses.size());
    EXPECT_EQ("PathAddEllipticArc 1 0,0 4,0 ratio=0.5 a=0,6.28319 full=1 z=0", ellipses[0]);
    EXPECT_EQ("PathAddEllipticArc 2 0,0 4,0 ratio=0.5 a=0,1.5708 full=0 z=0", ellipses[1]);
    EXPECT_EQ(Lines{"PathAddSpline 2 d=2 n=3 k=6 f=0 z=0"}, callsStartingWith("PathAddSpline"));
    EXPECT_EQ("", hatchErrors());
}

TEST_F(HatchTest, EdgeTypesOutsideTheTable)
{
    Hatch h;
    h.lines = {patternLine("0", "0", "1")};
    h.paths = {edgePath("1", {lineEdge("0", "0", "1", "0"), {"72", "5", "10", "9", "20", "9"},
                              lineEdge("1", "0", "0", "1"), {"72", "99", "10", "9"}, {"72", "-2147483648"},
                              lineEdge("0", "1", "0", "0")})};
    ASSERT_EQ(1, read(hatch(h)));
    EXPECT_EQ(3, recorder().count("PathAddPolyline"));
    const std::string err = errorLog();
    // Type 5 goes without a word, unknown types are named.
    EXPECT_EQ(std::string::npos, err.find("<EDGE.1>"));
    EXPECT_NE(std::string::npos, err.find("<crtPath>:\tEdge <EDGE.3> has the unknown type <99>, left out\n"));
    EXPECT_NE(std::string::npos, err.find("<EDGE.4> has the unknown type <-2147483648>"));
}

TEST_F(HatchTest, ColourComesFromTheHatchOrItsLayer)
{
    const Lines tables{"0", "TABLE", "2", "LAYER", "70", "1", "0", "LAYER", "2", "Green", "70", "0", "62", "3",
                       "6", "CONTINUOUS", "0", "ENDTAB"};
    Hatch onLayer;
    onLayer.head = {"8", "Green"};
    onLayer.paths = {square("1")};
    onLayer.lines = {patternLine("0", "0", "1")};
    Hatch own = onLayer;
    own.head = {"8", "Green", "62", "1"};
    Hatch byLayer = onLayer;
    byLayer.head = {"8", "Green", "62", "256"};
    ASSERT_EQ(1, read(concat({hatch(onLayer), hatch(own), hatch(byLayer)}), tables));
    ASSERT_EQ(3u, recorder().patterns.size());
    EXPECT_EQ(colorIdOf(0x0000FF00), recorder().patterns[0].color);  // index 3, green
    EXPECT_EQ(colorIdOf(0x000000FF), recorder().patterns[1].color);  // index 1, red
    EXPECT_EQ(KX_BYLAYER, recorder().patterns[2].color);
    // The hatch is on its layer.
    ASSERT_FALSE(recorder().layers.empty());
    EXPECT_EQ("Green", recorder().layers[0].name);
    EXPECT_EQ(1, recorder().attribSets.front().layer);
}

TEST_F(HatchTest, SpaceAndVisibility)
{
    Hatch model;
    model.paths = {square("1")};
    Hatch paper = model;
    paper.head = {"8", "0", "67", "1"};
    Hatch hidden = model;
    hidden.head = {"8", "0", "60", "1"};
    const Lines entities = concat({hatch(model), hatch(paper), hatch(hidden), lineEntity()});
    ASSERT_EQ(1, read(entities));
    EXPECT_EQ(1, countCalls("HatchCreate"));
    EXPECT_EQ(1, recorder().count("AddLine"));

    recorder() = Recorder{};
    recorder().currentLayout = 1;  // paper space
    ASSERT_EQ(1, read(entities));
    EXPECT_EQ(1, countCalls("HatchCreate"));
    EXPECT_EQ(0, recorder().count("AddLine"));  // the line was model space
}

TEST_F(HatchTest, InABlockDefinitionTheHatchIsDrawnWhateverTheReadSpace)
{
    // A block's content shows wherever the block is inserted, paper space
    // included: a hatch without group 67 in a block is not dropped. On
    // layer "0" by layer its pattern lines take the colour of the block
    // reference, as the rest of the block does.
    struct Case {
        int section;
        std::string layer;
        int hatches;
    };
    for (const Case& c : {Case{kSectionBlocks, "0", 1}, Case{kSectionBlocks, "Walls", 1},
                          Case{kSectionEntities, "0", 0}}) {
        SCOPED_TRACE(c.layer + (c.section == kSectionBlocks ? " in a block" : " in ENTITIES"));
        recorder() = Recorder{};
        Hatch h;
        h.head = {"8", c.layer};
        h.paths = {square("1")};
        h.lines = {patternLine("0", "0", "1")};
        clsTranslator tr(recordingApi(), nullptr);
        tr.input().openBuffer(joinLines(concat({hatch(h), {"0", "ENDBLK"}})));
        tr.setCurrentSection(c.section);
        clssENTITY entity;
        std::string_view code;
        std::string_view value;
        tr.utlReadGrpCodeValue(code, value);
        clsEntitySection::readEntity(tr, entity, value);
        // Not reading any space, the ENTITIES section draws nothing.
        EXPECT_EQ(c.hatches, countCalls("HatchCreate"));
        tr.utlReadGrpCodeValue(code, value);
        EXPECT_EQ("ENDBLK", value);
        if (c.hatches == 1) {
            ASSERT_EQ(1u, recorder().patterns.size());
            // An undefined layer has colour 7, black.
            EXPECT_EQ(c.layer == "0" ? KX_BYBLOCK : colorIdOf(0x00000000), recorder().patterns[0].color);
        }
    }
}

TEST_F(HatchTest, CountsBeyondWhatFollowsAreBounded)
{
    Hatch h;
    h.paths = {square("1")};
    h.pathCount = "2147483648";
    h.lines = {patternLine("0", "0", "1")};
    h.lineCount = "99999999999999999999";
    Hatch negative = h;
    negative.pathCount = "-2147483648";
    negative.lineCount = "-5";
    ASSERT_EQ(1, read(concat({hatch(h), hatch(negative), lineEntity()})));
    EXPECT_EQ(1, recorder().count("CreatePath"));
    EXPECT_EQ(1, recorder().count("HatchCreatePattern"));
    EXPECT_EQ(2, recorder().count("HatchSetClipRgn"));
    EXPECT_EQ(1, recorder().count("AddLine"));
    EXPECT_TRUE(errorLogHas("<rdDrEntHATCH>:\tBoundary path count <2147483648> but <1> follow\n"));
    EXPECT_TRUE(errorLogHas("<rdDrEntHATCH>:\tPattern line count <9223372036854775807> but <1> follow\n"));
    EXPECT_TRUE(errorLogHas("<rdDrEntHATCH>:\tNegative Boundary path count <-2147483648>\n"));
    EXPECT_TRUE(errorLogHas("<rdDrEntHATCH>:\tNegative Pattern line count <-5>\n"));
}

TEST_F(HatchTest, VertexAndEdgeCountsThatDisagree)
{
    const auto polyline = [](const std::string& count) {
        return Lines{"92", "3", "72", "0", "73", "1", "93", count, "10", "0", "20", "0", "10", "4", "20", "0",
                     "10", "4", "20", "4", "97", "0"};
    };
    Hatch tooMany;
    tooMany.paths = {polyline("1000000000")};
    Hatch tooFew = tooMany;
    tooFew.paths = {polyline("2")};
    Hatch negative = tooMany;
    negative.paths = {polyline("-3")};
    Hatch edges;
    edges.paths = {square("1")};
    edges.paths[0][3] = "7";
    ASSERT_EQ(1, read(concat({hatch(tooMany), hatch(tooFew), hatch(negative), hatch(edges), lineEntity()})));
    // More vertices announced than given: the hatch is left out.
    EXPECT_TRUE(errorLogHas("<addPathEdgePolyline>:\tNo value for mrkr <10.3>\n"));
    EXPECT_TRUE(errorLogHas("<addPathEdgePolyline>:\tVertex count <-3> is negative\n"));
    // Fewer: the rest is left out, said so.
    EXPECT_TRUE(errorLogHas("<addPathEdgePolyline>:\tVertex count <2> but <3> vertices follow, the rest left out\n"));
    EXPECT_TRUE(errorLogHas("<crtPath>:\tEdge count <7> but <4> edges follow\n"));
    EXPECT_EQ(2, countCalls("HatchCreate"));
    EXPECT_EQ(2, recorder().count("PathAddPolyline 1 "));  // two vertices, closed
    EXPECT_EQ(4, recorder().count("PathAddPolyline 2 "));
    EXPECT_EQ(1, recorder().count("AddLine"));
}

TEST_F(HatchTest, NumbersThatAreNotFinite)
{
    Hatch h;
    h.paths = {edgePath("1", {lineEdge("0", "0", "nan", "0"), arcEdge("0", "0", "inf", "0", "90"),
                              lineEdge("0", "0", "1", "1"), lineEdge("1", "1", "1", "1")})};
    h.lines = {patternLine("nan", "0", "1"), patternLine("0", "0", "1", {"1", "-inf"}),
               patternLine("0", "0", "1")};
    ASSERT_EQ(1, read(hatch(h)));
    EXPECT_EQ(Lines{"PathAddPolyline 1 0,0 1,1 z=0"}, callsStartingWith("PathAdd"));
    EXPECT_TRUE(errorLogHas("<addPathEdgeLine>:\tEdge <EDGE.0> has a coordinate that is not a finite number, left out\n"));
    EXPECT_TRUE(errorLogHas("<addPathEdgeCircleArc>:\tEdge <EDGE.1> has a value that is not a finite number"));
    EXPECT_TRUE(errorLogHas("<crtPattern>:\tPattern line with a value that is not a finite number, left out\n"));
    EXPECT_TRUE(errorLogHas("<crtPattern>:\tDash <49.1> is not a finite number, the line drawn solid\n"));
    // The two finite lines, the one with the bad dash drawn solid.
    EXPECT_EQ(2, recorder().count("HatchCreatePattern"));
    ASSERT_EQ(2u, patternStyles().size());
    EXPECT_TRUE(patternStyles()[0].elements.empty());
}

TEST_F(HatchTest, DashCountsAreEightBit)
{
    Hatch h;
    h.paths = {square("1")};
    Lines huge = patternLine("0", "0", "1", {"1", "-1"});
    huge[11] = "258";  // taken as 2: the two dashes given
    Lines missing = patternLine("0", "0", "1", {"1", "-1"});
    missing[11] = "-1";  // taken as 255: missing dashes make the line solid
    h.lines = {huge, missing};
    ASSERT_EQ(1, read(hatch(h)));
    ASSERT_EQ(2u, patternStyles().size());
    EXPECT_EQ((std::vector<double>{1, -1}), patternStyles()[0].elements);
    EXPECT_TRUE(patternStyles()[1].elements.empty());
    EXPECT_TRUE(errorLogHas("<crtPattern>:\tDash count <258> is not a count of at most 255 dashes, taken modulo 256\n"));
}

TEST_F(HatchTest, MissingGroupsLeaveTheHatchOutAndTheReadGoesOn)
{
    Hatch noStyle;
    noStyle.paths = {square("1")};
    Lines withoutStyle = hatch(noStyle);
    const auto style = std::find(withoutStyle.begin(), withoutStyle.end(), "75");
    withoutStyle.erase(style, style + 2);
    Hatch noEdges;
    noEdges.paths = {{"92", "1", "93", "0", "97", "0"}};
    Hatch noRadius;
    noRadius.paths = {edgePath("1", {{"72", "2", "10", "0", "20", "0", "50", "0", "51", "360"}})};
    Hatch noOffset;
    noOffset.paths = {square("1")};
    noOffset.lines = {{"53", "0", "43", "0", "44", "0", "45", "0"}};
    ASSERT_EQ(1, read(concat({withoutStyle, hatch(noEdges), hatch(noRadius), hatch(noOffset), lineEntity()})));
    EXPECT_TRUE(errorLogHas("rdDrEntHATCH:\tNo value for mrkr <75.0> (Hatch Style)\n"));
    EXPECT_TRUE(errorLogHas("<crtPath>:\tNo value for mrkr <EDGE> - NUMBER OF EDGES\n"));
    EXPECT_TRUE(errorLogHas("<addPathEdgeCircleArc>:\tNo value for mrkr <40.0> - Radius\n"));
    EXPECT_TRUE(errorLogHas("<crtPattern>:\tNo value for mrkr <46.0> (Y Offset)\n"));
    // Checked before the first engine call: nothing of them reaches it.
    EXPECT_EQ(Lines{}, hatchCalls());
    EXPECT_EQ(1, recorder().count("AddLine"));
}

TEST_F(HatchTest, ReadersStopWhereTheirGroupsEnd)
{
    // An edge path without group 97 ends at the next path; a hatch cut
    // short after its paths ends at the next entity.
    Lines first = square("1");
    first.resize(first.size() - 2);
    Hatch h;
    h.paths = {first, square("0", "5")};
    h.lines = {patternLine("0", "0", "1")};
    Lines cut{"0", "HATCH", "8", "0", "91", "1"};
    const Lines path = square("1");
    cut.insert(cut.end(), path.begin(), path.end() - 2);
    ASSERT_EQ(1, read(concat({hatch(h), cut, lineEntity()})));
    EXPECT_EQ(8, recorder().count("PathAddPolyline"));
    EXPECT_EQ(1, countCalls("HatchCreate"));
    EXPECT_EQ(1, recorder().count("AddLine"));
    EXPECT_TRUE(errorLogHas("rdDrEntHATCH:\tNo value for mrkr <75.0> (Hatch Style)\n"));
}

TEST_F(HatchTest, PairLimitsEndTheReadersAndTheReadGoesOn)
{
    Lines big{"0", "HATCH", "8", "0"};
    for (int i = 0; i < 10005; ++i)
        big.insert(big.end(), {"999", "x"});
    Lines longPath{"0", "HATCH", "8", "0", "91", "1", "92", "2", "93", "1"};
    for (int i = 0; i < 10005; ++i)
        longPath.insert(longPath.end(), {"10", "0"});
    Lines longLine{"0", "HATCH", "8", "0", "91", "0", "75", "0", "78", "1"};
    for (int i = 0; i < 1005; ++i)
        longLine.insert(longLine.end(), {"49", "1"});
    ASSERT_EQ(1, read(concat({big, longPath, longLine, lineEntity()})));
    EXPECT_TRUE(errorLogHas("<rdDrEntHATCH>:\t\tNumber of entries in HATCH exceeded <10000>\n"));
    EXPECT_TRUE(errorLogHas("<readBndryPath>:\t\tNumber of entries in hatch Boundary Path exceeded <10000>\n"));
    EXPECT_TRUE(errorLogHas("<readPatternLineData>:\t\tExceeded max number of Group Code - Value pairs <1000>\n"));
    EXPECT_EQ(1, recorder().count("AddLine"));
    EXPECT_EQ(std::string::npos, errorLog().find("UNKNOWN ENTITY"));
}

TEST_F(HatchTest, ExtrusionPushesTheHatchPlane)
{
    Hatch h;
    h.head = {"8", "0", "30", "2.5"};
    h.paths = {square("1")};
    Lines text = hatch(h);
    // The builder writes the world extrusion; turn it over.
    const auto z = std::find(text.begin(), text.end(), "230");
    *(z + 1) = "-1";
    ASSERT_EQ(1, read(text));
    const Lines calls = recorder().calls;
    const auto push = std::find(calls.begin(), calls.end(), "Push");
    const auto region = std::find(calls.begin(), calls.end(), "ClipRgnCreate");
    const auto pop = std::find(calls.begin(), calls.end(), "Pop");
    ASSERT_NE(calls.end(), pop);
    EXPECT_LT(push, region);
    EXPECT_EQ(1, recorder().count("PathAddPolyline 1 0,0 10,0 z=2.5"));
    EXPECT_EQ(1, recorder().count("AddPolyline 0,0 10,0 z=2.5"));
    EXPECT_LT(std::find(calls.begin(), calls.end(), "AddPolyline 0,0 10,0 z=2.5"), pop);
}

// Entries of one signature could trade places in the table unnoticed by
// the compiler.
TEST(HatchEngineApi, PathClipAndHatchEntriesAreBoundToTheirExports)
{
    const clsEngineApi& api = clsEngineApi::engine();
    EXPECT_EQ(&KXClipRgnCreate, api.ClipRgnCreate);
    EXPECT_EQ(&KXClipRgnAddPath, api.ClipRgnAddPath);
    EXPECT_EQ(&KXClipRgnSet, api.ClipRgnSet);
    EXPECT_EQ(&KXCreatePath, api.CreatePath);
    EXPECT_EQ(&KXPathAddPolyline, api.PathAddPolyline);
    EXPECT_EQ(&KXPathAddCircleArc, api.PathAddCircleArc);
    EXPECT_EQ(&KXPathAddEllipticArc, api.PathAddEllipticArc);
    EXPECT_EQ(&KXPathAddSpline, api.PathAddSpline);
    EXPECT_EQ(&KXHatchCreate, api.HatchCreate);
    EXPECT_EQ(&KXHatchCreatePattern, api.HatchCreatePattern);
    EXPECT_EQ(&KXHatchAddPattern, api.HatchAddPattern);
    EXPECT_EQ(&KXHatchSetClipRgn, api.HatchSetClipRgn);
}

// The drawings of the shared corpus that have hatches read cleanly.
TEST_F(HatchTest, CorpusHatches)
{
    const fs::path corpus = fs::path(KX_SHARED_DIR) / "corpus" / "dxfjs";
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "no corpus at " << corpus;
    struct Drawing {
        const char* name;
        int hatches;
    };
    // The hatches of model space in the ENTITIES section; those of block
    // definitions come on top once blocks are read.
    for (const Drawing& d : {Drawing{"hatches.dxf", 1}, Drawing{"floorplan.dxf", 13}, Drawing{"entities.dxf", 0},
                             Drawing{"empty.dxf", 0}, Drawing{"Ceco.NET-Architecture-Tm-53.dxf", 4}}) {
        SCOPED_TRACE(d.name);
        recorder() = Recorder{};
        ASSERT_EQ(1, readWithRecorder((corpus / d.name).string()));
        EXPECT_LE(d.hatches, countCalls("HatchCreate"));
        EXPECT_EQ(countCalls("HatchCreate"), recorder().count("HatchSetClipRgn"));
        EXPECT_EQ(recorder().count("HatchCreatePattern"), recorder().count("HatchAddPattern"));
        EXPECT_EQ(recorder().count("CreatePath"), recorder().count("ClipRgnAddPath"));
        EXPECT_EQ("", hatchErrors());
    }
}

}  // namespace
}  // namespace kxdxf::test
