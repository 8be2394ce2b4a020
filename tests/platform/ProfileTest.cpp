// Private-profile files: lookups, integer rules, writing and editing.
#include <cstring>
#include <kxplatform/profileapi.h>

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

namespace {

class ProfileTest : public ::testing::Test {
protected:
    std::string Get(const char* section, const char* key, const char* fallback = "dflt") {
        char buffer[256];
        GetPrivateProfileStringA(section, key, fallback, buffer, sizeof buffer, file_.c_str());
        return buffer;
    }
    int Int(const char* key, int fallback = 77) {
        return static_cast<int>(GetPrivateProfileIntA("S", key, fallback, file_.c_str()));
    }

    ScratchDir dir_;
    std::string file_ = dir_ / "korvex.ini";
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Get("DISPLAY", "bkColor"), "dflt");
    EXPECT_EQ(Int("bkColor", 5), 5);
    dir_.Write("korvex.ini", "[DISPLAY]\nbkColor=3\n");
    EXPECT_EQ(Get("OTHER", "bkColor"), "dflt");
    EXPECT_EQ(Get("DISPLAY", "fgColor"), "dflt");
    EXPECT_EQ(Get("DISPLAY", "fgColor", nullptr), "");
    EXPECT_EQ(Get("DISPLAY", "fgColor", "trailing   "), "trailing");
}

TEST_F(ProfileTest, SectionsAndKeysMatchIgnoringCaseAndValuesAreTrimmed) {
    dir_.Write("korvex.ini",
               "; a comment\n"
               "[ Display ]\n"
               "  BKCOLOR =  42  \n"
               "Name = \"quoted value\"\n"
               "Other='x'\n"
               "[Conversion]\r\n"
               "ConversionDirectory=/data/out/\r\n");
    EXPECT_EQ(Get("DISPLAY", "bkcolor"), "42");
    EXPECT_EQ(Get("display", "name"), "quoted value");
    EXPECT_EQ(Get("DISPLAY", "other"), "x");
    EXPECT_EQ(Get("CONVERSION", "conversiondirectory"), "/data/out/");
}

TEST_F(ProfileTest, IntegersFollowThePlatformRules) {
    dir_.Write("korvex.ini",
               "[S]\n"
               "dec=16777215\n"
               "neg=  -5\n"
               "hex=0x1F\n"
               "oct=0o17\n"
               "bin=0b101\n"
               "trailing=12ab\n"
               "garbage=abc\n"
               "empty=\n"
               "plus=+7\n");
    EXPECT_EQ(Int("dec"), 16777215);
    EXPECT_EQ(Int("neg"), -5);
    EXPECT_EQ(Int("hex"), 31);
    EXPECT_EQ(Int("oct"), 15);
    EXPECT_EQ(Int("bin"), 5);
    EXPECT_EQ(Int("trailing"), 12);
    EXPECT_EQ(Int("garbage"), 0);
    EXPECT_EQ(Int("empty"), 77);
    EXPECT_EQ(Int("plus"), 7);
}

TEST_F(ProfileTest, StringIsTruncatedToTheBuffer) {
    dir_.Write("korvex.ini", "[S]\nk=abcdefgh\n");
    char buffer[4];
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, sizeof buffer, file_.c_str()), 3u);
    EXPECT_EQ(std::string(buffer), "abc");
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 0, file_.c_str()), 0u);
}

TEST_F(ProfileTest, WritingCreatesTheFileAndKeepsKeysInOrder) {
    ASSERT_TRUE(WritePrivateProfileStringA("DISPLAY", "Monochrome", "0", file_.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("DISPLAY", "bkColor", "0", file_.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("CONVERSION", "CnvBatchAllPages", "1", file_.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("display", "fgColor", "16777215", file_.c_str()));
    EXPECT_EQ(dir_.Read("korvex.ini"),
              "[DISPLAY]\nMonochrome=0\nbkColor=0\nfgColor=16777215\n\n"
              "[CONVERSION]\nCnvBatchAllPages=1\n");
}

TEST_F(ProfileTest, EditsKeepEverythingElse) {
    dir_.Write("korvex.ini", "; keep me\n[A]\nx=1\nY=2\n\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileStringA("a", "y", "20", file_.c_str()));
    EXPECT_EQ(dir_.Read("korvex.ini"), "; keep me\n[A]\nx=1\nY=20\n\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileStringA("A", "x", nullptr, file_.c_str()));
    EXPECT_EQ(dir_.Read("korvex.ini"), "; keep me\n[A]\nY=20\n\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileStringA("A", nullptr, nullptr, file_.c_str()));
    EXPECT_EQ(dir_.Read("korvex.ini"), "; keep me\n[B]\nz=3\n");
}

TEST_F(ProfileTest, CrLfFilesStayCrLf) {
    dir_.Write("korvex.ini", "[A]\r\nx=1\r\n");
    ASSERT_TRUE(WritePrivateProfileStringA("A", "y", "2", file_.c_str()));
    EXPECT_EQ(dir_.Read("korvex.ini"), "[A]\r\nx=1\r\ny=2\r\n");
}

TEST_F(ProfileTest, ListsSectionsAndKeys) {
    dir_.Write("korvex.ini", "[A]\nx=1\ny=2\n[B]\n");
    char buffer[64];
    const DWORD sections = GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer,
                                                    file_.c_str());
    EXPECT_EQ(std::string(buffer, sections), std::string("A\0B\0", 4));
    EXPECT_EQ(buffer[sections], '\0');
    const DWORD keys = GetPrivateProfileStringA("a", nullptr, "", buffer, sizeof buffer, file_.c_str());
    EXPECT_EQ(std::string(buffer, keys), std::string("x\0y\0", 4));
    char tiny[4];
    EXPECT_EQ(GetPrivateProfileStringA("A", nullptr, "", tiny, sizeof tiny, file_.c_str()), 2u);
    EXPECT_EQ(std::string(tiny, 4), std::string("x\0\0\0", 4)) << "cut, still double-terminated";
}

TEST_F(ProfileTest, LineBreaksInWrittenTextAreRefused) {
    EXPECT_FALSE(WritePrivateProfileStringA("A", "x", "1\n[Injected]", file_.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("A\n", "x", "1", file_.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "x", "1", file_.c_str()));
    EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(ProfileTest, UnwritableDirectoryFailsAndLeavesTheFileWhole) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    dir_.Write("korvex.ini", "[A]\nx=1\n");
    chmod(dir_.path().c_str(), 0500);
    EXPECT_FALSE(WritePrivateProfileStringA("A", "x", "2", file_.c_str()));
    chmod(dir_.path().c_str(), 0700);
    EXPECT_EQ(dir_.Read("korvex.ini"), "[A]\nx=1\n");
}

TEST_F(ProfileTest, MissingDirectoryFails) {
    EXPECT_FALSE(WritePrivateProfileStringA("A", "x", "1", (dir_ / "no/korvex.ini").c_str()));
}

}  // namespace

// Found by the INI fuzzer: a name that fills the buffer up to its last byte
// made the next name's share negative.
TEST_F(ProfileTest, NameListThatFillsTheBufferExactlyIsCutSafely) {
    dir_.Write("korvex.ini", "[abcde]\n[f]\n");
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    const DWORD copied = GetPrivateProfileStringA(nullptr, nullptr, "", buffer, 7, file_.c_str());
    EXPECT_EQ(copied, 5u);
    EXPECT_EQ(std::string(buffer, 7), std::string("abcde\0\0", 7));
    EXPECT_EQ(buffer[7], 'x');
}
