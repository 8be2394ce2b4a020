// Clip-region levels, clip-set flags and clip stacks, at draw time and in
// the stream clipping of KXClose.
#include <gtest/gtest.h>

#include <cstring>

#include "../render/RenderTestSupport.h"
#include "ClipTestSupport.h"
#include "render/clip/CKXClipRgnSet.h"
#include "render/clip/CKXClipSet.h"
#include "render/clip/CKXClipStack.h"
#include "CKXArchive.h"
#include "block/CKXBlock.h"

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

TEST(DrawClip, CirclesAndEllipsesStayInsideDrawTimeRegions) {
    for (const bool fine : {false, true}) {
        Doc doc;
        const int a = RegionOf(doc, {Square(20, 20, 60, 60)});
        KXClipRgnSet(doc, a, CKXClipRgnSet::kAdd | CKXClipRgnSet::kAtDrawTime);
        const double centre[2] = {40, 40}, axis[2] = {35, 0};
        KXAddCircle(doc, centre, 30.0, nullptr, nullptr);
        KXAddEllipse(doc, centre, axis, 0.5, nullptr, nullptr);
        ASSERT_EQ(KXClose(doc, 0), 1);
        if (fine) KXSetDisplayMode(doc, KX_DISPLAY_FINE_CURVES);
        HDC dc = KXCreateRecordingDC();
        KXDrawRequest request{0, RECT{0, 0, 100, 100}, 0, 0, 100, 100, dc};
        ASSERT_EQ(KXDraw(doc, &request), 1);
        const auto strokes = rendertest::Strokes(kxplatform::RecordedCalls(dc));
        DeleteDC(dc);
        // The circle's four arcs in the corners and the ellipse's two ends
        // inside the square; nothing of either beyond it.
        ASSERT_GT(strokes.size(), 20u);
        for (const std::string& stroke : strokes) {
            int x = 0, y = 0;
            ASSERT_EQ(std::sscanf(stroke.c_str() + 2, "%d %d", &x, &y), 2);
            EXPECT_GE(x, 19) << stroke;
            EXPECT_LE(x, 61) << stroke;
            EXPECT_GE(y, 39) << stroke;
            EXPECT_LE(y, 81) << stroke;
        }
    }
}

TEST(ClipSetRecord, ABlockReadsOnPastAClipRecord) {
    // A clip set keeps only its kind word, the word that also ends a pool:
    // the records after it are still read back.
    CKXBlock block("B", CFltPoint{0, 0});
    block.AddEnt(std::make_unique<CKXLine>(CFltPoint{0, 0}, CFltPoint{10, 0}), true, nullptr);
    block.AddEnt(std::make_unique<CKXClipSet>(1, CKXClipRgnSet::kAdd | CKXClipRgnSet::kAtDrawTime), false, nullptr);
    block.AddEnt(std::make_unique<CKXClipStack>(CKXClipStack::kPop | CKXClipStack::kDrawTime), false, nullptr);
    block.AddEnt(std::make_unique<CKXLine>(CFltPoint{0, 0}, CFltPoint{0, 7}), true, nullptr);
    block.Quantise(1.0, CFltPoint{});
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(block.Write(nullptr)));
    ASSERT_EQ(2u + 18u + 2u + 2u + 18u, bytes.size());
    block.Write(bytes.data());

    CKXArchive archive(bytes.data() + 2, bytes.size() - 2);
    CKXBlock back("B", CFltPoint{0, 0});
    ASSERT_EQ(1, back.Read(&archive, 0));
    ASSERT_EQ(2, back.GetCount());
    EXPECT_DOUBLE_EQ(7.0, static_cast<const CKXLine*>(back.GetEnt(1))->GetEnd().y);
}

