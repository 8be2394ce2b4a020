// Circles and ellipses tessellated through the 200-step table.
#include <gtest/gtest.h>

#include <cmath>

#include "CKXCircle.h"
#include "CKXEllipse.h"
#include "geom/KXAngleTable.h"
#include "RenderTestSupport.h"

namespace {

using namespace rendertest;

constexpr double kDeg = kxangle::kPi / 180.0;

std::vector<GdiCall> DrawCircleOf(double radius, double start = 0, double end = 0, bool full = true,
                                  CFltPoint centre = {50, 50}) {
    Scene scene;
    scene.Add<CKXCircle>(centre, radius, start, end, full);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    return scene.DrawUnit();
}

// Device point of table step k on a circle of device radius r about (50, 50).
std::string Step(int k, double r) {
    const double a = k * kxangle::kStep;
    auto round = [](double v) { return v >= 0 ? std::ceil(v - 0.5) : std::floor(v + 0.5); };
    return "L " + std::to_string(static_cast<int>(round(50 + std::cos(a) * r))) + " " +
           std::to_string(static_cast<int>(round(50 - std::sin(a) * r)));
}

TEST(CircleDraw, ChordCountFollowsTheDeviceRadius) {
    // Full circles: chords from step 1 by the increment, then step 198 and
    // the exact end point close the turn.
    EXPECT_EQ(Only(DrawCircleOf(3), GdiOp::LineTo).size(), 10u + 2u);
    EXPECT_EQ(Only(DrawCircleOf(10), GdiOp::LineTo).size(), 20u + 2u);
    EXPECT_EQ(Only(DrawCircleOf(45), GdiOp::LineTo).size(), 40u + 2u);
    const auto strokes = Strokes(DrawCircleOf(10));
    EXPECT_EQ(strokes.front(), "M 60 50");
    EXPECT_EQ(strokes[1], Step(1, 10));
    EXPECT_EQ(strokes[2], Step(11, 10));
    EXPECT_EQ(strokes[strokes.size() - 2], Step(198, 10));
    EXPECT_EQ(strokes.back(), "L 60 50");
}

TEST(CircleDraw, HundredUnitRadiusHasFortyChords) {
    Scene scene;
    scene.Add<CKXCircle>(CFltPoint{150, 150}, 100.0, 0.0, 0.0, true);
    scene.Finish(CFltExtents(0, 0, 300, 300));
    const auto calls = scene.Draw(RECT{0, 0, 300, 300}, CFltExtents(0, 0, 300, 300));
    EXPECT_EQ(Only(calls, GdiOp::LineTo).size(), 40u + 2u);
}

TEST(CircleDraw, ArcFrom350To10DegreesWrapsThroughStepZero) {
    const auto strokes = Strokes(DrawCircleOf(40, 350 * kDeg, 10 * kDeg, false));
    // The device radius is measured from the truncated start point (89, 56).
    const double r = std::hypot(39.0, 6.0);
    // first = 195, last = 5: 195, then 0 (the wrap restarts at step 0), then 5.
    ASSERT_EQ(strokes.size(), 5u);
    EXPECT_EQ(strokes[0], "M 89 56");
    EXPECT_EQ(strokes[1], Step(195, r));
    EXPECT_EQ(strokes[2], Step(0, r));
    EXPECT_EQ(strokes[2], "L 89 50");
    EXPECT_EQ(strokes[3], Step(5, r));
}

TEST(CircleDraw, StartJustBeforeAStepSkipsThatStep) {
    // Start 0.01 rad before step 10: step 10 is within half a step of the
    // exact start point and is not drawn as a separate tiny chord.
    const double start = 10 * kxangle::kStep - 0.01;
    const auto strokes = Strokes(DrawCircleOf(40, start, 30 * kxangle::kStep + 0.02, false));
    EXPECT_EQ(strokes[0], "M 88 38");
    EXPECT_EQ(strokes[1], Step(11, std::hypot(38.0, 12.0)));
}

TEST(CircleDraw, ShortArcsAreOneChordAndTinyOnesADot) {
    const auto chord = Strokes(DrawCircleOf(40, 0.0, 0.06, false));
    ASSERT_EQ(chord.size(), 2u);
    EXPECT_EQ(chord[0], "M 90 50");
    // Both ends on one device point: a one-unit dash.
    const auto dot = Strokes(DrawCircleOf(0.2, 0.0, 0.05, false, CFltPoint{50.5, 50.5}));
    ASSERT_EQ(dot.size(), 2u);
    EXPECT_EQ(dot[0], "M 50 49");
    EXPECT_EQ(dot[1], "L 51 49");
    // A whole circle smaller than a device unit is a dot too.
    const auto tiny = Strokes(DrawCircleOf(0.4));
    ASSERT_EQ(tiny.size(), 2u);
    EXPECT_EQ(tiny[1], "L 51 50");
}

TEST(EllipseDraw, FollowsTheSmallerAxisForChordsAndTheTransformForPoints) {
    Scene scene;
    // Major 40 along x, minor 4: increment 20 (small axis under 5 units).
    scene.Add<CKXEllipse>(CFltPoint{50, 50}, CFltPoint{40, 0}, 0.1, 0.0, 0.0, true);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    const auto strokes = Strokes(scene.DrawUnit());
    EXPECT_EQ(strokes.size(), 1u + 10u + 2u);
    EXPECT_EQ(strokes.front(), "M 90 50");
    EXPECT_EQ(strokes.back(), "L 90 50");
}

TEST(EllipseDraw, EqualParametersMakeAChord) {
    Scene scene;
    scene.Add<CKXEllipse>(CFltPoint{50, 50}, CFltPoint{40, 0}, 0.5, 1.0, 1.0, false);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    EXPECT_EQ(Strokes(scene.DrawUnit()).size(), 2u);
}

TEST(CircleDraw, HugeCirclesStayWithinThirtyTwoBits) {
    Scene scene;
    scene.Add<CKXCircle>(CFltPoint{50, 50}, 1e12, 0.0, 0.0, true);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    for (const GdiCall& call : scene.DrawUnit()) {
        EXPECT_LE(std::abs(static_cast<long long>(call.x)), 1LL << 30);
        EXPECT_LE(std::abs(static_cast<long long>(call.y)), 1LL << 30);
    }
}

}  // namespace

namespace {

using namespace rendertest;

TEST(EllipseDraw, EllipseSmallerThanAUnitIsADot) {
    Scene scene;
    scene.Add<CKXEllipse>(CFltPoint{50.5, 50.5}, CFltPoint{0.3, 0}, 0.5, 0.0, 0.0, true);
    scene.Finish(CFltExtents(0, 0, 100, 100));
    EXPECT_EQ(Strokes(scene.DrawUnit()), (std::vector<std::string>{"M 50 49", "L 51 49"}));
}

}  // namespace
