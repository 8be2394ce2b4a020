#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <korvex/kxcore.h>

#include "CKXAttribSet.h"
#include "CKXCircle.h"
#include "CKXDoc.h"
#include "CKXEllipse.h"
#include "CKXLine.h"
#include "CKXNURBS.h"
#include "CKXPolyline.h"
#include "geom/KXAngleTable.h"

namespace {

constexpr double kPi = kxangle::kPi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class Build : public ::testing::Test {
protected:
    void SetUp() override { doc = KXCreateDocInstance(); }
    void TearDown() override { KXDeleteDocInstance(doc); }
    CKXDoc& Doc() { return *static_cast<CKXDoc*>(doc); }
    IKXEnt& Last() { return *Doc().GetEntList().back(); }
    template <class T>
    T& LastAs() {
        return static_cast<T&>(Last());
    }
    int Count() { return Doc().GetCount(); }
    KXDOC doc = nullptr;
};

TEST_F(Build, LineWithIdenticalEndsIsADot) {
    const double a[2] = {1, 2}, b[2] = {3, 4};
    ASSERT_EQ(KXAddLine(doc, a, b, nullptr, nullptr), 1);
    EXPECT_EQ(Last().GetType(), KXENT_LINE);
    ASSERT_EQ(KXAddLine(doc, a, a, nullptr, nullptr), 1);
    ASSERT_EQ(Last().GetType(), KXENT_POLYLINE);
    EXPECT_EQ(LastAs<CKXPolyline>().GetCount(), 1);
    CFltExtents box;
    Last().GetExtents(box);
    EXPECT_EQ(box.xmin, 1);
    EXPECT_EQ(box.ymax, 2);
    EXPECT_EQ(Doc().GetExtents().xmax, 3);
}

TEST_F(Build, PolylineDots) {
    const KXPoint two[2] = {{1, 1}, {1, 1}};
    ASSERT_EQ(KXAddPolyline(doc, two, 2, nullptr, nullptr), 1);
    EXPECT_EQ(LastAs<CKXPolyline>().GetCount(), 1);
    const KXPoint three[3] = {{1, 1}, {1, 1}, {1, 1}};
    ASSERT_EQ(KXAddPolyline(doc, three, 3, nullptr, nullptr), 1);
    EXPECT_EQ(LastAs<CKXPolyline>().GetCount(), 3);
    EXPECT_EQ(KXAddPolyline(doc, three, 0, nullptr, nullptr), 0);
    EXPECT_EQ(KXAddPolyline(doc, nullptr, 3, nullptr, nullptr), 0);
}

TEST_F(Build, RejectedCallsChangeNothing) {
    const double c[2] = {0, 0}, nanPoint[2] = {kNaN, 0}, infPoint[2] = {0, kInf}, zero[2] = {0, 0},
                 axis[2] = {1, 0};
    tagKXEntAttrib attr{5, 0, 0, 0, {0, 0}};
    const KXPoint badPoly[2] = {{0, 0}, {kNaN, 1}};
    EXPECT_EQ(KXAddCircle(doc, c, 0, &attr, nullptr), 0);
    EXPECT_EQ(KXAddCircle(doc, c, -1, &attr, nullptr), 0);
    EXPECT_EQ(KXAddCircle(doc, c, kNaN, &attr, nullptr), 0);
    EXPECT_EQ(KXAddCircle(doc, c, kInf, &attr, nullptr), 0);
    EXPECT_EQ(KXAddCircle(doc, nanPoint, 1, &attr, nullptr), 0);
    EXPECT_EQ(KXAddArc(doc, c, 1, kNaN, 1, &attr, nullptr), 0);
    EXPECT_EQ(KXAddArc(doc, c, 1, 0, kInf, &attr, nullptr), 0);
    EXPECT_EQ(KXAddLine(doc, c, infPoint, &attr, nullptr), 0);
    EXPECT_EQ(KXAddLine(doc, nullptr, c, &attr, nullptr), 0);
    EXPECT_EQ(KXAddPolyline(doc, badPoly, 2, &attr, nullptr), 0);
    EXPECT_EQ(KXAddEllipse(doc, c, zero, 0.5, &attr, nullptr), 0);
    EXPECT_EQ(KXAddEllipse(doc, c, axis, kNaN, &attr, nullptr), 0);
    const double longAxis[2] = {1e10, 0};
    EXPECT_EQ(KXAddEllipse(doc, c, longAxis, 1e300, &attr, nullptr), 0);  // minor axis overflows
    EXPECT_EQ(KXAddEllipse(doc, c, nanPoint, 0.5, &attr, nullptr), 0);
    EXPECT_EQ(KXAddEllipticArc(doc, c, zero, 1, 0, 1, &attr, nullptr), 0);
    EXPECT_EQ(KXAddEllipticArc(doc, c, axis, 0.5, kNaN, 1, &attr, nullptr), 0);
    EXPECT_EQ(KXAddEllipticArc(doc, nullptr, axis, 0.5, 0, 1, &attr, nullptr), 0);
    // Finite numbers whose shape overflows doubles.
    const double far[2] = {1e308, 0}, wide[2] = {-1e308, 0};
    EXPECT_EQ(KXAddCircle(doc, far, 1e308, &attr, nullptr), 0);
    EXPECT_EQ(KXAddLine(doc, far, wide, &attr, nullptr), 0);
    EXPECT_EQ(Count(), 0);
    EXPECT_TRUE(Doc().GetExtents().IsEmpty());
}

TEST_F(Build, ArcAnglesAreNormalised) {
    const double c[2] = {0, 0};
    ASSERT_EQ(KXAddArc(doc, c, 2, 3 * kPi, -kPi / 2, nullptr, nullptr), 1);
    const auto& arc = LastAs<CKXCircle>();
    EXPECT_FALSE(arc.IsFull());
    EXPECT_NEAR(arc.GetStart(), kPi, 1e-12);
    EXPECT_NEAR(arc.GetEnd(), 3 * kPi / 2, 1e-12);
    ASSERT_EQ(KXAddCircle(doc, c, 2, nullptr, nullptr), 1);
    EXPECT_TRUE(LastAs<CKXCircle>().IsFull());
    EXPECT_EQ(LastAs<CKXCircle>().GetEnd(), kxangle::kTwoPi);
}

TEST_F(Build, EllipticArcWithRatioOneIsACircle) {
    const double c[2] = {1, 1}, axis[2] = {0, 2};
    ASSERT_EQ(KXAddEllipticArc(doc, c, axis, 1.0, 0.25, 1.0, nullptr, nullptr), 1);
    ASSERT_EQ(Last().GetType(), KXENT_CIRCLE);
    const auto& circle = LastAs<CKXCircle>();
    EXPECT_EQ(circle.GetRadius(), 2);
    EXPECT_NEAR(circle.GetStart(), 0.25 + kPi / 2, 1e-12);
    EXPECT_NEAR(circle.GetEnd(), 1.0 + kPi / 2, 1e-12);
    // Axis below the x axis: the angle is measured the long way round.
    const double down[2] = {0, -2};
    ASSERT_EQ(KXAddEllipticArc(doc, c, down, 1.0, 0.0, 1.0, nullptr, nullptr), 1);
    EXPECT_NEAR(LastAs<CKXCircle>().GetStart(), 3 * kPi / 2, 1e-12);
    ASSERT_EQ(KXAddEllipticArc(doc, c, axis, 1.0000001, 0.25, 1.0, nullptr, nullptr), 1);
    EXPECT_EQ(Last().GetType(), KXENT_ELLIPSE);
}

TEST_F(Build, EllipseRatioAtOrBelowZeroBecomesOne) {
    const double c[2] = {0, 0}, axis[2] = {3, 4};
    ASSERT_EQ(KXAddEllipse(doc, c, axis, -3, nullptr, nullptr), 1);
    const auto& e = LastAs<CKXEllipse>();
    EXPECT_EQ(e.GetRatio(), 1.0);
    EXPECT_EQ(e.GetMajorLength(), 5);
    EXPECT_TRUE(e.IsFull());
    EXPECT_NEAR(e.GetLc(), 3, 1e-12);
    EXPECT_NEAR(e.GetMinorS(), 4, 1e-12);
}

TEST_F(Build, SplineTessellatesTo100PointsThroughItsEnds) {
    KXPoint ctrl[4] = {{0, 0}, {1, 2}, {3, 2}, {4, 0}};
    const double knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
    ASSERT_EQ(KXAddSpline(doc, 3, ctrl, 4, knots, 8, nullptr, 0, nullptr, nullptr), 1);
    ASSERT_EQ(Last().GetType(), KXENT_POLYLINE);
    const auto& poly = LastAs<CKXPolyline>();
    ASSERT_EQ(poly.GetCount(), 100);
    EXPECT_EQ(poly.GetPoints().front(), (CFltPoint{0, 0}));
    EXPECT_NEAR(poly.GetPoints().back().x, 4, 1e-12);
    EXPECT_NEAR(poly.GetPoints().back().y, 0, 1e-12);
    // The Bezier midpoint.
    CKXNURBS spline(3, {{0, 0}, {1, 2}, {3, 2}, {4, 0}}, {0, 0, 0, 0, 1, 1, 1, 1}, {}, 0);
    EXPECT_NEAR(spline.Evaluate(0.5).x, 2, 1e-12);
    EXPECT_NEAR(spline.Evaluate(0.5).y, 1.5, 1e-12);
    EXPECT_EQ(KXAddSpline(doc, 3, ctrl, 4, knots, 7, nullptr, 0, nullptr, nullptr), 0);
}

TEST_F(Build, RationalSplineDrawsAQuarterCircle) {
    const double w = std::sqrt(0.5);
    CKXNURBS quarter(2, {{1, 0}, {1, 1}, {0, 1}}, {0, 0, 0, 1, 1, 1}, {1, w, 1}, 0);
    auto poly = quarter.Tessellate(100);
    ASSERT_NE(poly, nullptr);
    for (const CFltPoint& p : poly->GetPoints()) EXPECT_NEAR(std::hypot(p.x, p.y), 1.0, 1e-12);
    EXPECT_NEAR(poly->GetPoints().back().x, 0, 1e-12);
}

TEST_F(Build, UnusableSplinesAreRefused) {
    KXPoint ctrl[4] = {{0, 0}, {1, 2}, {3, 2}, {4, 0}};
    const double decreasing[8] = {0, 0, 0, 0, 1, 0.5, 1, 1};
    EXPECT_EQ(KXAddSpline(doc, 3, ctrl, 4, decreasing, 8, nullptr, 0, nullptr, nullptr), 0);
    const double knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
    const double zeroWeight[4] = {1, 0, 1, 1};
    EXPECT_EQ(KXAddSpline(doc, 3, ctrl, 4, knots, 8, zeroWeight, 0, nullptr, nullptr), 0);
    const double nanKnots[8] = {0, 0, 0, 0, kNaN, 1, 1, 1};
    EXPECT_EQ(KXAddSpline(doc, 3, ctrl, 4, nanKnots, 8, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(KXAddSpline(doc, 3, ctrl, 4, knots, 8, nullptr, 1, nullptr, nullptr), 0);  // flag bit 0
    EXPECT_EQ(KXAddSpline(doc, 0, ctrl, 4, knots, 5, nullptr, 0, nullptr, nullptr), 0);
    const double flat[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(KXAddSpline(doc, 3, ctrl, 4, flat, 8, nullptr, 0, nullptr, nullptr), 0);
    KXPoint nanCtrl[4] = {{0, 0}, {kNaN, 2}, {3, 2}, {4, 0}};
    EXPECT_EQ(KXAddSpline(doc, 3, nanCtrl, 4, knots, 8, nullptr, 0, nullptr, nullptr), 0);
    // A huge degree would make evaluation explode: refused.
    std::vector<KXPoint> many(2, KXPoint{0, 0});
    std::vector<double> longKnots(1000 + 3, 0.0);
    for (std::size_t i = 500; i < longKnots.size(); ++i) longKnots[i] = 1;
    EXPECT_EQ(KXAddSpline(doc, 1000, many.data(), 2, longKnots.data(), 1003, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(Count(), 0);
}

TEST_F(Build, ProjectionNeedsAnElevationPointer) {
    const double mirror[9] = {-1, 0, 0, 0, 1, 0, 0, 0, -1};
    KXPushCoordSys3D(doc, mirror);
    const double a[2] = {1, 1}, b[2] = {2, 3}, z = 0;
    ASSERT_EQ(KXAddLine(doc, a, b, nullptr, nullptr), 1);
    EXPECT_EQ(LastAs<CKXLine>().GetStart(), (CFltPoint{1, 1}));
    ASSERT_EQ(KXAddLine(doc, a, b, nullptr, &z), 1);
    EXPECT_EQ(LastAs<CKXLine>().GetStart(), (CFltPoint{-1, 1}));
    EXPECT_EQ(LastAs<CKXLine>().GetEnd(), (CFltPoint{-2, 3}));
    // Circles become 200-point polylines under a projection.
    ASSERT_EQ(KXAddCircle(doc, a, 1, nullptr, &z), 1);
    ASSERT_EQ(Last().GetType(), KXENT_POLYLINE);
    const auto& circle = LastAs<CKXPolyline>();
    ASSERT_EQ(circle.GetCount(), 200);
    EXPECT_EQ(circle.GetPoints().front(), circle.GetPoints().back());
    EXPECT_NEAR(circle.GetPoints().front().x, -2, 1e-12);
    ASSERT_EQ(KXAddArc(doc, a, 1, 0, kPi, nullptr, &z), 1);
    EXPECT_EQ(LastAs<CKXPolyline>().GetCount(), 200);
    ASSERT_EQ(KXAddEllipse(doc, a, b, 0.5, nullptr, &z), 1);
    EXPECT_EQ(LastAs<CKXPolyline>().GetCount(), 200);
    // The caller's control points are projected in place.
    KXPoint ctrl[4] = {{0, 0}, {1, 2}, {3, 2}, {4, 0}};
    const double knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
    ASSERT_EQ(KXAddSpline(doc, 3, ctrl, 4, knots, 8, nullptr, 0, nullptr, &z), 1);
    EXPECT_EQ(ctrl[3].x, -4);
    EXPECT_NEAR(LastAs<CKXPolyline>().GetPoints().back().x, -4, 1e-12);
    const double nanZ = kNaN;
    EXPECT_EQ(KXAddLine(doc, a, b, nullptr, &nanZ), 0);
}

TEST_F(Build, NothingIsBuiltThroughAnInvalidSystem) {
    const double bad[9] = {1, 0, 0, 0, kInf, 0, 0, 0, 1};
    KXPushCoordSys3D(doc, bad);
    const double a[2] = {0, 0}, b[2] = {1, 1}, z = 0;
    EXPECT_EQ(KXAddLine(doc, a, b, nullptr, &z), 0);
    EXPECT_EQ(KXAddLine(doc, a, b, nullptr, nullptr), 1);  // no elevation: not projected
    KXPopCoordSys3D(doc);
    EXPECT_EQ(KXAddLine(doc, a, b, nullptr, &z), 1);
    EXPECT_EQ(Count(), 2);
}

TEST_F(Build, NearIdentitySystemKeepsCircles) {
    const double nearly[9] = {1, 1e-7, 0, -1e-7, 1, 0, 0, 0, 1};
    KXPushCoordSys3D(doc, nearly);
    const double c[2] = {5, 5}, z = 10;
    ASSERT_EQ(KXAddCircle(doc, c, 1, nullptr, &z), 1);
    EXPECT_EQ(Last().GetType(), KXENT_CIRCLE);
    EXPECT_EQ(LastAs<CKXCircle>().GetCentre(), (CFltPoint{5, 5}));
    KXPopCoordSys3D(doc);
}

TEST_F(Build, AttributeRecordIsAppliedAndRestored) {
    tagKXAttrib start{};
    KXAttribGet(doc, &start);
    const double a[2] = {0, 0}, b[2] = {1, 1};
    tagKXEntAttrib attr{7, 0, 3, 1, {0, 0}};
    ASSERT_EQ(KXAddLine(doc, a, b, &attr, nullptr), 1);
    ASSERT_EQ(Count(), 3);
    EXPECT_EQ(Doc().GetEntList()[0]->GetType(), KXENT_ATTRIBSET);
    EXPECT_EQ(Doc().GetEntList()[1]->GetType(), KXENT_LINE);
    EXPECT_EQ(Doc().GetEntList()[2]->GetType(), KXENT_ATTRIBSET);
    tagKXAttrib after{};
    KXAttribGet(doc, &after);
    EXPECT_EQ(after.color, start.color);
    EXPECT_EQ(after.lineWeight, start.lineWeight);
    // Without restore the attributes stay; the restore flag is the fourth
    // field for splines too.
    attr.restore = 0;
    KXPoint ctrl[4] = {{0, 0}, {1, 2}, {3, 2}, {4, 0}};
    const double knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
    ASSERT_EQ(KXAddSpline(doc, 3, ctrl, 4, knots, 8, nullptr, 0, &attr, nullptr), 1);
    KXAttribGet(doc, &after);
    EXPECT_EQ(after.color, 7);
    attr.color = 9;
    attr.restore = 1;
    ASSERT_EQ(KXAddSpline(doc, 3, ctrl, 4, knots, 8, nullptr, 0, &attr, nullptr), 1);
    KXAttribGet(doc, &after);
    EXPECT_EQ(after.color, 7);
    // An all-zero record changes nothing.
    const int count = Count();
    tagKXEntAttrib none{};
    ASSERT_EQ(KXAddSpline(doc, 3, ctrl, 4, knots, 8, nullptr, 0, &none, nullptr), 1);
    EXPECT_EQ(Count(), count + 1);
}

}  // namespace
