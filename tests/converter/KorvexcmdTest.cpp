// The korvexcmd program run from a scratch copy of the output folder, so its
// korvex.ini, convlog.txt and cnvrt/ land there. A fake translator stands in
// for dxfin; conversions through the real engine are checked once the engine
// can read and write documents, and skipped (saying so) before that.
#include "EngineApi.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kBin = KX_BIN_DIR;
// Lexically, so it holds even where tests/data is absent (an empty folder
// does not survive a clone).
const fs::path kExamples = fs::path(KX_SOURCE_DIR) / "examples";

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class KorvexcmdTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"korvexcmd", "libkxcore.so", "libkxcore.so.1", "libkxplatform.so"}) {
            fs::copy_file(kBin / name, dir_.path() / name);
        }
        fs::copy_file(kBin / "libkxfaketranslator.so", dir_.path() / "libdxfin.so");
        fs::create_directory(dir_.path() / "in");
    }

    RunResult Run(const std::string& arguments) const {
        const std::string command = "cd '" + dir_.path().string() + "' && ./korvexcmd " + arguments +
                                    " 2>'" + (dir_ / "stderr.txt") + "'";
        RunResult result;
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return result;
        char buffer[4096];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
        const int status = pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = dir_.Read("stderr.txt");
        return result;
    }

    // Whether the engine already reads through a translator and writes
    // drawing files; until then end-to-end conversions cannot be checked.
    static bool EngineConverts(const ScratchDir& scratch) {
        const auto engine = EngineApi::BindByOrdinal((kBin / "libkxcore.so").c_str());
        if (!engine) return false;
        const KXDOC doc = engine->createDocInstance();
        if (doc == nullptr) return false;
        scratch.Write("probe.dxf", "layouts 1\n");
        const std::string translator = (kBin / "libkxfaketranslator.so").string();
        bool written = false;
        if (engine->read(doc, (scratch / "probe.dxf").c_str(), translator.c_str()) != 0) {
            engine->close(doc, 0);
            written = engine->write(doc, (scratch / "probe.pdb").c_str()) != 0;
        }
        engine->deleteDocInstance(doc);
        return written;
    }

    std::string Logo() const {
        return "Korvex drawing converter 1.0: DXF drawings to Korvex drawing files\n"
               "Copyright (C) the Korvex developers. Provided as is, without warranty.\n\n";
    }
    std::string Help() const {
        return " korvexcmd [filename,-d:directory,-l:listFile] [-nologo,-h]\n\n"
               " filename - one file to convert\n"
               " -d:directory - convert all dxf and dwf files from the directory\n"
               " -l:listFileName - convert all files from the list file listFileName\n"
               " -nologo - do not display logo\n"
               " -h - show this help\n";
    }
    std::string Summary(bool unique = true, bool allPages = true) const {
        return "Destination directory: " + (dir_ / "cnvrt/") + "\n" +
               "Unique names generation: " + (unique ? "enabled" : "disabled") + "\n" +
               "Convert all pages: " + (allPages ? "enabled" : "disabled") + "\n\n";
    }

    ScratchDir dir_;
};

TEST_F(KorvexcmdTest, NoArgumentsShowsLogoAndHelpAndCreatesTheSettings) {
    const RunResult result = Run("");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, Logo() + Help());
    EXPECT_EQ(result.err, "");
    const std::string ini = dir_.Read("korvex.ini");
    EXPECT_EQ(ini.rfind("[DISPLAY]\nMonochrome=0\n", 0), 0u);
    EXPECT_NE(ini.find("ConversionDirectory=" + (dir_ / "cnvrt/") + "\n"), std::string::npos);
    EXPECT_NE(ini.find("[APPLICATION]\nWinX=0\nWinY=0\nWinSizeX=0\nWinSizeY=0\n"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(dir_.path() / "cnvrt"));
}

TEST_F(KorvexcmdTest, NologoAnywhereSwitchesTheLogoOff) {
    EXPECT_EQ(Run("-nologo").out, Help());
    EXPECT_EQ(Run("-NOLOGO -h").out, Help());
    EXPECT_EQ(Run("-d:").out, Logo() + Help());
}

