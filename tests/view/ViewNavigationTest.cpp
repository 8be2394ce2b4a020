#include <gtest/gtest.h>

#include "render/view/KXViewNavigation.h"

namespace {

TEST(ViewNavigation, ZoomRatioComparesWithTheWholeDocument) {
    const CFltExtents document(0, 0, 100, 50);
    EXPECT_DOUBLE_EQ(kxview::ZoomRatio(document, document, 402, 202), 1.0);
    EXPECT_DOUBLE_EQ(kxview::ZoomRatio(CFltExtents(0, 0, 50, 25), document, 402, 202), 2.0);
    EXPECT_EQ(kxview::ZoomRatio(CFltExtents(0, 0, 50, 25), document, 2, 202), 1.0) << "no inner width";
    EXPECT_EQ(kxview::ZoomRatio(CFltExtents(0, 0, 50, 25), document, 402, 2), 1.0) << "no inner height";
}

TEST(ViewNavigation, RatiosWithinOneHundredthAreTheSameZoom) {
    EXPECT_TRUE(kxview::SameZoom(2.0, 2.01));
    EXPECT_TRUE(kxview::SameZoom(2.0, 1.995));
    EXPECT_FALSE(kxview::SameZoom(2.0, 2.02));
}

TEST(ViewNavigation, DebugLines) {
    EXPECT_EQ(kxview::NavigationLine(true, 1.5), "Bkw zoom: 1.500000\n");
    EXPECT_EQ(kxview::NavigationLine(false, 0.25), "Frw zoom: 0.250000\n");
    EXPECT_EQ(kxview::NavigationLine(true, std::nullopt), "Bkw zoom is unavailable.\n");
    EXPECT_EQ(kxview::NavigationLine(false, std::nullopt), "Frw zoom is unavailable.\n");
}

}  // namespace
