// Dash patterns walked along device segments and polylines.
#include <gtest/gtest.h>

#include <kxplatform/dc.h>

#include <vector>

#include "CKXLine.h"
#include "CKXPolyline.h"
#include "RenderTestSupport.h"
#include "render/CKXConverter.h"
#include "render/CKXLineStyleWalker.h"

namespace {

using namespace rendertest;
using Strings = std::vector<std::string>;

constexpr int kDash = KXLineStyleExt::kDashPattern;
constexpr int kCentred = KXLineStyleExt::kDashPattern | KXLineStyleExt::kCentrePolyline;
constexpr int kEachCentred = KXLineStyleExt::kDashPattern | KXLineStyleExt::kCentreSegments;

// One styled entity on a 100 x 100 unit device (one device unit per drawing unit).
struct StyledScene : Scene {
    StyledScene(int kind, std::vector<double> elements) {
        const int style = Style(kind, std::move(elements));
        Attrib(0, 0, style, 0);
    }
    Strings DrawStrokes(const CFltExtents& window = CFltExtents(0, 0, 100, 100)) {
        Finish(CFltExtents(0, 0, 100, 100));
        return Strokes(Draw(RECT{0, 0, 100, 100}, window));
    }
};

TEST(LineStyle, PlainWalkAlternatesDashesAndGaps) {
    StyledScene scene(kDash, {5, -5});
    scene.Add<CKXLine>(CFltPoint{0, 50}, CFltPoint{23, 50});
    EXPECT_EQ(scene.DrawStrokes(), (Strings{"M 0 50", "L 5 50", "M 10 50", "M 10 50", "L 15 50",
                                            "M 20 50", "M 20 50", "L 23 50"}));
}

TEST(LineStyle, SteepSegmentsWalkAlongY) {
    StyledScene scene(kDash, {4, -2});
    scene.Add<CKXLine>(CFltPoint{10, 90}, CFltPoint{12, 80});
    const Strings strokes = scene.DrawStrokes();
    ASSERT_GE(strokes.size(), 3u);
    EXPECT_EQ(strokes[0], "M 10 10");
    EXPECT_EQ(strokes[1], "L 11 14");
    EXPECT_EQ(strokes.back(), "L 12 20");
}

TEST(LineStyle, ZeroLengthSegmentIsAOneUnitDash) {
    StyledScene scene(kDash, {5, -5});
    scene.Add<CKXLine>(CFltPoint{10.2, 50.5}, CFltPoint{10.7, 50.4});
    EXPECT_EQ(scene.DrawStrokes(), (Strings{"M 10 49", "L 11 49"}));
}

TEST(LineStyle, CentredDashShorterThanAPeriodIsSolid) {
    StyledScene scene(kCentred, {5, -5});
    scene.Add<CKXLine>(CFltPoint{0, 50}, CFltPoint{8, 50});
    EXPECT_EQ(scene.DrawStrokes(), (Strings{"M 0 50", "L 8 50"}));
}

TEST(LineStyle, CentredDashLeavesEqualSolidEnds) {
    StyledScene scene(kCentred, {5, -5});
    scene.Add<CKXLine>(CFltPoint{0, 50}, CFltPoint{25, 50});
    // Two periods in the middle, 2.5 units solid at each end; the pattern
    // starts half-way into its first dash.
    EXPECT_EQ(scene.DrawStrokes(), (Strings{"M 0 50", "L 2 50", "L 5 50", "M 10 50", "M 10 50",
                                            "L 15 50", "M 20 50", "M 20 50", "L 22 50", "M 22 50",
                                            "L 25 50"}));
}

TEST(LineStyle, ZoomedFarOutTheStyleIsDrawnSolid) {
    StyledScene scene(kDash, {5, -5});
    scene.Add<CKXLine>(CFltPoint{0, 50}, CFltPoint{10000, 50});
    // 0.01 device units per drawing unit: the 5-unit gaps shrink under a unit.
    EXPECT_EQ(scene.DrawStrokes(CFltExtents(0, 0, 10000, 10000)), (Strings{"M 0 99", "L 100 99"}));
}

TEST(LineStyle, PatternsWithoutLengthOrGapsAreSolid) {
    StyledScene dots(kDash, {0, 0});
    dots.Add<CKXLine>(CFltPoint{0, 50}, CFltPoint{30, 50});
    EXPECT_EQ(dots.DrawStrokes(), (Strings{"M 0 50", "L 30 50"}));
    StyledScene noGap(kDash, {5, 0, 5});
    noGap.Add<CKXLine>(CFltPoint{0, 50}, CFltPoint{30, 50});
    EXPECT_EQ(noGap.DrawStrokes(), (Strings{"M 0 50", "L 30 50"}));
}

// A by-layer value without a current layer stops the whole attribute set,
// wherever it stands in the record: the line style in it is then not
// installed, also when the stop comes from the weight, after the line style.
TEST(LineStyle, SetStoppedByAMissingLayerInstallsNoStyle) {
    for (const CKXAttribute& record :
         {CKXAttribute{0, KX_BYLAYER, 0, 0}, CKXAttribute{0, 0, 0, KX_BYLAYER}}) {
        Scene scene;
        const int style = scene.Style(kDash, {5, -5});
        CKXAttribute styled = record;
        styled.lineStyle = style;
        scene.Attrib(styled.layer, styled.color, styled.lineStyle, styled.weight);
        scene.Add<CKXLine>(CFltPoint{0, 50}, CFltPoint{23, 50});
        scene.Finish(CFltExtents(0, 0, 100, 100));
        EXPECT_EQ(Strokes(scene.DrawUnit()), (Strings{"M 0 50", "L 23 50"}))
            << "colour " << record.color << ", weight " << record.weight;
    }
    // With a current layer the same set applies in full and the line is dashed.
    Scene scene;
    const int layer = scene.Layer(1);
    const int style = scene.Style(kDash, {5, -5});
    scene.Attrib(layer, 0, 0, 0);
    scene.Attrib(0, 0, style, KX_BYLAYER);
    scene.Add<CKXLine>(CFltPoint{0, 50}, CFltPoint{23, 50});
    scene.Finish(CFltExtents(0, 0, 100, 100));
    EXPECT_EQ(Strokes(scene.DrawUnit()).size(), 8u);
}

TEST(LineStyle, PolylineCarriesThePhaseAcrossVertices) {
    StyledScene scene(kDash, {5, -5});
    scene.Add<CKXPolyline>(std::vector<CFltPoint>{{0, 50}, {12, 50}, {23, 50}});
    EXPECT_EQ(scene.DrawStrokes(), (Strings{"M 0 50", "L 5 50", "M 10 50", "M 10 50", "L 12 50",
                                            "L 15 50", "M 20 50", "M 20 50", "L 23 50"}));
}

TEST(LineStyle, ClosedPolylineUnderCentringIsWalkedContinuously) {
    const std::vector<CFltPoint> square{{10, 10}, {40, 10}, {40, 40}, {10, 40}, {10, 10}};
    StyledScene centred(kCentred, {5, -3});
    centred.Add<CKXPolyline>(square);
    StyledScene plain(kDash, {5, -3});
    plain.Add<CKXPolyline>(square);
    EXPECT_EQ(centred.DrawStrokes(), plain.DrawStrokes());
}

TEST(LineStyle, OpenPolylineUnderCentringStartsWithTheLeftover) {
    StyledScene scene(kCentred, {5, -5});
    scene.Add<CKXPolyline>(std::vector<CFltPoint>{{0, 50}, {12, 50}, {25, 50}});
    const Strings strokes = scene.DrawStrokes();
    ASSERT_GE(strokes.size(), 3u);
    EXPECT_EQ(strokes[0], "M 0 50");
    EXPECT_EQ(strokes[1], "L 2 50");  // (25 - 2 x 10) / 2, rounded
    EXPECT_EQ(strokes[2], "L 5 50");  // half-way into the first dash
}

TEST(LineStyle, EverySegmentCentredByItself) {
    StyledScene scene(kEachCentred, {5, -5});
    scene.Add<CKXPolyline>(std::vector<CFltPoint>{{0, 50}, {8, 50}, {8, 76}});
    const Strings strokes = scene.DrawStrokes();
    // The first segment is too short for a period and is solid.
    ASSERT_GE(strokes.size(), 3u);
    EXPECT_EQ(strokes[1], "L 8 50");
    EXPECT_EQ(strokes[2], "L 8 47");  // 26 units: two periods, 3 solid at each end
}

TEST(LineStyle, LinesFarBeyondTheDeviceAreWalkedOnlyNearIt) {
    StyledScene scene(kDash, {5, -5});
    scene.Add<CKXLine>(CFltPoint{-1e9, 50}, CFltPoint{1e9, 50});
    const Strings strokes = scene.DrawStrokes();
    EXPECT_LT(strokes.size(), 200u);
    // The dashes on the device are where a full walk from -1e9 puts them.
    bool sawDashAt0 = false;
    for (std::size_t i = 1; i < strokes.size(); ++i)
        if (strokes[i - 1] == "M 0 50" && strokes[i] == "L 5 50") sawDashAt0 = true;
    EXPECT_TRUE(sawDashAt0);
}

TEST(LineStyle, PatternScalingIsCachedPerFactor) {
    KXLineStyleExt style;
    style.kind = kDash;
    style.elements = {5, -5};
    style.count = 2;
    style.patternLength = 10;
    CKXLineStyleWalker::Rescale(style, 2.0);
    ASSERT_EQ(style.scaledElements.size(), 2u);
    EXPECT_DOUBLE_EQ(style.scaledElements[1], -10.0);
    style.scaledElements[0] = 99.0;  // untouched when the factor does not change
    CKXLineStyleWalker::Rescale(style, 2.0 + 1e-8);
    EXPECT_DOUBLE_EQ(style.scaledElements[0], 99.0);
    CKXLineStyleWalker::Rescale(style, 3.0);
    EXPECT_DOUBLE_EQ(style.scaledElements[0], 15.0);
    // Factor 0 asks for a 100-unit period.
    CKXLineStyleWalker::Rescale(style, 0.0);
    EXPECT_DOUBLE_EQ(style.scaledLength, 100.0);
    CKXLineStyleWalker::Rescale(style, -1.0);
    EXPECT_TRUE(style.scaledElements.empty());
}

// A non-positive factor (a set with a negative line-style scale) drops the
// scaled pattern; the factor that built it before must build it again, not
// find it "cached" and draw the style solid from then on.
TEST(LineStyle, PatternDroppedForANonPositiveFactorComesBack) {
    KXLineStyleExt style;
    style.kind = kDash;
    style.elements = {5, -5};
    style.count = 2;
    style.patternLength = 10;
    CKXLineStyleWalker::Rescale(style, 2.0);
    ASSERT_EQ(style.scaledElements.size(), 2u);
    CKXLineStyleWalker::Rescale(style, -2.0);
    EXPECT_TRUE(style.scaledElements.empty());
    CKXLineStyleWalker::Rescale(style, 2.0);
    ASSERT_EQ(style.scaledElements.size(), 2u);
    EXPECT_DOUBLE_EQ(style.scaledElements[0], 10.0);

    // The same through the stream: dashed, reversed scale (solid), dashed.
    StyledScene scene(kDash, {5, -5});
    scene.Add<CKXLine>(CFltPoint{0, 50}, CFltPoint{23, 50});
    scene.Attrib(0, 0, 1, 0, -1.0);
    scene.Add<CKXLine>(CFltPoint{0, 40}, CFltPoint{23, 40});
    scene.Attrib(0, 0, 1, 0, 1.0);
    scene.Add<CKXLine>(CFltPoint{0, 30}, CFltPoint{23, 30});
    const Strings strokes = scene.DrawStrokes();
    const Strings dashedAt70{"M 0 70", "L 5 70", "M 10 70", "M 10 70", "L 15 70",
                             "M 20 70", "M 20 70", "L 23 70"};
    ASSERT_GE(strokes.size(), dashedAt70.size());
    EXPECT_EQ(Strings(strokes.end() - static_cast<std::ptrdiff_t>(dashedAt70.size()), strokes.end()),
              dashedAt70);
}

TEST(LineStyle, MillionVertexStyledPolylineFinishes) {
    Scene scene;
    scene.Attrib(0, 0, scene.Style(kDash, {3, -2}), 0);
    std::vector<CFltPoint> points;
    points.reserve(1000000);
    for (int i = 0; i < 1000000; ++i) points.push_back({(i % 1000) * 0.1, (i / 1000) * 0.1});
    scene.Add<CKXPolyline>(std::move(points));
    scene.Finish(CFltExtents(0, 0, 100, 100));
    HDC dc = KXCreateRasterDC(200, 200, 0xFFFFFF);
    KXDrawRequest request{0, RECT{0, 0, 200, 200}, 0, 0, 100, 100, dc};
    CKXDocRenderer(scene.doc).DrawRequest(request);
    EXPECT_EQ(KXGetRasterPixel(dc, 0, 199), 0u);
    DeleteDC(dc);
}

}  // namespace

namespace {

using namespace rendertest;

TEST(LineStyle, AContextKeepsItsOwnScaleOfASharedStyle) {
    KXLineStyleExt style;
    style.kind = KXLineStyleExt::kDashPattern;
    style.elements = {5, -5};
    style.count = 2;
    style.patternLength = 10;
    CKXConverter outer;
    outer.SetDeviceRect(RECT{0, 0, 100, 100});
    outer.SetWindow(CFltExtents(0, 0, 100, 100));
    ASSERT_TRUE(outer.Validate());
    outer.SetLineStyle(&style, 1.0);
    CKXConverter inner(outer);  // e.g. block content with a scaled style
    inner.SetLineStyle(&style, 2.0);
    EXPECT_DOUBLE_EQ(style.scaledElements[0], 10.0);

    HDC dc = KXCreateRecordingDC();
    CKXLine line({0, 50}, {23, 50});
    line.Draw(dc, outer);
    const auto strokes = Strokes(kxplatform::RecordedCalls(dc));
    ASSERT_GE(strokes.size(), 2u);
    EXPECT_EQ(strokes[1], "L 5 50");
    DeleteDC(dc);
}

}  // namespace
