// Mouse, wheel and keys on a view of a 0..100 square in a 102 x 102 client
// area: one device unit is one drawing unit, y pointing down.
#include <gtest/gtest.h>

#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>
#include <kxplatform/winkeys.h>

#include "CKXDoc.h"
#include "render/view/CKXView.h"

namespace {

// A wheel message parameter: the delta in the high word.
std::uint32_t WheelParam(int delta) { return static_cast<std::uint32_t>(delta) << 16; }

class ToolFixture : public ::testing::Test {
protected:
    void SetUp() override {
        doc.SetExtents(CFltExtents(0, 0, 100, 100));
        view.SetClientSize(102, 102);
        view.SetExtents(doc.GetExtents());
    }
    double Width() const { return view.GetExtents().Width(); }

    CKXDoc doc;
    CKXView view{&doc};
};

TEST_F(ToolFixture, AWheelNotchZoomsBy112ForwardAnd088Backward) {
    view.Wheel(WheelParam(120));
    EXPECT_NEAR(Width(), 100 / 1.12, 1e-9);
    EXPECT_TRUE(view.BackwardAvailable()) << "one history entry";
    view.SetExtents(doc.GetExtents());
    view.Wheel(WheelParam(-120));
    EXPECT_NEAR(Width(), 100 / 0.88, 1e-9);
}

TEST_F(ToolFixture, ASmallWheelDeltaDoesNotZoom) {
    view.Wheel(WheelParam(46));
    EXPECT_EQ(Width(), 100.0);
    ASSERT_NE(view.Tool(), nullptr);
    EXPECT_EQ(view.Tool()->GetType(), CKXTool::kZoomDynamic);
    view.Wheel(WheelParam(47));
    EXPECT_LT(Width(), 100.0);
}

TEST_F(ToolFixture, PanWaitsForFiveUnitsThenMovesTheWholeDistance) {
    view.CreateTool(CKXTool::kPan);
    view.LeftButtonDown(POINT{50, 50});
    view.MouseMove(POINT{54, 46});
    EXPECT_EQ(view.GetExtents().xmin, 0.0);
    view.MouseMove(POINT{60, 50});
    EXPECT_EQ(view.GetExtents().xmin, -10.0) << "the drawing follows the mouse";
    view.ButtonUp(POINT{60, 50});
    EXPECT_FALSE(view.BackwardAvailable()) << "pans are not recorded";
}

TEST_F(ToolFixture, ZoomBoxNeedsMoreThanFourUnitsAndErasesItsBand) {
    HDC surface = KXCreateRasterDC(102, 102, RGB(255, 255, 255));
    view.SetSurface(surface);
    view.CreateTool(CKXTool::kZoomBox);
    view.LeftButtonDown(POINT{10, 10});
    view.MouseMove(POINT{14, 60});
    view.ButtonUp(POINT{14, 60});
    EXPECT_EQ(Width(), 100.0);
    EXPECT_FALSE(view.BackwardAvailable());

    view.LeftButtonDown(POINT{11, 11});
    view.MouseMove(POINT{41, 41});
    EXPECT_NE(KXGetRasterPixel(surface, 11, 11), RGB(255, 255, 255)) << "the band is shown";
    view.ButtonUp(POINT{41, 41});
    EXPECT_EQ(KXGetRasterPixel(surface, 11, 11), RGB(255, 255, 255)) << "and erased";
    EXPECT_NEAR(Width(), 30.0, 1e-9);
    EXPECT_TRUE(view.BackwardAvailable());
    view.SetSurface(nullptr);
    DeleteDC(surface);
}

TEST_F(ToolFixture, MiddleButtonPanKeepsTheSelectedTool) {
    view.CreateTool(CKXTool::kZoomBox);
    view.MiddleButtonDown(POINT{50, 50});
    EXPECT_EQ(view.Tool()->GetType(), CKXTool::kPan);
    view.ButtonUp(POINT{50, 50});
    view.LeftButtonDown(POINT{50, 50});
    EXPECT_EQ(view.Tool()->GetType(), CKXTool::kZoomBox);
    view.ButtonUp(POINT{50, 50});
}

TEST_F(ToolFixture, ArrowKeysMoveATenthOutsideTheHistory) {
    view.Key(VK_LEFT);
    EXPECT_NEAR(view.GetExtents().xmin, 10.0, 1e-5);
    view.Key(VK_UP);
    EXPECT_NEAR(view.GetExtents().ymin, -10.0, 1e-5);
    EXPECT_FALSE(view.BackwardAvailable());
    view.Key('X');
    EXPECT_NEAR(Width(), 50.0, 1e-9);
    view.Key(VK_SUBTRACT);
    EXPECT_NEAR(Width(), 100.0, 1e-9);
}

TEST_F(ToolFixture, ToolsOfTypeZeroNeverStart) {
    view.CreateTool(CKXTool::kNone);
    EXPECT_EQ(view.Tool(), nullptr);
    view.LeftButtonDown(POINT{1, 1});
    EXPECT_EQ(view.Tool(), nullptr);
}

}  // namespace
