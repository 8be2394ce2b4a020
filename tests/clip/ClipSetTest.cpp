// Clip-region levels, clip-set flags and clip stacks, at draw time and in
// the stream clipping of KXClose.
#include <gtest/gtest.h>

#include "../render/RenderTestSupport.h"
#include "ClipTestSupport.h"
#include "render/clip/CKXClipRgnSet.h"
#include "render/clip/CKXClipSet.h"
#include "render/clip/CKXClipStack.h"

using namespace cliptest;

namespace {

// Pieces of a line through every active region of the set.
std::vector<Piece> ThroughSet(CKXClipRgnSet& set, CFltPoint a, CFltPoint b) {
    KXEntList out;
    set.ClipThrough(CKXLine(a, b), out);
    std::vector<Piece> pieces;
    for (const KXEntPtr& e : out) {
        const auto& l = static_cast<const CKXLine&>(*e);
        pieces.push_back({l.GetStart(), l.GetEnd()});
    }
    return pieces;
}

}  // namespace

TEST(ClipRgnSet, NestedLevelsIntersectAndPopRestores) {
    Doc doc;
    const int a = RegionOf(doc, {Square(0, 0, 10, 10)});
    const int b = RegionOf(doc, {Square(20, 0, 30, 10)});
    CKXClipRgnSet& set = *(*doc).GetClipRgnSet();
    ASSERT_TRUE(set.AddRegion(a));
    EXPECT_TRUE((*doc).IsClipActive());
    EXPECT_EQ(ThroughSet(set, {2, 5}, {8, 5}).size(), 1u);
    set.Push();
    ASSERT_TRUE(set.AddRegion(b));
    // Inside A, outside B: not drawn.
    EXPECT_TRUE(ThroughSet(set, {2, 5}, {8, 5}).empty());
    EXPECT_EQ(set.Depth(), 1);
    set.Pop();
    EXPECT_EQ(ThroughSet(set, {2, 5}, {8, 5}).size(), 1u);
    // Popping the base level does nothing.
    set.Pop();
    set.Pop();
    EXPECT_EQ(set.Depth(), 0);
    EXPECT_FALSE(set.IsEmpty());
    set.Reset();
    EXPECT_TRUE(set.IsEmpty());
    EXPECT_FALSE((*doc).IsClipActive());
    // Without regions a line is copied whole.
    EXPECT_EQ(ThroughSet(set, {2, 5}, {80, 5}).size(), 1u);
}

TEST(ClipRgnSet, ReplaceAfterTwoAddsLeavesOnlyItsRegion) {
    Doc doc;
    const int a = RegionOf(doc, {Square(0, 0, 10, 10)});
    const int b = RegionOf(doc, {Square(0, 0, 5, 10)});
    const int c = RegionOf(doc, {Square(0, 0, 100, 100)});
    CKXClipRgnSet& set = *(*doc).GetClipRgnSet();
    set.Apply(a, CKXClipRgnSet::kAdd, CTransf2D());
    set.Apply(b, CKXClipRgnSet::kAdd, CTransf2D());
    EXPECT_NEAR(TotalLength(ThroughSet(set, {-50, 5}, {50, 5})), 5.0, 1e-3);
    set.Apply(c, CKXClipRgnSet::kReplace, CTransf2D());
    EXPECT_NEAR(TotalLength(ThroughSet(set, {-50, 5}, {50, 5})), 50.0, 1e-3);
    // Add wins over replace: both flags add.
    set.Apply(a, CKXClipRgnSet::kAdd | CKXClipRgnSet::kReplace, CTransf2D());
    EXPECT_NEAR(TotalLength(ThroughSet(set, {-50, 5}, {50, 5})), 10.0, 1e-3);
    set.Apply(c, CKXClipRgnSet::kRemove, CTransf2D());
    EXPECT_NEAR(TotalLength(ThroughSet(set, {-50, 5}, {50, 5})), 10.0, 1e-3);
    // Unknown ids change nothing.
    set.Apply(99, CKXClipRgnSet::kReplace, CTransf2D());
    EXPECT_NEAR(TotalLength(ThroughSet(set, {-50, 5}, {50, 5})), 10.0, 1e-3);
}

TEST(ClipRgnSet, TransformedCopiesAreMadeOncePerTransform) {
    Doc doc;
    const int a = RegionOf(doc, {Square(0, 0, 10, 10)});
    CKXClipRgnSet& set = *(*doc).GetClipRgnSet();
    CTransf2D moved;
    moved.Translate(100, 0);
    for (int i = 0; i < 1000; ++i) {
        set.Reset();
        set.Apply(a, CKXClipRgnSet::kAdd, moved);
    }
    EXPECT_EQ((*doc).ClipRegions().size(), 1u);
    EXPECT_NEAR(TotalLength(ThroughSet(set, {50, 5}, {150, 5})), 10.0, 1e-3);
    EXPECT_NEAR(ThroughSet(set, {50, 5}, {150, 5})[0].a.x, 100.0, 1e-3);
}

