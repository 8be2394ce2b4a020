#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "BigEndian.h"
#include "CKXArchive.h"
#include "CKXAttribSet.h"
#include "CKXCircle.h"
#include "CKXEllipse.h"
#include "CKXLine.h"
#include "CKXMarker.h"
#include "CKXPolyline.h"
#include "geom/KXAngleTable.h"

namespace {

constexpr double kPi = kxangle::kPi;

std::vector<std::uint8_t> Record(const IKXEnt& e) {
    const int size = e.Write(nullptr);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(size));
    EXPECT_EQ(e.Write(out.data()), size);
    return out;
}

std::int32_t I32At(const std::vector<std::uint8_t>& r, std::size_t at) { return kxbe::LoadI32(&r[at]); }
std::uint16_t U16At(const std::vector<std::uint8_t>& r, std::size_t at) { return kxbe::LoadU16(&r[at]); }

TEST(LineRecord, QuantisedEndPointsAfterTheKindWord) {
    CKXLine line({1.5, 2.0}, {0.95, -3.0});
    line.SetFlags(0x2F);  // only bits 5-7 are kept
    EXPECT_EQ(line.GetFlags(), 0x20);
    line.Quantise(10.0, {1.0, 1.0});
    const auto r = Record(line);
    ASSERT_EQ(r.size(), 18u);
    EXPECT_EQ(U16At(r, 0), 0x21);
    EXPECT_EQ(I32At(r, 2), 5);
    EXPECT_EQ(I32At(r, 6), 10);
    EXPECT_EQ(I32At(r, 10), 0);  // trunc(-0.5) toward zero
    EXPECT_EQ(I32At(r, 14), -40);
}

TEST(LineRecord, StyledLinesCarryTheirPhase) {
    CKXLine line({0, 0}, {10, 0});
    KXLinePhase& phase = line.EnsurePhase();
    phase.elementIndex = 3;
    phase.offset = 0.25;
    phase.directionIndex = 512;
    phase.directionFlags = KXLinePhase::kMajorIncreases | KXLinePhase::kXIsMajor;
    line.Quantise(100.0, {0, 0});
    EXPECT_EQ(line.GetRecordKind(), KXREC_STYLEDLINE);
    const auto r = Record(line);
    ASSERT_EQ(r.size(), 28u);
    EXPECT_EQ(U16At(r, 18), 3);
    EXPECT_EQ(I32At(r, 20), 25);
    EXPECT_EQ(U16At(r, 24), 512);
    EXPECT_EQ(U16At(r, 26), 5);
    line.SetSolidPiece(true);
    EXPECT_EQ(line.GetRecordKind(), KXREC_LINE);
    const CKXLine copy(line);
    EXPECT_EQ(copy.GetPhase()->elementIndex, 3);
}

TEST(LineRecord, ReadSetsBothForms) {
    std::uint8_t body[16];
    kxbe::StoreI32(body, 1);
    kxbe::StoreI32(body + 4, -2);
    kxbe::StoreI32(body + 8, 300);
    kxbe::StoreI32(body + 12, 4);
    CKXLine line({0, 0}, {0, 0});
    CKXArchive archive(body, sizeof body);
    ASSERT_EQ(line.Read(&archive, 0), 1);
    EXPECT_EQ(line.GetEnd(), (CFltPoint{300, 4}));
    EXPECT_EQ(line.GetQuantised()[1], -2);
    EXPECT_EQ(line.Read(nullptr, 0), 0);
    CKXArchive shortArchive(body, 15);
    EXPECT_EQ(line.Read(&shortArchive, 0), 0);
}

TEST(LineRecord, DuplicateKeyIgnoresDirection) {
    KXKeyMap keys;
    CKXLine a({0, 0}, {5, 7});
    CKXLine b({5, 7}, {0, 0});
    a.Quantise(1, {0, 0});
    b.Quantise(1, {0, 0});
    EXPECT_EQ(a.IsDuplicate(keys, 1.0), 0);
    EXPECT_EQ(b.IsDuplicate(keys, 1.0), 1);
    EXPECT_EQ(keys.count("0057"), 1u);
}