TEST_F(KorvexcmdTest, ExistingSettingsAreReadAndLeftUntouched) {
    const std::string custom =
        "[CONVERSION]\nConversionDirectory=" + (dir_ / "out") + "\nCnvBatchUniqueName=0\n";
    dir_.Write("korvex.ini", custom);
    const RunResult result = Run("-nologo " + (dir_ / "in/missing.dxf"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "Destination directory: " + (dir_ / "out") +
                              "\nUnique names generation: disabled\nConvert all pages: enabled\n\n");
    EXPECT_EQ(dir_.Read("korvex.ini"), custom);
    EXPECT_TRUE(fs::is_directory(dir_.path() / "out"));
    EXPECT_NE(dir_.Read("convlog.txt").find('\n'), std::string::npos) << "time stamp logged";
}

TEST_F(KorvexcmdTest, DirectoryWithoutDrawingsAndMissingList) {
    const RunResult result = Run("-nologo -d:in -l:nolist.txt");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "Convert files from the directory: in\n" + Summary() +
                              "No dxf files found in in/\n"
                              "No dwf files found in in/\n"
                              "Convert files from the list file: nolist.txt\n" +
                              Summary() + "Can not open file: nolist.txt\n");
}

TEST_F(KorvexcmdTest, DoesNotStartWithoutTheEngine) {
    fs::remove(dir_.path() / "libkxcore.so");
    fs::remove(dir_.path() / "libkxcore.so.1");
    const RunResult result = Run("-nologo");
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(fs::exists(dir_.path() / "korvex.ini"));
}

// A library that loads but offers no ordinal table cannot be bound: the
// program stops before touching its settings.
TEST_F(KorvexcmdTest, EngineWithoutOrdinalsStopsTheStartup) {
    fs::copy_file(kBin / "libkxfaketranslator.so", dir_.path() / "libkxcore.so",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(kBin / "libkxfaketranslator.so", dir_.path() / "libkxcore.so.1",
                  fs::copy_options::overwrite_existing);
    const RunResult result = Run("-nologo");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("Fatal Error: MFC initialization failed\n", 0), 0u) << result.err;
    EXPECT_FALSE(fs::exists(dir_.path() / "korvex.ini"));
}

TEST_F(KorvexcmdTest, ConvertsEveryLayoutThroughThePlugIn) {
    ASSERT_TRUE(EngineConverts(dir_));
    dir_.Write("in/plan.dxf", "layouts 3\n");
    dir_.Write("in/broken.dxf", "fail\n");
    const RunResult first = Run("-nologo -d:in");
    EXPECT_EQ(first.exitCode, 1);
    EXPECT_EQ(first.out, "Convert files from the directory: in\n" + Summary() +
                             "plan.dxf -> plan(p0).pdb\n"
                             "plan.dxf -> plan(p1).pdb\n"
                             "plan.dxf -> plan(p2).pdb\n"
                             "No dwf files found in in/\n");
    for (const char* name : {"plan(p0).pdb", "plan(p1).pdb", "plan(p2).pdb"}) {
        EXPECT_GT(fs::file_size(dir_.path() / "cnvrt" / name), 0u) << name;
    }
    EXPECT_FALSE(fs::exists(dir_.path() / "cnvrt" / "broken(p0).pdb"));

    const RunResult second = Run("-nologo in/plan.dxf");
    EXPECT_NE(second.out.find("plan.dxf -> plan~1(p0).pdb\n"), std::string::npos) << second.out;
    EXPECT_NE(dir_.Read("convlog.txt").find("  in/plan.dxf->" + (dir_ / "cnvrt/plan~1(p2).pdb")),
              std::string::npos);
}

