// The kxpdbinfo tool: summary and exit status 0 for a valid file, a message
// and exit status 1 for a broken one, 2 for a usage error.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "FileTestSupport.h"

using namespace kxtest;

namespace {

struct ToolRun {
    int status = -1;
    std::string output;
};

ToolRun RunTool(const std::string& arguments) {
    ToolRun run;
    const std::string command = std::string(KX_BIN_DIR) + "/kxpdbinfo " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(PdbInfoTool, SummarisesValidFilesAndRejectsBrokenOnes) {
    ASSERT_TRUE(std::filesystem::exists(std::string(KX_BIN_DIR) + "/kxpdbinfo"));
    ScopedTempDir dir;
    Doc doc;
    for (int i = 0; i < 10; ++i) doc.Line(i, 0, i, 5);
    const double centre[2] = {3, 3};
    KXAddCircle(doc.Handle(), centre, 2.0, nullptr, nullptr);
    const std::string path = dir.File("tool.pdb");
    ASSERT_TRUE(CloseWriteValidate(doc, path).ok);

    const ToolRun ok = RunTool("'" + path + "'");
    EXPECT_EQ(ok.status, 0) << ok.output;
    EXPECT_NE(ok.output.find("line: 10"), std::string::npos) << ok.output;
    EXPECT_NE(ok.output.find("circle: 1"), std::string::npos) << ok.output;
    EXPECT_NE(ok.output.find("Resolution:"), std::string::npos);

    std::vector<std::uint8_t> bytes = ReadAll(path);
    bytes[61] = 'x';
    const std::string broken = dir.File("broken.pdb");
    std::FILE* f = std::fopen(broken.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    const ToolRun bad = RunTool("-q '" + broken + "'");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.output.find("invalid drawing file"), std::string::npos) << bad.output;

    EXPECT_EQ(RunTool("").status, 2);
}

TEST(PdbInfoTool, ListsLayersWithColourAndStateAndThePropertiesOneByOne) {
    ScopedTempDir dir;
    Doc doc;
    const int red = KXAttribColor(doc.Handle(), 0x0000FF);
    tagKXLayer walls{};
    walls.name = "Walls";
    walls.state = 1;
    walls.color = red;
    ASSERT_EQ(1, KXAttribLayer(doc.Handle(), &walls));
    tagKXLayer hidden{};
    hidden.name = "Hidden";
    hidden.state = 0;
    ASSERT_EQ(2, KXAttribLayer(doc.Handle(), &hidden));
    KXAddProperty(doc.Handle(), "DXF Version", "AutoCAD 2004 DXF");
    doc.Line(0, 0, 1, 1);
    const std::string path = dir.File("layers.pdb");
    ASSERT_TRUE(CloseWriteValidate(doc, path).ok);

    const ToolRun text = RunTool("'" + path + "'");
    EXPECT_NE(text.output.find("  Walls  #FF0000  on\n"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("  Hidden  -  off\n"), std::string::npos) << text.output;
    const ToolRun json = RunTool("--json '" + path + "'");
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.output.find("{\"name\":\"Walls\",\"colour\":\"#FF0000\",\"on\":true}"), std::string::npos)
        << json.output;
    EXPECT_NE(json.output.find("{\"name\":\"DXF Version\",\"value\":\"AutoCAD 2004 DXF\"}"), std::string::npos)
        << json.output;
}
