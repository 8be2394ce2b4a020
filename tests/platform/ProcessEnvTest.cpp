#include <gtest/gtest.h>

#include <kxplatform/processenv.h>

#include <cstdlib>

TEST(EnvironmentVariable, CopiesOrTellsTheSizeNeeded) {
    ASSERT_EQ(setenv("KX_TEST_VARIABLE", "plan", 1), 0);
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(GetEnvironmentVariableA("KX_TEST_VARIABLE", buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "plan");
    // Too small by the terminating zero: the size needed, nothing copied.
    char small[4] = "abc";
    EXPECT_EQ(GetEnvironmentVariableA("KX_TEST_VARIABLE", small, sizeof small), 5u);
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(GetEnvironmentVariableA("KX_TEST_VARIABLE", nullptr, 0), 5u);
    EXPECT_EQ(KXEnvironmentVariable("KX_TEST_VARIABLE"), "plan");

    ASSERT_EQ(unsetenv("KX_TEST_VARIABLE"), 0);
    EXPECT_EQ(GetEnvironmentVariableA("KX_TEST_VARIABLE", buffer, sizeof buffer), 0u);
    EXPECT_EQ(KXEnvironmentVariable("KX_TEST_VARIABLE"), "");
    EXPECT_EQ(GetEnvironmentVariableA(nullptr, buffer, sizeof buffer), 0u);
}