// A destination whose parent is missing cannot be made: every write fails,
// is reported, and nothing is logged as converted.
TEST_F(KorvexcmdTest, UnwritableDestinationReportsEachFailure) {
    ASSERT_TRUE(EngineConverts(dir_));
    dir_.Write("korvex.ini", "[CONVERSION]\nConversionDirectory=" + (dir_ / "no/such/dir") + "\n");
    dir_.Write("in/plan.dxf", "layouts 2\n");
    const RunResult result = Run("-nologo in/plan.dxf");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("Failed to convert in/plan.dxf\nFailed to convert in/plan.dxf\n"),
              std::string::npos)
        << result.out;
    EXPECT_FALSE(fs::exists(dir_.path() / "no"));
    EXPECT_EQ(dir_.Read("convlog.txt").find("->"), std::string::npos);
}

// A host whose own folder holds neither engine nor plug-in: the plug-in is
// found beside the engine that asks for it. The engine and the platform
// library sit in different folders and are preloaded, so neither the
// library path nor the platform's own run path can find the plug-in.
TEST_F(KorvexcmdTest, PlugInIsFoundBesideTheEngineForAHostElsewhere) {
    ASSERT_TRUE(EngineConverts(dir_));
    const fs::path engine = dir_.path() / "engine";
    const fs::path platform = dir_.path() / "platform";
    const fs::path host = dir_.path() / "host";
    for (const auto& folder : {engine, platform, host}) fs::create_directory(folder);
    fs::rename(dir_.path() / "libkxcore.so", engine / "libkxcore.so");
    fs::rename(dir_.path() / "libdxfin.so", engine / "libdwfin.so");
    fs::rename(dir_.path() / "libkxplatform.so", platform / "libkxplatform.so");
    fs::rename(dir_.path() / "korvexcmd", host / "korvexcmd");
    dir_.Write("in/sheet.dwf", "layouts 1\n");

    const std::string command =
        "cd '" + dir_.path().string() + "' && ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD='" +
        (platform / "libkxplatform.so").string() + ":" + (engine / "libkxcore.so").string() +
        "' host/korvexcmd -nologo in/sheet.dwf 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[1024];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << out;
    EXPECT_NE(out.find("sheet.dwf -> sheet(p0).pdb\n"), std::string::npos) << out;
}

TEST_F(KorvexcmdTest, ConvertsTheBundledExampleWithTheDxfPlugIn) {
    ASSERT_TRUE(fs::exists(kBin / "libdxfin.so"));
    ASSERT_TRUE(EngineConverts(dir_));
    fs::copy_file(kBin / "libdxfin.so", dir_.path() / "libdxfin.so",
                  fs::copy_options::overwrite_existing);
    const RunResult result = Run("-nologo '" + (kExamples / "plan.dxf").string() + "'");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, Summary() + "plan.dxf -> plan(p0).pdb\n");
    EXPECT_GT(fs::file_size(dir_.path() / "cnvrt" / "plan(p0).pdb"), 0u);
}

