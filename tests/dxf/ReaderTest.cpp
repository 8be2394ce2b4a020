// The line reader, the key map and the three ways of filling an entity.
#include <gtest/gtest.h>

#include "DxfTestSupport.h"
#include <cstring>

#include "clsAbortRead.h"
#include "clsEntityAttribs.h"
#include "clsInputFile.h"
#include "clsOCS.h"
#include "clssENTITY.h"

namespace kxdxf {
namespace {

using test::joinLines;

TEST(DxfStream, LinesAreCutLikeFgetsIntoTheBuffer)
{
    clsDxfStream in;
    const std::string longLine(1500, 'x');
    using namespace std::string_literals;
    in.openBuffer("  10\r\nLINE \nA\0B\n\tTAB\n"s + longLine + "\nlast");
    EXPECT_EQ("10", *in.readLine());
    EXPECT_EQ("LINE ", *in.readLine());  // trailing blanks stay
    EXPECT_EQ("A", *in.readLine());      // text ends at a NUL byte
    EXPECT_EQ("\tTAB", *in.readLine());  // only spaces are dropped
    EXPECT_EQ(std::string(1021, 'x'), *in.readLine());
    EXPECT_EQ(std::string(479, 'x'), *in.readLine());
    EXPECT_EQ("last", *in.readLine());
    EXPECT_FALSE(in.readLine());
}

TEST(DxfStream, PositionsCanBeRevisited)
{
    clsDxfStream in;
    in.openBuffer("a\nb\n");
    in.readLine();
    const std::size_t mark = in.tell();
    EXPECT_EQ("b", *in.readLine());
    in.seek(mark);
    EXPECT_EQ("b", *in.readLine());
    in.rewind();
    EXPECT_EQ("a", *in.readLine());
}

TEST(KeyMap, ReplacesAndReusesAcrossClears)
{
    clsKeyMap map;
    for (int round = 0; round < 3; ++round) {
        map.clear();
        EXPECT_EQ(nullptr, map.find("10"));
        for (int i = 0; i < 500; ++i)
            map.set(std::to_string(i), "v" + std::to_string(i + round));
        map.set("10", "replaced");
        EXPECT_EQ(500u, map.size());
        EXPECT_EQ("replaced", *map.find("10"));
        EXPECT_EQ("v" + std::to_string(499 + round), *map.find("499"));
    }
}

class EntityFilling : public ::testing::Test {
protected:
    clssENTITY& fill(const std::string& pairs, void (clssENTITY::*filling)(clsTranslator&))
    {
        tr_.input().openBuffer(pairs);
        (entity_.*filling)(tr_);
        return entity_;
    }
    clsTranslator tr_{test::recordingApi(), nullptr};
    clssENTITY entity_;
};

TEST_F(EntityFilling, SingleKeysKeepTheLastValueAndStopBeforeTheNextEntity)
{
    const std::string text = joinLines({"8", "Walls", "10", "1.0", "10", "2.0", "  0", "LINE"});
    fill(text, &clssENTITY::readSKey);
    EXPECT_EQ("2.0", *entity_.find("10"));
    EXPECT_EQ("Walls", entity_.layerName());
    EXPECT_FALSE(entity_.isMultiKey());
    // The "0" pair (with its blanks dropped) is left for the section reader.
    std::string_view code;
    std::string_view value;
    tr_.utlReadGrpCodeValue(code, value);
    EXPECT_EQ("0", code);
    EXPECT_EQ("LINE", value);
}

TEST_F(EntityFilling, MultiKeysCountEveryOccurrence)
{
    fill(joinLines({"10", "1.0", "10", "2.0", "40", "5", "8", "L", "0", "EOF"}), &clssENTITY::readMKey);
    EXPECT_EQ("2", *entity_.find("10"));
    EXPECT_EQ("1.0", *entity_.find("10.0"));
    EXPECT_EQ("2.0", *entity_.find("10.1"));
    EXPECT_EQ("5", *entity_.find("40.0"));
    EXPECT_EQ("", *entity_.find("MKEY"));
    EXPECT_EQ("L", entity_.layerName());
}

TEST_F(EntityFilling, CodeShapedLikeAnIndexedKeyDoesNotOverflowItsCount)
{
    // "10.0" as a group code finds the value of the first group 10 where it
    // expects its own count: an absurd count starts a fresh one.
    fill(joinLines({"10", "9223372036854775807", "10.0", "x", "10.0", "y", "0", "EOF"}),
         &clssENTITY::readMKey);
    EXPECT_EQ("x", *entity_.find("10.0.0"));
    EXPECT_EQ("y", *entity_.find("10.0.1"));
    EXPECT_EQ("2", *entity_.find("10.0"));
    EXPECT_EQ("1", *entity_.find("10"));
}

TEST_F(EntityFilling, VertexKeysFileWidthsUnderTheCurrentVertex)
{
    fill(joinLines({"40", "0.5", "10", "1", "20", "2", "42", "1", "10", "3", "41", "7", "0", "EOF"}),
         &clssENTITY::readVKey);
    EXPECT_EQ("0.5", *entity_.find("40.-1"));
    EXPECT_EQ("1", *entity_.find("42.0"));
    EXPECT_EQ("7", *entity_.find("41.1"));
    EXPECT_EQ("2", *entity_.find("10"));
    EXPECT_EQ("3", *entity_.find("10.1"));
    EXPECT_FALSE(entity_.has("40"));
}

TEST_F(EntityFilling, SpaceAndVisibility)
{
    fill(joinLines({"67", "1", "60", "1", "0", "EOF"}), &clssENTITY::readSKey);
    EXPECT_EQ(kSpacePaper, entity_.space());
    EXPECT_EQ(0, entity_.visible());
    fill(joinLines({"67", "2", "0", "EOF"}), &clssENTITY::readSKey);
    EXPECT_EQ(kSpaceOther, entity_.space());
    EXPECT_EQ(1, entity_.visible());
    fill(joinLines({"67", "x", "0", "EOF"}), &clssENTITY::readMKey);
    EXPECT_EQ(kSpaceModel, entity_.space());
}

TEST_F(EntityFilling, TooManyPairsAbort)
{
    std::string text;
    for (int i = 0; i < 100001; ++i)
        text += "5\nA\n";
    EXPECT_THROW(fill(text + "0\nEOF\n", &clssENTITY::readSKey), clsAbortRead);
    EXPECT_THROW(fill(text + "0\nEOF\n", &clssENTITY::readMKey), clsAbortRead);
}

TEST_F(EntityFilling, PerVertexFillingEndsQuietlyAtTheLimit)
{
    std::string text;
    for (int i = 0; i < 100001; ++i)
        text += "5\nA\n";
    EXPECT_NO_THROW(fill(text + "0\nEOF\n", &clssENTITY::readVKey));
}

TEST_F(EntityFilling, PairCutInTheMiddleAborts)
{
    EXPECT_THROW(fill("10\n", &clssENTITY::readSKey), clsAbortRead);
}

TEST_F(EntityFilling, LayerZeroIsByBlockInsideBlockDefinitions)
{
    test::recorder() = test::Recorder{};
    fill(joinLines({"8", "0", "0", "EOF"}), &clssENTITY::readSKey);
    tr_.setCurrentSection(kSectionBlocks);
    clsEntityAttribs::setEntityAttribs(tr_, entity_);
    tr_.setCurrentSection(kSectionEntities);
    clsEntityAttribs::setEntityAttribs(tr_, entity_);
    fill(joinLines({"8", "Other", "0", "EOF"}), &clssENTITY::readSKey);
    tr_.setCurrentSection(kSectionBlocks);
    clsEntityAttribs::setEntityAttribs(tr_, entity_);
    const auto& sets = test::recorder().attribSets;
    ASSERT_EQ(3u, sets.size());
    EXPECT_EQ(KX_BYBLOCK, sets[0].color);
    EXPECT_EQ(KX_BYLAYER, sets[1].color);
    EXPECT_EQ(KX_BYLAYER, sets[2].color);
}

TEST_F(EntityFilling, OwnLineWidthIsAFloatOnTopOfTheCurrentRecord)
{
    test::recorder() = test::Recorder{};
    fill(joinLines({"8", "A", "62", "1", "0", "EOF"}), &clssENTITY::readSKey);
    clsEntityAttribs::setEntityAttribs(tr_, entity_);
    clsEntityAttribs::utlSetLineWidth(tr_, 2.0, 4.0);
    const auto& sets = test::recorder().attribSets;
    ASSERT_EQ(2u, sets.size());
    EXPECT_EQ(sets[0].layer, sets[1].layer);
    EXPECT_EQ(sets[0].color, sets[1].color);
    EXPECT_EQ(KXATTRIB_FLOAT_WEIGHT, sets[1].flags);
    float width = 0;
    std::memcpy(&width, &sets[1].lineWeight, sizeof width);
    EXPECT_EQ(3.0f, width);
    EXPECT_EQ(KX_BYLAYER, tr_.currentAttrib().lineWeight);  // the current record is unchanged
}

TEST_F(EntityFilling, HeaderKeepsEveryValueUnderVariableAndCode)
{
    tr_.input().openBuffer(joinLines({"9", "$ACADVER", "1", "AC1015", "9", "$EXTMIN", "10", "1.5", "20", "2.5",
                                      "0", "NOTENDSEC", "9", "$ACADVER", "1", "AC1018", "0", "ENDSEC"}));
    ASSERT_EQ(1, tr_.header().Read(tr_));
    EXPECT_EQ("AC1018", *tr_.header().find("$ACADVER.1"));
    EXPECT_EQ("1.5", *tr_.header().find("$EXTMIN.10"));
    EXPECT_EQ("2.5", *tr_.header().find("$EXTMIN.20"));
    EXPECT_EQ("NOTENDSEC", *tr_.header().find("$EXTMIN.0"));
}

TEST_F(EntityFilling, HeaderStopsAtItsPairLimitWithoutAborting)
{
    std::string text;
    for (int i = 0; i < 10001; ++i)
        text += "9\n$V\n";
    tr_.input().openBuffer(text + "0\nENDSEC\n");
    EXPECT_EQ(0, tr_.header().Read(tr_));
}

class FileFormat : public test::TranslatorTest {};

TEST_F(FileFormat, TheFirstDecidingLineWins)
{
    EXPECT_EQ(clsInputFile::kLf, clsInputFile::getFileFormat(writeFile("lf.dxf", "0\nSECTION\r\n")));
    EXPECT_EQ(clsInputFile::kCrLf, clsInputFile::getFileFormat(writeFile("crlf.dxf", "0\r\nSECTION\n")));
    EXPECT_EQ(clsInputFile::kBareCr, clsInputFile::getFileFormat(writeFile("cr.dxf", "0\rSECTION\r2\r")));
    EXPECT_EQ(clsInputFile::kUndecided, clsInputFile::getFileFormat(writeFile("none.dxf", "0")));
    EXPECT_EQ(clsInputFile::kUndecided, clsInputFile::getFileFormat(writeFile("cr-end.dxf", "0\r")));
    EXPECT_FALSE(clsInputFile::getFileFormat((inputDir_ / "absent.dxf").string()));
}

TEST_F(FileFormat, FailedCopyNamesTheFileThatFailed)
{
    const std::string input = writeFile("cr.dxf", "0\rEOF\r");
    const std::string output = (tempDir_ / "copy").string();
    EXPECT_EQ(clsInputFile::CopyResult::Copied, clsInputFile::convertCrToLf(input, output));
    EXPECT_EQ("0\nEOF\n", slurp(output));
    EXPECT_EQ(clsInputFile::CopyResult::InputFailed,
              clsInputFile::convertCrToLf((inputDir_ / "absent.dxf").string(), output));
    EXPECT_EQ(clsInputFile::CopyResult::OutputFailed,
              clsInputFile::convertCrToLf(input, (tempDir_ / "no-such-dir" / "copy").string()));
}

TEST(OCS, DownwardExtrusionMirrorsX)
{
    const clsOCS ocs(0.0, 0.0, -1.0);
    ASSERT_TRUE(ocs.needsTransform());
    const std::array<double, 9> expected{-1, 0, 0, 0, 1, 0, 0, 0, -1};
    EXPECT_EQ(expected, ocs.axes());
}

TEST(OCS, WorldExtrusionNeedsNoTransform)
{
    EXPECT_FALSE(clsOCS(0.0, 0.0, 1.0).needsTransform());
    EXPECT_FALSE(clsOCS(5e-8, -5e-8, 1.00000005).needsTransform());
    // A zero extrusion defines no plane and must not produce NaN axes.
    EXPECT_FALSE(clsOCS(0.0, 0.0, 0.0).needsTransform());
}

TEST(OCS, ExtrusionLengthDoesNotDegenerateTheAxes)
{
    // Squared, these components overflow; the axes must still be unit.
    const clsOCS huge(1e200, 0.0, 0.0);
    ASSERT_TRUE(huge.needsTransform());
    const std::array<double, 9> expected{0, 1, 0, 0, 0, 1, 1e200, 0, 0};
    EXPECT_EQ(expected, huge.axes());
    // Too short for any axis: taken as the world plane, like a zero one.
    EXPECT_FALSE(clsOCS(1e-200, 0.0, 0.0).needsTransform());
}

TEST(OCS, SideExtrusionUsesTheWorldZAxis)
{
    const clsOCS ocs(1.0, 0.0, 0.0);
    ASSERT_TRUE(ocs.needsTransform());
    const std::array<double, 9> expected{0, 1, 0, 0, 0, 1, 1, 0, 0};
    EXPECT_EQ(expected, ocs.axes());
}

}  // namespace
}  // namespace kxdxf
