// Case-insensitive comparison of ASCII text.
#include <kxplatform/stringapi.h>

#include <gtest/gtest.h>

namespace {

TEST(StringApi, ComparesIgnoringTheCaseOfAsciiLettersOnly) {
    EXPECT_EQ(lstrcmpiA(".DXF", ".dxf"), 0);
    EXPECT_EQ(lstrcmpiA("ConversionDirectory", "conversiondirectory"), 0);
    EXPECT_LT(lstrcmpiA("abc", "ABD"), 0);
    EXPECT_GT(lstrcmpiA("abd", "ABC"), 0);
    // A shorter string sorts first; bytes above ASCII are compared as they are.
    EXPECT_LT(lstrcmpiA(".dx", ".dxf"), 0);
    EXPECT_GT(lstrcmpiA(".dxf", ".dx"), 0);
    EXPECT_NE(lstrcmpiA("\xC4", "\xE4"), 0);
    // '[' lies between the capitals and the small letters: no folding of it.
    EXPECT_NE(lstrcmpiA("[", "{"), 0);
}

TEST(StringApi, ComparesAPrefixOfTheGivenLength) {
    EXPECT_EQ(_strnicmp("-D:drawings", "-d:", 3), 0);
    EXPECT_NE(_strnicmp("-L:list", "-d:", 3), 0);
    EXPECT_EQ(_strnicmp("abc", "ABD", 2), 0);
    EXPECT_EQ(_strnicmp("ab", "AB", 10), 0);
    EXPECT_EQ(_strnicmp("x", "y", 0), 0);
}

}  // namespace