// One directory of good, broken and hostile drawings through the real
// plug-in: every good one is converted whatever comes before or after it,
// each failure is reported, and a second run without unique names replaces
// the outputs whole.
TEST_F(KorvexcmdTest, MixedDirectoryConvertsEveryGoodFileWhateverTheOthersDo) {
    ASSERT_TRUE(fs::exists(kBin / "libdxfin.so"));
    ASSERT_TRUE(EngineConverts(dir_));
    fs::copy_file(kBin / "libdxfin.so", dir_.path() / "libdxfin.so", fs::copy_options::overwrite_existing);
    fs::copy(kBin / "Resources", dir_.path() / "Resources", fs::copy_options::recursive);
    const std::string line = "0\nLINE\n10\n0\n20\n0\n11\n5\n21\n5\n";
    const auto drawing = [](const std::string& body) { return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n"; };
    std::string bombBlocks = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB0\n10\n0\n20\n0\n" + line + "0\nENDBLK\n";
    for (int level = 1; level < 8; ++level) {
        bombBlocks += "0\nBLOCK\n2\nB" + std::to_string(level) + "\n10\n0\n20\n0\n";
        for (int i = 0; i < 10; ++i) bombBlocks += "0\nINSERT\n2\nB" + std::to_string(level - 1) + "\n10\n" + std::to_string(i) + "\n20\n0\n";
        bombBlocks += "0\nENDBLK\n";
    }
    std::string endless = "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n";
    for (int i = 0; i < 120000; ++i) endless += "10\n1\n20\n2\n";
    // In name order, good files sit between the bad ones.
    dir_.Write("in/a_empty.dxf", "");
    dir_.Write("in/b_good.dxf", drawing(line));
    dir_.Write("in/c_binary.dxf", std::string("\x00\xff\x13\x37PK\x03\x04", 8) + std::string(5000, '\xee'));
    dir_.Write("in/d_bomb.dxf", bombBlocks + "0\nENDSEC\n" + drawing("0\nINSERT\n2\nB7\n10\n0\n20\n0\n"));
    dir_.Write("in/e_good.dxf", drawing(line + "0\nCIRCLE\n10\n1\n20\n1\n40\n3\n"));
    dir_.Write("in/f_endless.dxf", endless);
    dir_.Write("in/g_nan.dxf", drawing("0\nLINE\n10\nnan\n20\ninf\n11\n1\n21\n1\n"));
    dir_.Write("in/h_cut.dxf", drawing(line).substr(0, 30));
    fs::create_directory(dir_.path() / "in" / "i_folder.dxf");
    dir_.Write("in/j_good.dxf", drawing("0\nTEXT\n10\n0\n20\n0\n40\n2\n1\nlast\n"));

    const RunResult first = Run("-nologo -d:in");
    EXPECT_EQ(first.exitCode, 1) << first.err;
    for (const char* name : {"b_good(p0).pdb", "e_good(p0).pdb", "j_good(p0).pdb"}) {
        EXPECT_TRUE(fs::exists(dir_.path() / "cnvrt" / name)) << name << "\n" << first.out << first.err;
    }
    for (const char* failed : {"a_empty", "c_binary", "f_endless.dxf", "h_cut.dxf", "i_folder.dxf"}) {
        EXPECT_NE(first.err.find(failed), std::string::npos) << failed << "\n" << first.err;
    }
    EXPECT_NE(first.out.find("No dwf files found in in/"), std::string::npos) << first.out;
    // The bomb is written thinned, and the user is told what was left out.
    EXPECT_NE(first.err.find("korvexcmd: in/d_bomb.dxf: block references place more than "), std::string::npos)
        << first.err;
    EXPECT_EQ(first.err.find("good"), std::string::npos) << first.err;

    // Unique names off: the second run writes over the first run's outputs,
    // each replaced by a whole new file and nothing left beside them.
    std::string ini = dir_.Read("korvex.ini");
    const std::size_t key = ini.find("CnvBatchUniqueName=");
    ASSERT_NE(key, std::string::npos) << ini;
    ini.replace(key, ini.find('\n', key) - key, "CnvBatchUniqueName=0");
    dir_.Write("korvex.ini", ini);
    const auto before = fs::file_size(dir_.path() / "cnvrt" / "j_good(p0).pdb");
    const RunResult second = Run("-nologo -d:in");
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_FALSE(fs::exists(dir_.path() / "cnvrt" / "j_good~1(p0).pdb"));
    EXPECT_EQ(fs::file_size(dir_.path() / "cnvrt" / "j_good(p0).pdb"), before);
    for (const auto& entry : fs::directory_iterator(dir_.path() / "cnvrt")) {
        EXPECT_EQ(entry.path().extension(), ".pdb") << entry.path();
    }
}

// Exit status and the one-line reasons on standard error; the console
// report on standard output stays as it was.
TEST_F(KorvexcmdTest, ExitStatusAndReasonsOnStandardError) {
    RunResult result = Run("-nologo in/missing.dxf");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, Summary());
    EXPECT_EQ(result.err, "korvexcmd: in/missing.dxf: no such file\n");

    result = Run("-nologo -l:nolist.txt");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "korvexcmd: nolist.txt: cannot open the list file\n");

    result = Run("-nologo -d:nowhere");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "korvexcmd: nowhere: no such directory\n");

    result = Run("-nologo -x plan.dxf");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, Help());
    EXPECT_EQ(result.err, "korvexcmd: unknown option -x\n");

    result = Run("-nologo -o:");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "korvexcmd: -o: needs a name after the colon\n");
}

