#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "geom/CFltExtents.h"
#include "geom/CTransf2D.h"
#include "geom/CTransf3D.h"
#include "geom/KXAngleTable.h"

namespace {

constexpr double kEps = 1e-12;

TEST(FltExtents, EmptyBoxHasTheDocumentedBitPatternsAndMergesAsIdentity) {
    CFltExtents box;
    std::uint64_t bits;
    std::memcpy(&bits, &box.xmin, sizeof bits);
    EXPECT_EQ(bits, 0x7FEFFFFFFFFFFFFFull);
    std::memcpy(&bits, &box.xmax, sizeof bits);
    EXPECT_EQ(bits, 0xFFEFFFFFFFFFFFFFull);
    EXPECT_FALSE(box.IsValid());

    CFltExtents other(1, 2, 3, 4);
    other.Merge(CFltExtents());
    EXPECT_EQ(other.xmin, 1);
    EXPECT_EQ(other.ymax, 4);
    box.Merge(other);
    box.Merge(CFltPoint{-1, 10});
    EXPECT_EQ(box.xmin, -1);
    EXPECT_EQ(box.ymin, 2);
    EXPECT_EQ(box.xmax, 3);
    EXPECT_EQ(box.ymax, 10);
}

TEST(FltExtents, TransformMergesTheFourCornerImages) {
    CTransf2D r;
    r.SetRotation(kxangle::kPi / 2);
    CFltExtents box(0, 0, 2, 1);
    box.Transform(r);
    EXPECT_NEAR(box.xmin, -1, kEps);
    EXPECT_NEAR(box.xmax, 0, kEps);
    EXPECT_NEAR(box.ymin, 0, kEps);
    EXPECT_NEAR(box.ymax, 2, kEps);
}

TEST(Transf2D, FlagsFollowTheOperations) {
    CTransf2D t;
    EXPECT_EQ(t.flags, CTransf2D::kIdentity);
    t.Translate(0.5e-6, 0);  // below tolerance
    EXPECT_EQ(t.flags, CTransf2D::kIdentity);
    t.Translate(1, 0);
    EXPECT_EQ(t.flags, CTransf2D::kTranslation);

    CTransf2D s;
    s.Scale(2, 3);
    EXPECT_TRUE(s.flags & CTransf2D::kScale);
    EXPECT_FALSE(s.flags & CTransf2D::kIdentity);
    const CFltPoint p = s.Apply(CFltPoint{1, 1});
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 3);
}

TEST(Transf2D, RotationThenScaleScalesFirst) {
    CTransf2D t;
    t.SetRotation(kxangle::kPi / 2);
    t.Scale(2, 1);
    t.Translate(10, 0);
    const CFltPoint p = t.Apply(CFltPoint{1, 0});  // scaled to (2,0), rotated to (0,2)
    EXPECT_NEAR(p.x, 10, kEps);
    EXPECT_NEAR(p.y, 2, kEps);
    EXPECT_NEAR(t.ScaleFactor(), 2, kEps);
}

TEST(Transf2D, ComposeAppliesTheRightOperandFirst) {
    CTransf2D move;
    move.Translate(5, 0);
    CTransf2D turn;
    turn.SetRotation(kxangle::kPi / 2);
    const CTransf2D t = turn * move;  // move, then turn
    const CFltPoint p = t.Apply(CFltPoint{0, 0});
    EXPECT_NEAR(p.x, 0, kEps);
    EXPECT_NEAR(p.y, 5, kEps);
    EXPECT_TRUE(t.flags & CTransf2D::kRotation);
    EXPECT_TRUE(t.flags & CTransf2D::kTranslation);

    CTransf2D general;
    general.flags = CTransf2D::kGeneral;
    EXPECT_TRUE((general * move).IsGeneral());
    EXPECT_TRUE((CTransf2D() * CTransf2D()).IsIdentity());
}

TEST(Transf2D, MirrorIsANegativeDeterminant) {
    CTransf2D t;
    t.Scale(-1, 1);
    EXPECT_TRUE(t.Mirrors());
    CTransf2D r;
    r.SetRotation(1.0);
    EXPECT_FALSE(r.Mirrors());
}

TEST(Transf3D, IdentityWithinTolerance) {
    const double nearly[9] = {1 + 0.9e-6, 0, 0, 0, 1, 0.9e-6, 0, 0, 1 - 0.9e-6};
    EXPECT_TRUE(CTransf3D(nearly).IsIdentity());
    const double off[9] = {1, 1e-6, 0, 0, 1, 0, 0, 0, 1};
    EXPECT_FALSE(CTransf3D(off).IsIdentity());
    const double nan[9] = {NAN, 0, 0, 0, 1, 0, 0, 0, 1};
    const CTransf3D invalid(nan);
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_FALSE(invalid.IsIdentity());
    EXPECT_FALSE(std::isnan(invalid.m[0]));
}

TEST(Transf3D, ProjectionUsesTheAxesXYComponentsAndElevation) {
    // Extrusion (0,0,-1): the arbitrary axis rule gives X = (-1,0,0), Y = (0,1,0).
    const double axes[9] = {-1, 0, 0, 0, 1, 0, 0, 0, -1};
    const CFltPoint p = CTransf3D(axes).Project(CFltPoint{2, 3}, 7);
    EXPECT_EQ(p.x, -2);
    EXPECT_EQ(p.y, 3);
    const double tilted[9] = {1, 0, 0, 0, 1, 0, 0.5, 0.25, 1};
    const CFltPoint q = CTransf3D(tilted).Project(CFltPoint{0, 0}, 4);
    EXPECT_EQ(q.x, 2);
    EXPECT_EQ(q.y, 1);
}

TEST(AngleTable, NormalisationBringsAnglesIntoOneTurn) {
    EXPECT_NEAR(kxangle::Normalise(3 * kxangle::kPi), kxangle::kPi, 1e-12);
    EXPECT_NEAR(kxangle::Normalise(-kxangle::kPi / 2), 3 * kxangle::kPi / 2, 1e-12);
    EXPECT_EQ(kxangle::Normalise(kxangle::kTwoPi), kxangle::kTwoPi);
    EXPECT_EQ(kxangle::Normalise(0.0), 0.0);
    EXPECT_EQ(kxangle::Normalise(NAN), 0.0);
    const double big = kxangle::Normalise(1e6);
    EXPECT_GE(big, 0.0);
    EXPECT_LE(big, kxangle::kTwoPi);
}

TEST(AngleTable, StepIndexes) {
    const auto full = kxangle::ComputeSteps(0, kxangle::kTwoPi, true, false);
    EXPECT_EQ(full.first, 1);
    EXPECT_EQ(full.last, 198);
    // Two steps or less: a chord.
    const auto chord = kxangle::ComputeSteps(1.0, 1.0 + 0.06, false, false);
    EXPECT_EQ(chord.first, kxangle::kChord);
    // A quarter from 0: step 0 is the exact start, step 50 the exact end.
    const auto quarter = kxangle::ComputeSteps(0, kxangle::kPi / 2, false, false);
    EXPECT_EQ(quarter.first, 1);
    EXPECT_EQ(quarter.last, 49);
    // Wrapping through 0 keeps first above last.
    const auto wrap = kxangle::ComputeSteps(3 * kxangle::kPi / 2, kxangle::kPi / 2, false, false);
    EXPECT_EQ(wrap.first, 151);
    EXPECT_EQ(wrap.last, 49);
    // Ellipses: equal parameters are degenerate.
    EXPECT_EQ(kxangle::ComputeSteps(2, 2, false, true).first, kxangle::kChord);
}

}  // namespace
