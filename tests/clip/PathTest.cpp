// Boundary paths: piece rules and chaining into one contour.
#include <gtest/gtest.h>

#include "ClipTestSupport.h"
#include "render/clip/CKXPath.h"

using namespace cliptest;

namespace {

constexpr double kPi = 3.141592653589793;

const CKXPath& PathAt(KXDOC doc, int id) { return *(*static_cast<CKXDoc*>(doc)).Paths()[static_cast<std::size_t>(id) - 1]; }

}  // namespace

TEST(Path, TwoArcsTouchingInReverseOrderChainWithTheSecondReversed) {
    Doc doc;
    const int path = KXCreatePath(doc);
    const double c[2] = {0, 0};
    // Upper half from (1, 0) to (-1, 0); lower half also runs from (1, 0)
    // (angle 2 pi... 3 pi / 2 ... ) - it ends at (1, 0), so it is reversed.
    ASSERT_EQ(KXPathAddCircleArc(doc, path, c, 1.0, 0.0, kPi, 0, nullptr), 1);
    ASSERT_EQ(KXPathAddCircleArc(doc, path, c, 1.0, kPi, 2 * kPi, 0, nullptr), 1);
    const std::unique_ptr<CKXPolyline> contour = PathAt(doc, path).ToContour();
    ASSERT_TRUE(contour);
    const auto& pts = contour->GetPoints();
    // Upper arc, then the lower one walked from (-1, 0) back to (1, 0),
    // then a copy of the first point.
    EXPECT_NEAR(pts.front().x, 1.0, 1e-9);
    EXPECT_NEAR(pts.back().x, 1.0, 1e-9);
    const std::size_t half = PathAt(doc, path).PiecePolylines()[0]->GetPoints().size();
    EXPECT_NEAR(pts[half - 1].x, -1.0, 1e-9);
    EXPECT_NEAR(pts[half].x, -1.0, 1e-9);
    for (std::size_t i = half; i + 1 < pts.size(); ++i) EXPECT_LE(pts[i].y, 1e-9);
}

TEST(Path, ReversedSecondPieceIsWalkedBackward) {
    Doc doc;
    const int path = KXCreatePath(doc);
    const KXPoint a[2] = {{0, 0}, {10, 0}};
    const KXPoint b[3] = {{0, 10}, {10, 10}, {10, 0}};  // its end meets a's end
    KXPathAddPolyline(doc, path, a, 2, nullptr);
    KXPathAddPolyline(doc, path, b, 3, nullptr);
    const auto contour = PathAt(doc, path).ToContour();
    const std::vector<CFltPoint> expected{{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    EXPECT_EQ(contour->GetPoints(), expected);
}

TEST(Path, ClosedPieceOnlyFirstAndNothingAfterIt) {
    Doc doc;
    const int path = KXCreatePath(doc);
    const KXPoint open[2] = {{0, 0}, {10, 0}};
    const KXPoint closed[4] = {{0, 0}, {5, 5}, {10, 0}, {0, 0}};
    ASSERT_EQ(KXPathAddPolyline(doc, path, open, 2, nullptr), 1);
    // Dropped without an error result.
    EXPECT_EQ(KXPathAddPolyline(doc, path, closed, 4, nullptr), 1);
    EXPECT_EQ(PathAt(doc, path).PieceCount(), 1u);

    const int full = KXCreatePath(doc);
    const double c[2] = {0, 0};
    ASSERT_EQ(KXPathAddCircleArc(doc, full, c, 2.0, 0, 0, 1, nullptr), 1);
    EXPECT_TRUE(PathAt(doc, full).IsClosed());
    EXPECT_EQ(KXPathAddPolyline(doc, full, open, 2, nullptr), 1);
    EXPECT_EQ(PathAt(doc, full).PieceCount(), 1u);
    // A closed path gets no extra closing point.
    const auto contour = PathAt(doc, full).ToContour();
    EXPECT_EQ(contour->GetPoints().size(), PathAt(doc, full).PiecePolylines()[0]->GetPoints().size());
}

TEST(Path, BadPiecesAndEmptyPathsAreRefused) {
    Doc doc;
    const int path = KXCreatePath(doc);
    const int region = KXClipRgnCreate(doc);
    EXPECT_EQ(KXClipRgnAddPath(doc, region, path), 0);  // no piece
    const double c[2] = {0, 0}, axis[2] = {0, 0};
    EXPECT_EQ(KXPathAddCircleArc(doc, path, c, -1.0, 0, 1, 0, nullptr), 0);
    EXPECT_EQ(KXPathAddEllipticArc(doc, path, c, axis, 0.5, 0, 1, 0, nullptr), 0);
    KXPoint controls[4] = {{0, 0}, {1, 1}, {2, 0}, {3, 1}};
    const double knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
    EXPECT_EQ(KXPathAddSpline(doc, path, 3, controls, 4, knots, 7, nullptr, 0, nullptr), 0);
    EXPECT_EQ(KXPathAddSpline(doc, path, 3, controls, 4, knots, 8, nullptr, 1, nullptr), 0);
    EXPECT_EQ(KXPathAddSpline(doc, path, 3, controls, 4, knots, 8, nullptr, 0, nullptr), 1);
    EXPECT_EQ(PathAt(doc, path).PiecePolylines()[0]->GetPoints().size(), 100u);
    EXPECT_EQ(KXClipRgnAddPath(doc, region, path), 1);
    EXPECT_EQ(KXClipRgnAddPath(doc, region, 99), 0);
    EXPECT_EQ(KXPathAddPolyline(doc, 99, controls, 2, nullptr), 0);
}

TEST(Path, EllipticArcPieceAndRegionFromPathClip) {
    Doc doc;
    const int path = KXCreatePath(doc);
    const double c[2] = {50, 50}, axis[2] = {40, 0};
    ASSERT_EQ(KXPathAddEllipticArc(doc, path, c, axis, 0.5, 0, 2 * kPi, 1, nullptr), 1);
    const int region = KXClipRgnCreate(doc);
    ASSERT_EQ(KXClipRgnAddPath(doc, region, path), 1);
    CKXClipRgn& r = *(*doc).ClipRegions()[0];
    r.Quantise(1000.0, {0, 0});
    const auto pieces = ClipLine(r, {0, 50}, {100, 50});
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(Length(pieces[0]), 80.0, 1e-2);
}

TEST(ClipRgnExports, CircleContourAndRefusals) {
    Doc doc;
    const int region = KXClipRgnCreate(doc);
    const double c[2] = {5, 5};
    ASSERT_EQ(KXClipRgnAddCircle(doc, region, c, 2.0), 1);
    const auto& contour = *(*doc).ClipRegions()[0]->GetContours()[0];
    ASSERT_EQ(contour.GetCount(), 200);
    EXPECT_EQ(contour.GetPoints()[0].x, 7.0);
    EXPECT_NEAR(contour.GetPoints()[199].x, 7.0, 1e-12);
    EXPECT_EQ(KXClipRgnAddCircle(doc, region, c, 0.0), 0);
    EXPECT_EQ(KXClipRgnAddCircle(doc, 7, c, 1.0), 0);
    const KXPoint one[1] = {{1, 1}};
    EXPECT_EQ(KXClipRgnAdd(doc, region, one, 1), 1);  // accepted, not added
    EXPECT_EQ((*doc).ClipRegions()[0]->GetContours().size(), 1u);
    EXPECT_EQ(KXClipRgnSet(doc, 5, 2), 0);
    EXPECT_EQ(KXHatchCreatePattern(doc, nullptr), 0);
    EXPECT_EQ(KXHatchAddPattern(doc, nullptr, 1), 0);
}
