// Whole reads through the translator with a recording engine: entry, logs,
// input preparation, HEADER properties and the section loop.
#include "DxfTestSupport.h"

#include <sys/stat.h>

namespace kxdxf::test {
namespace {

using Lines = std::vector<std::string>;

Lines lineEntity(const std::string& layer = "0")
{
    return {"0", "LINE", "8", layer, "10", "1.5", "20", "2", "30", "0", "11", "3", "21", "4", "31", "0"};
}

std::string drawingWithEntities(const Lines& entities, const std::string& version = "AC1015")
{
    return joinLines(concat({headerSection(version), section("ENTITIES", entities), eofLines()}));
}

TEST_F(TranslatorTest, ReadsALineAndLogsTheRead)
{
    const std::string path = writeFile("one.dxf", drawingWithEntities(lineEntity()));
    ASSERT_EQ(1, readWithRecorder(path));
    EXPECT_EQ(Lines{"AddLine 1.5,2 3,4 z=none"}, recorder().geometry());
    EXPECT_EQ(std::vector<std::string>{"Model space"}, recorder().layouts);
    EXPECT_EQ(0, recorder().lastSetLayout);

    const std::string log = traceLog();
    EXPECT_EQ(0u, log.find("Translator Read Log File\n<TranslatorRead>:\tEntered\nreading file:\t<" +
                           path + ">\n<clsInputFile::getFileFormat>:\tentered\n"));
    EXPECT_NE(std::string::npos, log.find("DXF VERSION\t<AC1015> - 2000\n<dxf2000>:\t\tentered\n"));
    EXPECT_NE(std::string::npos,
              log.find("<rdDrEntLINE>:\t\tentered\n"));
    EXPECT_NE(std::string::npos, log.find("<2451544.91568287> <12/31/1999 21:58:34>\n"
                                          "<2454091.895015729> <12/21/2006 21:28:49>\n"
                                          "<rdDrEntLINE>:\t\tnormal exit\n"));
    const std::string tail = "<readEntities>:\t\tnormal exit\n<dxf2000>:\texitting\n"
                             "<TranslatorRead>:\tNormal Termination\n";
    ASSERT_GE(log.size(), tail.size());
    EXPECT_EQ(tail, log.substr(log.size() - tail.size()));
    EXPECT_EQ(0u, errorLog().find("Translator Read Error Log File\n"));
}

TEST_F(TranslatorTest, AllLineEndConventionsDrawTheSameEntities)
{
    const Lines lines = concat({headerSection("AC1015"),
                                section("ENTITIES", concat({lineEntity(),
                                                            {"0", "CIRCLE", "8", "0", "10", "1", "20", "1",
                                                             "40", "2"}})),
                                eofLines()});
    ASSERT_EQ(1, readText(joinLines(lines, "\r\n"), "crlf.dxf"));
    const Lines crlf = recorder().geometry();
    EXPECT_TRUE(tempFilesStartingWith("UNIX").empty());

    recorder() = Recorder{};
    ASSERT_EQ(1, readText(joinLines(lines, "\n"), "lf.dxf"));
    EXPECT_EQ(crlf, recorder().geometry());

    recorder() = Recorder{};
    ASSERT_EQ(1, readText(joinLines(lines, "\r"), "cr.dxf"));
    EXPECT_EQ(crlf, recorder().geometry());
    EXPECT_EQ(2u, crlf.size());
    // The bare-CR copy was made in the temp directory and removed again.
    EXPECT_NE(std::string::npos, traceLog().find("szTmpUnixFileNm: <" + tempDir_.string() + "/UNIX"));
    EXPECT_TRUE(tempFilesStartingWith("UNIX").empty());
}

TEST_F(TranslatorTest, MissingFileFailsWithAMessage)
{
    const std::string path = (inputDir_ / "absent.dxf").string();
    EXPECT_EQ(0, readWithRecorder(path));
    EXPECT_EQ("Translator Read Error Log File\n<clsInputFile::getFileFormat>: ERROR opening file <" + path +
                  ">\n",
              errorLog());
}

TEST_F(TranslatorTest, EndlessAndNonFileInputsAreRefusedAsUnopenable)
{
    // A device never ends and a FIFO blocks: either would hang the read.
    const std::string fifo = (inputDir_ / "pipe.dxf").string();
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    for (const std::string& path : {std::string("/dev/zero"), fifo, inputDir_.string()}) {
        EXPECT_EQ(0, readWithRecorder(path)) << path;
        EXPECT_NE(std::string::npos,
                  errorLog().find("<clsInputFile::getFileFormat>: ERROR opening file <" + path + ">\n"))
            << path;
    }
}

TEST_F(TranslatorTest, EmptyFileIsReadWithAnUnknownVersion)
{
    EXPECT_EQ(1, readText(""));
    EXPECT_NE(std::string::npos, traceLog().find("DXF VERSION\t<> - UNKNOWN\n"));
    EXPECT_NE(std::string::npos, errorLog().find("UNKNOWN DXF VERSION\t<>\n\n"));
    EXPECT_NE(std::string::npos,
              errorLog().find("TranslatorRead:\tNo value for <$ACADVER.1> (DXF version number)\n\n"));
    ASSERT_EQ(2u, recorder().properties.size());
    EXPECT_EQ("Version not specified under Group Code 1, $ACADVER variable", recorder().properties[1].second);
}

TEST_F(TranslatorTest, FileCutInsideAPairAbortsAndKeepsWhatWasDrawn)
{
    std::string text = joinLines(concat({headerSection("AC1015"), {"0", "SECTION", "2", "ENTITIES"},
                                         lineEntity(), {"0", "LINE", "10"}}));
    EXPECT_EQ(0, readText(text));
    EXPECT_EQ(Lines{"AddLine 1.5,2 3,4 z=none"}, recorder().geometry());
    const std::string err = errorLog();
    const std::string message = "<utlReadGrpCodeValue>: fgets failed for Value\n";
    ASSERT_GE(err.size(), message.size());
    EXPECT_EQ(message, err.substr(err.size() - message.size()));
    EXPECT_EQ(std::string::npos, traceLog().find("Normal Termination"));
}

TEST_F(TranslatorTest, BinaryDxfIsRefused)
{
    std::string binary("AutoCAD Binary DXF\r\n\x1a\0", 22);
    binary += std::string("\x00\x00SECTION\x00\x02\x00HEADER\x00", 18);
    EXPECT_EQ(0, readText(binary, "binary.dxf"));
    EXPECT_NE(std::string::npos, errorLog().find("binary DXF file"));
    EXPECT_TRUE(recorder().geometry().empty());
}

TEST_F(TranslatorTest, NumbersThatAreNotNumbersReadAsZero)
{
    const Lines entity{"0", "LINE", "10", "abc", "20", "", "11", "1e", "21", "-x"};
    ASSERT_EQ(1, readText(drawingWithEntities(entity)));
    EXPECT_EQ(Lines{"AddLine 0,0 1,0 z=none"}, recorder().geometry());
}

TEST_F(TranslatorTest, OverlongLinesAndNulBytesDoNotDerailTheRead)
{
    const std::string longValue(5000, 'L');
    const Lines entities{"0", "LINE", "999", longValue, "10", "1", "20", "2", "11", "3", "21", "4"};
    // The 5000 characters arrive as five lines (four of 1021 and the rest),
    // read as pairs of their own; the pairs after them line up again.
    ASSERT_EQ(1, readText(drawingWithEntities(entities)));
    EXPECT_EQ(Lines{"AddLine 1,2 3,4 z=none"}, recorder().geometry());

    recorder() = Recorder{};
    std::string withNul = drawingWithEntities(lineEntity());
    const std::string marker = "\n1.5\n";
    withNul.replace(withNul.find(marker), marker.size(), std::string("\n1.5\0junk\n", 10));
    ASSERT_EQ(1, readText(withNul, "nul.dxf"));
    EXPECT_EQ(Lines{"AddLine 1.5,2 3,4 z=none"}, recorder().geometry());
}

TEST_F(TranslatorTest, HostileInputsEndCleanly)
{
    const std::string line = "0\nLINE\n10\n1\n20\n2\n11\n3\n21\n4\n";
    const std::string tables =
        "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLTYPE\n0\nLTYPE\n2\nDASH\n73\n2147483648\n0\nENDTAB\n"
        "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nL\n62\n2147483647\n6\nDASH\n370\n-2147483649\n0\nENDTAB\n0\nENDSEC\n";
    const struct {
        const char* name;
        std::string text;
        int result;
    } cases[] = {
        {"nul-only", std::string(100000, '\0'), 1},
        {"cr-only", std::string(100000, '\r'), 1},
        {"no-line-end", std::string(300000, 'A'), 1},
        {"huge-code", drawingWithEntities({"0", "LINE", std::string(5000, '9'), "1", "10", "1", "20", "2",
                                           "11", "3", "21", "4", "99999999999999999999999", "x"}),
         1},
        {"counts-beyond-int", tables + drawingWithEntities({"0", "LINE", "8", "L", "62", "-2147483648", "370",
                                                            "9223372036854775807", "6", "DASH", "48", "1e308",
                                                            "10", "1", "20", "2", "11", "3", "21", "4"}),
         1},
        {"line-of-100k", drawingWithEntities({"0", "LINE", "1", std::string(100000, 'x')}) + line, 0},
        {"cut-in-group-code", drawingWithEntities({}).substr(0, 20), 0},
        {"entities-without-end", "0\nSECTION\n2\nENTITIES\n" + line + line, 0},
    };
    for (const auto& c : cases) {
        recorder() = Recorder{};
        EXPECT_EQ(c.result, readText(c.text, std::string(c.name) + ".dxf")) << c.name;
        EXPECT_TRUE(tempFilesStartingWith("UNIX").empty()) << c.name;
        const bool finished = traceLog().find("<TranslatorRead>:\tNormal Termination\n") != std::string::npos;
        EXPECT_EQ(c.result == 1, finished) << c.name;
    }
}

TEST_F(TranslatorTest, VersionsAreReportedAndR10IsStillRead)
{
    ASSERT_EQ(1, readText(drawingWithEntities(lineEntity(), "AC1006")));
    EXPECT_NE(std::string::npos, traceLog().find("DXF VERSION\t<AC1006> - R10\n"));
    EXPECT_NE(std::string::npos, errorLog().find("VERSION\t<AC1006> - R10\n"));
    EXPECT_EQ(1u, recorder().geometry().size());
    EXPECT_EQ("AutoCAD R10 DXF", recorder().properties[1].second);

    recorder() = Recorder{};
    ASSERT_EQ(1, readText(drawingWithEntities(lineEntity(), "ac1015")));
    EXPECT_EQ("Unknown version <ac1015>", recorder().properties[1].second);
    EXPECT_NE(std::string::npos, errorLog().find("UNKNOWN DXF VERSION\t<ac1015>\n"));
}

TEST_F(TranslatorTest, HeaderPropertiesInOrder)
{
    const Lines header = section("HEADER", {"9", "$ACADVER", "1", "AC1015", "9", "$TDCREATE", "40",
                                            "2451544.91568287", "9", "$TDUPDATE", "40", "2454091.895015729",
                                            "9", "$TDINDWG", "40", "2.25", "9", "$MEASUREMENT", "70", "1",
                                            "9", "$ODD", "0", "NOTENDSEC", "9", "$EXTMIN", "10", "0", "20", "0"});
    ASSERT_EQ(1, readText(joinLines(concat({header, section("ENTITIES", {}), eofLines()}))));
    const std::vector<std::pair<std::string, std::string>> expected{
        {"DXF DRAWING PROPERTIES", ""},
        {"DXF Version", "AutoCAD 2000 DXF"},
        {"Local date/time of drawing creation (MM/DD/YYYY HH24:MI:SS)", "12/31/1999 21:58:34"},
        {"Local date/time of last drawing update (MM/DD/YYYY HH24:MI:SS)", "12/21/2006 21:28:49"},
        {"Cumulative editing time for this drawing", "2 days, 06 hours, 00 minutes, and 00 seconds"},
        {"Drawing units", "Metric"},
    };
    EXPECT_EQ(expected, recorder().properties);
    EXPECT_NE(std::string::npos, traceLog().find("DXF VERSION: \t<AC1015> (AutoCAD 2000 DXF)\n"));
}

TEST_F(TranslatorTest, UnusualMeasurementAddsNoUnits)
{
    const Lines header = section("HEADER", {"9", "$ACADVER", "1", "AC1015", "9", "$MEASUREMENT", "70", "2"});
    ASSERT_EQ(1, readText(joinLines(concat({header, eofLines()}))));
    EXPECT_EQ(2u, recorder().properties.size());
}

TEST_F(TranslatorTest, TwoReadsLeaveFreshLogs)
{
    ASSERT_EQ(0, readWithRecorder((inputDir_ / "absent.dxf").string()));
    ASSERT_EQ(1, readText(drawingWithEntities(lineEntity())));
    EXPECT_EQ(std::string::npos, errorLog().find("absent.dxf"));
    EXPECT_EQ(std::string::npos, traceLog().find("absent.dxf"));
}

TEST_F(TranslatorTest, SectionsAreReadInFileOrderAndTwice)
{
    const Lines text = concat({headerSection("AC1015"), section("CLASSES", {"0", "CLASS", "1", "X"}),
                               section("ENTITIES", lineEntity()), section("OBJECTS", {"0", "DICTIONARY"}),
                               section("ENTITIES", lineEntity()), eofLines()});
    ASSERT_EQ(1, readText(joinLines(text)));
    EXPECT_EQ(2u, recorder().geometry().size());
}

TEST_F(TranslatorTest, PaperSpaceFiltering)
{
    Lines paper = lineEntity();
    paper.insert(paper.begin() + 2, {"67", "1"});
    Lines other = lineEntity();
    other.insert(other.begin() + 2, {"67", "2"});
    Lines hidden = lineEntity();
    hidden.insert(hidden.begin() + 2, {"60", "1"});
    const std::string text = drawingWithEntities(concat({lineEntity(), paper, other, hidden}));

    ASSERT_EQ(1, readText(text));
    EXPECT_EQ(1u, recorder().geometry().size());  // the model-space line only

    recorder() = Recorder{};
    recorder().currentLayout = 1;
    ASSERT_EQ(1, readText(text));
    EXPECT_EQ(1, recorder().lastSetLayout);
    EXPECT_EQ(1u, recorder().geometry().size());  // the paper-space line only
}

TEST_F(TranslatorTest, UnknownAndLowerCaseEntitiesAreSkipped)
{
    const Lines entities = concat({{"0", "line", "10", "0", "20", "0", "11", "1", "21", "1"},
                                   {"0", "WIPEOUT", "10", "0"}, lineEntity()});
    ASSERT_EQ(1, readText(drawingWithEntities(entities)));
    EXPECT_EQ(1u, recorder().geometry().size());
    EXPECT_NE(std::string::npos, errorLog().find("readEntities: UNKNOWN ENTITY <line>, skipping\n"));
    EXPECT_NE(std::string::npos, traceLog().find("readEntities: UNKNOWN ENTITY <WIPEOUT>, skipping\n"));
}

TEST_F(TranslatorTest, EntitiesWithFollowersAreReadWithoutNoise)
{
    const Lines entities = concat({{"0", "POLYLINE", "8", "0", "66", "1", "0", "VERTEX", "10", "1", "20", "1",
                                    "0", "VERTEX", "10", "2", "20", "2", "0", "SEQEND"},
                                   {"0", "LWPOLYLINE", "90", "2", "10", "0", "20", "0", "10", "1", "20", "1"},
                                   {"0", "HATCH", "91", "0"},
                                   {"0", "INSERT", "66", "1", "2", "B", "10", "0", "20", "0", "0", "ATTRIB",
                                    "1", "value", "0", "SEQEND"},
                                   lineEntity()});
    ASSERT_EQ(1, readText(drawingWithEntities(entities)));
    EXPECT_EQ("AddLine 1,1 2,2 z=0", recorder().geometry().front());
    EXPECT_EQ("AddLine 1.5,2 3,4 z=none", recorder().geometry().back());
    EXPECT_EQ(std::string::npos, errorLog().find("UNKNOWN ENTITY"));
}

TEST_F(TranslatorTest, EntitiesWithoutTablesCreateDefaultLayersOnce)
{
    ASSERT_EQ(1, readText(drawingWithEntities(concat({lineEntity("Walls"), lineEntity("Walls")}))));
    ASSERT_EQ(1u, recorder().layers.size());
    const RecordedLayer& layer = recorder().layers[0];
    EXPECT_EQ("Walls", layer.name);
    EXPECT_EQ(1, layer.state);
    EXPECT_EQ(1, layer.lineWeight);
    EXPECT_EQ(KX_CONTINUOUS, layer.lineStyle);
    EXPECT_EQ(std::vector<COLORREF>{0x000000}, recorder().colors);  // index 7
    const std::string err = errorLog();
    const std::string message =
        "Layer <Walls> referred to but not defined in TABLES section, assigns default values\n";
    const std::size_t first = err.find(message);
    ASSERT_NE(std::string::npos, first);
    EXPECT_EQ(std::string::npos, err.find(message, first + 1));
    // Both lines are by layer on layer 1.
    ASSERT_EQ(2u, recorder().attribSets.size());
    EXPECT_EQ(1, recorder().attribSets[1].layer);
    EXPECT_EQ(KX_BYLAYER, recorder().attribSets[1].color);
    EXPECT_EQ(KX_BYLAYER, recorder().attribSets[1].lineStyle);
    EXPECT_EQ(KX_BYLAYER, recorder().attribSets[1].lineWeight);
}

}  // namespace
}  // namespace kxdxf::test