TEST(PolylineRecord, CountThenPoints) {
    CKXPolyline p({{0, 0}, {1, 2}, {3, 4}});
    p.Update();
    p.Quantise(2, {0, 0});
    const auto r = Record(p);
    ASSERT_EQ(r.size(), 2u + 2u + 24u);
    EXPECT_EQ(U16At(r, 0), KXREC_POLYLINE);
    EXPECT_EQ(U16At(r, 2), 3);
    EXPECT_EQ(I32At(r, 4 + 8 * 2 + 4), 8);
    EXPECT_EQ(p.WritePoints(nullptr), 3 * 8 + 2);

    CKXArchive archive(r.data() + 2, r.size() - 2);
    CKXPolyline back;
    ASSERT_EQ(back.Read(&archive, 0), 1);
    EXPECT_EQ(back.GetPoints()[2], (CFltPoint{6, 8}));
    // A count larger than the data is refused.
    std::vector<std::uint8_t> lying = {0xFF, 0xFF, 0, 0, 0, 1};
    CKXArchive bad(lying.data(), lying.size());
    EXPECT_EQ(back.Read(&bad, 0), 0);
    EXPECT_EQ(back.GetCount(), 3);
}

TEST(PolylineRecord, TooManyPointsAreNotWrittenTruncated) {
    CKXPolyline p(std::vector<CFltPoint>(CKXPolyline::kMaxWritablePoints + 1));
    p.Quantise(1, {0, 0});
    EXPECT_EQ(p.Write(nullptr), 0);
    EXPECT_EQ(p.WritePoints(nullptr), 0);
    CKXPolyline ok(std::vector<CFltPoint>(CKXPolyline::kMaxWritablePoints));
    EXPECT_EQ(ok.Write(nullptr), 2 + 2 + 8 * CKXPolyline::kMaxWritablePoints);
}

TEST(PolylineRecord, DuplicateOnlyWhenEverySegmentWasSeen) {
    KXKeyMap keys;
    CKXPolyline p({{0, 0}, {1, 0}, {1, 1}});
    p.Quantise(1, {0, 0});
    EXPECT_EQ(p.IsDuplicate(keys, 1.0), 0);
    EXPECT_EQ(p.IsDuplicate(keys, 1.0), 1);
    CKXPolyline dot({{3, 3}});
    EXPECT_EQ(dot.IsDuplicate(keys, 1.0), 1);
}

TEST(CircleRecord, CentrePointsRadiusAndIndexes) {
    CKXCircle c({10, 10}, 5, 0, kPi / 2, false);
    c.Quantise(1, {0, 0});
    const auto r = Record(c);
    ASSERT_EQ(r.size(), 2u + 7 * 4 + 4);
    EXPECT_EQ(U16At(r, 0), KXREC_CIRCLE);
    EXPECT_EQ(I32At(r, 2), 10);
    EXPECT_EQ(I32At(r, 10), 15);  // start point x
    EXPECT_EQ(I32At(r, 26), 5);   // radius
    EXPECT_EQ(U16At(r, 30), 1);
    EXPECT_EQ(U16At(r, 32), 49);
}

TEST(CircleRecord, HugeCirclesAreWrittenAsPolylines) {
    CKXCircle c({0, 0}, 199001, 0, kxangle::kTwoPi, true);
    c.Quantise(1, {0, 0});
    const auto r = Record(c);
    EXPECT_EQ(U16At(r, 0), KXREC_POLYLINE);
    EXPECT_EQ(U16At(r, 2), 200);
}

TEST(CircleGeometry, ArcPolylinesAndExtents) {
    EXPECT_EQ(CKXCircle({0, 0}, 1, 0, 0, true).ToArcPolyline()->GetCount(), 200);
    EXPECT_EQ(CKXCircle({0, 0}, 1, 1.0, 1.05, false).ToArcPolyline()->GetCount(), 2);
    const CKXCircle wrap({0, 0}, 1, 3 * kPi / 2, kPi / 2, false);
    EXPECT_EQ(wrap.ToArcPolyline()->GetCount(), wrap.GetEndIndex() - wrap.GetStartIndex() + 203);
    const CKXCircle quarter({0, 0}, 1, 0, kPi / 2, false);
    EXPECT_EQ(quarter.ToArcPolyline()->GetCount(), 49 - 1 + 3);
    CFltExtents box;
    quarter.GetExtents(box);
    EXPECT_NEAR(box.xmin, 0, 1e-12);
    EXPECT_NEAR(box.ymin, 0, 1e-12);
    EXPECT_NEAR(box.xmax, 1, 1e-12);
    EXPECT_NEAR(box.ymax, 1, 1e-12);
    wrap.GetExtents(box);
    EXPECT_NEAR(box.xmax, 1, 1e-12);
    EXPECT_NEAR(box.xmin, 0, 1e-12);
}

