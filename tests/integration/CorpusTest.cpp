// Every DXF drawing of the shared corpus goes through the batch converter:
// each must either yield drawing files that the drawing-file checker
// accepts, or fail with a message; none may crash or hang.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kSecondsPerFile = 120;
constexpr int kTimeoutStatus = 124;  // what timeout(1) exits with

std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool hasDxfExtension(const fs::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".dxf";
}

std::vector<fs::path> corpusDrawings(const fs::path& corpus)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
        if (entry.is_regular_file() && hasDxfExtension(entry.path()))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

struct RunResult {
    bool exited = false;
    int exitCode = -1;
    int signal = 0;
};

RunResult run(const std::string& command)
{
    const int status = std::system(command.c_str());
    RunResult result;
    if (status != -1 && WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (status != -1 && WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

// The converter writes next to itself (settings, log, "cnvrt" folder), so
// it runs from a private copy of the build's program folder.
class CorpusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        corpus_ = fs::path(KX_SHARED_DIR) / "corpus";
        if (!fs::is_directory(corpus_))
            GTEST_SKIP() << "no corpus at " << corpus_;
        const fs::path bin(KX_BIN_DIR);
        ASSERT_TRUE(fs::exists(bin / "korvexcmd") && fs::exists(bin / "libdxfin.so"));
        station_ = fs::temp_directory_path() / ("kx-corpus-" + std::to_string(::getpid()));
        fs::remove_all(station_);
        fs::create_directories(station_);
        for (const auto& entry : fs::directory_iterator(bin)) {
            const std::string name = entry.path().filename().string();
            const bool needed = name == "korvexcmd" || name == "kxpdbinfo" || name == "Resources" ||
                                (name.rfind("lib", 0) == 0 && name.find(".so") != std::string::npos);
            if (needed)
                fs::copy(entry.path(), station_ / name, fs::copy_options::recursive);
        }
        hasChecker_ = fs::exists(station_ / "kxpdbinfo");
    }
    void TearDown() override
    {
        std::error_code ignored;
        if (!station_.empty())
            fs::remove_all(station_, ignored);
    }

    fs::path corpus_;
    fs::path station_;
    bool hasChecker_ = false;
};

TEST_F(CorpusTest, EveryDrawingConvertsOrFailsWithAMessage)
{
    const std::vector<fs::path> drawings = corpusDrawings(corpus_);
    ASSERT_FALSE(drawings.empty());
    const fs::path outputs = station_ / "cnvrt";
    const fs::path temp = station_ / "tmp";
    int converted = 0;
    for (const fs::path& drawing : drawings) {
        SCOPED_TRACE(drawing.string());
        fs::remove_all(outputs);
        fs::remove_all(temp);
        fs::create_directories(temp);
        const fs::path console = station_ / "console.txt";
        const std::string command = "cd " + shellQuote(station_.string()) + " && TMPDIR=" +
                                    shellQuote(temp.string()) + " timeout " + std::to_string(kSecondsPerFile) +
                                    " ./korvexcmd -nologo " + shellQuote(drawing.string()) + " > " +
                                    shellQuote(console.string()) + " 2>&1";
        const RunResult result = run(command);
        ASSERT_TRUE(result.exited) << "killed by signal " << result.signal;
        ASSERT_NE(kTimeoutStatus, result.exitCode) << "hung for " << kSecondsPerFile << " s";
        ASSERT_LE(result.exitCode, 1) << slurp(console);

        std::vector<fs::path> written;
        if (fs::is_directory(outputs)) {
            for (const auto& entry : fs::directory_iterator(outputs)) {
                if (entry.path().extension() == ".pdb")
                    written.push_back(entry.path());
            }
        }
        // 0 only when every layout was written, 1 when anything failed.
        EXPECT_EQ(written.empty() ? 1 : 0, result.exitCode) << slurp(console);
        if (written.empty()) {
            // A failed read must leave a reason behind it.
            const std::string errors = slurp(temp / "TranslatorRead.err");
            const std::string consoleText = slurp(console);
            const bool explained = errors.find('\n') + 1 < errors.size() ||
                                   consoleText.find("Failed to convert") != std::string::npos;
            EXPECT_TRUE(explained) << "no drawing and no message";
            continue;
        }
        ++converted;
        if (!hasChecker_)
            continue;
        for (const fs::path& pdb : written) {
            const RunResult check = run("timeout 60 " + shellQuote((station_ / "kxpdbinfo").string()) + " " +
                                        shellQuote(pdb.string()) + " > /dev/null 2>&1");
            EXPECT_TRUE(check.exited && check.exitCode == 0) << "kxpdbinfo rejects " << pdb;
        }
    }
    RecordProperty("converted", converted);
    RecordProperty("drawings", static_cast<int>(drawings.size()));
}

}  // namespace
