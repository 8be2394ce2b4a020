// The draw traversal: quadtree culling, document order, attribute sets,
// layer visibility and marker groups, pens and display modes.
#include <gtest/gtest.h>

#include <korvex/kxdraw.h>

#include "CKXLine.h"
#include "CKXMarker.h"
#include "CKXPolyline.h"
#include "RenderTestSupport.h"
#include "render/CKXConverter.h"
#include "render/CKXDrawState.h"
#include "render/KXEntityDraw.h"

namespace {

using namespace rendertest;

constexpr int kVisible = 1;
constexpr int kHidden = 0;

// A line per y value, so the strokes tell which were drawn.
void AddMarkedLine(Scene& scene, int y) {
    scene.Add<CKXLine>(CFltPoint{10, double(y)}, CFltPoint{20, double(y)});
}

std::vector<int> DrawnRows(const std::vector<GdiCall>& calls) {
    std::vector<int> rows;
    for (const GdiCall& c : Only(calls, GdiOp::MoveTo)) rows.push_back(100 - c.y);
    return rows;
}

TEST(DocRenderer, WithoutAttributeSetsTheCallersPenDrawsEverything) {
    Scene scene;
    AddMarkedLine(scene, 10);
    scene.Add<CKXPolyline>(std::vector<CFltPoint>{{30, 30}});
    scene.Finish(CFltExtents(0, 0, 100, 100));
    const auto calls = scene.DrawUnit();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().op, GdiOp::SetBkColor);
    EXPECT_EQ(calls.front().color, 0xFFFFFFu);
    EXPECT_TRUE(Only(calls, GdiOp::SelectPen).empty());
    EXPECT_EQ(Strokes(calls), (std::vector<std::string>{"M 10 90", "L 20 90", "M 30 70", "L 31 70"}));
}

TEST(DocRenderer, PolylineCollapsedToOneDevicePointOnlyMoves) {
    Scene scene;
    scene.Add<CKXPolyline>(std::vector<CFltPoint>{{30.1, 30.1}, {30.2, 30.3}, {30.4, 30.2}});
    scene.Finish(CFltExtents(0, 0, 100, 100));
    EXPECT_EQ(Strokes(scene.DrawUnit()), (std::vector<std::string>{"M 30 69"}));
}

TEST(DocRenderer, HiddenLayerStopsDrawingUntilAVisibleLayer) {
    Scene scene;
    const int shown = scene.Layer(kVisible);
    const int hidden = scene.Layer(kHidden);
    scene.Attrib(hidden, 0, 0, 0);
    AddMarkedLine(scene, 1);
    scene.Attrib(shown, 0, 0, 0);
    AddMarkedLine(scene, 2);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    EXPECT_EQ(DrawnRows(scene.DrawUnit()), (std::vector<int>{2}));
}

TEST(DocRenderer, MarkerGroupBegunWhileHiddenStaysHidden) {
    Scene scene;
    const int shown = scene.Layer(kVisible);
    const int hidden = scene.Layer(kHidden);
    scene.Attrib(hidden, 0, 0, 0);
    scene.Add<CKXMarker>(CKXMarker::kOpen);
    scene.Attrib(shown, 0, 0, 0);  // cannot switch drawing on inside the group
    AddMarkedLine(scene, 1);
    scene.Add<CKXMarker>(CKXMarker::kClose);
    AddMarkedLine(scene, 2);        // drawing stays off after the group
    scene.Attrib(hidden, 0, 0, 0);
    scene.Attrib(shown, 0, 0, 0);   // now it comes back
    AddMarkedLine(scene, 3);
    scene.Add<CKXMarker>(CKXMarker::kClose);  // unbalanced close: harmless
    AddMarkedLine(scene, 4);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    EXPECT_EQ(DrawnRows(scene.DrawUnit()), (std::vector<int>{3, 4}));
}

