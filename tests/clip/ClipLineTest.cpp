// Clipping lines and polylines against one region: crossings on the grid,
// overlap ends, vertex touches, report flags and polyline chaining.
#include <gtest/gtest.h>

#include "ClipTestSupport.h"
#include "render/clip/CKXPath.h"
#include "render/clip/KXClipRegions.h"

using namespace cliptest;

namespace {

constexpr double kTol = 1e-3;

void ExpectPiece(const Piece& p, CFltPoint a, CFltPoint b) {
    EXPECT_NEAR(p.a.x, a.x, kTol);
    EXPECT_NEAR(p.a.y, a.y, kTol);
    EXPECT_NEAR(p.b.x, b.x, kTol);
    EXPECT_NEAR(p.b.y, b.y, kTol);
}

}  // namespace

TEST(ClipLine, LineThroughSquareKeepsTheInsideSpanWithExactEnds) {
    auto region = Region({Square(0, 0, 10, 10)});
    auto pieces = ClipLine(*region, {-5, 3}, {15, 3});
    ASSERT_EQ(pieces.size(), 1u);
    ExpectPiece(pieces[0], {0, 3}, {10, 3});
    // A line wholly inside keeps its exact end points.
    pieces = ClipLine(*region, {1.23456, 2}, {8.76543, 7});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].a.x, 1.23456);
    EXPECT_EQ(pieces[0].b.y, 7.0);
    EXPECT_TRUE(ClipLine(*region, {20, 20}, {30, 25}).empty());
}

TEST(ClipLine, OpenContourLosesItsLastPoint) {
    // Given open, the square's last point is dropped: the closing edge runs
    // from (10, 10) back to (0, 0) and the region is the lower triangle.
    auto region = Region({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}});
    auto pieces = ClipLine(*region, {-5, 8}, {15, 8});
    ASSERT_EQ(pieces.size(), 1u);
    ExpectPiece(pieces[0], {8, 8}, {10, 8});
}

TEST(ClipLine, LineAlongAnEdgeFlipsOnceAcrossTheOverlap) {
    // The boundary runs along y = 5 from x 10 to 20 and passes from below
    // the line to above it there: the overlap ends are one crossing.
    auto region = Region({{{0, 0}, {10, 0}, {10, 5}, {20, 5}, {20, 10}, {0, 10}, {0, 0}}});
    auto pieces = ClipLine(*region, {-5, 5}, {25, 5});
    ASSERT_FALSE(pieces.empty());
    EXPECT_NEAR(pieces.front().a.x, 0.0, kTol);
    EXPECT_NEAR(pieces.back().b.x, 20.0, kTol);
    EXPECT_NEAR(TotalLength(pieces), 20.0, kTol);
    // Starting inside, the inside test counts the overlap pair once too.
    pieces = ClipLine(*region, {5, 5}, {25, 5});
    EXPECT_NEAR(TotalLength(pieces), 15.0, kTol);
    EXPECT_NEAR(pieces.front().a.x, 5.0, kTol);
}

TEST(ClipLine, LineStartingOnAnOverlapFlipsWhereTheOverlapEnds) {
    // (found by clip_fuzzer) A triangle whose closing edge passes back
    // through (0, 0) so that the boundary crosses y = 0 along the bottom
    // edge. A line starting at that edge's end kept everything past x = 10.
    auto region = Region({{{0, 0}, {10, 0}, {10, 10}, {-0.25, -0.25}, {0, 0}}}, 1000.0);
    for (const auto& [a, b] : {std::pair<CFltPoint, CFltPoint>{{0, 0}, {2560, 0}}, {{2560, 0}, {0, 0}},
                               {{5, 0}, {20, 0}}, {{-3, 0}, {30, 0}}}) {
        for (const Piece& piece : ClipLine(*region, a, b)) {
            EXPECT_LE(std::max(piece.a.x, piece.b.x), 10.0 + kTol);
            EXPECT_GE(std::min(piece.a.x, piece.b.x), -0.25 - kTol);
        }
    }
    // The same along a vertical edge, and a line lying wholly on it.
    auto upright = Region({{{0, 0}, {0, 10}, {-10, 10}, {0.25, -0.25}, {0, 0}}}, 1000.0);
    for (const Piece& piece : ClipLine(*upright, {0, 0}, {0, 2560}))
        EXPECT_LE(std::max(piece.a.y, piece.b.y), 10.0 + kTol);
    EXPECT_LE(TotalLength(ClipLine(*upright, {0, 2}, {0, 8})), 6.0 + kTol);
}

