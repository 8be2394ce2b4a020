// Window repair, one-scale validation and the world/device mapping.
#include <gtest/gtest.h>

#include "render/CKXConverter.h"

namespace {

CKXConverter Make(const RECT& rect, const CFltExtents& window) {
    CKXConverter rc;
    rc.SetDeviceRect(rect);
    rc.SetWindow(window);
    return rc;
}

TEST(Converter, PointWindowBecomesTwoUnitSquare) {
    CKXConverter rc = Make(RECT{0, 0, 100, 100}, CFltExtents(5, 7, 5, 7));
    EXPECT_DOUBLE_EQ(rc.GetWindow().xmin, 4);
    EXPECT_DOUBLE_EQ(rc.GetWindow().ymin, 6);
    EXPECT_DOUBLE_EQ(rc.GetWindow().xmax, 6);
    EXPECT_DOUBLE_EQ(rc.GetWindow().ymax, 8);
    EXPECT_TRUE(rc.Validate());
    EXPECT_DOUBLE_EQ(rc.GetScaleX(), 50.0);
}

TEST(Converter, FlatWindowsGrowAcrossTheirLongSide) {
    CKXConverter wide = Make(RECT{0, 0, 10, 10}, CFltExtents(0, 3, 8, 3));
    EXPECT_DOUBLE_EQ(wide.GetWindow().ymin, -1);
    EXPECT_DOUBLE_EQ(wide.GetWindow().ymax, 7);
    CKXConverter tall = Make(RECT{0, 0, 10, 10}, CFltExtents(2, 0, 2, 4));
    EXPECT_DOUBLE_EQ(tall.GetWindow().xmin, 0);
    EXPECT_DOUBLE_EQ(tall.GetWindow().xmax, 4);
}

TEST(Converter, WideFlatWindowTakesTheSmallerScaleAndGrowsUpward) {
    // 200 x 10 drawing units into 100 x 100 device units: x limits the scale.
    CKXConverter rc = Make(RECT{0, 0, 100, 100}, CFltExtents(0, 0, 200, 10));
    ASSERT_TRUE(rc.Validate());
    EXPECT_DOUBLE_EQ(rc.GetScaleX(), 0.5);
    EXPECT_DOUBLE_EQ(rc.GetScaleY(), 0.5);
    EXPECT_DOUBLE_EQ(rc.GetWindow().xmin, 0);
    EXPECT_DOUBLE_EQ(rc.GetWindow().ymin, 0);
    EXPECT_DOUBLE_EQ(rc.GetWindow().xmax, 200);
    EXPECT_DOUBLE_EQ(rc.GetWindow().ymax, 200);
    // Tall and narrow: the window grows to the right instead.
    CKXConverter tall = Make(RECT{0, 0, 100, 100}, CFltExtents(10, 10, 20, 410));
    ASSERT_TRUE(tall.Validate());
    EXPECT_DOUBLE_EQ(tall.GetWindow().xmin, 10);
    EXPECT_DOUBLE_EQ(tall.GetWindow().xmax, 410);
    EXPECT_DOUBLE_EQ(tall.GetWindow().ymax, 410);
}

TEST(Converter, DegenerateRectanglesAndWindowsDoNotValidate) {
    EXPECT_FALSE(Make(RECT{0, 0, 0, 100}, CFltExtents(0, 0, 1, 1)).Validate());
    EXPECT_FALSE(Make(RECT{10, 10, 5, 20}, CFltExtents(0, 0, 1, 1)).Validate());
    EXPECT_FALSE(Make(RECT{0, 0, 100, 100}, CFltExtents(0, 0, 1e-7, 1)).Validate());
    EXPECT_FALSE(Make(RECT{0, 0, 100, 100}, CFltExtents(5, 5, 1, 1)).Validate());
    CKXConverter rc = Make(RECT{0, 0, 100, 100}, CFltExtents(0, 0, 1e-7, 1));
    POINT out{};
    const CFltPoint in{0, 0};
    EXPECT_FALSE(rc.ToDevice(&in, &out, 1));
}

TEST(Converter, MapsWithFlippedYAndTruncation) {
    CKXConverter rc = Make(RECT{10, 20, 110, 120}, CFltExtents(0, 0, 10, 10));
    ASSERT_TRUE(rc.Validate());
    const CFltPoint in[3] = {{0, 0}, {10, 10}, {2.57, 3.33}};
    POINT out[3];
    ASSERT_TRUE(rc.ToDevice(in, out, 3));
    EXPECT_EQ(out[0].x, 10);
    EXPECT_EQ(out[0].y, 120);
    EXPECT_EQ(out[1].x, 110);
    EXPECT_EQ(out[1].y, 20);
    EXPECT_EQ(out[2].x, 35);  // 25.7 + 10
    EXPECT_EQ(out[2].y, 86);  // 120 - 33.3
    CFltPoint back[1];
    ASSERT_TRUE(rc.ToWorld(&out[2], back, 1));
    EXPECT_DOUBLE_EQ(back[0].x, 2.5);
    EXPECT_DOUBLE_EQ(back[0].y, 3.4);
    EXPECT_FALSE(rc.ToDevice(in, out, 0));
    EXPECT_FALSE(rc.ToDevice(nullptr, out, 1));
}

TEST(Converter, HugeCoordinatesStayWithinThirtyTwoBits) {
    CKXConverter rc = Make(RECT{0, 0, 100, 100}, CFltExtents(0, 0, 1, 1));
    ASSERT_TRUE(rc.Validate());
    const CFltPoint in[2] = {{1e300, -1e300}, {-5e15, 5e15}};
    POINT out[2];
    ASSERT_TRUE(rc.ToDevice(in, out, 2));
    EXPECT_EQ(out[0].x, static_cast<LONG>(CKXDevicePath::kLimit));
    EXPECT_EQ(out[0].y, static_cast<LONG>(CKXDevicePath::kLimit));
    EXPECT_EQ(out[1].x, -static_cast<LONG>(CKXDevicePath::kLimit));
}

TEST(Converter, ACopySharesTheStyleAndKeepsItsOwnMapping) {
    CKXConverter rc = Make(RECT{0, 0, 100, 100}, CFltExtents(0, 0, 100, 100));
    ASSERT_TRUE(rc.Validate());
    CKXConverter copy(rc);
    copy.Transform().Translate(10, 0);
    POINT a{}, b{};
    const CFltPoint p{1, 1};
    rc.ToDevice(&p, &a, 1);
    copy.ToDevice(&p, &b, 1);
    EXPECT_EQ(b.x - a.x, 10);
    CFltPoint back{};
    copy.ToWorld(&b, &back, 1);
    EXPECT_NEAR(back.x, 1.0, 1e-9);
}

}  // namespace