TEST(ClipRgnSet, IteratorsWalkEveryContourOfEveryActiveRegion) {
    Doc doc;
    // A square with a triangular hole, then a triangle; an open contour
    // loses its last point.
    const int a = RegionOf(doc, {Square(0, 0, 10, 10), {{2, 2}, {4, 2}, {3, 4}, {2, 2}}});
    const int b = RegionOf(doc, {{{20, 0}, {30, 0}, {25, 5}, {99, 99}}});
    CKXClipRgnSet& set = *(*doc).GetClipRgnSet();
    EXPECT_EQ(set.SegmentIter(0).Reset(), nullptr);
    EXPECT_FALSE(set.IntSegmentIter(1).Reset());
    ASSERT_EQ(KXClose(doc, 0), 1);
    ASSERT_TRUE(set.AddRegion(a));
    ASSERT_TRUE(set.AddRegion(b));

    CDirectSegmentIter& it = set.SegmentIter(0);
    std::vector<CFltPoint> vertices, previous, following;
    for (const CFltPoint* p = it.Reset(); p != nullptr; p = it.Next()) {
        vertices.push_back(*p);
        previous.push_back(*it.Previous());
        following.push_back(*it.Following());
    }
    ASSERT_EQ(vertices.size(), 4u + 3u + 3u);
    EXPECT_EQ(vertices[4], (CFltPoint{2, 2}));
    EXPECT_EQ(previous[4], (CFltPoint{3, 4}));
    EXPECT_EQ(vertices[9], (CFltPoint{25, 5}));
    EXPECT_EQ(following[9], (CFltPoint{20, 0}));
    EXPECT_EQ(previous[0], (CFltPoint{0, 10}));

    // The integer walk visits the same vertices on the grid.
    CDirectSegmentIntIter& grid = set.IntSegmentIter(1);
    std::size_t n = 0;
    for (bool more = grid.Reset(); more; more = grid.Next(), ++n) {
        const KXGridPoint g = grid.Current();
        const CFltPoint back = (*doc).ClipRegions()[0]->FromGrid(g);
        EXPECT_NEAR(back.x, vertices[n].x, 1e-3) << n;
        EXPECT_NEAR(back.y, vertices[n].y, 1e-3) << n;
    }
    EXPECT_EQ(n, vertices.size());

    // Removing a region is seen by the next iterator.
    set.RemoveRegion(a);
    std::size_t left = 0;
    CDirectSegmentIter& after = set.SegmentIter(0);
    for (const CFltPoint* p = after.Reset(); p != nullptr; p = after.Next()) ++left;
    EXPECT_EQ(left, 3u);
}

TEST(ClipRgnSet, BlockReferenceClipsWholeOrFlattenedBySwitch) {
    Doc doc;
    const int region = RegionOf(doc, {Square(0, 0, 10, 10)});
    tagKXBlockDef def{};
    std::strncpy(def.name, "B", sizeof def.name - 1);
    ASSERT_NE(0, KXStartBlock(doc, &def));
    const double a0[2] = {-5, 5}, a1[2] = {5, 5}, b0[2] = {50, 50}, b1[2] = {60, 50};
    KXAddLine(doc, a0, a1, nullptr, nullptr);
    KXAddLine(doc, b0, b1, nullptr, nullptr);
    ASSERT_EQ(1, KXEndBlock(doc));
    const tagKXInsert at{2, 0, 0, 1, 1};
    ASSERT_NE(0, KXInsertBlockStr(doc, "B", &at, nullptr));
    ASSERT_EQ(KXENT_BLOCKREF, (*doc).GetEntList().back()->GetType());
    IKXEnt& ref = *(*doc).GetEntList().back();
    CKXClipRgnSet& set = *(*doc).GetClipRgnSet();
    ASSERT_TRUE(set.AddRegion(region));

    // Any part inside: the reference whole.
    KXEntList whole;
    ref.Clip(set, whole, *doc, nullptr);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0]->GetType(), KXENT_BLOCKREF);

    // Flattened: the pieces of its content, placed; the switch is kept.
    set.SetFlattenReferences(true);
    KXEntList pieces;
    ref.Clip(set, pieces, *doc, nullptr);
    EXPECT_TRUE(set.FlattensReferences());
    ASSERT_EQ(pieces.size(), 1u);
    ASSERT_EQ(pieces[0]->GetType(), KXENT_LINE);
    const auto& line = static_cast<const CKXLine&>(*pieces[0]);
    EXPECT_NEAR(line.GetStart().x, 0.0, 1e-3);
    EXPECT_NEAR(line.GetEnd().x, 7.0, 1e-9);
}