TEST(ClipLine, InsideTestAvoidsAStretchShorterThanTheGridRounding) {
    // (found by clip_fuzzer) A long sliver on a coarse grid of the region's
    // own: the steep line's first stretch is under one grid step, and its
    // middle rounded onto the inside made the line keep everything above it.
    auto region = std::make_unique<CKXClipRgn>();
    region->AddContour(std::make_unique<CKXPolyline>(std::vector<CFltPoint>{{0, 0}, {10, 10}, {10, 0}, {4864, 10}, {0, 0}}));
    region->EnsureGrid();
    const auto pieces = ClipLine(*region, {2, 0}, {0, 74});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_LE(std::max(pieces[0].a.y, pieces[0].b.y), 2.1);
}

TEST(ClipLine, InsideTestIsExactForALineWithinAGridStepOfAnEdge) {
    // (found by clip_fuzzer) The line leaves a vertex and runs beside the
    // closing edge, less than a tenth of a step off it, then half a unit
    // past its far vertex. The rounded middle of its long stretch lay on the
    // edge's inner side and the whole stretch, overshoot included, was kept.
    auto region = std::make_unique<CKXClipRgn>();
    region->AddContour(std::make_unique<CKXPolyline>(
        std::vector<CFltPoint>{{0, 2560}, {0, 0}, {10, 10}, {0.75, 0}, {15.75, 10}}));
    region->Quantise(1000.0, {-8192, -8192});
    // Only its start, up to the edge (0, 0)-(10, 10), is inside.
    auto pieces = ClipLine(*region, {0.75, 0}, {0, 2560.5});
    ASSERT_EQ(pieces.size(), 1u);
    ExpectPiece(pieces[0], {0.75, 0}, {0.7498, 0.7498});
    // The same line a step further in is inside along the edge and stops at it.
    pieces = ClipLine(*region, {0.749, 0.7495}, {0, 2559.9});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_GT(Length(pieces[0]), 2559.0);
}

TEST(ClipLine, EndsBeyondTheGridRangeDoNotTurnTheLine) {
    // (found by clip_fuzzer) On the fine grid of a region a quarter unit
    // wide, the ends of a line thousands of units away saturate; the
    // saturated line ran elsewhere and kept a piece 0.06 units beside the
    // region. The line is cut to the region's box first.
    auto region = std::make_unique<CKXClipRgn>();
    region->AddContour(std::make_unique<CKXPolyline>(
        std::vector<CFltPoint>{{0, -0.25}, {-0.25, -0.25}, {-0.25, -0.25}, {0, 0}, {0, 0}}));
    region->EnsureGrid();
    const CFltPoint a{-6296.75, 6311.75}, b{6296.5, -6311.75};
    // The line crosses the triangle from its hypotenuse to its right side
    // (pieces run the way the crossings sort, here upwards), either way.
    const double slope = (b.y - a.y) / (b.x - a.x), at0 = a.y - slope * a.x;
    const double xIn = at0 / (1.0 - slope);
    for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, a}}) {
        const auto pieces = ClipLine(*region, from, to);
        ASSERT_EQ(pieces.size(), 1u);
        ExpectPiece(pieces[0], {0, at0}, {xIn, xIn});
    }
    // A line as far out that misses the box keeps nothing.
    EXPECT_TRUE(ClipLine(*region, {-6000, 6000.5}, {6000, 6001}).empty());
}

