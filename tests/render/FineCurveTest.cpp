// The fine-curves display mode: circles, arcs and ellipses drawn with as
// many chords as keep every chord within half a device unit of the curve;
// without the mode the table's chord counts stay as they were.
#include <gtest/gtest.h>

#include <cmath>

#include "CKXCircle.h"
#include "CKXEllipse.h"
#include "geom/KXAngleTable.h"
#include "render/KXCurveDraw.h"
#include "RenderTestSupport.h"

namespace {

using namespace rendertest;

struct DevicePoint {
    double x, y;
};

// A unit-radius curve about the origin drawn so that its device radius is
// radius units: the window (-1.5, -1.5)..(1.5, 1.5) on 3 x radius units.
template <class Entity, class... Args>
std::vector<DevicePoint> DrawAtRadius(double radius, int mode, Args&&... args) {
    Scene scene;
    scene.Add<Entity>(std::forward<Args>(args)...);
    scene.Finish(CFltExtents(-1.5, -1.5, 1.5, 1.5));
    scene.doc.SetDisplayMode(mode);
    const auto side = static_cast<LONG>(3 * radius);
    std::vector<DevicePoint> points;
    for (const GdiCall& call : scene.Draw(RECT{0, 0, side, side}, CFltExtents(-1.5, -1.5, 1.5, 1.5)))
        if (call.op == GdiOp::MoveTo || call.op == GdiOp::LineTo) points.push_back({double(call.x), double(call.y)});
    return points;
}

std::vector<DevicePoint> CircleAtRadius(double radius, int mode, double start = 0, double end = 0, bool full = true) {
    return DrawAtRadius<CKXCircle>(radius, mode, CFltPoint{0, 0}, 1.0, start, end, full);
}

// The largest distance between a chord and the circle it cuts, from the
// angles of the drawn points about the device centre (1.5 r, 1.5 r).
double LargestChordError(const std::vector<DevicePoint>& points, double radius) {
    const double c = 1.5 * radius;
    double worst = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double a0 = std::atan2(c - points[i - 1].y, points[i - 1].x - c);
        const double a1 = std::atan2(c - points[i].y, points[i].x - c);
        double span = std::fabs(a1 - a0);
        if (span > kxangle::kPi) span = kxangle::kTwoPi - span;
        worst = std::fmax(worst, radius * (1.0 - std::cos(span / 2.0)));
    }
    return worst;
}

// Every drawn point lies on the circle, up to the truncation to whole units.
double LargestRadialError(const std::vector<DevicePoint>& points, double radius) {
    const double c = 1.5 * radius;
    double worst = 0.0;
    for (const DevicePoint& p : points) worst = std::fmax(worst, std::fabs(std::hypot(p.x - c, p.y - c) - radius));
    return worst;
}

TEST(FineCurves, ChordErrorStaysWithinHalfAUnitAtEveryRadius) {
    for (double radius : {10.0, 1000.0, 100000.0}) {
        SCOPED_TRACE(radius);
        const auto points = CircleAtRadius(radius, KX_DISPLAY_FINE_CURVES);
        // Equal chords around the turn: each strays r (1 - cos(pi / n)),
        // within half a unit, and one chord fewer would not be.
        const double chords = static_cast<double>(points.size() - 1);
        EXPECT_LE(radius * (1.0 - std::cos(kxangle::kPi / chords)), 0.5);
        EXPECT_GT(radius * (1.0 - std::cos(kxangle::kPi / (chords - 1.0))), 0.5);
        // Measured from the drawn points, whose ends are truncated to whole
        // units, the error stays near half a unit too.
        EXPECT_LE(LargestChordError(points, radius), radius < 100.0 ? 1.1 : 0.6);
        EXPECT_LE(LargestRadialError(points, radius), 1.5);
    }
}

TEST(FineCurves, ChordCountGrowsWithTheSquareRootOfTheRadius) {
    // A chord of angle a strays r (1 - cos(a / 2)): about pi / sqrt(r) chords.
    EXPECT_EQ(kxdraw::FineChordCount(10.0, kxangle::kTwoPi), 10);
    EXPECT_EQ(kxdraw::FineChordCount(1000.0, kxangle::kTwoPi), 100);
    EXPECT_EQ(kxdraw::FineChordCount(100000.0, kxangle::kTwoPi), 994);
    EXPECT_EQ(kxdraw::FineChordCount(100000.0, kxangle::kPi), 497);
    EXPECT_EQ(kxdraw::FineChordCount(0.3, kxangle::kTwoPi), 1);
    // Huge curves are bounded rather than drawn with millions of chords.
    EXPECT_EQ(kxdraw::FineChordCount(1e15, kxangle::kTwoPi), 1 << 17);
}

TEST(FineCurves, WithoutTheModeTheTableChordCountsStay) {
    // 40 chords per turn however large the circle: the table's steps.
    for (double radius : {10.0, 1000.0, 100000.0}) {
        SCOPED_TRACE(radius);
        const auto points = CircleAtRadius(radius, 0);
        EXPECT_EQ(points.size(), radius < 20.0 ? 1u + 20u + 2u : 1u + 40u + 2u);
    }
    EXPECT_GT(LargestChordError(CircleAtRadius(1000.0, 0), 1000.0), 2.0);
}

TEST(FineCurves, ArcsEndAtTheirEndPoints) {
    const double radius = 1000.0;
    const auto arc =
        CircleAtRadius(radius, KX_DISPLAY_FINE_CURVES, 350 * kxangle::kPi / 180, 10 * kxangle::kPi / 180, false);
    ASSERT_GE(arc.size(), 3u);
    // 20 degrees of a 1000-unit circle within half a unit: 7 chords.
    EXPECT_EQ(arc.size(), static_cast<std::size_t>(kxdraw::FineChordCount(radius, 20 * kxangle::kPi / 180)) + 1u);
    EXPECT_LE(LargestChordError(arc, radius), 0.55);
    const double c = 1.5 * radius;
    EXPECT_NEAR(arc.front().x, c + radius * std::cos(-10 * kxangle::kPi / 180), 1.0);
    EXPECT_NEAR(arc.back().y, c - radius * std::sin(10 * kxangle::kPi / 180), 1.0);
}

TEST(FineCurves, EllipsesFollowTheirLargerAxis) {
    const double radius = 1000.0;
    // Major axis 1 along x, minor 0.5.
    const auto points =
        DrawAtRadius<CKXEllipse>(radius, KX_DISPLAY_FINE_CURVES, CFltPoint{0, 0}, CFltPoint{1, 0}, 0.5, 0.0, 0.0, true);
    EXPECT_EQ(points.size(), static_cast<std::size_t>(kxdraw::FineChordCount(radius, kxangle::kTwoPi)) + 1u);
    const double c = 1.5 * radius;
    for (const DevicePoint& p : points) {
        const double u = (p.x - c) / radius, v = (c - p.y) / (radius / 2);
        EXPECT_NEAR(u * u + v * v, 1.0, 0.01);
    }
    EXPECT_EQ(DrawAtRadius<CKXEllipse>(radius, 0, CFltPoint{0, 0}, CFltPoint{1, 0}, 0.5, 0.0, 0.0, true).size(),
              1u + 40u + 2u);
}

}  // namespace
