// Temporary files, current directory, directory creation and attributes.
#include <kxplatform/fileapi.h>

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <set>
#include <string>

namespace {

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(TempPath, HonoursTmpdirAndEndsInASeparator) {
    ScratchDir dir;
    ScopedEnv env("TMPDIR", dir.path().c_str());
    char buffer[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    EXPECT_EQ(std::string(buffer), dir.path().string() + "/");
    EXPECT_EQ(length, dir.path().string().size() + 1);
}

TEST(TempPath, WithoutTmpdirIsTheSystemTemp) {
    ScopedEnv env("TMPDIR", nullptr);
    char buffer[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof buffer, buffer), 0u);
    EXPECT_EQ(std::string(buffer), "/tmp/");
}

TEST(TempPath, SmallBufferGetsTheSizeNeededAndIsLeftAlone) {
    ScopedEnv env("TMPDIR", "/tmp");
    char buffer[4] = "xyz";
    EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), 6u);  // "/tmp/" and the terminator
    EXPECT_EQ(std::string(buffer), "xyz");
    EXPECT_EQ(GetTempPathA(0, nullptr), 6u);
}

TEST(TempFileName, CreatesNewFilesWithTheWholePrefixAndNeverRepeats) {
    ScratchDir dir;
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i) {
        char name[MAX_PATH];
        const UINT number = GetTempFileNameA(dir.path().c_str(), "UNIX", 0, name);
        ASSERT_NE(number, 0u);
        const std::string path = name;
        EXPECT_EQ(path.rfind(dir / "UNIX", 0), 0u) << path;
        EXPECT_EQ(path.substr(path.size() - 4), ".tmp");
        EXPECT_NE(GetFileAttributesA(name), INVALID_FILE_ATTRIBUTES) << "created";
        EXPECT_TRUE(names.insert(path).second) << "repeated " << path;
    }
}

TEST(TempFileName, SkipsNamesThatAlreadyExist) {
    ScratchDir dir;
    char first[MAX_PATH];
    const UINT number = GetTempFileNameA((dir.path().string() + "/").c_str(), "kx_", 0, first);
    ASSERT_NE(number, 0u);
    // Occupy the next few numbers: the search must step over them.
    for (UINT n = number + 1; n < number + 5; ++n) {
        char taken[MAX_PATH];
        ASSERT_NE(GetTempFileNameA(dir.path().c_str(), "kx_", n, taken), 0u);
        std::ofstream(taken) << "taken";
    }
    char next[MAX_PATH];
    ASSERT_NE(GetTempFileNameA(dir.path().c_str(), "kx_", 0, next), 0u);
    std::ifstream in(next);
    EXPECT_EQ(in.peek(), std::ifstream::traits_type::eof()) << "a new, empty file: " << next;
}

TEST(TempFileName, GivenNumberOnlyFormsTheName) {
    ScratchDir dir;
    char name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameA(dir.path().c_str(), "kx_", 0x1A2B, name), 0x1A2Bu);
    EXPECT_EQ(std::string(name), dir / "kx_1A2B.tmp");
    EXPECT_EQ(GetFileAttributesA(name), INVALID_FILE_ATTRIBUTES);
}

TEST(TempFileName, MissingDirectoryFails) {
    char name[MAX_PATH] = "";
    EXPECT_EQ(GetTempFileNameA("/nonexistent/kx", "kx_", 0, name), 0u);
    EXPECT_EQ(GetTempFileNameA(nullptr, "kx_", 0, name), 0u);
    const std::string longPath(MAX_PATH, 'a');
    EXPECT_EQ(GetTempFileNameA("/tmp", longPath.c_str(), 0, name), 0u);
}

TEST(CurrentDirectory, RoundTripsAndReportsTheSizeNeeded) {
    char before[4096];
    ASSERT_GT(GetCurrentDirectoryA(sizeof before, before), 0u);
    ScratchDir dir;
    ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
    char now[4096];
    const DWORD length = GetCurrentDirectoryA(sizeof now, now);
    EXPECT_EQ(std::string(now), std::filesystem::canonical(dir.path()).string());
    char tiny[2];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof tiny, tiny), length + 1);
    EXPECT_FALSE(SetCurrentDirectoryA((dir / "missing").c_str()));
    ASSERT_TRUE(SetCurrentDirectoryA(before));
}

