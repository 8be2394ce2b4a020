// Hatch explosion when a document is finished: lines inside the region
// only, holes left open, spacing and shift, line-style phases, trailing
// gaps, solid fills and the bounds on lines per hatch and per document.
#include <gtest/gtest.h>
#include <kxplatform/debugapi.h>

#include <cmath>
#include <string>

#include "CKXAttribSet.h"
#include "ClipTestSupport.h"
#include "KXLineStyleExt.h"
#include "render/clip/CKXHatch.h"
#include "render/clip/CKXHatchFill.h"
#include "render/clip/CKXPath.h"
#include "render/clip/CKXPattern.h"

using namespace cliptest;

namespace {

KXPatternRecord Pattern(double angleDeg, double spacing, double shift = 0.0, int lineStyle = 0) {
    const double a = angleDeg * 3.141592653589793 / 180.0;
    return KXPatternRecord{0, lineStyle, 0, 0, 0.0, 0.0, std::cos(a), std::sin(a), shift, spacing};
}

KXHATCH Hatch(KXDOC doc, int region, const std::vector<KXPatternRecord>& patterns) {
    KXHATCH hatch = KXHatchCreate(doc);
    EXPECT_NE(hatch, nullptr);
    for (const auto& p : patterns) EXPECT_EQ(KXHatchAddPattern(doc, hatch, KXHatchCreatePattern(doc, &p)), 1);
    EXPECT_EQ(KXHatchSetClipRgn(doc, hatch, region), 1);
    return hatch;
}

bool InsideSquare(const CFltPoint& p, double x0, double y0, double x1, double y1, double tol = 1e-6) {
    return p.x >= x0 - tol && p.x <= x1 + tol && p.y >= y0 - tol && p.y <= y1 + tol;
}

}  // namespace

TEST(Hatch, FortyFiveDegreeLinesFillTheSquareAtTheirSpacing) {
    Doc doc;
    const int region = RegionOf(doc, {Square(0, 0, 100, 100)});
    Hatch(doc, region, {Pattern(45, 3.175)});
    ASSERT_EQ(KXClose(doc, 0), 1);
    const auto lines = Lines(*doc);
    ASSERT_GT(lines.size(), 40u);
    EXPECT_EQ(CountOfType(*doc, KXENT_HATCH), 0);
    // Every piece inside, at 45 degrees; the offsets across the lines are
    // whole multiples of the spacing.
    for (const CKXLine* l : lines) {
        EXPECT_TRUE(InsideSquare(l->GetStart(), 0, 0, 100, 100, 1e-3));
        EXPECT_TRUE(InsideSquare(l->GetEnd(), 0, 0, 100, 100, 1e-3));
        const double dx = l->GetEnd().x - l->GetStart().x, dy = l->GetEnd().y - l->GetStart().y;
        EXPECT_NEAR(std::fabs(dx), std::fabs(dy), 1e-3);
        const double across = (l->GetStart().y - l->GetStart().x) / std::sqrt(2.0) / 3.175;
        EXPECT_NEAR(across, std::round(across), 1e-3);
    }
    // The diagonal of the square is one of them (base point at the origin).
    bool diagonal = false;
    for (const CKXLine* l : lines)
        diagonal |= std::fabs(l->GetStart().x - l->GetStart().y) < 1e-6 && std::hypot(l->GetEnd().x - l->GetStart().x, l->GetEnd().y - l->GetStart().y) > 141.0;
    EXPECT_TRUE(diagonal);
}

TEST(Hatch, IslandsStayOpen) {
    Doc doc;
    const int region = RegionOf(doc, {Square(0, 0, 100, 100), Square(30, 30, 70, 70)});
    Hatch(doc, region, {Pattern(0, 2.0)});
    ASSERT_EQ(KXClose(doc, 0), 1);
    const auto lines = Lines(*doc);
    ASSERT_FALSE(lines.empty());
    for (const CKXLine* l : lines) {
        const CFltPoint mid{(l->GetStart().x + l->GetEnd().x) / 2, (l->GetStart().y + l->GetEnd().y) / 2};
        EXPECT_FALSE(InsideSquare(mid, 30.01, 30.01, 69.99, 69.99, 0)) << mid.x << " " << mid.y;
    }
}

