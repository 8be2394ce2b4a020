// The batch driver against an engine stand-in: modes, layouts, naming,
// console texts and the log.
#include "BatchConverter.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The engine stand-in: documents are small records; reads succeed for
// inputs that exist as files, with the layout count given in the file.
struct FakeDoc {
    int layout = -1;
    int layouts = 0;
    std::string input;
};

struct FakeEngine {
    std::vector<std::string> reads;   // "<input>@<layout>"
    std::vector<std::string> writes;  // output paths
    std::set<std::string> throwOnClose;
    bool failWrites = false;
    int liveDocuments = 0;

    static FakeEngine* current;

    static KXDOC Create() {
        ++current->liveDocuments;
        return new FakeDoc;
    }
    static void Delete(KXDOC doc) {
        --current->liveDocuments;
        delete static_cast<FakeDoc*>(doc);
    }
    static void SetLayout(KXDOC doc, int layout) { static_cast<FakeDoc*>(doc)->layout = layout; }
    static int NumLayouts(KXDOC doc) { return static_cast<FakeDoc*>(doc)->layouts; }
    static int Read(KXDOC doc, const char* path, const char* library) {
        auto* fake = static_cast<FakeDoc*>(doc);
        current->reads.push_back(std::string(path) + "@" + std::to_string(fake->layout));
        if (library != nullptr) return 0;
        std::ifstream in(path);
        if (!in || std::filesystem::is_directory(path)) return 0;
        fake->layouts = 1;
        in >> fake->layouts;
        fake->input = path;
        return 1;
    }
    static int Close(KXDOC doc, int) {
        if (current->throwOnClose.count(static_cast<FakeDoc*>(doc)->input) != 0) {
            throw std::runtime_error("finishing failed");
        }
        return 1;
    }
    static int Write(KXDOC, const char* path) {
        if (current->failWrites) return 0;
        std::ofstream out(path);
        if (!out) return 0;
        out << "pdb";
        current->writes.emplace_back(path);
        return 1;
    }

    EngineApi Api() {
        EngineApi api;
        api.createDocInstance = Create;
        api.read = Read;
        api.close = Close;
        api.write = Write;
        api.deleteDocInstance = Delete;
        api.setCurrentLayout = SetLayout;
        api.getNumLayouts = NumLayouts;
        return api;
    }
};

FakeEngine* FakeEngine::current = nullptr;

class BatchConverterTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeEngine::current = &engine_;
        std::filesystem::create_directory(dir_.path() / "in");
        settings_.PrepareDestination();
    }
    void TearDown() override {
        EXPECT_EQ(engine_.liveDocuments, 0) << "every document deleted";
        FakeEngine::current = nullptr;
    }

    // An input drawing whose content is its layout count.
    std::string Input(const std::string& name, int layouts = 1) {
        dir_.Write("in/" + name, std::to_string(layouts));
        return dir_ / ("in/" + name);
    }
    std::string Run(const std::vector<std::string>& arguments) {
        CCommandLineInfoExt commandLine;
        commandLine.ParseCommandLine(arguments);
        std::ostringstream out;
        const EngineApi api = engine_.Api();
        BatchConverter(api, settings_, log_, out).Run(commandLine);
        return out.str();
    }
    std::string Summary() const {
        return "Destination directory: " + settings_.destinationDirectory() + "\n" +
               "Unique names generation: " + (settings_.uniqueNames() ? "enabled" : "disabled") +
               "\nConvert all pages: " + (settings_.allPages() ? "enabled" : "disabled") + "\n\n";
    }
    std::string Out(const std::string& name) const { return dir_ / ("cnvrt/" + name); }

    ScratchDir dir_;
    FakeEngine engine_;
    ConverterSettings settings_{dir_.path().string()};
    ConversionLog log_{dir_ / "convlog.txt"};
};

TEST_F(BatchConverterTest, NothingToDoPrintsTheHelp) {
    const std::string out = Run({"-h"});
    EXPECT_EQ(out.rfind(" korvexcmd [filename,-d:directory,-l:listFile] [-nologo,-h]\n\n", 0), 0u);
    EXPECT_NE(out.find(" -h - show this help\n"), std::string::npos);
    EXPECT_TRUE(engine_.reads.empty());
}

