// Work meant for a second thread runs all the same when no thread can be
// started.
#include <gtest/gtest.h>

#include <system_error>
#include <thread>

#include "KXBeside.h"

namespace {

TEST(Beside, WorkRunsOnASecondThread) {
    const std::thread::id caller = std::this_thread::get_id();
    std::thread::id ranOn;
    std::future<void> done = KXStartBeside([&] { ranOn = std::this_thread::get_id(); });
    ASSERT_TRUE(done.valid());
    done.get();
    EXPECT_NE(ranOn, caller);
}

// Work that cannot be handed to a thread: moving it away fails as starting
// a thread does when the process has none to spare.
struct Unmovable {
    int* runs;
    explicit Unmovable(int* counter) : runs(counter) {}
    Unmovable(const Unmovable&) { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); }
    Unmovable(Unmovable&& other) : Unmovable(static_cast<const Unmovable&>(other)) {}
    void operator()() const { ++*runs; }
};

TEST(Beside, WithoutAThreadWorkRunsHereAtOnce) {
    int runs = 0;
    Unmovable work(&runs);
    std::future<void> done = KXStartBeside(work);
    EXPECT_FALSE(done.valid());
    EXPECT_EQ(runs, 1);
}

}  // namespace