TEST(ClipLine, RunsOfCollinearEdgesCountOnceAndATouchingRunStillSplits) {
    // (found by clip_fuzzer) Two zero-width spikes: each runs out along
    // y = 0 and back, so the boundary never crosses the line there.
    auto spikes = std::make_unique<CKXClipRgn>();
    spikes->AddContour(std::make_unique<CKXPolyline>(std::vector<CFltPoint>{{0, 0}, {10, 2560}, {0, 0}, {2579, 0}, {0, 0}}));
    spikes->EnsureGrid();
    EXPECT_TRUE(ClipLine(*spikes, {2816, 0}, {0, 0}).empty());
    // A vertex in the middle of the edge the line runs along: one run.
    auto split = Region({{{0, 0}, {10, 0}, {10, 5}, {15, 5}, {20, 5}, {20, 10}, {0, 10}, {0, 0}}});
    EXPECT_NEAR(TotalLength(ClipLine(*split, {-5, 5}, {25, 5})), 20.0, kTol);
    // A vertical line along a touching edge and on past its end: what lies
    // beyond the region is never kept.
    auto touching = std::make_unique<CKXClipRgn>();
    touching->AddContour(std::make_unique<CKXPolyline>(
        std::vector<CFltPoint>{{0.75, -1.5}, {2560, 2560}, {2560, 0}, {0, 2560}, {0, 0}, {0, -256}}));
    touching->EnsureGrid();
    for (const Piece& piece : ClipLine(*touching, {2560, 2561}, {2560, 0}))
        EXPECT_LE(std::max(piece.a.y, piece.b.y), 2560.0 + kTol);
}

TEST(ClipLine, TouchingRunsThatShareAnEndAreBothOnTheBoundary) {
    // (found by clip_fuzzer) Two runs of the boundary touch the line
    // x = -6296.75 from either side, starting at the same vertex; the line
    // below them was taken for inside.
    auto region = Region({{{-3712.25, 1267.5}, {-1344, 3902.25}, {-6296.75, -6296.75}, {-6296.75, 39.25}, {1410, 0},
                           {-6336, -6296.75}, {-6296.75, -6296.75}, {-6296.75, -472.75}, {-6320.75, -6296.75},
                           {-6296.75, -6296.75}, {-0.75, -6296.75}}},
                         1.0e5);
    region->Quantise(1.0e5, {-8192, -8192});
    for (const Piece& piece : ClipLine(*region, {-6296.75, -6808.75}, {-6296.75, 39.25}))
        EXPECT_GE(std::min(piece.a.y, piece.b.y), -6296.75 - kTol);
}

TEST(ClipLine, LineAlongAnEdgeThatOnlyTouchesIsNotCut) {
    auto region = Region({Square(0, 0, 10, 10)});
    // Along the bottom edge, the region on one side only: the boundary
    // does not cross the line, so the state never flips.
    auto pieces = ClipLine(*region, {-5, 0}, {15, 0});
    EXPECT_LE(pieces.size(), 1u);
    // Along a line just inside, the full width is kept.
    pieces = ClipLine(*region, {-5, 0.01}, {15, 0.01});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(Length(pieces[0]), 10.0, kTol);
}

TEST(ClipLine, VertexTouchDoesNotSplitVertexCrossingDoes) {
    // A notch whose tip (5, 4) touches the line y = 4 from above.
    auto notch = Region({{{0, 0}, {10, 0}, {10, 10}, {5, 4}, {0, 10}, {0, 0}}});
    auto pieces = ClipLine(*notch, {-5, 4}, {15, 4});
    ASSERT_EQ(pieces.size(), 1u);
    ExpectPiece(pieces[0], {0, 4}, {10, 4});
    // A diamond crossed through two opposite vertices: one span between them.
    auto diamond = Region({{{0, 5}, {5, 0}, {10, 5}, {5, 10}, {0, 5}}});
    pieces = ClipLine(*diamond, {-5, 5}, {15, 5});
    ASSERT_EQ(pieces.size(), 1u);
    ExpectPiece(pieces[0], {0, 5}, {10, 5});
    // Touching the diamond's bottom vertex only: nothing is inside.
    EXPECT_TRUE(ClipLine(*diamond, {-5, 0}, {15, 0}).empty());
}