TEST_F(BatchConverterTest, SingleFileWithThreeLayoutsGivesThreePages) {
    const std::string input = Input("plan.dxf", 3);
    const std::string out = Run({input});
    EXPECT_EQ(out, Summary() +
                       "plan.dxf -> plan(p0).pdb\n"
                       "plan.dxf -> plan(p1).pdb\n"
                       "plan.dxf -> plan(p2).pdb\n");
    EXPECT_EQ(engine_.reads,
              (std::vector<std::string>{input + "@0", input + "@1", input + "@2"}));
    EXPECT_EQ(engine_.writes,
              (std::vector<std::string>{Out("plan(p0).pdb"), Out("plan(p1).pdb"), Out("plan(p2).pdb")}));
    const std::string log = dir_.Read("convlog.txt");
    EXPECT_EQ(log.front(), '\n');
    EXPECT_NE(log.find("\n  " + input + "->" + Out("plan(p2).pdb") + "\n"), std::string::npos);
}

TEST_F(BatchConverterTest, AllPagesOffConvertsLayoutZeroWithoutSuffix) {
    settings_.cnvBatchAllPages = false;
    const std::string input = Input("plan.dxf", 3);
    EXPECT_EQ(Run({input}), Summary() + "plan.dxf -> plan.pdb\n");
    EXPECT_EQ(engine_.reads, (std::vector<std::string>{input + "@0"}));
}

TEST_F(BatchConverterTest, UniqueNamesNeverOverwrite) {
    const std::string input = Input("plan.dxf");
    Run({input});
    Run({input});
    const std::string out = Run({input});
    EXPECT_NE(out.find("plan.dxf -> plan~2(p0).pdb\n"), std::string::npos);
    EXPECT_EQ(engine_.writes, (std::vector<std::string>{Out("plan(p0).pdb"), Out("plan~1(p0).pdb"),
                                                        Out("plan~2(p0).pdb")}));
}

TEST_F(BatchConverterTest, WithoutUniqueNamesTheSameOutputIsOverwritten) {
    settings_.cnvBatchUniqueName = false;
    settings_.cnvBatchAllPages = false;
    const std::string input = Input("plan.dxf");
    Run({input});
    Run({input});
    EXPECT_EQ(engine_.writes, (std::vector<std::string>{Out("plan.pdb"), Out("plan.pdb")}));
}

TEST_F(BatchConverterTest, DirectoryModeScansDxfThenDwf) {
    Input("b.DXF");
    Input("a.dxf");
    Input("notes.txt");
    const std::string out = Run({"-d:" + (dir_ / "in")});
    EXPECT_EQ(out, "Convert files from the directory: " + (dir_ / "in") + "\n" + Summary() +
                       "a.dxf -> a(p0).pdb\n"
                       "b.DXF -> b(p0).pdb\n"
                       "No dwf files found in " + (dir_ / "in/") + "\n");
}

TEST_F(BatchConverterTest, DirectoryWithoutDrawingsReportsBothExtensions) {
    const std::string out = Run({"-d:" + (dir_ / "in/")});
    EXPECT_NE(out.find("No dxf files found in " + (dir_ / "in/") + "\n" +
                       "No dwf files found in " + (dir_ / "in/") + "\n"),
              std::string::npos);
}

TEST_F(BatchConverterTest, DirectoryModeWithEmptyName) {
    std::ostringstream out;
    EngineApi api = engine_.Api();
    BatchConverter(api, settings_, log_, out).ConvertDirectory("");
    EXPECT_EQ(out.str(), "Convert files from the directory: \n" + Summary() + "Invalid directory name\n");
}