// A group only counts when it begins while drawing is off.
TEST(DocRenderer, MarkerGroupBegunWhileVisibleDoesNotBlock) {
    Scene scene;
    const int shown = scene.Layer(kVisible);
    const int hidden = scene.Layer(kHidden);
    scene.Add<CKXMarker>(CKXMarker::kOpen);
    AddMarkedLine(scene, 1);
    scene.Attrib(hidden, 0, 0, 0);
    AddMarkedLine(scene, 2);
    scene.Attrib(shown, 0, 0, 0);
    AddMarkedLine(scene, 3);
    scene.Add<CKXMarker>(CKXMarker::kClose);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    EXPECT_EQ(DrawnRows(scene.DrawUnit()), (std::vector<int>{1, 3}));
}

TEST(DocRenderer, OnePenPerAttributeChangeAndTheCallersPenComesBack) {
    Scene scene;
    const int red = scene.doc.Attribs().AddColor(RGB(255, 0, 0));
    const int green = scene.doc.Attribs().AddColor(RGB(0, 255, 0));
    scene.Attrib(0, red, 0, 3);
    AddMarkedLine(scene, 1);
    AddMarkedLine(scene, 2);
    scene.Attrib(0, green, 0, 0);
    AddMarkedLine(scene, 3);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    const int before = KXGdiObjectCount();
    const auto pens = Only(scene.DrawUnit(), GdiOp::SelectPen);
    ASSERT_EQ(pens.size(), 3u);
    EXPECT_EQ(pens[0].pen.lopnColor, RGB(255, 0, 0));
    EXPECT_EQ(pens[0].pen.lopnWidth.x, 3);
    EXPECT_EQ(pens[1].pen.lopnColor, RGB(0, 255, 0));
    EXPECT_TRUE(pens[2].stockPen);
    EXPECT_EQ(KXGdiObjectCount(), before);
}

TEST(DocRenderer, MonochromeUsesTheContrastColour) {
    for (COLORREF background : {COLORREF{0x000000}, COLORREF{0xFFFFFF}}) {
        Scene scene;
        const int red = scene.doc.Attribs().AddColor(RGB(255, 0, 0));
        scene.Attrib(0, red, 0, 0);
        AddMarkedLine(scene, 1);
        scene.Finish(CFltExtents(0, 0, 100, 100));
        KXSetDisplayMode(&scene.doc, 32);
        KXSetBgColor(&scene.doc, background);
        EXPECT_EQ(KXGetDisplayMode(&scene.doc), 32);
        const auto calls = scene.DrawUnit();
        EXPECT_EQ(calls.front().color, background);
        const auto pens = Only(calls, GdiOp::SelectPen);
        ASSERT_EQ(pens.size(), 2u);
        EXPECT_EQ(pens[0].pen.lopnColor, background == 0 ? 0xFFFFFFu : 0x000000u);
    }
}

TEST(DocRenderer, NoLineWeightsMakesThinPensAndNoLineStylesDrawsSolid) {
    Scene scene;
    const int style = scene.Style(KXLineStyleExt::kDashPattern, {5, -5});
    scene.Attrib(0, scene.doc.Attribs().AddColor(RGB(1, 2, 3)), style, 7);
    scene.Add<CKXLine>(CFltPoint{0, 50}, CFltPoint{30, 50});
    scene.Finish(CFltExtents(0, 0, 100, 100));
    KXSetDisplayMode(&scene.doc, 4 | 2);
    const auto calls = scene.DrawUnit();
    EXPECT_EQ(Only(calls, GdiOp::SelectPen).front().pen.lopnWidth.x, 0);
    EXPECT_EQ(Strokes(calls), (std::vector<std::string>{"M 0 50", "L 30 50"}));
    KXSetDisplayMode(&scene.doc, 0);
    EXPECT_GT(Strokes(scene.DrawUnit()).size(), 2u);
}