TEST(ClipLine, ProbeOnATouchingVertexTakesTheLineBesideIt) {
    // The triangle's tip (10, 5) touches x = 10 from the left, and the
    // line's middle, where its one stretch is probed, lies on that tip.
    auto triangle = Region({{{0, 0}, {10, 5}, {0, 10}, {0, 0}}});
    for (const auto& [a, b] : {std::pair<CFltPoint, CFltPoint>{{10, -5}, {10, 15}}, {{10, 15}, {10, -5}},
                               {{5, 2.5}, {15, 7.5}}, {{15, 7.5}, {5, 2.5}}})
        EXPECT_LE(TotalLength(ClipLine(*triangle, a, b)), kTol);
    // A notch's tip touching the line from outside, with the line inside on
    // both sides of it: still one span across the whole square.
    auto notch = Region({{{0, 0}, {5, 6}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}});
    for (const auto& [a, b] : {std::pair<CFltPoint, CFltPoint>{{-5, 6}, {15, 6}}, {{15, 6}, {-5, 6}}}) {
        const auto pieces = ClipLine(*notch, a, b);
        EXPECT_NEAR(TotalLength(pieces), 10.0, kTol);
    }
}

TEST(ClipPolyline, RepeatedPointsAndRunsBackAndForthThroughATouchingVertex) {
    // A polyline with repeated points running down x = 10 and back, through
    // the triangle's tip only: nothing beyond the tip is kept.
    auto triangle = Region({{{0, 0}, {10, 5}, {0, 10}, {0, 0}}});
    CKXClip clip(*triangle);
    CKXPolyline polyline({{10, 15}, {10, 15}, {10, -5}, {10, 15}, {10, 15}, {10, 15}});
    std::vector<std::unique_ptr<CKXPolyline>> out;
    clip.Clip(polyline, out);
    for (const auto& piece : out)
        for (const CFltPoint& p : piece->GetPoints()) EXPECT_NEAR(p.y, 5.0, kTol);
}

TEST(ClipPolyline, RunAlongTheBoxEdgeThroughARegionVertexStaysOut) {
    // (found by clip_fuzzer) Four contours on the 256-per-unit grid, the
    // first and the last through boundary paths. The polyline runs down
    // and back along x = 8031.25, the region's right edge, which only its
    // vertex (8031.25, 31.25) reaches; the middle of the downward segment
    // is that vertex, and the whole segment was kept.
    cliptest::Doc doc;
    CKXClipRgn region;
    const auto addPath = [&](std::vector<CFltPoint> points) {
        CKXPath path;
        const std::size_t half = points.size() / 2;
        const auto middle = points.begin() + static_cast<std::ptrdiff_t>(half);
        ASSERT_TRUE(path.AddPolyline(*doc, {points.begin(), middle + 1}, nullptr).IsOk());
        ASSERT_TRUE(path.AddPolyline(*doc, {middle, points.end()}, nullptr).IsOk());
        ASSERT_TRUE(kxclip::AddPathContour(region, path).IsOk());
    };
    addPath({{3839.75, -6304.5}, {-6232.75, 3111.25}, {0, 45}});
    ASSERT_TRUE(kxclip::AddContour(region, {{-2112.25, 3096.5}, {0.25, -64}, {-6296.75, 551.25}, {-6336, 6247.25},
                                            {4546.5, -3285}, {-6296.75, -0.25}, {-0.25, -6296.75}, {24.75, 6272},
                                            {-6296.75, 0}, {-5888, -6296.5}, {-6169.75, 6295.25}, {6270, -3919.5},
                                            {-3919.5, -3919.5}, {-3919.5, -3919.5}, {-3919.5, -3919.5},
                                            {-3919.5, -3919.5}})
                    .IsOk());
    ASSERT_TRUE(kxclip::AddContour(region, {{-3919.5, -3919.5}, {-3919.5, 0}, {0, 0}, {384, -3919.5},
                                            {-6296.75, -6296.5}, {13.25, -4864}, {0, -0.5}, {6327.5, -6296.75},
                                            {0, -5880}, {-6296.5, -6168.75}, {6296.5, 6232.5}, {-6296.75, 0},
                                            {-704, 0}, {12.5, -6296.75}, {-6296.75, -128}, {-64, 3127.5}})
                    .IsOk());
    addPath({{0, -6336}, {-6296.25, 3344.25}, {-5992.25, 6936.75}, {2880, -0.25}, {-6308.75, 8031.25},
             {8031.25, 31.25}, {2570, 0}, {56.5, 0}, {0, 8031.25}});
    region.Quantise(256.0, {-8192, -8192});

    CKXClip clip(region);
    const CFltPoint top{8031.25, 8031.25}, bottom{8031.25, -7968.75};
    std::vector<CFltPoint> spans;
    for (const auto& [a, b] : {std::pair{top, bottom}, std::pair{bottom, top}}) {
        spans.clear();
        clip.ClipSegment(a, b, spans);
        for (const CFltPoint& p : spans) EXPECT_NEAR(p.y, 31.25, kTol);
    }
    CKXPolyline polyline({top, top, bottom, top, top, top});
    std::vector<std::unique_ptr<CKXPolyline>> out;
    clip.Clip(polyline, out);
    for (const auto& piece : out)
        for (const CFltPoint& p : piece->GetPoints()) EXPECT_NEAR(p.y, 31.25, kTol);
}