TEST(ClipRgnSet, DeepPushesAreBoundedAndFreedWithoutRecursion) {
    Doc doc;
    CKXClipRgnSet& set = CKXClipRgnSet::Of(*doc);
    for (int i = 0; i < CKXClipRgnSet::kMaxLevels + 10; ++i) set.Push();
    EXPECT_EQ(set.Depth(), CKXClipRgnSet::kMaxLevels);
    for (int i = 0; i < 10; ++i) set.Pop();
    EXPECT_EQ(set.Depth(), CKXClipRgnSet::kMaxLevels);
    set.Pop();
    EXPECT_EQ(set.Depth(), CKXClipRgnSet::kMaxLevels - 1);
}

TEST(StreamClip, ClipSetWithoutDrawFlagClipsWhatFollowsWhenFinished) {
    Doc doc;
    const double before[2][2] = {{-50, 1}, {50, 1}};
    KXAddLine(doc, before[0], before[1], nullptr, nullptr);
    const int a = RegionOf(doc, {Square(0, 0, 10, 10)});
    ASSERT_EQ(KXClipRgnSet(doc, a, CKXClipRgnSet::kAdd), 1);
    const double s[2] = {-50, 5}, e[2] = {50, 5};
    KXAddLine(doc, s, e, nullptr, nullptr);
    ASSERT_EQ(KXClose(doc, 0), 1);
    const auto lines = Lines(*doc);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NEAR(lines[0]->GetStart().x, -50.0, 1e-9);  // before the set: whole
    EXPECT_NEAR(lines[1]->GetStart().x, 0.0, 1e-3);
    EXPECT_NEAR(lines[1]->GetEnd().x, 10.0, 1e-3);
    EXPECT_EQ(CountOfType(*doc, KXENT_CLIPSET), 0);
    // The extents are those of what is left.
    EXPECT_NEAR((*doc).GetExtents().xmax, 50.0, 1e-9);
}

TEST(StreamClip, DrawTimeClipSetStaysAndExtentsAreMeasuredClipped) {
    Doc doc;
    const int a = RegionOf(doc, {Square(0, 0, 10, 10)});
    ASSERT_EQ(KXClipRgnSet(doc, a, CKXClipRgnSet::kAdd | CKXClipRgnSet::kAtDrawTime), 1);
    const double s[2] = {-50, 5}, e[2] = {50, 5};
    KXAddLine(doc, s, e, nullptr, nullptr);
    ASSERT_EQ(KXClose(doc, 0), 1);
    EXPECT_EQ(CountOfType(*doc, KXENT_CLIPSET), 1);
    const auto lines = Lines(*doc);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0]->GetStart().x, -50.0, 1e-9);  // clipped when drawn
    EXPECT_NEAR((*doc).GetExtents().xmin, 0.0, 1e-3);
    EXPECT_NEAR((*doc).GetExtents().xmax, 10.0, 1e-3);
}

TEST(StreamClip, FinishTimeStackLevelsPushAndPop) {
    Doc doc;
    const int a = RegionOf(doc, {Square(0, 0, 10, 10)});
    (*doc).AddEnt(std::make_unique<CKXClipStack>(CKXClipStack::kPush | CKXClipStack::kFinishTime), false, nullptr);
    KXClipRgnSet(doc, a, CKXClipRgnSet::kAdd);
    const double s[2] = {-50, 5}, e[2] = {50, 5};
    KXAddLine(doc, s, e, nullptr, nullptr);
    (*doc).AddEnt(std::make_unique<CKXClipStack>(CKXClipStack::kPop | CKXClipStack::kFinishTime), false, nullptr);
    KXAddLine(doc, s, e, nullptr, nullptr);
    ASSERT_EQ(KXClose(doc, 0), 1);
    const auto lines = Lines(*doc);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NEAR(lines[0]->GetEnd().x - lines[0]->GetStart().x, 10.0, 1e-3);
    EXPECT_NEAR(lines[1]->GetEnd().x - lines[1]->GetStart().x, 100.0, 1e-9);
    EXPECT_EQ(CountOfType(*doc, KXENT_CLIPSTACK), 0);
}

TEST(DrawClip, DrawTimeRegionsClipLinesAndPolylinesAndResetEachDraw) {
    Doc doc;
    const int a = RegionOf(doc, {Square(20, 20, 60, 60)});
    KXClipRgnSet(doc, a, CKXClipRgnSet::kAdd | CKXClipRgnSet::kAtDrawTime);
    const double s[2] = {0, 40}, e[2] = {100, 40};
    KXAddLine(doc, s, e, nullptr, nullptr);
    const KXPoint poly[3] = {{40, 0}, {40, 100}, {90, 100}};
    KXAddPolyline(doc, poly, 3, nullptr, nullptr);
    ASSERT_EQ(KXClose(doc, 0), 1);
    for (int pass = 0; pass < 2; ++pass) {
        HDC dc = KXCreateRecordingDC();
        KXDrawRequest request{0, RECT{0, 0, 100, 100}, 0, 0, 100, 100, dc};
        ASSERT_EQ(KXDraw(doc, &request), 1);
        const auto strokes = rendertest::Strokes(kxplatform::RecordedCalls(dc));
        DeleteDC(dc);
        ASSERT_EQ(strokes.size(), 4u) << pass;
        for (const std::string& stroke : strokes) {
            int x = 0, y = 0;
            ASSERT_EQ(std::sscanf(stroke.c_str() + 2, "%d %d", &x, &y), 2);
            EXPECT_GE(x, 19);
            EXPECT_LE(x, 61);
        }
        EXPECT_FALSE((*doc).IsClipActive());
    }
}