TEST(Hatch, EmptyRegionGivesOnlyTheAttributeSwitches) {
    Doc doc;
    const int region = KXClipRgnCreate(doc);
    const double s[2] = {0, 0}, e[2] = {10, 10};
    KXAddLine(doc, s, e, nullptr, nullptr);
    KXPatternRecord red = Pattern(45, 1.0);
    red.color = (*doc).Attribs().AddColor(0x0000FF);
    Hatch(doc, region, {red});
    ASSERT_EQ(KXClose(doc, 0), 1);
    EXPECT_EQ(Lines(*doc).size(), 1u);
    EXPECT_EQ(CountOfType(*doc, KXENT_ATTRIBSET), 2);
}

TEST(Hatch, SolidFillShowsItsBoundary) {
    Doc doc;
    const int region = RegionOf(doc, {Square(0, 0, 10, 10), {{3, 3}, {6, 3}, {6, 6}}});
    Hatch(doc, region, {});
    ASSERT_EQ(KXClose(doc, 0), 1);
    EXPECT_EQ(Lines(*doc).size(), 0u);
    ASSERT_EQ(CountOfType(*doc, KXENT_POLYLINE), 2);
    // The open contour is shown closed.
    const auto& tri = static_cast<const CKXPolyline&>(*(*doc).GetEntList().back());
    EXPECT_EQ(tri.GetPoints().front(), tri.GetPoints().back());
}

TEST(Hatch, ShiftMovesTheDashPhaseFromLineToLine) {
    Doc doc;
    const double elements[2] = {2.0, -2.0};
    const int style = (*doc).Attribs().AddLineStyle(KXLineStyleExt::kDashPattern, 2, elements);
    const int region = RegionOf(doc, {Square(0, 0, 1000, 1000)});
    Hatch(doc, region, {Pattern(0, 10.0, 1.0, style)});
    ASSERT_EQ(KXClose(doc, 0), 1);
    const auto lines = Lines(*doc);
    ASSERT_GT(lines.size(), 50u);
    // Kept phased for the draw-time walker; line t starts at -t x shift.
    for (const CKXLine* l : lines) {
        ASSERT_TRUE(l->HasPhase());
        const double t = std::round(l->GetStart().y / 10.0);
        const double along = l->GetStart().x;  // the pattern is anchored at x = 0
        double expected = std::fmod(along - t * 1.0, 4.0);
        if (expected < 0) expected += 4.0;
        const KXLinePhase& phase = *l->GetPhase();
        const double position = phase.offset + (phase.elementIndex == 1 ? 2.0 : 0.0);
        EXPECT_NEAR(position, expected, 1e-6) << t;
    }
    EXPECT_EQ((*doc).Attribs().LineStyle(style)->phaseTracking, 0);
}

TEST(Hatch, PiecesInsideTheTrailingGapAreDropped) {
    Doc doc;
    const double elements[2] = {1.0, -9.0};
    const int style = (*doc).Attribs().AddLineStyle(KXLineStyleExt::kDashPattern, 2, elements);
    // Bars 0.5 wide every 10 units; the pattern anchored so that every bar
    // falls inside the gap: their pieces would draw nothing.
    std::vector<std::vector<CFltPoint>> bars;
    for (int i = 0; i < 10; ++i) bars.push_back(Square(10.0 * i + 3, 0, 10.0 * i + 3.5, 100));
    const int region = RegionOf(doc, bars);
    Hatch(doc, region, {Pattern(0, 10.0, 0.0, style)});
    const double s[2] = {0, -500}, e[2] = {1000, 500};  // big extents: no dash cutting
    KXAddLine(doc, s, e, nullptr, nullptr);
    ASSERT_EQ(KXClose(doc, 0), 1);
    EXPECT_EQ(Lines(*doc).size(), 1u);  // only the extra line
}

TEST(Hatch, CoarsePatternsAreCutIntoSolidDashes) {
    Doc doc;
    const double elements[2] = {30.0, -30.0};
    const int style = (*doc).Attribs().AddLineStyle(KXLineStyleExt::kDashPattern, 2, elements);
    const int region = RegionOf(doc, {Square(0, 0, 100, 100)});
    Hatch(doc, region, {Pattern(0, 10.0, 0.0, style)});
    ASSERT_EQ(KXClose(doc, 0), 1);
    const auto lines = Lines(*doc);
    ASSERT_FALSE(lines.empty());
    for (const CKXLine* l : lines) {
        EXPECT_TRUE(l->IsSolidPiece());
        EXPECT_LE(std::fabs(l->GetEnd().x - l->GetStart().x), 30.0 + 1e-6);
    }
}

