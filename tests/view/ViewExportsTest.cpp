// The view exports on a view of a finished document.
#include <gtest/gtest.h>

#include <korvex/kxcore.h>
#include <kxplatform/debugapi.h>

#include <string>
#include <vector>

#include "CKXDoc.h"

namespace {

class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        doc = KXCreateDocInstance();
        ASSERT_NE(doc, nullptr);
        static_cast<CKXDoc*>(doc)->SetExtents(CFltExtents(0, 0, 100, 100));
        view = KXCreateView(doc, nullptr, 0);
        ASSERT_NE(view, nullptr);
        KXViewSetDocDelete(view, 1);
        KXViewShow(view);
        previous = SetDebugOutputSink(&Capture, &lines, &previousContext);
    }
    void TearDown() override {
        SetDebugOutputSink(previous, previousContext, nullptr);
        KXViewDelete(view);  // deletes the document too
    }
    static void Capture(const char* text, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(text);
    }

    KXDOC doc = nullptr;
    KXVIEW view = nullptr;
    std::vector<std::string> lines;
    KXDEBUGSINK previous = nullptr;
    void* previousContext = nullptr;
};

TEST_F(ViewFixture, ZoomsAreRecordedAndWalkedBackAndForth) {
    EXPECT_EQ(KXViewBkwZoomAvailable(view), 0);
    KXViewZoom(view, 2.0);
    KXViewZoom(view, 2.0);
    EXPECT_EQ(KXViewBkwZoomAvailable(view), 1);
    KXViewBkwZoom(view);
    KXViewBkwZoom(view);
    KXViewBkwZoom(view);
    // The ratios in the view's own window: twice, then once the whole.
    EXPECT_EQ(lines, (std::vector<std::string>{"Bkw zoom: 2.000000\n", "Bkw zoom: 1.000000\n",
                                               "Bkw zoom is unavailable.\n"}));
    EXPECT_EQ(KXViewFrwZoomAvailable(view), 1);
    KXViewFrwZoom(view);
    KXViewFrwZoom(view);
    KXViewFrwZoom(view);
    EXPECT_EQ(lines.back(), "Frw zoom is unavailable.\n");
}

TEST_F(ViewFixture, BookmarksThroughTheExports) {
    EXPECT_EQ(KXViewBmkGetMaxSize(view), 100);
    EXPECT_EQ(KXViewBmkSet(view, "Plan"), 1);
    EXPECT_EQ(KXViewBmkSet(view, "Plan"), 1);
    char name[512];
    ASSERT_EQ(KXViewBmkGetName(view, 1, name), 1);
    EXPECT_STREQ(name, "Plan (1)");
    EXPECT_EQ(KXViewBmkGetCurrent(view), 0);
    EXPECT_EQ(KXViewBmkGoNext(view, name), 1);
    EXPECT_STREQ(name, "Plan (1)");
    EXPECT_EQ(KXViewBmkGoNext(view, name), 1);
    EXPECT_STREQ(name, "Plan") << "wraps";
    // Same zoom ratio (no window: 1): the jumps are not recorded.
    EXPECT_EQ(KXViewBkwZoomAvailable(view), 0);
    const int twice[] = {1, 1};
    KXViewBmkRemove(view, twice, 2);
    EXPECT_EQ(KXViewBmkGetSize(view), 1);
    EXPECT_EQ(KXViewBmkRename(view, 5, "x"), 1);
    EXPECT_EQ(KXViewBmkGoto(view, 1), 0);
}

TEST(ViewExports, NullViewsAndDocumentsDoNothing) {
    KXVIEW view = KXCreateView(nullptr, nullptr, 0);
    ASSERT_NE(view, nullptr);
    KXViewShow(view);
    KXViewZoom(view, 2.0);
    KXViewZoomAll(view);
    EXPECT_EQ(KXViewBkwZoomAvailable(view), 0);
    KXViewDelete(view);
    EXPECT_EQ(KXViewBmkGetCurrent(nullptr), -1);
    EXPECT_EQ(KXViewBmkGetMaxSize(nullptr), 0);
}

}  // namespace