TEST(ClipLine, HolesAndSelfIntersectionsFollowTheEvenOddRule) {
    auto ring = Region({Square(0, 0, 10, 10), Square(3, 3, 7, 7)});
    auto pieces = ClipLine(*ring, {-1, 5}, {11, 5});
    ASSERT_EQ(pieces.size(), 2u);
    ExpectPiece(pieces[0], {0, 5}, {3, 5});
    ExpectPiece(pieces[1], {7, 5}, {10, 5});
    // A bow tie crossing itself at (5, 5).
    auto bowTie = Region({{{0, 0}, {10, 10}, {10, 0}, {0, 10}, {0, 0}}});
    pieces = ClipLine(*bowTie, {-1, 2}, {11, 2});
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_NEAR(TotalLength(pieces), 4.0, kTol);
}

TEST(ClipLine, DegenerateContoursCutNothingAndNeverHang) {
    // Zero area: all on one line, and a contour doubling back over itself.
    auto flat = Region({{{0, 0}, {10, 0}, {5, 0}, {0, 0}}});
    EXPECT_TRUE(ClipLine(*flat, {-5, 0}, {15, 0}).empty());
    EXPECT_TRUE(ClipLine(*flat, {5, -5}, {5, 5}).empty());
    // Repeated vertices collapse on the grid.
    auto repeated = Region({{{0, 0}, {0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}});
    auto pieces = ClipLine(*repeated, {-5, 5}, {15, 5});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(Length(pieces[0]), 10.0, kTol);
    // Collinear overlapping edges of two contours: the even-odd rule
    // cancels the shared part, without a crash.
    auto twice = Region({Square(0, 0, 10, 10), Square(0, 0, 10, 10)});
    EXPECT_TRUE(ClipLine(*twice, {-5, 5}, {15, 5}).empty());
}

TEST(ClipLine, SteepLinesSortCrossingsAlongTheLine) {
    auto region = Region({Square(0, 0, 10, 10)}, 1.0);
    // Nearly vertical: the truncated crossings share x with an end point.
    auto pieces = ClipLine(*region, {5.2, -20}, {5.9, 30});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(std::fabs(pieces[0].b.y - pieces[0].a.y), 10.0, 1.0);
}

TEST(ClipLine, EmptyRegionCopiesTheLine) {
    CKXClipRgn empty;
    auto pieces = ClipLine(empty, {1, 2}, {3, 4});
    ASSERT_EQ(pieces.size(), 1u);
    ExpectPiece(pieces[0], {1, 2}, {3, 4});
}

TEST(ClipLine, ReportFlagsTellWhichEndsThePiecesReach) {
    auto region = Region({Square(0, 0, 10, 10)});
    CKXClip clip(*region);
    std::vector<CFltPoint> spans;
    EXPECT_EQ(clip.ClipSegment({5, 5}, {15, 5}, spans), CKXClip::kFirstAtStart);
    spans.clear();
    // Running right to left, the sorted pieces begin at the line's end.
    EXPECT_EQ(clip.ClipSegment({15, 5}, {5, 5}, spans), CKXClip::kFirstAtEnd | CKXClip::kBackward);
    spans.clear();
    CKXClip inside(*region);
    EXPECT_EQ(inside.ClipSegment({8, 5}, {2, 5}, spans),
              CKXClip::kFirstAtEnd | CKXClip::kLastAtStart | CKXClip::kBackward);
    EXPECT_FALSE(inside.Crossed());
    spans.clear();
    EXPECT_EQ(clip.ClipSegment({-5, 5}, {15, 5}, spans), 0);
    EXPECT_TRUE(clip.Crossed());
}

TEST(ClipLine, StartsOutsideSkipsTheInsideTest) {
    auto region = Region({Square(0, 0, 10, 10)});
    // The caller's promise is taken as it stands.
    EXPECT_TRUE(ClipLine(*region, {2, 5}, {8, 5}, true).empty());
    EXPECT_EQ(ClipLine(*region, {-2, 5}, {8, 5}, true).size(), 1u);
}

TEST(ClipPolyline, PiecesChainWhereSegmentsMeetInside) {
    auto region = Region({Square(0, 0, 10, 10)});
    CKXClip clip(*region);
    // In, along two inside vertices, out, back in.
    CKXPolyline polyline({{-5, 2}, {5, 2}, {5, 8}, {15, 8}, {15, 5}, {5, 5}});
    std::vector<std::unique_ptr<CKXPolyline>> out;
    clip.Clip(polyline, out);
    ASSERT_EQ(out.size(), 2u);
    const auto& first = out[0]->GetPoints();
    ASSERT_EQ(first.size(), 4u);
    EXPECT_NEAR(first[0].x, 0.0, kTol);
    EXPECT_EQ(first[1].x, 5.0);
    EXPECT_EQ(first[2].y, 8.0);
    EXPECT_NEAR(first[3].x, 10.0, kTol);
    const auto& second = out[1]->GetPoints();
    ASSERT_EQ(second.size(), 2u);
    EXPECT_NEAR(second[0].x, 10.0, kTol);
    EXPECT_EQ(second[1].x, 5.0);
}

TEST(ClipPolyline, WhollyInsideStaysOnePolylineAndReversedSegmentsKeepTheirDirection) {
    auto region = Region({Square(0, 0, 10, 10)});
    CKXClip clip(*region);
    CKXPolyline polyline({{9, 1}, {1, 1}, {1, 9}, {9, 9}});
    std::vector<std::unique_ptr<CKXPolyline>> out;
    clip.Clip(polyline, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0]->GetPoints(), polyline.GetPoints());
}