TEST(CreateDirectory, MakesOneLevelOnly) {
    ScratchDir dir;
    EXPECT_TRUE(CreateDirectoryA((dir / "out").c_str(), nullptr));
    EXPECT_EQ(GetFileAttributesA((dir / "out").c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(CreateDirectoryA((dir / "out").c_str(), nullptr)) << "exists already";
    EXPECT_TRUE(CreateDirectoryA((dir / "with-separator/").c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA((dir / "a/b").c_str(), nullptr)) << "parent missing";
    EXPECT_FALSE(CreateDirectoryA("", nullptr));
}

TEST(DeleteFile, RemovesFilesButNotDirectories) {
    ScratchDir dir;
    dir.Write("f.txt", "x");
    EXPECT_EQ(GetFileAttributesA((dir / "f.txt").c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(DeleteFileA((dir / "f.txt").c_str()));
    EXPECT_EQ(GetFileAttributesA((dir / "f.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(DeleteFileA((dir / "f.txt").c_str()));
    EXPECT_FALSE(DeleteFileA(dir.path().c_str()));
    EXPECT_EQ(GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);
}

TEST(FileAttributes, DevicesAreNeitherFilesNorFolders) {
    EXPECT_EQ(GetFileAttributesA("/dev/null") & (FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_DIRECTORY),
              FILE_ATTRIBUTE_DEVICE);
}

TEST(MoveFileEx, ReplacesOnlyWhenAskedAndKeepsTheReplacedFilesRights) {
    ScratchDir dir;
    dir.Write("new.txt", "new");
    dir.Write("old.txt", "old");
    EXPECT_FALSE(MoveFileExA((dir / "new.txt").c_str(), (dir / "old.txt").c_str(), 0));
    EXPECT_EQ(dir.Read("old.txt"), "old");
    ASSERT_EQ(chmod((dir / "old.txt").c_str(), 0640), 0);
    EXPECT_TRUE(MoveFileExA((dir / "new.txt").c_str(), (dir / "old.txt").c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(dir.Read("old.txt"), "new");
    EXPECT_EQ(GetFileAttributesA((dir / "new.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    struct stat info {};
    ASSERT_EQ(stat((dir / "old.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // Without a file to replace, a private temporary file gets the usual rights.
    char temp[MAX_PATH];
    ASSERT_NE(GetTempFileNameA(dir.path().c_str(), "mv", 0, temp), 0u);
    const mode_t mask = umask(022);
    EXPECT_TRUE(MoveFileExA(temp, (dir / "fresh.txt").c_str(), MOVEFILE_REPLACE_EXISTING));
    umask(mask);
    ASSERT_EQ(stat((dir / "fresh.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    // Plain moves, and what is never moved or replaced.
    EXPECT_TRUE(MoveFileExA((dir / "fresh.txt").c_str(), (dir / "moved.txt").c_str(), 0));
    EXPECT_EQ(dir.Read("moved.txt"), "");
    ASSERT_TRUE(CreateDirectoryA((dir / "sub").c_str(), nullptr));
    EXPECT_FALSE(MoveFileExA((dir / "moved.txt").c_str(), (dir / "sub").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(MoveFileExA((dir / "sub").c_str(), (dir / "other").c_str(), 0));
    EXPECT_FALSE(MoveFileExA((dir / "missing").c_str(), (dir / "other").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(MoveFileExA(nullptr, (dir / "other").c_str(), 0));
    EXPECT_FALSE(MoveFileExA((dir / "moved.txt").c_str(), "", 0));
}

TEST(FileAttributesEx, ReportsSizeTimeAndKindLikeTheSearch) {
    ScratchDir dir;
    dir.Write("plan.dxf", std::string(70000, 'x'));
    WIN32_FILE_ATTRIBUTE_DATA facts;
    ASSERT_TRUE(GetFileAttributesExA((dir / "plan.dxf").c_str(), GetFileExInfoStandard, &facts));
    EXPECT_EQ(facts.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(facts.nFileSizeHigh, 0u);
    EXPECT_EQ(facts.nFileSizeLow, 70000u);

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir / "PLAN.DXF").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_EQ(found.ftLastWriteTime.dwLowDateTime, facts.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(found.ftLastWriteTime.dwHighDateTime, facts.ftLastWriteTime.dwHighDateTime);

    ASSERT_TRUE(GetFileAttributesExA(dir.path().c_str(), GetFileExInfoStandard, &facts));
    EXPECT_TRUE(facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(GetFileAttributesExA((dir / "missing").c_str(), GetFileExInfoStandard, &facts));
    EXPECT_FALSE(GetFileAttributesExA(nullptr, GetFileExInfoStandard, &facts));
    EXPECT_FALSE(GetFileAttributesExA((dir / "plan.dxf").c_str(), GetFileExInfoStandard, nullptr));
}

}  // namespace
