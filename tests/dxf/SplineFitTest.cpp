// The cubic through a SPLINE's fit points (the reader's use of it is
// tested in PathEntitiesTest and, drawn by the engine, in
// EngineDocumentTest).

#include <algorithm>
#include <cmath>

#include "DxfTestSupport.h"
#include "utlSplineFit.h"

namespace kxdxf::test {
namespace {

using Points = std::vector<KXPoint>;

double distance(KXPoint a, KXPoint b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

bool finite(const clsCubicSpline& spline)
{
    const auto finitePoint = [](KXPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    const auto finiteReal = [](double v) { return std::isfinite(v); };
    return std::all_of(spline.controls.begin(), spline.controls.end(), finitePoint) &&
        std::all_of(spline.knots.begin(), spline.knots.end(), finiteReal);
}

// The span's Bezier derivatives at its ends, per unit of the knot
// parameter: first at the start and end, second at the start and end.
struct clsSpanEnds {
    KXPoint d0, d1, dd0, dd1;
};

clsSpanEnds spanEnds(const clsCubicSpline& spline, std::size_t span)
{
    const KXPoint* b = &spline.controls[3 * span];
    const double h = spline.knots[3 * span + 4] - spline.knots[3 * span + 3];
    const auto d = [&](int i, int j, double f) {
        return KXPoint{f * (b[j].x - b[i].x) / h, f * (b[j].y - b[i].y) / h};
    };
    const auto dd = [&](int i, int j, int k) {
        return KXPoint{
            6 * (b[i].x - 2 * b[j].x + b[k].x) / (h * h), 6 * (b[i].y - 2 * b[j].y + b[k].y) / (h * h)};
    };
    return {d(0, 1, 3), d(2, 3, 3), dd(0, 1, 2), dd(1, 2, 3)};
}

void expectShape(const clsCubicSpline& spline, std::size_t spans)
{
    ASSERT_EQ(3 * spans + 1, spline.controls.size());
    ASSERT_EQ(3 * spans + 5, spline.knots.size());
    EXPECT_TRUE(std::is_sorted(spline.knots.begin(), spline.knots.end()));
    EXPECT_LT(spline.knots.front(), spline.knots.back());
}

// Equal first and second derivatives where the spans meet, and where the
// last meets the first when the curve is closed.
void expectSmoothJoins(const clsCubicSpline& spline, std::size_t spans, bool closed)
{
    for (std::size_t i = closed ? 0 : 1; i < spans; ++i) {
        const clsSpanEnds left = spanEnds(spline, (i + spans - 1) % spans);
        const clsSpanEnds right = spanEnds(spline, i);
        EXPECT_NEAR(left.d1.x, right.d0.x, 1e-9) << i;
        EXPECT_NEAR(left.d1.y, right.d0.y, 1e-9) << i;
        EXPECT_NEAR(left.dd1.x, right.dd0.x, 1e-9) << i;
        EXPECT_NEAR(left.dd1.y, right.dd0.y, 1e-9) << i;
    }
}

TEST(SplineFit, PassesThroughTheFitPointsWithContinuousCurvature)
{
    const Points fits{{1, 1}, {2, 2.5}, {3.5, 1.2}, {4.5, 2.2}, {6, 0}};
    const clsCubicSpline spline = utlSplineFit(fits, nullptr, nullptr, false);
    expectShape(spline, 4);
    double chord = 0;
    for (std::size_t i = 0; i < fits.size(); ++i) {
        // Span i starts at its fit point, at the chord-length parameter.
        EXPECT_EQ(fits[i].x, spline.controls[3 * i].x);
        EXPECT_EQ(fits[i].y, spline.controls[3 * i].y);
        EXPECT_NEAR(chord, spline.knots[3 * i + 3], 1e-12);
        if (i + 1 < fits.size())
            chord += distance(fits[i], fits[i + 1]);
    }
    expectSmoothJoins(spline, 4, false);
}

TEST(SplineFit, ClosedCurveIsSmoothWhereItCloses)
{
    const Points fits{{0, 0}, {4, 0}, {4, 3}, {0, 3}};
    const clsCubicSpline spline = utlSplineFit(fits, nullptr, nullptr, true);
    expectShape(spline, 4);
    EXPECT_EQ(0.0, spline.controls.back().x);
    EXPECT_EQ(0.0, spline.controls.back().y);
    EXPECT_NEAR(14.0, spline.knots.back(), 1e-12);
    expectSmoothJoins(spline, 4, true);
    // The first point given again at the end closes the same curve.
    Points again = fits;
    again.push_back(fits.front());
    const clsCubicSpline same = utlSplineFit(again, nullptr, nullptr, true);
    ASSERT_EQ(spline.controls.size(), same.controls.size());
    for (std::size_t i = 0; i < same.controls.size(); ++i) {
        EXPECT_NEAR(spline.controls[i].x, same.controls[i].x, 1e-12);
        EXPECT_NEAR(spline.controls[i].y, same.controls[i].y, 1e-12);
    }
    // Two distinct points close as a path there and back.
    const clsCubicSpline twice = utlSplineFit({{0, 0}, {2, 0}}, nullptr, nullptr, true);
    EXPECT_TRUE(finite(twice));
    expectShape(twice, 2);
    EXPECT_EQ(0.0, twice.controls.back().x);
}

TEST(SplineFit, HonoursGivenTangentsAtUnitSpeed)
{
    const Points fits{{0, 0}, {10, 0}, {20, 5}};
    const KXPoint up{0, 7};
    const KXPoint left{-3, 0};
    const clsCubicSpline spline = utlSplineFit(fits, &up, &left, false);
    expectShape(spline, 2);
    const KXPoint start = spanEnds(spline, 0).d0;
    const KXPoint end = spanEnds(spline, 1).d1;
    EXPECT_NEAR(0.0, start.x, 1e-12);
    EXPECT_NEAR(1.0, start.y, 1e-12);
    EXPECT_NEAR(-1.0, end.x, 1e-12);
    EXPECT_NEAR(0.0, end.y, 1e-12);

    // A tangent of length 0 is no tangent: the same curve as without one.
    const KXPoint zero{0, 0};
    const clsCubicSpline withZero = utlSplineFit(fits, &zero, nullptr, false);
    const clsCubicSpline without = utlSplineFit(fits, nullptr, nullptr, false);
    ASSERT_EQ(without.controls.size(), withZero.controls.size());
    for (std::size_t i = 0; i < without.controls.size(); ++i) {
        EXPECT_EQ(without.controls[i].x, withZero.controls[i].x);
        EXPECT_EQ(without.controls[i].y, withZero.controls[i].y);
    }
}

TEST(SplineFit, EstimatedEndTangentsFollowTheNearestPoints)
{
    // On a circle the five-point estimate comes close to the circle's
    // tangent (well within 0.01 at steps of 0.3 radians).
    const double r = 5;
    Points fits;
    for (int i = 0; i <= 4; ++i)
        fits.push_back({r * std::cos(0.3 * i), r * std::sin(0.3 * i)});
    const clsCubicSpline spline = utlSplineFit(fits, nullptr, nullptr, false);
    expectShape(spline, 4);
    const KXPoint start = spanEnds(spline, 0).d0;
    EXPECT_NEAR(0.0, start.x, 0.01);
    EXPECT_NEAR(1.0, start.y, 0.01);
    EXPECT_NEAR(1.0, std::hypot(start.x, start.y), 1e-12);
    const KXPoint end = spanEnds(spline, 3).d1;
    EXPECT_NEAR(-std::sin(1.2), end.x, 0.01);
    EXPECT_NEAR(std::cos(1.2), end.y, 0.01);
}

TEST(SplineFit, StraightPointsGiveAStraightLine)
{
    // Unevenly spaced, the end chords extrapolate backwards: no estimate.
    for (const Points& fits : {Points{{1, 2}, {4, 6}}, Points{{0, 0}, {1, 1}, {3, 3}, {3.5, 3.5}},
             Points{{0, 0}, {0.1, 0}, {5, 0}, {5.1, 0}}}) {
        const clsCubicSpline spline = utlSplineFit(fits, nullptr, nullptr, false);
        expectShape(spline, fits.size() - 1);
        const KXPoint first = fits.front();
        const KXPoint last = fits.back();
        for (const KXPoint& c : spline.controls) {
            // On the segment, at its chord-length place.
            const double along = distance(first, c) / distance(first, last);
            EXPECT_NEAR(first.x + along * (last.x - first.x), c.x, 1e-12);
            EXPECT_NEAR(first.y + along * (last.y - first.y), c.y, 1e-12);
            EXPECT_LE(along, 1.0 + 1e-12);
        }
    }
}

TEST(SplineFit, CoincidentPointsCountOnce)
{
    const clsCubicSpline repeated =
        utlSplineFit({{0, 0}, {0, 0}, {1, 1}, {1, 1}, {1, 1}, {2, 0}}, nullptr, nullptr, false);
    EXPECT_TRUE(finite(repeated));
    expectShape(repeated, 2);
    EXPECT_EQ(1.0, repeated.controls[3].x);
    EXPECT_EQ(2.0, repeated.controls.back().x);

    const clsCubicSpline allAlike = utlSplineFit({{3, 4}, {3, 4}, {3, 4}}, nullptr, nullptr, false);
    EXPECT_TRUE(finite(allAlike));
    expectShape(allAlike, 1);
    for (const KXPoint& c : allAlike.controls) {
        EXPECT_EQ(3.0, c.x);
        EXPECT_EQ(4.0, c.y);
    }
    // Three points turning straight back: the estimate of the end
    // tangents is of length 0, and the ends are natural.
    const clsCubicSpline back = utlSplineFit({{0, 0}, {1, 0}, {0, 0}}, nullptr, nullptr, false);
    EXPECT_TRUE(finite(back));
    EXPECT_TRUE(utlSplineFit({}, nullptr, nullptr, false).controls.empty());
    // Fit points that are no numbers ("nan", "inf" in a file) are passed
    // over, as coincident ones are.
    const double nan = std::nan("");
    const clsCubicSpline unusable = utlSplineFit(
        {{nan, 0}, {0, 0}, {nan, 1}, {1, 1}, {HUGE_VAL, 0}, {2, nan}, {2, 0}}, nullptr, nullptr, false);
    EXPECT_TRUE(finite(unusable));
    expectShape(unusable, 2);
    EXPECT_TRUE(utlSplineFit({{nan, 0}, {0, -HUGE_VAL}}, nullptr, nullptr, false).controls.empty());
}

}  // namespace
}  // namespace kxdxf::test
