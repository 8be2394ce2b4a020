// Wildcard directory search: case-insensitive matching, order, handles.
#include <kxplatform/fileapi.h>

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> FindAll(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data{};
    const HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.emplace_back(data.cFileName);
    } while (FindNextFileA(search, &data));
    EXPECT_TRUE(FindClose(search));
    return names;
}

class FindFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"PLAN.DXF", "b.dxf", "a.Dxf", "c.dwf", "notes.txt", "x.dxfx", "noext"}) {
            dir_.Write(name, "data");
        }
        std::filesystem::create_directory(dir_.path() / "folder.dxf");
    }
    ScratchDir dir_;
};

TEST_F(FindFileTest, ExtensionMatchesIgnoringCaseInNameOrder) {
    EXPECT_EQ(FindAll(dir_ / "*.dxf"),
              (std::vector<std::string>{"a.Dxf", "b.dxf", "folder.dxf", "PLAN.DXF"}));
    EXPECT_EQ(FindAll(dir_ / "*.DWF"), (std::vector<std::string>{"c.dwf"}));
}

TEST_F(FindFileTest, QuestionMarkAndExactNames) {
    EXPECT_EQ(FindAll(dir_ / "?.dxf"), (std::vector<std::string>{"a.Dxf", "b.dxf"}));
    EXPECT_EQ(FindAll(dir_ / "plan.dxf"), (std::vector<std::string>{"PLAN.DXF"}));
    EXPECT_EQ(FindAll(dir_ / "*x*"),
              (std::vector<std::string>{"a.Dxf", "b.dxf", "folder.dxf", "noext", "notes.txt",
                                        "PLAN.DXF", "x.dxfx"}));
}

TEST_F(FindFileTest, StarDotStarMatchesEveryNameAndStarIncludesTheDotEntries) {
    const auto all = FindAll(dir_ / "*.*");
    EXPECT_EQ(all.size(), 10u);  // ".", "..", seven files and the folder
    EXPECT_EQ(all.front(), ".");
    EXPECT_EQ(FindAll(dir_ / "*"), all);
}

TEST_F(FindFileTest, AttributesAndSize) {
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA((dir_ / "folder.*").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(FindNextFileA(search, &data));
    EXPECT_FALSE(FindNextFileA(search, &data)) << "stays at its end";
    FindClose(search);

    search = FindFirstFileA((dir_ / "notes.txt").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(data.nFileSizeLow, 4u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
    FindClose(search);
}

TEST_F(FindFileTest, NoMatchOrNoDirectoryIsAnInvalidHandle) {
    WIN32_FIND_DATAA data{};
    EXPECT_EQ(FindFirstFileA((dir_ / "*.pdb").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA((dir_ / "missing/*.dxf").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA((dir_.path().string() + "/").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(FindNextFileA(INVALID_HANDLE_VALUE, &data));
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
}

TEST_F(FindFileTest, RelativePatternSearchesTheCurrentDirectory) {
    char before[4096];
    ASSERT_GT(GetCurrentDirectoryA(sizeof before, before), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.path().c_str()));
    const auto names = FindAll("*.dwf");
    SetCurrentDirectoryA(before);
    EXPECT_EQ(names, (std::vector<std::string>{"c.dwf"}));
}

}  // namespace
