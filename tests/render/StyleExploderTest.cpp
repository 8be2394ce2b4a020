// Finishing-time explosion of styled geometry into phased line pieces,
// dash cutting, piece phases and the direction cache.
#include <gtest/gtest.h>

#include <korvex/kxcore.h>

#include "CKXCircle.h"
#include "CKXLine.h"
#include "CKXPolyline.h"
#include "RenderTestSupport.h"
#include "render/CKXStyleExploder.h"

namespace {

using namespace rendertest;

constexpr int kDash = KXLineStyleExt::kDashPattern;
constexpr int kCentred = KXLineStyleExt::kDashPattern | KXLineStyleExt::kCentrePolyline;

struct Exploded {
    // Pieces live in their document's store: the document outlives them.
    std::unique_ptr<CKXDoc> ownDoc;
    bool replaced = false;
    KXEntList pieces;
    const CKXLine& Line(std::size_t i) const { return static_cast<const CKXLine&>(*pieces.at(i)); }
};

// Explodes one entity under a style with the given kind and elements.
Exploded ExplodeUnder(int kind, std::vector<double> elements, const IKXEnt& entity,
                      CKXDoc* keep = nullptr) {
    Exploded out;
    if (keep == nullptr) out.ownDoc = std::make_unique<CKXDoc>();
    CKXDoc& doc = keep != nullptr ? *keep : *out.ownDoc;
    const int style = doc.Attribs().AddLineStyle(kind, static_cast<int>(elements.size()), elements.data());
    CKXAttribSet set(doc.Attribs().FindOrAddRecord(CKXAttribute{0, 0, style, 0}), 1.0);
    CKXStyleExploder exploder(doc);
    exploder.ApplyAttribSet(set);
    out.replaced = exploder.Explode(entity, out.pieces);
    return out;
}

bool IsSolidPiece(const CKXLine& line) { return line.HasPhase() && line.IsSolidPiece(); }

TEST(StyleExploder, PlainLineGetsAPhaseAndADirection) {
    CKXDoc doc;
    CKXLine line({0, 0}, {23, 0});
    const Exploded out = ExplodeUnder(kDash, {5, -5}, line, &doc);
    ASSERT_TRUE(out.replaced);
    ASSERT_EQ(out.pieces.size(), 1u);
    const KXLinePhase* phase = out.Line(0).GetPhase();
    ASSERT_NE(phase, nullptr);
    EXPECT_EQ(phase->elementIndex, 0);
    EXPECT_DOUBLE_EQ(phase->offset, 0.0);
    EXPECT_EQ(phase->directionIndex, 512);
    EXPECT_EQ(phase->directionFlags, KXLinePhase::kMajorIncreases | KXLinePhase::kXIsMajor);
    EXPECT_DOUBLE_EQ(doc.DirectionCache().at(512).factor, 1.0);
    EXPECT_DOUBLE_EQ(doc.DirectionCache().at(512).ratio, 0.0);
    EXPECT_EQ(doc.Attribs().LineStyle(1)->phaseTracking, 0);
}

TEST(StyleExploder, DirectionBucketsFollowTheMajorAxis) {
    CKXDoc doc;
    CKXLine line({0, 0}, {-3, -4});  // y major, both deltas negative
    const Exploded out = ExplodeUnder(kDash, {5, -5}, line, &doc);
    const KXLinePhase* phase = out.Line(0).GetPhase();
    EXPECT_EQ(phase->directionIndex, static_cast<int>(0.8 * 512));
    EXPECT_EQ(phase->directionFlags, 0);
    EXPECT_DOUBLE_EQ(doc.DirectionCache().at(409).ratio, 0.75);
}

TEST(StyleExploder, CentredLineSplitsIntoSolidEndsAndAPhasedMiddle) {
    CKXLine line({0, 0}, {25, 0});
    const Exploded out = ExplodeUnder(kCentred, {5, -5}, line);
    ASSERT_TRUE(out.replaced);
    ASSERT_EQ(out.pieces.size(), 3u);
    EXPECT_TRUE(IsSolidPiece(out.Line(0)));
    EXPECT_DOUBLE_EQ(out.Line(0).GetEnd().x, 2.5);
    EXPECT_TRUE(IsSolidPiece(out.Line(1)));
    EXPECT_DOUBLE_EQ(out.Line(1).GetStart().x, 22.5);
    EXPECT_FALSE(out.Line(2).IsSolidPiece());
    EXPECT_DOUBLE_EQ(out.Line(2).GetPhase()->offset, 2.5);
}

TEST(StyleExploder, WhollySolidResultsKeepTheEntity) {
    CKXLine shortLine({0, 0}, {8, 0});
    EXPECT_FALSE(ExplodeUnder(kCentred, {5, -5}, shortLine).replaced);
    CKXPolyline shortPolyline({{0, 0}, {3, 0}, {3, 4}});
    EXPECT_FALSE(ExplodeUnder(kDash, {5, -5}, shortPolyline).replaced);
    CKXPolyline dot({{1, 1}});
    EXPECT_FALSE(ExplodeUnder(kDash, {5, -5}, dot).replaced);
}

TEST(StyleExploder, PolylinePiecesCarryThePatternPosition) {
    CKXPolyline polyline({{0, 0}, {12, 0}, {23, 0}, {23, 0}});
    const Exploded out = ExplodeUnder(kDash, {5, -5}, polyline);
    ASSERT_TRUE(out.replaced);
    ASSERT_EQ(out.pieces.size(), 3u);
    EXPECT_EQ(out.Line(1).GetPhase()->elementIndex, 0);
    EXPECT_DOUBLE_EQ(out.Line(1).GetPhase()->offset, 2.0);
    EXPECT_EQ(out.Line(2).GetPhase()->elementIndex, 0);  // 23 -> 3 into the dash
    EXPECT_DOUBLE_EQ(out.Line(2).GetPhase()->offset, 3.0);
    // The zero-length last segment has no direction: it became a solid piece.
    EXPECT_TRUE(IsSolidPiece(out.Line(2)));
    EXPECT_FALSE(IsSolidPiece(out.Line(1)));
}

TEST(StyleExploder, CirclesBecomePhasedPieces) {
    CKXCircle circle({0, 0}, 50.0, 0.0, 0.0, true);
    const Exploded out = ExplodeUnder(kDash, {5, -5}, circle);
    ASSERT_TRUE(out.replaced);
    EXPECT_EQ(out.pieces.size(), 199u);  // 200 arc points
}

// A full circle's outline is closed wherever the circle stands, although its
// end point (at 2 pi) differs from its start point in the last bits for most
// centres: under a centred style it gets no solid leftover, like any closed
// polyline, and starts on its pattern.
TEST(StyleExploder, FullCirclesAreClosedUnderCentredStyles) {
    for (const CFltPoint centre : {CFltPoint{0, 0}, CFltPoint{50, 50}, CFltPoint{-3, 7.25}}) {
        CKXCircle circle(centre, 10.0, 0.0, 0.0, true);
        const Exploded out = ExplodeUnder(kCentred, {5, -5}, circle);
        ASSERT_TRUE(out.replaced);
        ASSERT_EQ(out.pieces.size(), 199u) << centre.x << ", " << centre.y;
        EXPECT_FALSE(out.Line(0).IsSolidPiece());
        EXPECT_EQ(out.Line(0).GetPhase()->elementIndex, 0);
        EXPECT_DOUBLE_EQ(out.Line(0).GetPhase()->offset, 0.0);
    }
}

TEST(StyleExploder, NoStyleInForceKeepsEverything) {
    Scene scene;
    CKXStyleExploder exploder(scene.doc);
    CKXLine line({0, 0}, {100, 0});
    KXEntList out;
    EXPECT_FALSE(exploder.HasStyle());
    EXPECT_FALSE(exploder.Explode(line, out));
    EXPECT_TRUE(out.empty());
}

TEST(StyleExploder, DashExplosionCutsSolidDashesFromThePhase) {
    KXLineStyleExt style;
    style.elements = {5, -5};
    style.count = 2;
    style.patternLength = 10;
    CKXLine line({0, 0}, {23, 0});
    KXEntList dashes = CKXStyleExploder::ExplodeDashes(line, style, 1.0);
    ASSERT_EQ(dashes.size(), 3u);
    const auto& last = static_cast<const CKXLine&>(*dashes[2]);
    EXPECT_DOUBLE_EQ(last.GetStart().x, 20.0);
    EXPECT_DOUBLE_EQ(last.GetEnd().x, 23.0);
    EXPECT_TRUE(IsSolidPiece(last));
    // Starting 3 units into the gap.
    line.EnsurePhase() = KXLinePhase{};
    line.GetPhase()->elementIndex = 1;
    line.GetPhase()->offset = 3.0;
    dashes = CKXStyleExploder::ExplodeDashes(line, style, 1.0);
    ASSERT_FALSE(dashes.empty());
    EXPECT_DOUBLE_EQ(static_cast<const CKXLine&>(*dashes[0]).GetStart().x, 2.0);
    // A pattern too fine to cut stays one solid piece.
    EXPECT_EQ(CKXStyleExploder::ExplodeDashes(line, style, 1e-9).size(), 1u);
}

TEST(StyleExploder, PiecesContinueThePatternOfTheUncutLine) {
    KXLineStyleExt style;
    style.elements = {5, -5};
    style.count = 2;
    style.patternLength = 10;
    CKXLine uncut({0, 0}, {100, 0});
    CKXLine piece({37, 0}, {30, 0});
    CKXStyleExploder::PhasePiece(uncut, piece, style, 1.0);
    EXPECT_DOUBLE_EQ(piece.GetStart().x, 30.0);  // turned to run as the uncut line
    EXPECT_EQ(piece.GetPhase()->elementIndex, 0);
    EXPECT_DOUBLE_EQ(piece.GetPhase()->offset, 0.0);

    KXLinePhase& phase = uncut.EnsurePhase();
    phase.elementIndex = 1;
    phase.offset = 2.0;
    phase.directionIndex = 512;
    phase.directionFlags = 5;
    CKXLine second({31, 0}, {40, 0});
    CKXStyleExploder::PhasePiece(uncut, second, style, 1.0);
    EXPECT_EQ(second.GetPhase()->elementIndex, 1);  // 7 + 31 = 38 -> 3 into the gap
    EXPECT_DOUBLE_EQ(second.GetPhase()->offset, 3.0);
    EXPECT_EQ(second.GetPhase()->directionIndex, 512);
    EXPECT_EQ(second.GetPhase()->directionFlags, 5);
}

TEST(StyleExploder, FinishingReplacesStyledLinesAndDrawingWalksThePieces) {
    KXDOC doc = KXCreateDocInstance();
    const double elements[2] = {5, -5};
    tagKXLineStyle ls{kDash, 2, elements};
    const int style = KXAttribLineStyle(doc, &ls);
    tagKXAttrib attrib{0, 0, style, 0, 0};
    ASSERT_EQ(KXAttribSet(doc, &attrib), 1);
    const double a[2] = {0, 50}, b[2] = {23, 50}, c[2] = {0, 0}, d[2] = {100, 100};
    KXAddLine(doc, a, b, nullptr, nullptr);
    tagKXAttrib solid{0, 0, KX_CONTINUOUS, 0, 0};
    KXAttribSet(doc, &solid);
    KXAddLine(doc, c, d, nullptr, nullptr);
    ASSERT_EQ(KXClose(doc, 0), 1);
    auto* document = static_cast<CKXDoc*>(doc);
    int phased = 0;
    for (const KXEntPtr& ent : document->GetEntList())
        if (ent->GetType() == KXENT_LINE && static_cast<const CKXLine&>(*ent).HasPhase()) ++phased;
    EXPECT_EQ(phased, 1);
    KXDeleteDocInstance(doc);
}

}  // namespace
