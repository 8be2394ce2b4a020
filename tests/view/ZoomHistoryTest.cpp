#include <gtest/gtest.h>

#include "render/view/CKXZoomHistory.h"

namespace {

CFltExtents Box(double size) { return CFltExtents(0, 0, size, size); }

TEST(ZoomHistory, BackwardStoresThePresentSoForwardReturnsToIt) {
    CKXZoomHistory history;
    EXPECT_FALSE(history.BackwardAvailable());
    history.Record(Box(1));  // A -> B
    history.Record(Box(2));  // B -> C
    EXPECT_TRUE(history.Pending());
    EXPECT_EQ(history.Backward(Box(3)).value().xmax, 2);  // stores C, shows B
    EXPECT_FALSE(history.Pending());
    EXPECT_EQ(history.Backward(Box(99)).value().xmax, 1);  // A; present not stored again
    EXPECT_FALSE(history.Backward(Box(99)).has_value());
    EXPECT_EQ(history.Forward().value().xmax, 2);
    EXPECT_EQ(history.Forward().value().xmax, 3);
    EXPECT_FALSE(history.ForwardAvailable());
    EXPECT_FALSE(history.Forward().has_value());
}

TEST(ZoomHistory, AZoomAfterGoingBackDiscardsTheEntriesAhead) {
    CKXZoomHistory history;
    history.Record(Box(1));
    history.Record(Box(2));
    ASSERT_TRUE(history.Backward(Box(3)).has_value());  // at B
    history.Record(Box(4));                             // zoom from B
    EXPECT_FALSE(history.ForwardAvailable());
    EXPECT_EQ(history.Backward(Box(5)).value().xmax, 4);
    EXPECT_EQ(history.Backward(Box(5)).value().xmax, 1);
    EXPECT_FALSE(history.BackwardAvailable());
}

TEST(ZoomHistory, OneHundredAndOneZoomsDropTheFirst) {
    CKXZoomHistory history;
    for (int i = 1; i <= 101; ++i) history.Record(Box(i));
    double last = 0;
    int steps = 0;
    while (auto back = history.Backward(Box(1000))) {
        last = back->xmax;
        ++steps;
    }
    // The ring holds 100 slots, one of them the present stored by the
    // first step back, and one always free.
    EXPECT_EQ(steps, CKXZoomHistory::kCapacity - 2);
    EXPECT_EQ(last, 4.0) << "the first recorded extents are no longer reachable";
}

}  // namespace
