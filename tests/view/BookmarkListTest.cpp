#include <gtest/gtest.h>

#include "render/view/CKXBookmarkList.h"

namespace {

CFltExtents Box(double size) { return CFltExtents(0, 0, size, size); }

CKXBookmarkList ThreeMarks() {
    CKXBookmarkList list;
    list.Add("a", Box(1));
    list.Add("b", Box(2));
    list.Add("c", Box(3));
    return list;
}

TEST(BookmarkList, NavigationWrapsAroundTheEnds) {
    CKXBookmarkList list = ThreeMarks();
    EXPECT_FALSE(list.PrevAvailable()) << "no current entry yet";
    EXPECT_EQ(list.GoNext()->name, "a");
    EXPECT_EQ(list.GoPrev()->name, "c");
    EXPECT_EQ(list.GoNext()->name, "a") << "from the last entry to the first";
    ASSERT_NE(list.GoTo(2), nullptr);
    EXPECT_EQ(list.GoTo(3), nullptr);
    EXPECT_EQ(list.Current(), 2);
}

TEST(BookmarkList, WithoutWrapTheEndsStop) {
    CKXBookmarkList list(false, true);
    list.Add("a", Box(1));
    list.Add("b", Box(2));
    EXPECT_EQ(list.GoNext()->name, "a");
    EXPECT_FALSE(list.PrevAvailable());
    EXPECT_EQ(list.GoNext()->name, "b");
    EXPECT_FALSE(list.NextAvailable());
    EXPECT_EQ(list.GoNext(), nullptr);
}

TEST(BookmarkList, CurrentStartsAtTheFirstEntryWhenAsked) {
    CKXBookmarkList list;
    EXPECT_EQ(list.Current(), -1);
    list.Add("a", Box(1));
    EXPECT_EQ(list.Current(), 0);
    EXPECT_TRUE(list.PrevAvailable());
}

TEST(BookmarkList, NamesAreMadeUniqueButRenameKeepsDuplicates) {
    CKXBookmarkList list;
    list.Add("Plan", Box(1));
    list.Add("plan", Box(2));
    list.Add("Plan", Box(3));
    EXPECT_EQ(list.At(1)->name, "plan (1)");
    EXPECT_EQ(list.At(2)->name, "Plan (2)");
    EXPECT_TRUE(list.Rename(2, "Plan"));
    EXPECT_EQ(list.At(2)->name, "Plan");
    EXPECT_FALSE(list.Rename(3, "x"));
}

TEST(BookmarkList, AFullListRefusesMore) {
    CKXBookmarkList list;
    for (int i = 0; i < CKXBookmarkList::kMaxSize; ++i) ASSERT_TRUE(list.Add("m", Box(1)));
    EXPECT_FALSE(list.Add("m", Box(1)));
    EXPECT_EQ(list.At(CKXBookmarkList::kMaxSize - 1)->name, "m (99)");
}

TEST(BookmarkList, RemovalKeepsOrderAndTheCurrentIndexWithinTheList) {
    CKXBookmarkList list = ThreeMarks();
    list.GoTo(2);
    const int doomed[] = {2, 0, 2};  // the repeat counts once
    list.Remove(doomed, 3);
    ASSERT_EQ(list.Size(), 1);
    EXPECT_EQ(list.At(0)->name, "b");
    EXPECT_EQ(list.Current(), 0);
    EXPECT_EQ(list.GoNext()->name, "b");
}

TEST(BookmarkList, AnIndexOutOfRangeRemovesNothingAndNullRemovesAll) {
    CKXBookmarkList list = ThreeMarks();
    const int bad[] = {0, 3};
    list.Remove(bad, 2);
    EXPECT_EQ(list.Size(), 3);
    list.GoTo(1);
    list.Remove(nullptr, 0);
    EXPECT_EQ(list.Size(), 0);
    EXPECT_EQ(list.Current(), -1);
}

}  // namespace