TEST(Hatch, TinySpacingIsBoundedAndReported) {
    Doc doc;
    const int region = RegionOf(doc, {Square(0, 0, 1000, 1000)});
    KXHATCH hatch = Hatch(doc, region, {Pattern(0, 1e-6)});
    CKXDoc& d = *doc;
    d.ClipRegions()[0]->Quantise(200.0, {0, 0});
    CKXHatchFill fill(d);
    KXEntList out;
    const KXStatus status = fill.Explode(*static_cast<CKXHatch*>(hatch), out);
    EXPECT_FALSE(status.IsOk());
    EXPECT_NE(status.Reason().find("bounded"), std::string::npos);
    EXPECT_LE(static_cast<double>(fill.LinesLaid()), CKXHatchFill::LineBudget(std::hypot(1000, 1000), 200.0));
    EXPECT_GE(fill.LinesLaid(), 100000u);
    // The whole document still finishes.
    ASSERT_EQ(KXClose(doc, 0), 1);
}

TEST(Hatch, DocumentBoundThinsThenOutlinesFurtherHatchesAndIsReportedOnce) {
    Doc doc;
    CKXDoc& d = *doc;
    std::vector<CKXHatch*> hatches;
    for (int i = 0; i < 4; ++i) {
        const double x = 2000.0 * i;
        const int region = RegionOf(doc, {Square(x, 0, x + 1000, 1000)});
        hatches.push_back(static_cast<CKXHatch*>(Hatch(doc, region, {Pattern(0, 1e-6)})));
        d.ClipRegions()[static_cast<std::size_t>(i)]->Quantise(1.0, {0, 0});
    }
    // A coarse hatch, drawn while lines are left, and one after.
    const int coarseRegion = RegionOf(doc, {Square(0, 2000, 100, 2100)});
    auto* coarse = static_cast<CKXHatch*>(Hatch(doc, coarseRegion, {Pattern(0, 10)}));
    d.ClipRegions()[4]->Quantise(1.0, {0, 0});
    // On a grid of one unit each fine hatch gets its own bound of 100000
    // lines; the document has 150010 left before them.
    const double perHatch = CKXHatchFill::LineBudget(std::hypot(1000, 1000), 1.0);
    ASSERT_EQ(perHatch, CKXHatchFill::kMinLineBudget);
    d.HatchLines().laid = CKXHatchFill::kDocumentLineBudget - 1.5 * perHatch - 10.0;

    std::string debug;
    void* previousContext = nullptr;
    const KXDEBUGSINK previous = SetDebugOutputSink(
        [](const char* text, void* context) { *static_cast<std::string*>(context) += text; }, &debug,
        &previousContext);
    const auto explode = [&](const CKXHatch& hatch, std::size_t& lines, std::size_t& pieces) {
        CKXHatchFill fill(d);
        KXEntList out;
        const KXStatus status = fill.Explode(hatch, out);
        lines = fill.LinesLaid();
        pieces = out.size();
        return status;
    };
    std::size_t lines = 0, pieces = 0;
    // Within the document's bound: thinned to its own.
    EXPECT_FALSE(explode(*hatches[0], lines, pieces).IsOk());
    EXPECT_LE(static_cast<double>(lines), perHatch);
    EXPECT_GE(static_cast<double>(lines), 0.9 * perHatch);
    EXPECT_TRUE(explode(*coarse, lines, pieces).IsOk());
    EXPECT_EQ(lines, 11u);
    // Then to what the document has left.
    const double left = CKXHatchFill::kDocumentLineBudget - d.HatchLines().laid;
    const KXStatus second = explode(*hatches[1], lines, pieces);
    EXPECT_NE(second.Reason().find("in all"), std::string::npos);
    EXPECT_LE(static_cast<double>(lines), left);
    EXPECT_GE(static_cast<double>(lines), 0.9 * left);
    // Then only the outline, and the coarse hatch too.
    EXPECT_FALSE(explode(*hatches[2], lines, pieces).IsOk());
    EXPECT_EQ(lines, 0u);
    EXPECT_EQ(pieces, 1u);
    EXPECT_FALSE(explode(*hatches[3], lines, pieces).IsOk());
    EXPECT_FALSE(explode(*coarse, lines, pieces).IsOk());
    EXPECT_EQ(lines, 0u);
    SetDebugOutputSink(previous, previousContext, nullptr);
    EXPECT_LE(d.HatchLines().laid, CKXHatchFill::kDocumentLineBudget);

    // One line for the first hatch's own bound, one for the document's.
    const auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = debug.find(what); at != std::string::npos; at = debug.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("kxcore: "), 2u);
    EXPECT_EQ(count("kxcore: hatches of the drawing bounded to 4000000 lines in all"), 1u);
}