TEST(ClipPolyline, ASpanShrunkToAnEndPointStillOrdersThePieces) {
    // The segment a -> b runs right to left, so its crossings sort from b.
    // On the unit grid the crossing next to b truncates to a point that
    // projects beyond b: the first span shrinks to b itself, and its
    // direction could not tell that the spans had to be turned round. The
    // pieces then came out last first and backwards, and the one ending at
    // a was chained on to whatever followed b.
    auto region = Region({{{-8.5, 1.25}, {9.5, -7.75}, {2.25, 6.75}, {-9.75, -4.75}, {-8.5, 1.25}}}, 1.0);
    const CFltPoint a{3.75, 6.75}, b{-0.25, 4.75};
    CKXClip clip(*region);
    std::vector<CFltPoint> spans;
    EXPECT_NE(clip.ClipSegment(a, b, spans) & CKXClip::kBackward, 0);
    ASSERT_EQ(spans.size(), 4u);
    EXPECT_EQ(spans[0], b);
    EXPECT_EQ(spans[1], b);
    std::vector<std::unique_ptr<CKXPolyline>> out;
    clip.Clip(CKXPolyline({a, b}), out);
    ASSERT_EQ(out.size(), 2u);
    const std::vector<CFltPoint>& first = out[0]->GetPoints();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0], a);
    ExpectPiece({first[0], first[1]}, a, {1.65, 5.7});
    EXPECT_EQ(out[1]->GetPoints(), (std::vector<CFltPoint>{b, b}));
}

TEST(ClipLine, ManyThousandEdgesStayBounded) {
    // A circle of 100000 edges: every crossing is found once.
    std::vector<CFltPoint> circle;
    const int n = 100000;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * 3.141592653589793 * i / n;
        circle.push_back({50 + 40 * std::cos(a), 50 + 40 * std::sin(a)});
    }
    auto region = Region({circle}, 1000.0);
    auto pieces = ClipLine(*region, {-10, 50.5}, {110, 50.5});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(Length(pieces[0]), 2 * std::sqrt(40.0 * 40.0 - 0.25), 1e-2);
}
