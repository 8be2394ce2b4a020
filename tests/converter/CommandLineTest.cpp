// Command-line recognition.
#include "CCommandLineInfoExt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CCommandLineInfoExt Parse(const std::vector<std::string>& arguments) {
    CCommandLineInfoExt commandLine;
    commandLine.ParseCommandLine(arguments);
    return commandLine;
}

TEST(CommandLine, NoArgumentsAsksForHelpWithLogo) {
    const auto commandLine = Parse({});
    EXPECT_TRUE(commandLine.WantsHelp());
    EXPECT_TRUE(commandLine.showLogo);
    EXPECT_FALSE(commandLine.batch);
}

TEST(CommandLine, NologoAnywhereInAnyCase) {
    EXPECT_FALSE(Parse({"-nologo"}).showLogo);
    EXPECT_FALSE(Parse({"-NoLogo", "plan.dxf"}).showLogo);
    EXPECT_FALSE(Parse({"plan.dxf", "-nologo"}).showLogo);
    EXPECT_TRUE(Parse({"-nologo2"}).showLogo);
    EXPECT_TRUE(Parse({"-nologo"}).WantsHelp());
}

TEST(CommandLine, FirstPlainArgumentIsTheFile) {
    const auto commandLine = Parse({"-h", "first.dxf", "second.dxf"});
    EXPECT_EQ(commandLine.fileName, "first.dxf");
    EXPECT_FALSE(commandLine.WantsHelp());
}

TEST(CommandLine, AbsolutePathIsAFileNotAnOption) {
    EXPECT_EQ(Parse({"/data/plan.dxf"}).fileName, "/data/plan.dxf");
}

TEST(CommandLine, DirectoryAndListModes) {
    const auto commandLine = Parse({"-d:/drawings", "-L:list.txt"});
    EXPECT_TRUE(commandLine.batch);
    EXPECT_TRUE(commandLine.directoryMode);
    EXPECT_EQ(commandLine.directory, "/drawings");
    EXPECT_TRUE(commandLine.listMode);
    EXPECT_EQ(commandLine.listFile, "list.txt");
    EXPECT_TRUE(commandLine.fileName.empty());
}

TEST(CommandLine, LaterModeArgumentReplacesAnEarlierOne) {
    const auto commandLine = Parse({"-d:one", "-D:two"});
    EXPECT_EQ(commandLine.directory, "two");
}

TEST(CommandLine, BareModePrefixIsNoOptionAndLeadsToHelp) {
    const auto commandLine = Parse({"-d:"});
    EXPECT_FALSE(commandLine.directoryMode);
    EXPECT_TRUE(commandLine.WantsHelp());
    EXPECT_FALSE(Parse({"-l:"}).listMode);
}

// A plain argument that begins like a mode is both the file and the mode.
TEST(CommandLine, PlainDriveLikeArgumentIsFileAndDirectory) {
    const auto commandLine = Parse({"d:/x.dxf"});
    EXPECT_EQ(commandLine.fileName, "d:/x.dxf");
    EXPECT_TRUE(commandLine.directoryMode);
    EXPECT_EQ(commandLine.directory, "/x.dxf");
}

}  // namespace
