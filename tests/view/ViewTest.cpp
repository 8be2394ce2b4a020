#include <gtest/gtest.h>

#include "CKXDoc.h"
#include "render/view/CKXView.h"

namespace {

TEST(View, ZoomScalesAboutTheCentreAndBackwardReturns) {
    CKXDoc doc;
    doc.SetExtents(CFltExtents(0, 0, 100, 100));
    CKXView view(&doc);
    view.Zoom(2.0);
    EXPECT_FALSE(view.BackwardAvailable()) << "empty extents refuse zooms";
    view.SetExtents(doc.GetExtents());
    view.Zoom(2.0);
    EXPECT_EQ(view.GetExtents().xmin, 25.0);
    EXPECT_EQ(view.GetExtents().xmax, 75.0);
    view.Zoom(0.5);
    EXPECT_EQ(view.GetExtents().xmax, 100.0);
    view.Backward();
    EXPECT_EQ(view.GetExtents().xmax, 75.0);
    view.Forward();
    EXPECT_EQ(view.GetExtents().xmax, 100.0) << "backward stored the present extents";
}

TEST(View, BookmarkJumpsRecordOnlyAChangeOfZoomRatio) {
    CKXDoc doc;
    doc.SetExtents(CFltExtents(0, 0, 100, 100));
    CKXView view(&doc);
    view.SetClientSize(102, 102);
    view.SetExtents(doc.GetExtents());
    const CKXBookmark moved{"moved", CFltExtents(50, 50, 150, 150)};
    view.JumpTo(moved);
    EXPECT_FALSE(view.BackwardAvailable()) << "same ratio: not recorded";
    const CKXBookmark closer{"closer", CFltExtents(0, 0, 50, 50)};
    view.JumpTo(closer);
    EXPECT_TRUE(view.BackwardAvailable());
    EXPECT_DOUBLE_EQ(view.ZoomRatio(view.GetExtents()), 2.0);
}

}  // namespace