TEST(DocRenderer, QuadtreeQueryLeavesOutEntitiesOutsideTheWindow) {
    Scene scene;
    scene.Add<CKXLine>(CFltPoint{1, 1}, CFltPoint{2, 2});
    scene.Add<CKXLine>(CFltPoint{900, 900}, CFltPoint{901, 901});
    scene.Add<CKXLine>(CFltPoint{0, 0}, CFltPoint{1000, 1000});  // spans the root cell
    scene.Finish(CFltExtents(0, 0, 1000, 1000));
    const auto calls = scene.Draw(RECT{0, 0, 100, 100}, CFltExtents(0, 0, 100, 100));
    EXPECT_EQ(Only(calls, GdiOp::MoveTo).size(), 2u);
    const auto strokes = Strokes(calls);
    EXPECT_EQ(strokes[0], "M 1 99");  // document order
}

TEST(DocRenderer, UnfinishedDocumentsAndBadRequestsDrawNothing) {
    Scene scene;
    AddMarkedLine(scene, 1);  // never finished: no quadtree
    EXPECT_TRUE(Strokes(scene.DrawUnit()).empty());

    scene.Finish(CFltExtents(0, 0, 100, 100));
    HDC dc = KXCreateRecordingDC();
    KXDrawRequest request{0, RECT{0, 0, 0, 100}, 0, 0, 100, 100, dc};
    EXPECT_EQ(KXDraw(&scene.doc, &request), 1);
    request.device = RECT{0, 0, 100, 100};
    request.xmax = request.xmin + 1e-9;
    EXPECT_EQ(KXDraw(&scene.doc, &request), 1);
    EXPECT_TRUE(kxplatform::RecordedCalls(dc).empty());
    EXPECT_EQ(KXDraw(nullptr, &request), 0);
    EXPECT_EQ(KXDraw(&scene.doc, nullptr), 0);
    // A point window shows a 2 x 2 square around the point.
    request.xmin = request.xmax = 10;
    request.ymin = request.ymax = 1;
    EXPECT_EQ(KXDraw(&scene.doc, &request), 1);
    EXPECT_FALSE(Strokes(kxplatform::RecordedCalls(dc)).empty());
    DeleteDC(dc);
}

TEST(DocRenderer, ViewDrawShrinksTheRectangle) {
    Scene scene;
    AddMarkedLine(scene, 1);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    HDC dc = KXCreateRecordingDC();
    RECT rect{0, 0, 102, 102};
    CKXDrawState state;
    CKXDocRenderer(scene.doc).DrawView(dc, rect, CFltExtents(0, 0, 100, 100), state);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.top, 1);
    EXPECT_EQ(rect.right, 101);
    EXPECT_EQ(rect.bottom, 101);
    EXPECT_EQ(Strokes(kxplatform::RecordedCalls(dc)).front(), "M 11 100");
    DeleteDC(dc);
}

TEST(DocRenderer, DetailBandsSkipFlaggedEntities) {
    const double thresholds[3] = {0.1, 1.0, 10.0};
    EXPECT_TRUE(CKXDocRenderer::PassesDetail(20.0, thresholds, 7));  // above t3
    EXPECT_TRUE(CKXDocRenderer::PassesDetail(0.0, thresholds, 7));
    EXPECT_FALSE(CKXDocRenderer::PassesDetail(0.05, thresholds, 1));
    EXPECT_TRUE(CKXDocRenderer::PassesDetail(0.05, thresholds, 6));
    EXPECT_FALSE(CKXDocRenderer::PassesDetail(0.5, thresholds, 2));
    EXPECT_FALSE(CKXDocRenderer::PassesDetail(5.0, thresholds, 4));
    const double none[3] = {0, 0, 0};
    EXPECT_TRUE(CKXDocRenderer::PassesDetail(5.0, none, 7));
}

}  // namespace