TEST(CircleGeometry, CloneUnderMirrorSwapsAngles) {
    CTransf2D mirror;
    mirror.Scale(-1, 1);
    CKXCircle arc({1, 0}, 1, 0, kPi / 2, false);
    auto clone = arc.CloneTransformed(mirror);
    ASSERT_EQ(clone->GetType(), KXENT_CIRCLE);
    const auto& c = static_cast<const CKXCircle&>(*clone);
    EXPECT_NEAR(c.GetCentre().x, -1, 1e-12);
    EXPECT_NEAR(c.GetStart(), kPi / 2, 1e-12);
    EXPECT_NEAR(c.GetEnd(), kPi, 1e-12);
    // A non-uniform scale cannot keep a circle: its points are kept instead.
    CTransf2D squash;
    squash.Scale(2, 1);
    EXPECT_EQ(arc.CloneTransformed(squash)->GetType(), KXENT_POLYLINE);
}

TEST(EllipseRecord, MagnitudesAndSigns) {
    CKXEllipse e({0, 0}, {-4, 0}, 0.5, 0, 0, true);
    e.Quantise(1, {0, 0});
    const auto r = Record(e);
    ASSERT_EQ(r.size(), 50u);
    EXPECT_EQ(U16At(r, 0), KXREC_ELLIPSE);
    EXPECT_EQ(U16At(r, 26), 1);
    EXPECT_EQ(U16At(r, 28), 198);
    EXPECT_EQ(I32At(r, 30), 4);  // |L*c|
    EXPECT_EQ(I32At(r, 38), 2);  // |minor*c|
    EXPECT_EQ(r[46], 0xFF);      // L*c < 0
    EXPECT_EQ(r[47], 0x00);
    EXPECT_EQ(r[48], 0xFF);      // minor*c < 0
}

TEST(EllipseGeometry, CloneUnderMirrorReversesParameters) {
    CTransf2D mirror;
    mirror.Scale(1, -1);
    CKXEllipse arc({0, 0}, {2, 0}, 0.5, 0.5, 1.0, false);
    auto clone = arc.CloneTransformed(mirror);
    ASSERT_EQ(clone->GetType(), KXENT_ELLIPSE);
    const auto& e = static_cast<const CKXEllipse&>(*clone);
    EXPECT_NEAR(e.GetStart(), kxangle::kTwoPi - 1.0, 1e-12);
    EXPECT_NEAR(e.GetEnd(), kxangle::kTwoPi - 0.5, 1e-12);
    // The same points, traversed the other way.
    const CFltPoint a = mirror.Apply(arc.GetStartPoint());
    EXPECT_NEAR(e.GetEndPoint().x, a.x, 1e-12);
    EXPECT_NEAR(e.GetEndPoint().y, a.y, 1e-12);
}

TEST(SmallRecords, AttributeSetAndMarkers) {
    CKXAttribSet set(300, 1.0);
    const auto r = Record(set);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(U16At(r, 0), KXREC_ATTRIBSET);
    EXPECT_EQ(U16At(r, 2), 300);
    EXPECT_EQ(CKXAttribSet(70000, 1.0).Write(nullptr), 0);  // the id does not fit 16 bits
    EXPECT_EQ(Record(CKXMarker(CKXMarker::kOpen)), (std::vector<std::uint8_t>{0, 11}));
    EXPECT_EQ(Record(CKXMarker(CKXMarker::kClose)), (std::vector<std::uint8_t>{0, 12}));
    CFltExtents box;
    set.GetExtents(box);
    EXPECT_EQ(box.xmax, 100000.0);
    set.GetExtentsXf(box, nullptr, nullptr, 0);
    EXPECT_TRUE(box.IsEmpty());
    CTransf2D scale;
    scale.Scale(3, 3);
    auto clone = set.CloneTransformed(scale);
    EXPECT_NEAR(static_cast<CKXAttribSet&>(*clone).GetScale(), 3.0, 1e-12);
}

}  // namespace

namespace {
// Millions of lines make up a drawing: a plain line must stay small.
static_assert(sizeof(CKXLine) <= 72, "CKXLine grew");
}  // namespace
