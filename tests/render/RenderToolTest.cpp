// The kxrender program end to end: a corpus drawing to PNG and SVG, and
// its refusals. Skipped when the program or the corpus is not there.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include <korvex/kxcore.h>

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

const std::string kTool = std::string(KX_BIN_DIR) + "/kxrender";
const std::string kDrawing = std::string(KX_SHARED_DIR) + "/corpus/dxfjs/arc15.dxf";

int RunTool(const std::string& arguments) {
    const std::string command = "'" + kTool + "' " + arguments + " > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class RenderTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Exists(kTool));
        if (!Exists(kDrawing)) GTEST_SKIP() << "corpus not available";
        m_base = "/tmp/kxrender_tool_" + std::to_string(getpid());
    }
    void TearDown() override {
        std::remove((m_base + ".png").c_str());
        std::remove((m_base + ".svg").c_str());
        std::remove((m_base + ".pdb").c_str());
    }
    std::string m_base;
};

TEST_F(RenderTool, DrawsADrawingAsPngAndSvg) {
    ASSERT_EQ(RunTool("'" + kDrawing + "' " + m_base + ".png --size 300"), 0);
    const std::string png = Slurp(m_base + ".png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");

    ASSERT_EQ(RunTool("'" + kDrawing + "' " + m_base + ".svg --background 000000 --monochrome"), 0);
    const std::string svg = Slurp(m_base + ".svg");
    EXPECT_NE(svg.find("<path stroke=\"#ffffff\""), std::string::npos);
}

// Width and height of a PNG, from its header chunk.
std::pair<int, int> PngSize(const std::string& png) {
    const auto at = [&](std::size_t i) {
        return (static_cast<unsigned char>(png[i]) << 24) | (static_cast<unsigned char>(png[i + 1]) << 16) |
               (static_cast<unsigned char>(png[i + 2]) << 8) | static_cast<unsigned char>(png[i + 3]);
    };
    return png.size() < 24 ? std::make_pair(0, 0) : std::make_pair(at(16), at(20));
}

TEST_F(RenderTool, AntiAliasedPngKeepsTheAskedSize) {
    ASSERT_EQ(RunTool("'" + kDrawing + "' " + m_base + ".png --size 300x200 --aa"), 0);
    EXPECT_EQ(PngSize(Slurp(m_base + ".png")), std::make_pair(300, 200));
    // SVG has no pixels to smooth: the option changes nothing there.
    ASSERT_EQ(RunTool("'" + kDrawing + "' " + m_base + ".svg --size 300 --aa"), 0);
    EXPECT_NE(Slurp(m_base + ".svg").find("<svg"), std::string::npos);
}

TEST_F(RenderTool, RefusesBadArgumentsAndUnreadableInput) {
    EXPECT_EQ(RunTool("'" + kDrawing + "' " + m_base + ".bmp"), 1);
    EXPECT_EQ(RunTool("'" + kDrawing + "'"), 1);
    EXPECT_EQ(RunTool("'" + kDrawing + "' " + m_base + ".png --size 0"), 1);
    EXPECT_EQ(RunTool("'" + kDrawing + "' " + m_base + ".png --window 1,1,0,2"), 1);
    EXPECT_EQ(RunTool("/nonexistent/drawing.dxf " + m_base + ".png"), 2);
    EXPECT_EQ(RunTool("/etc/hostname " + m_base + ".png"), 2);
    EXPECT_EQ(RunTool("--help"), 0);
}

// A drawing file is drawn from its own records; curves are fine unless
// --coarse-curves is given.
TEST_F(RenderTool, DrawsDrawingFiles) {
    KXDOC doc = KXCreateDocInstance();
    const double centre[2] = {0, 0}, start[2] = {-100, -100}, end[2] = {100, 100};
    KXAddCircle(doc, centre, 100.0, nullptr, nullptr);
    KXAddLine(doc, start, end, nullptr, nullptr);
    ASSERT_EQ(KXClose(doc, 0), 1);
    ASSERT_EQ(KXWrite(doc, (m_base + ".pdb").c_str()), 1);
    KXDeleteDocInstance(doc);

    ASSERT_EQ(RunTool(m_base + ".pdb " + m_base + ".png --size 400"), 0);
    EXPECT_EQ(Slurp(m_base + ".png").substr(1, 3), "PNG");
    ASSERT_EQ(RunTool(m_base + ".pdb " + m_base + ".svg --size 2000"), 0);
    const std::size_t fine = Slurp(m_base + ".svg").size();
    ASSERT_EQ(RunTool(m_base + ".pdb " + m_base + ".svg --size 2000 --coarse-curves"), 0);
    const std::size_t coarse = Slurp(m_base + ".svg").size();
    // 40 chords against about 140 for a circle of 1000 pixels radius.
    EXPECT_GT(fine, coarse + 500);

    std::ofstream(m_base + ".pdb", std::ios::binary) << "not a drawing file";
    EXPECT_EQ(RunTool(m_base + ".pdb " + m_base + ".png"), 2);
}

}  // namespace