namespace {

using namespace rendertest;

TEST(DocRenderer, DarkBackgroundTurnsColourEntryOneWhite) {
    Scene scene;
    scene.doc.Attribs().AddColor(0x000000);
    const int red = scene.doc.Attribs().AddColor(RGB(255, 0, 0));
    KXSetBgColor(&scene.doc, RGB(10, 20, 30));
    EXPECT_EQ(scene.doc.Attribs().Color(1), 0xFFFFFFu);
    EXPECT_EQ(scene.doc.Attribs().Color(red), RGB(255, 0, 0));
    KXSetBgColor(&scene.doc, RGB(200, 200, 200));
    EXPECT_EQ(scene.doc.Attribs().Color(1), 0x000000u);
    KXSetFgColor(&scene.doc, 0x123456);
    EXPECT_EQ(scene.doc.GetFgColor(), 0x123456u);
    KXSetBgColor(nullptr, 0);  // ignored
    EXPECT_EQ(KXGetDisplayMode(nullptr), 0);
}

TEST(DocRenderer, DetailMasksCullInTheirScaleBand) {
    Scene scene;
    AddMarkedLine(scene, 1);
    AddMarkedLine(scene, 2);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    double* thresholds = scene.doc.DetailThresholds();
    thresholds[0] = 0.5;
    thresholds[1] = 2.0;
    thresholds[2] = 4.0;
    scene.doc.DetailMasks() = {2u};  // the first line is too small in band 2 (scale 1)
    EXPECT_EQ(DrawnRows(scene.DrawUnit()), (std::vector<int>{2}));
}

TEST(DocRenderer, RedrawAtTheSameZoomDoesNoScalingWork) {
    Scene scene;
    scene.Attrib(0, 0, scene.Style(KXLineStyleExt::kDashPattern, {5, -5}), 0);
    AddMarkedLine(scene, 1);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    scene.DrawUnit();
    KXLineStyleExt* style = scene.doc.Attribs().LineStyle(1);
    ASSERT_EQ(style->scaledElements.size(), 2u);
    style->scaledElements[0] = 5.5;  // a rebuild would restore 5
    scene.DrawUnit();
    EXPECT_DOUBLE_EQ(style->scaledElements[0], 5.5);
    scene.Draw(RECT{0, 0, 100, 100}, CFltExtents(0, 0, 50, 50));
    EXPECT_DOUBLE_EQ(style->cachedFactor, 2.0);
}

}  // namespace

namespace {

using namespace rendertest;

TEST(DocRenderer, PlacedContentDrawsThroughAnExtendedCopyAndRestoresAttributes) {
    Scene scene;
    const int red = scene.doc.Attribs().AddColor(RGB(255, 0, 0));
    scene.Finish(CFltExtents(0, 0, 100, 100));
    KXEntList content;
    content.push_back(std::make_unique<CKXAttribSet>(
        scene.doc.Attribs().FindOrAddRecord(CKXAttribute{0, red, 0, 0}), 1.0));
    content.push_back(std::make_unique<CKXLine>(CFltPoint{0, 0}, CFltPoint{10, 0}));
    CTransf2D placement;
    placement.Scale(2, 2);
    placement.Translate(20, 50);

    HDC dc = KXCreateRecordingDC();
    CKXConverter rc;
    rc.SetDeviceRect(RECT{0, 0, 100, 100});
    rc.SetWindow(CFltExtents(0, 0, 100, 100));
    ASSERT_TRUE(rc.Validate());
    rc.SetDoc(&scene.doc);
    CKXDrawState state;
    state.Begin(scene.doc.Attribs());
    rc.SetDrawState(&state);
    const CKXAttribute before = state.Current();
    kxdraw::DrawPlaced(content, placement, dc, rc);
    EXPECT_EQ(state.Current(), before);
    EXPECT_TRUE(rc.GetTransform().IsIdentity());
    EXPECT_EQ(Strokes(kxplatform::RecordedCalls(dc)), (std::vector<std::string>{"M 20 50", "L 40 50"}));
    state.End(dc);
    DeleteDC(dc);
}

}  // namespace