TEST_F(KorvexcmdTest, HelpAndVersion) {
    RunResult result = Run("--version");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "korvexcmd (Korvex) 1.0\n");
    EXPECT_FALSE(fs::exists(dir_.path() / "korvex.ini"));

    result = Run("-nologo --help");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.rfind(Help(), 0), 0u) << result.out;
    EXPECT_NE(result.out.find(" -o:directory - "), std::string::npos);
    EXPECT_EQ(result.err, "");
}

TEST_F(KorvexcmdTest, FailedReadAndFailedWriteAreReported) {
    ASSERT_TRUE(EngineConverts(dir_));
    dir_.Write("in/broken.dxf", "fail\n");
    RunResult result = Run("-nologo in/broken.dxf");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.rfind("korvexcmd: in/broken.dxf: the translator could not read it", 0), 0u)
        << result.err;

    dir_.Write("in/plan.dxf", "layouts 1\n");
    result = Run("-nologo -o:" + (dir_ / "no/such/dir") + " in/plan.dxf");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(": no such directory\n"), std::string::npos) << result.err;
}

// -o: writes into its directory for this run only; the settings file keeps
// the destination it had.
TEST_F(KorvexcmdTest, OutputOptionLeavesTheSettingsAlone) {
    ASSERT_TRUE(EngineConverts(dir_));
    dir_.Write("in/plan.dxf", "layouts 1\n");
    const RunResult result = Run("-nologo -o:" + (dir_ / "elsewhere") + " in/plan.dxf");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(fs::exists(dir_.path() / "elsewhere" / "plan(p0).pdb"));
    EXPECT_NE(dir_.Read("korvex.ini").find("ConversionDirectory=" + (dir_ / "cnvrt/") + "\n"),
              std::string::npos);
}

// A program directory the user cannot write: settings and log go to
// $XDG_CONFIG_HOME/korvex/ and the drawings to ./cnvrt. Root writes
// anywhere, so it runs the program as nobody through setpriv.
TEST_F(KorvexcmdTest, ReadOnlyProgramDirectoryUsesTheUserConfiguration) {
    ASSERT_TRUE(EngineConverts(dir_));
    const bool root = geteuid() == 0;
    if (root && std::system("command -v setpriv >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "running as root without setpriv: a read-only directory cannot be arranged";
    }
    const fs::path work = dir_.path() / "work";
    fs::create_directories(work / "config");
    dir_.Write("work/plan.dxf", "layouts 1\n");
    fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
    if (root) {
        fs::permissions(work, fs::perms::all);
        fs::permissions(work / "config", fs::perms::all);
    } else {
        fs::permissions(dir_.path(), fs::perms::owner_write, fs::perm_options::remove);
    }
    const std::string as = root ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const std::string command = "cd '" + work.string() + "' && XDG_CONFIG_HOME='" +
                                (work / "config").string() + "' " + as + "'" +
                                (dir_ / "korvexcmd") + "' -nologo plan.dxf 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[1024];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = pclose(pipe);
    fs::permissions(dir_.path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(status, 0) << out;
    const fs::path settings = work / "config" / "korvex";
    EXPECT_NE(out.find("Settings and log: " + settings.string() + "/\n"), std::string::npos) << out;
    EXPECT_TRUE(fs::exists(settings / "korvex.ini"));
    EXPECT_TRUE(fs::exists(settings / "convlog.txt"));
    EXPECT_TRUE(fs::exists(work / "cnvrt" / "plan(p0).pdb")) << out;
    EXPECT_FALSE(fs::exists(dir_.path() / "korvex.ini"));
}

}  // namespace