TEST_F(BatchConverterTest, ListModeConvertsEachLineAndPassesEmptyLinesOn) {
    const std::string a = Input("a.dxf");
    const std::string b = Input("b.dxf");
    dir_.Write("list.txt", a + "\n\n" + b + "\r\n" + dir_ / "in/missing.dxf");
    const std::string out = Run({"-l:" + (dir_ / "list.txt"), "-nologo"});
    EXPECT_EQ(out, "Convert files from the list file: " + (dir_ / "list.txt") + "\n" + Summary() +
                       "a.dxf -> a(p0).pdb\n"
                       "b.dxf -> b(p0).pdb\n");
    EXPECT_EQ(engine_.reads, (std::vector<std::string>{a + "@0", "@0", b + "@0",
                                                       dir_ / "in/missing.dxf@0"}));
}

TEST_F(BatchConverterTest, ListLinesLongerThanTheBufferArriveInPieces) {
    const std::string longLine(300, 'x');
    dir_.Write("list.txt", longLine + "\n");
    Run({"-l:" + (dir_ / "list.txt")});
    EXPECT_EQ(engine_.reads, (std::vector<std::string>{std::string(259, 'x') + "@0",
                                                       std::string(41, 'x') + "@0"}));
}

TEST_F(BatchConverterTest, UnreadableListEndsListModeButOtherModesRun) {
    const std::string input = Input("plan.dxf");
    const std::string out = Run({"-l:" + (dir_ / "nolist.txt"), input});
    EXPECT_EQ(out, "Convert files from the list file: " + (dir_ / "nolist.txt") + "\n" + Summary() +
                       "Can not open file: " + (dir_ / "nolist.txt") + "\n" + Summary() +
                       "plan.dxf -> plan(p0).pdb\n");
}

TEST_F(BatchConverterTest, DirectoryGivenAsListFileCannotBeOpened) {
    const std::string out = Run({"-l:" + (dir_ / "in")});
    EXPECT_NE(out.find("Can not open file: " + (dir_ / "in") + "\n"), std::string::npos);
}

TEST_F(BatchConverterTest, ModesRunInOrderDirectoryListFile) {
    const std::string input = Input("a.dxf");
    dir_.Write("list.txt", input + "\n");
    settings_.cnvBatchUniqueName = false;
    const std::string out = Run({input, "-l:" + (dir_ / "list.txt"), "-d:" + (dir_ / "in")});
    const auto directory = out.find("Convert files from the directory");
    const auto list = out.find("Convert files from the list file");
    EXPECT_LT(directory, list);
    EXPECT_EQ(engine_.reads.size(), 3u);
    // Each mode: an empty line, its time stamp, then its entry.
    std::istringstream log(dir_.Read("convlog.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 9u);
    for (size_t mode = 0; mode < 3; ++mode) {
        EXPECT_EQ(lines[mode * 3], "");
        EXPECT_FALSE(lines[mode * 3 + 1].empty());
        EXPECT_EQ(lines[mode * 3 + 2], "  " + input + "->" + Out("a(p0).pdb"));
    }
}

TEST_F(BatchConverterTest, FailedWriteIsReportedWithTheInputAsGiven) {
    engine_.failWrites = true;
    settings_.cnvBatchAllPages = false;
    const std::string input = Input("plan.dxf");
    EXPECT_EQ(Run({input}), Summary() + "Failed to convert " + input + "\n");
    EXPECT_EQ(dir_.Read("convlog.txt").find("->"), std::string::npos);
}

TEST_F(BatchConverterTest, UnreadableInputPrintsNothing) {
    EXPECT_EQ(Run({dir_ / "in/missing.dxf"}), Summary());
    EXPECT_TRUE(engine_.writes.empty());
}

TEST_F(BatchConverterTest, FailureWhileFinishingOneLayoutDoesNotStopTheBatch) {
    const std::string bad = Input("bad.dxf", 2);
    const std::string good = Input("good.dxf");
    engine_.throwOnClose.insert(bad);
    dir_.Write("list.txt", bad + "\n" + good + "\n");
    const std::string out = Run({"-l:" + (dir_ / "list.txt")});
    EXPECT_NE(out.find("good.dxf -> good(p0).pdb\n"), std::string::npos);
    EXPECT_EQ(engine_.reads.size(), 3u) << "both layouts of the failing file were still tried";
}

}  // namespace
