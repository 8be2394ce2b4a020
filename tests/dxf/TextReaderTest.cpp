// TEXT, MTEXT and ATTDEF read through whole files with the recording
// engine, and the corpus drawings' texts.
#include <algorithm>
#include <cmath>

#include "DxfTestSupport.h"
#include "clsMTEXT.h"

namespace kxdxf::test {
namespace {

using Lines = std::vector<std::string>;
constexpr double kPi = 3.141592653589793;

Lines textEntity(const std::string& value, const Lines& extra = {})
{
    Lines lines{"0", "TEXT", "8", "0", "1", value, "10", "1", "20", "2", "40", "10"};
    lines.insert(lines.end(), extra.begin(), extra.end());
    return lines;
}

Lines mtextEntity(const std::string& value, const Lines& extra = {}, const std::string& attachment = "1")
{
    Lines lines{"0", "MTEXT", "8", "0", "10", "0", "20", "0", "40", "2", "71", attachment};
    lines.insert(lines.end(), extra.begin(), extra.end());
    lines.insert(lines.end(), {"1", value});
    return lines;
}

class TextReaderTest : public TranslatorTest {
protected:
    int read(const Lines& entities, const std::string& version = "AC1015")
    {
        return readText(joinLines(concat({headerSection(version), section("ENTITIES", entities), eofLines()})));
    }
    const std::vector<RecordedText>& texts() const { return recorder().texts; }
};

TEST_F(TextReaderTest, TextShowsTheDiameterCodeAndItsFirstRun)
{
    ASSERT_EQ(1, read(concat({textEntity("%%c25"), textEntity("AB\\H2x;CD"), textEntity("")})));
    ASSERT_EQ(2u, texts().size());
    EXPECT_EQ("\x01" "25", texts()[0].text);
    EXPECT_EQ("AB", texts()[1].text);
    const tagKXText& r = texts()[0].record;
    EXPECT_EQ(128, r.align);
    EXPECT_DOUBLE_EQ(1.0, r.x);
    EXPECT_DOUBLE_EQ(2.0 - 3.0, r.y);  // down by 0.3 * height
    EXPECT_DOUBLE_EQ(10.0, r.height);
    EXPECT_EQ(0, r.measureOnly);
    EXPECT_NE(std::string::npos, traceLog().find("TEXT\n<\x01" "25>\n"));
}

TEST_F(TextReaderTest, TextWidthFactorFollowsTheStyle)
{
    ASSERT_EQ(1, read(concat({textEntity("a", {"7", "ROMANS", "41", "1"}), textEntity("b"),
                              textEntity("c", {"7", "Standard", "41", "0.5"})})));
    ASSERT_EQ(3u, texts().size());
    EXPECT_DOUBLE_EQ(1.19, texts()[0].record.widthFactor);
    EXPECT_DOUBLE_EQ(1.31, texts()[1].record.widthFactor);
    EXPECT_DOUBLE_EQ(1.31 * 0.5, texts()[2].record.widthFactor);
}

TEST_F(TextReaderTest, TextAlignmentPicksFlagAndPoint)
{
    ASSERT_EQ(1, read(concat({textEntity("c", {"72", "1", "73", "0", "11", "5", "21", "5"}),
                              textEntity("m", {"72", "4", "11", "5", "21", "5", "50", "90"}),
                              textEntity("t", {"72", "2", "73", "3", "11", "5", "21", "5"}),
                              textEntity("x", {"72", "9", "73", "0"})})));
    ASSERT_EQ(4u, texts().size());
    EXPECT_EQ(256, texts()[0].record.align);
    EXPECT_DOUBLE_EQ(5.0, texts()[0].record.x);
    EXPECT_DOUBLE_EQ(2.0, texts()[0].record.y);
    // Middle: up by 0.1 * height, along the rotation.
    EXPECT_EQ(32, texts()[1].record.align);
    EXPECT_DOUBLE_EQ(kPi / 2, texts()[1].record.angle);
    EXPECT_DOUBLE_EQ(6.0, texts()[1].record.x);
    EXPECT_DOUBLE_EQ(6.0, texts()[1].record.y);
    EXPECT_EQ(8, texts()[2].record.align);
    EXPECT_DOUBLE_EQ(5.0, texts()[2].record.y);
    // An undefined justification stays at its first point.
    EXPECT_EQ(128, texts()[3].record.align);
    EXPECT_DOUBLE_EQ(1.0, texts()[3].record.x);
}

TEST_F(TextReaderTest, EntitiesMissingGroupsAreSkipped)
{
    ASSERT_EQ(1, read(concat({{"0", "TEXT", "1", "a", "10", "0", "20", "0"}, textEntity("b", {"72", "1"}),
                              {"0", "MTEXT", "10", "0", "20", "0", "40", "1", "1", "c"}, textEntity("d")})));
    ASSERT_EQ(1u, texts().size());
    EXPECT_EQ("d", texts()[0].text);
    const std::string err = errorLog();
    EXPECT_NE(std::string::npos, err.find("rdDrEntTEXT:\tNo value for Group Code <40>\n"));
    EXPECT_NE(std::string::npos, err.find("rdDrEntTEXT:\tNo value for Group Code <10>\n"));
    EXPECT_NE(std::string::npos, err.find("rdDrEntMTEXT:\tNo value for Group Code <71>\n"));
}

TEST_F(TextReaderTest, BadHeightsNeitherCrashNorDrawGarbage)
{
    ASSERT_EQ(1, read(concat({textEntity("n", {"40", "nan"}), textEntity("big", {"40", "1e300"}),
                              {"0", "MTEXT", "10", "0", "20", "0", "40", "1e300", "71", "1", "1", "A\\H1e300x;B"},
                              textEntity("z", {"40", "0"})})));
    // The MTEXT's runs overflow: A would sit on the baseline of B.
    ASSERT_EQ(2u, texts().size());
    EXPECT_EQ("big", texts()[0].text);
    EXPECT_EQ("z", texts()[1].text);
    for (const RecordedText& t : texts())
        EXPECT_TRUE(std::isfinite(t.record.y) && std::isfinite(t.record.height)) << t.text;
    const std::string err = errorLog();
    EXPECT_NE(std::string::npos,
              err.find("rdDrEntTEXT:\tText <n> not drawn: its position or size is not a finite number"));
    EXPECT_NE(std::string::npos, err.find("rdDrEntMTEXT:\tText <A> not drawn"));
}

TEST_F(TextReaderTest, HugeTextEndsCleanly)
{
    // A value longer than a line of the group-code reader arrives in
    // pieces: the pairs after it no longer match and the read stops with a
    // message. The parser itself keeps the first 1023 characters.
    EXPECT_EQ(0, read(textEntity(std::string(200000, 'W'))));
    const std::string err = errorLog();
    EXPECT_TRUE(err.find("fgets failed") != std::string::npos || err.find("No value for") != std::string::npos);
    EXPECT_EQ(1023u, utlParseMTEXT(std::string(200000, 'W')).at(0).text.size());
}

TEST_F(TextReaderTest, MtextRunsWithFontAndHeightCodes)
{
    ASSERT_EQ(1, read(mtextEntity("{\\fArial|b0;AB}\\PCD\\H2x;E")));
    ASSERT_EQ(3u, texts().size());
    EXPECT_EQ("AB", texts()[0].text);
    EXPECT_EQ(2, texts()[0].record.align);
    EXPECT_DOUBLE_EQ(0.95, texts()[0].record.widthFactor);
    EXPECT_DOUBLE_EQ(2.0, texts()[0].record.height);
    EXPECT_DOUBLE_EQ(0.6000000000000001 * 2, texts()[0].record.lineSpacing);
    // CD on the next line, lowered to the baseline of the taller E.
    const tagKXText& cd = texts()[1].record;
    EXPECT_DOUBLE_EQ(1.33, cd.widthFactor);
    EXPECT_DOUBLE_EQ(0.0, cd.x);
    const double lineY = 0.0 - 2 * 0.6000000000000001;
    EXPECT_DOUBLE_EQ(lineY - 2.0 * (2 - 1), cd.y);
    const tagKXText& e = texts()[2].record;
    EXPECT_DOUBLE_EQ(0.0 + 2 * 0.8 * 2, e.x);  // after CD
    EXPECT_DOUBLE_EQ(lineY, e.y);
    EXPECT_DOUBLE_EQ(4.0, e.height);
}

TEST_F(TextReaderTest, MtextBottomAndMiddleAttachmentsAreMeasured)
{
    ASSERT_EQ(1, read(concat({mtextEntity("12.5", {"41", "100"}, "7"), mtextEntity("AB\\PC", {}, "5")})));
    ASSERT_EQ(6u, texts().size());
    const tagKXText& measured = texts()[0].record;
    EXPECT_EQ(1, measured.measureOnly);
    EXPECT_DOUBLE_EQ(1.33 * 0.79, measured.widthFactor);
    EXPECT_DOUBLE_EQ(100.0, measured.wrapWidth);
    // One line: its height and a line gap.
    const tagKXText& drawn = texts()[1].record;
    EXPECT_EQ(2, drawn.align);
    EXPECT_EQ(0, drawn.measureOnly);
    EXPECT_DOUBLE_EQ(2.0 + 0.6000000000000001 * 2, drawn.y);
    // Two lines, middle centre: half of (2) + (2 + gap).
    EXPECT_EQ(1, texts()[2].record.measureOnly);
    EXPECT_EQ(1, texts()[3].record.measureOnly);
    EXPECT_EQ(4, texts()[4].record.align);
    EXPECT_DOUBLE_EQ((2.0 + 2.0 + 0.6000000000000001 * 2) / 2, texts()[4].record.y);
}

TEST_F(TextReaderTest, MtextTextGroupsAreJoinedAndCut)
{
    const std::string part(250, 'a');
    ASSERT_EQ(1, read(mtextEntity(std::string(600, 'b'), {"3", part, "3", part, "3", part})));
    ASSERT_EQ(1u, texts().size());
    EXPECT_EQ(1023u, texts()[0].text.size());
    EXPECT_EQ('b', texts()[0].text.back());
}

TEST_F(TextReaderTest, MtextDirectionVectorKeepsItsQuadrant)
{
    ASSERT_EQ(1, read(concat({mtextEntity("L", {"11", "-1", "21", "0"}), mtextEntity("R", {"50", "30"})})));
    ASSERT_EQ(2u, texts().size());
    EXPECT_DOUBLE_EQ(kPi, texts()[0].record.angle);
    EXPECT_DOUBLE_EQ(30 * kPi / 180, texts()[1].record.angle);
}

TEST_F(TextReaderTest, Ac1021TextIsUtf8)
{
    ASSERT_EQ(1, read(concat({textEntity("\xC3\x98" "25 \xC2\xB1" "0.1"), mtextEntity("Caf\xC3\xA9 \xE2\x82\xAC"),
                              {"0", "ATTDEF", "8", "0", "2", "\xC3\x89TAGE", "10", "0", "20", "0", "40", "1"}}),
                      "AC1021"));
    ASSERT_EQ(3u, texts().size());
    EXPECT_EQ("\xD8" "25 \xB1" "0.1", texts()[0].text);
    EXPECT_EQ("Caf\xE9 ?", texts()[1].text);
    EXPECT_EQ("\xC9TAGE", texts()[2].text);
}

TEST_F(TextReaderTest, AttdefShowsItsTagUnlessInvisible)
{
    const Lines attdef{"0", "ATTDEF", "8", "Tags", "62", "1", "1", "value", "2", "%%cTAG", "10", "3", "20", "4",
                       "40", "1"};
    const Lines hidden{"0", "ATTDEF", "8", "0", "70", "1", "2", "HIDDEN", "10", "0", "20", "0", "40", "1"};
    ASSERT_EQ(1, read(concat({attdef, hidden})));
    ASSERT_EQ(1u, texts().size());
    EXPECT_EQ("%%cTAG", texts()[0].text);  // shown as written
    EXPECT_EQ(128, texts()[0].record.align);
    EXPECT_TRUE(recorder().attribSets.empty());  // the current attributes are kept
    EXPECT_NE(std::string::npos, traceLog().find("invisible ATTRIB\n"));
    ASSERT_EQ(1, read({"0", "ATTDEF", "10", "0", "20", "0", "40", "1"}));
    EXPECT_NE(std::string::npos, errorLog().find("<rdDrEntATTRIB>:\tNo value for Grp Code <2> (tag string)\n"));
}

TEST_F(TextReaderTest, InsertAttributesShowTheirValues)
{
    const auto attrib = [](const std::string& layer, const std::string& flags, const std::string& value) {
        return Lines{"0", "ATTRIB", "8", layer, "1", value, "2", "TAG", "10", "0", "20", "0", "40", "1", "70", flags};
    };
    ASSERT_EQ(1, read(concat({{"0", "INSERT", "8", "Doors", "2", "B", "10", "0", "20", "0", "66", "1"},
                              attrib("0", "0", "kept"), attrib("Tags", "0", "own"), attrib("0", "1", "hidden"),
                              {"0", "SEQEND"}})));
    ASSERT_EQ(2u, texts().size());
    EXPECT_EQ("kept", texts()[0].text);
    EXPECT_EQ("own", texts()[1].text);
    EXPECT_NE(std::string::npos, traceLog().find("invisible ATTRIB\n"));
    // The insert's attributes (set twice), then the second attribute's own.
    const auto& calls = recorder().calls;
    const auto kept = std::find(calls.begin(), calls.end(), "AddText kept 128 0,-0.3");
    const auto own = std::find(calls.begin(), calls.end(), "AddText own 128 0,-0.3");
    ASSERT_TRUE(kept != calls.end() && own != calls.end());
    EXPECT_EQ(1, std::count_if(kept, own, [](const std::string& c) { return c.rfind("AttribSet", 0) == 0; }));
}

TEST_F(TextReaderTest, CorpusTextsReadCleanly)
{
    const fs::path corpus = fs::path(KX_SHARED_DIR) / "corpus" / "dxfjs";
    if (!fs::exists(corpus / "texts.dxf"))
        GTEST_SKIP() << "no shared corpus";
    for (const char* name : {"texts.dxf", "floorplan.dxf", "Ceco.NET-Architecture-Tm-53.dxf"}) {
        recorder() = Recorder{};
        ASSERT_EQ(1, readWithRecorder((corpus / name).string())) << name;
        EXPECT_GT(recorder().count("AddText"), 0) << name;
        const std::string err = errorLog();
        for (const char* reader : {"rdDrEntTEXT", "rdDrEntMTEXT", "rdDrEntATTRIB"})
            EXPECT_EQ(std::string::npos, err.find(reader)) << name;
        for (const RecordedText& t : recorder().texts)
            EXPECT_EQ(std::string::npos, t.text.find("%%")) << name << ": " << t.text;
    }
}

}  // namespace
}  // namespace kxdxf::test