TEST(Hatch, TransformedHatchScalesSpacingAndRegion) {
    Doc doc;
    const int region = RegionOf(doc, {Square(0, 0, 10, 10)});
    KXHATCH hatch = Hatch(doc, region, {Pattern(0, 1.0)});
    CTransf2D xf;
    xf.Scale(2, 2);
    xf.Translate(100, 0);
    KXEntList out;
    static_cast<void>(CKXHatchFill(*doc).Explode(static_cast<CKXHatch&>(*static_cast<CKXHatch*>(hatch)->CloneTransformed(xf)), out));
    ASSERT_FALSE(out.empty());
    for (const KXEntPtr& e : out) {
        if (e->GetType() == KXENT_ATTRIBSET) continue;  // the pattern's scale
        ASSERT_EQ(e->GetType(), KXENT_LINE);
        const auto& l = static_cast<const CKXLine&>(*e);
        EXPECT_TRUE(InsideSquare(l.GetStart(), 100, 0, 120, 20, 1e-3));
        EXPECT_NEAR(std::fmod(l.GetStart().y, 2.0), 0.0, 1e-6);
    }
}

TEST(Hatch, UnknownPatternEndsTheExplosionAndUnknownIdsAreRefused) {
    Doc doc;
    const int region = RegionOf(doc, {Square(0, 0, 10, 10)});
    KXHATCH hatch = KXHatchCreate(doc);
    EXPECT_EQ(KXHatchSetClipRgn(doc, hatch, 42), 0);
    EXPECT_EQ(KXHatchAddPattern(doc, hatch, 42), 0);
    KXPatternRecord bad = Pattern(0, 1.0);
    bad.spacing = std::nan("");
    EXPECT_EQ(KXHatchCreatePattern(doc, &bad), 0);
    EXPECT_EQ(KXHatchSetClipRgn(doc, hatch, region), 1);
    ASSERT_EQ(KXClose(doc, 0), 1);
    // Without patterns: the outline shows where it is.
    EXPECT_EQ(CountOfType(*doc, KXENT_POLYLINE), 1);
}

TEST(Hatch, PathsAndPatternLinesAreQuantisedFromTheOriginWhenFinished) {
    Doc doc;
    const int path = KXCreatePath(doc);
    const KXPoint corner[] = {{10, 10}, {30, 10}, {30, 20}};
    ASSERT_EQ(KXPathAddPolyline(doc, path, corner, 3, nullptr), 1);
    const int region = KXClipRgnCreate(doc);
    ASSERT_EQ(KXClipRgnAddPath(doc, region, path), 1);
    Hatch(doc, region, {Pattern(0, 2.0)});
    ASSERT_EQ(KXClose(doc, 0), 1);
    const double s = (*doc).GetResolution();
    ASSERT_GT(s, 0.0);

    // The path's piece, from (0, 0) at the drawing resolution.
    const CKXPath& stored = *(*doc).Paths()[0];
    const std::vector<std::int32_t>& q = stored.PiecePolylines()[0]->GetQuantised();
    ASSERT_EQ(q.size(), 6u);
    EXPECT_EQ(q[0], static_cast<std::int32_t>(10 * s));
    EXPECT_EQ(q[5], static_cast<std::int32_t>(20 * s));

    // The pattern keeps the first line it laid across the region, quantised
    // the same way.
    const CKXPattern& pattern = *(*doc).Patterns()[0];
    ASSERT_NE(pattern.FirstLine(), nullptr);
    EXPECT_EQ(pattern.LineCount(), 6.0);  // t = 5 ... 10 over y 10 ... 20
    const CKXLine& first = *pattern.FirstLine();
    EXPECT_DOUBLE_EQ(first.GetStart().y, 10.0);
    EXPECT_LT(first.GetStart().x, 10.0);
    EXPECT_GT(first.GetEnd().x, 30.0);
    EXPECT_EQ(first.GetQuantised()[1], static_cast<std::int32_t>(10 * s));
    EXPECT_EQ(first.GetQuantised()[0], static_cast<std::int32_t>(std::trunc(first.GetStart().x * s)));
}
