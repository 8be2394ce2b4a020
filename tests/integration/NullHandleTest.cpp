// Every export called with a null document or view handle does nothing and
// returns its null result: 0, or -1 for the two "current index" queries, or
// 1 for the three calls that always succeed. Each is called once with
// well-formed arguments and once with null pointers wherever it takes one.
#include <korvex/kxcore.h>
#include <kxplatform/wintypes.h>

#include <gtest/gtest.h>

namespace {

constexpr KXDOC kNoDoc = nullptr;
constexpr KXVIEW kNoView = nullptr;

struct Arguments {
    double point[2] = {1.0, 2.0};
    double axis[2] = {3.0, 0.0};
    double z = 0.0;
    double axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    KXPoint points[3] = {{0, 0}, {1, 1}, {2, 0}};
    double knots[7] = {0, 0, 0, 0.5, 1, 1, 1};
    double weights[3] = {1, 1, 1};
    tagKXEntAttrib entAttrib{};
    tagKXAttrib attrib{};
    tagKXLayer layer{"WALLS", 0, 0, 1, 0, 0, 0};
    double dashes[2] = {1.0, -0.5};
    tagKXLineStyle lineStyle{0, 2, dashes};
    tagKXBlockDef block{};
    tagKXInsert insert{0, 0, 0, 1, 1};
    tagKXText text{};
    KXPatternRecord pattern{};
    KXDrawRequest draw{};
    RECT rect{0, 0, 100, 100};
    KXPropertyPair pairs[4]{};
    char name[512] = "";
    int indexes[2] = {0, 1};
    const char* layerName = nullptr;
    int state = 0;
    COLORREF color = 0;
};

void ExpectDocumentCallsReturnNull(Arguments* a) {
    const bool valid = a != nullptr;
    Arguments storage;
    Arguments& s = valid ? *a : storage;
    const auto p = [valid](auto* pointer) { return valid ? pointer : nullptr; };

    EXPECT_EQ(KXRead(kNoDoc, p("plan.dxf"), p("dxfin")), 0);
    EXPECT_EQ(KXClose(kNoDoc, 0), 0);
    EXPECT_EQ(KXGetInfo(nullptr), 1);
    EXPECT_EQ(KXDraw(kNoDoc, p(&s.draw)), 0);
    EXPECT_EQ(KXWrite(kNoDoc, p("out.pdb")), 0);
    KXDeleteDocInstance(kNoDoc);
    EXPECT_EQ(KXAddLine(kNoDoc, p(s.point), p(s.axis), p(&s.entAttrib), p(&s.z)), 0);
    EXPECT_EQ(KXAddPolyline(kNoDoc, p(s.points), 3, p(&s.entAttrib), p(&s.z)), 0);
    EXPECT_EQ(KXAddCircle(kNoDoc, p(s.point), 1.0, p(&s.entAttrib), p(&s.z)), 0);
    EXPECT_EQ(KXAddEllipse(kNoDoc, p(s.point), p(s.axis), 0.5, p(&s.entAttrib), p(&s.z)), 0);
    EXPECT_EQ(KXAddArc(kNoDoc, p(s.point), 1.0, 0.0, 1.0, p(&s.entAttrib), p(&s.z)), 0);
    EXPECT_EQ(KXAddEllipticArc(kNoDoc, p(s.point), p(s.axis), 0.5, 0.0, 1.0, p(&s.entAttrib), p(&s.z)), 0);
    EXPECT_EQ(KXAddRegion(nullptr), 1);
    EXPECT_EQ(KXClipRgnCreate(kNoDoc), 0);
    EXPECT_EQ(KXClipRgnAdd(kNoDoc, 1, p(s.points), 3), 0);
    EXPECT_EQ(KXClipRgnAddCircle(kNoDoc, 1, p(s.point), 1.0), 0);
    EXPECT_EQ(KXClipRgnSet(kNoDoc, 1, 0), 0);
    EXPECT_EQ(KXStartBlock(kNoDoc, p(&s.block)), 0);
    EXPECT_EQ(KXEndBlock(kNoDoc), 0);
    EXPECT_EQ(KXInsertBlock(kNoDoc, 1, p(&s.insert), p(&s.z)), 0);
    EXPECT_EQ(KXInsertBlockStr(kNoDoc, p("BLOCK"), p(&s.insert), p(&s.z)), 0);
    const KXTextExtents extents = KXAddText(kNoDoc, p("text"), p(&s.text));
    EXPECT_EQ(extents.xmin, 0.0);
    EXPECT_EQ(extents.ymin, 0.0);
    EXPECT_EQ(extents.xmax, 0.0);
    EXPECT_EQ(extents.ymax, 0.0);
    EXPECT_EQ(KXHatchCreate(kNoDoc), nullptr);
    EXPECT_EQ(KXHatchCreatePattern(kNoDoc, p(&s.pattern)), 0);
    EXPECT_EQ(KXHatchAddPattern(kNoDoc, nullptr, 1), 0);
    EXPECT_EQ(KXHatchSetClipRgn(kNoDoc, nullptr, 1), 0);
    EXPECT_EQ(KXAttribColor(kNoDoc, 0x0000FF), 0);
    EXPECT_EQ(KXAttribLineStyle(kNoDoc, p(&s.lineStyle)), 0);
    EXPECT_EQ(KXAttribLayer(kNoDoc, p(&s.layer)), 0);
    EXPECT_EQ(KXAttribSet(kNoDoc, p(&s.attrib)), 0);
    EXPECT_EQ(KXAttribGet(kNoDoc, p(&s.attrib)), 0);
    EXPECT_EQ(KXCreatePath(kNoDoc), 0);
    EXPECT_EQ(KXPathAddPolyline(kNoDoc, 1, p(s.points), 3, p(&s.z)), 0);
    EXPECT_EQ(KXPathAddCircleArc(kNoDoc, 1, p(s.point), 1.0, 0.0, 1.0, 0, p(&s.z)), 0);
    EXPECT_EQ(KXPathAddEllipticArc(kNoDoc, 1, p(s.point), p(s.axis), 0.5, 0.0, 1.0, 0, p(&s.z)), 0);
    EXPECT_EQ(KXPathAddSpline(kNoDoc, 1, 3, p(s.points), 3, p(s.knots), 7, p(s.weights), 0, p(&s.z)), 0);
    EXPECT_EQ(KXClipRgnAddPath(kNoDoc, 1, 1), 0);
    EXPECT_EQ(KXAddSpline(kNoDoc, 3, p(s.points), 3, p(s.knots), 7, p(s.weights), 0, p(&s.entAttrib),
                          p(&s.z)),
              0);
    EXPECT_EQ(KXAddLayout(kNoDoc, p("Model space")), -1);
    EXPECT_EQ(KXGetCurrentLayout(kNoDoc), -1);
    KXSetCurrentLayout(kNoDoc, 1);
    EXPECT_EQ(KXGetNumLayouts(kNoDoc), 0);
    EXPECT_EQ(KXGetLayout(kNoDoc, 0, p(s.name)), 0);
    EXPECT_EQ(KXGetNumLayers(kNoDoc), 0);
    EXPECT_EQ(KXGetLayer(kNoDoc, 1, p(&s.layerName), p(&s.state), p(&s.color)), 0);
    EXPECT_EQ(KXSetLayer(kNoDoc, 1, 0), 0);
    EXPECT_EQ(KXGetLayerInitial(kNoDoc, 1, p(&s.state)), 0);
    KXSetDisplayMode(kNoDoc, 1);
    EXPECT_EQ(KXGetDisplayMode(kNoDoc), 0);
    KXSetFgColor(kNoDoc, 0xFFFFFF);
    KXSetBgColor(kNoDoc, 0);
    KXAddProperty(kNoDoc, p("Title"), p("Plan"));
    EXPECT_EQ(KXGetProperties(kNoDoc, p(s.pairs)), 0);
    EXPECT_EQ(KXGetNumProperties(kNoDoc), 0);
    KXPushCoordSys3D(kNoDoc, p(s.axes));
    KXPopCoordSys3D(kNoDoc);
}

void ExpectViewCallsReturnNull(Arguments* a) {
    const bool valid = a != nullptr;
    Arguments storage;
    Arguments& s = valid ? *a : storage;
    const auto p = [valid](auto* pointer) { return valid ? pointer : nullptr; };

    // A view may show no document: it is made, and its calls do nothing.
    KXVIEW empty = KXCreateView(kNoDoc, nullptr, 0);
    EXPECT_NE(empty, nullptr);
    KXViewZoom(empty, 2.0);
    EXPECT_EQ(KXViewBkwZoomAvailable(empty), 0);
    KXViewDelete(empty);
    KXViewShow(kNoView);
    KXViewSetDoc(kNoView, kNoDoc);
    KXViewSetDocDelete(kNoView, 1);
    KXViewCreateTool(kNoView, 2);
    KXViewZoom(kNoView, 2.0);
    KXViewZoomAll(kNoView);
    KXViewBkwZoom(kNoView);
    KXViewFrwZoom(kNoView);
    EXPECT_EQ(KXViewBkwZoomAvailable(kNoView), 0);
    EXPECT_EQ(KXViewFrwZoomAvailable(kNoView), 0);
    EXPECT_EQ(KXViewBmkSet(kNoView, p("first")), 0);
    EXPECT_EQ(KXViewBmkGetSize(kNoView), 0);
    EXPECT_EQ(KXViewBmkGetMaxSize(kNoView), 0);
    EXPECT_EQ(KXViewBmkGoNext(kNoView, p(s.name)), 0);
    EXPECT_EQ(KXViewBmkNextAvailable(kNoView), 0);
    EXPECT_EQ(KXViewBmkGoPrev(kNoView, p(s.name)), 0);
    EXPECT_EQ(KXViewBmkPrevAvailable(kNoView), 0);
    EXPECT_EQ(KXViewBmkGetName(kNoView, 0, p(s.name)), 0);
    EXPECT_EQ(KXViewBmkGoto(kNoView, 0), 0);
    EXPECT_EQ(KXViewBmkGetCurrent(kNoView), -1);
    KXViewBmkRemove(kNoView, p(s.indexes), 2);
    KXViewRefresh(kNoView);
    KXViewDrawDC(kNoView, nullptr, p(&s.rect));
    EXPECT_EQ(KXViewBmkRename(kNoView, 0, p("renamed")), 1);
    KXViewDelete(kNoView);
}

TEST(NullHandle, DocumentExportsReturnTheirNullResult) {
    Arguments arguments;
    ExpectDocumentCallsReturnNull(&arguments);
}

TEST(NullHandle, DocumentExportsWithNullArgumentsToo) {
    ExpectDocumentCallsReturnNull(nullptr);
}

TEST(NullHandle, ViewExportsReturnTheirNullResult) {
    Arguments arguments;
    ExpectViewCallsReturnNull(&arguments);
    ExpectViewCallsReturnNull(nullptr);
}

}  // namespace
