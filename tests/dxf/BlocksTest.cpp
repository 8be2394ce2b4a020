// The BLOCKS section, INSERT with its attributes and array copies,
// DIMENSION and ACAD_TABLE read against the recording engine, and the cut
// short or malformed definitions that must not take the drawing with them.
#include "DxfTestSupport.h"

namespace kxdxf::test {
namespace {

using Lines = std::vector<std::string>;

Lines lineEntity(const std::string& layer = "0")
{
    return {"0", "LINE", "8", layer, "10", "5", "20", "5", "11", "6", "21", "5"};
}

const std::string kLine = "AddLine 5,5 6,5 z=none";

Lines block(const std::string& name, const Lines& entities, bool ended = true)
{
    Lines lines{"0", "BLOCK", "8", "0", "2", name, "70", "0", "10", "5", "20", "5", "30", "0", "3", name};
    lines = concat({lines, entities});
    if (ended)
        lines = concat({lines, {"0", "ENDBLK", "8", "0"}});
    return lines;
}

Lines insert(const std::string& name, const Lines& more = {})
{
    return concat({{"0", "INSERT", "8", "0", "2", name, "10", "0", "20", "0"}, more});
}

const Lines kSeqend{"0", "SEQEND", "8", "0"};

Lines attrib(const std::string& tag)
{
    return {"0", "ATTRIB", "8", "0", "10", "0", "20", "0", "40", "1", "1", "value", "2", tag, "70", "0"};
}

class BlocksTest : public TranslatorTest {
protected:
    int read(const Lines& blocks, const Lines& entities)
    {
        return readText(joinLines(
            concat({headerSection("AC1015"), section("BLOCKS", blocks), section("ENTITIES", entities), eofLines()})));
    }
    Lines geometry() const { return recorder().geometry(); }
};

TEST_F(BlocksTest, BlockEntitiesOnLayerZeroAreByBlock)
{
    ASSERT_EQ(1, read(block("B", lineEntity()), concat({lineEntity(), insert("B", {"41", "2", "42", "3", "50", "90"})})));
    const Lines expected{"StartBlock B 5,5", kLine, "EndBlock", kLine,
                         "InsertBlockStr B 0,0 r=1.5708 s=2,3 z=0"};
    EXPECT_EQ(expected, geometry());
    const std::vector<tagKXAttrib>& sets = recorder().attribSets;
    ASSERT_GE(sets.size(), 2u);
    EXPECT_EQ(KX_BYBLOCK, sets[0].color);
    EXPECT_EQ(KX_BYLAYER, sets[1].color);
    EXPECT_NE(std::string::npos, traceLog().find("<readBlock>:\t\tnormal exit: <B>"));
}

TEST_F(BlocksTest, AttributesUpToTheirSeqendAreConsumed)
{
    ASSERT_EQ(1, read({}, concat({insert("B", {"66", "1"}), attrib("A"), attrib("B"), kSeqend, lineEntity()})));
    const std::string value = "AddText value 128 0,-0.3";
    EXPECT_EQ((Lines{"InsertBlockStr B 0,0 r=0 s=1,1 z=0", value, value, kLine}), geometry());
    EXPECT_EQ(std::string::npos, errorLog().find("UNKNOWN"));
}

TEST_F(BlocksTest, AttributesCutShortByAnotherEntityLeaveItToBeRead)
{
    ASSERT_EQ(1, read({}, concat({insert("B", {"66", "1"}), lineEntity()})));
    EXPECT_EQ((Lines{"InsertBlockStr B 0,0 r=0 s=1,1 z=0", kLine}), geometry());
    EXPECT_NE(std::string::npos, errorLog().find("rdDrEntINSERT>: should only be ATTRIB or SEQEND, not <LINE>\n"));
}

TEST_F(BlocksTest, AtMostOneHundredAttributesAreRead)
{
    Lines entities = insert("B", {"66", "1"});
    for (int i = 0; i < 101; ++i)
        entities = concat({entities, attrib("T")});
    ASSERT_EQ(1, read({}, concat({entities, kSeqend, lineEntity()})));
    EXPECT_EQ(kLine, geometry().back());
    EXPECT_NE(std::string::npos, traceLog().find("<rdDrEntINSERT>:\t\texitting after reading ATTIRIB"));
    const std::string err = errorLog();
    EXPECT_NE(std::string::npos, err.find("UNKNOWN ENTITY <ATTRIB>"));
    EXPECT_NE(std::string::npos, err.find("UNKNOWN ENTITY <SEQEND>"));
}

TEST_F(BlocksTest, InsertWithoutNameIsLeftOutWithItsAttributes)
{
    const Lines nameless{"0", "INSERT", "8", "0", "66", "1", "10", "0", "20", "0"};
    ASSERT_EQ(1, read({}, concat({nameless, attrib("A"), kSeqend, lineEntity()})));
    EXPECT_EQ(Lines{kLine}, geometry());
    const std::string err = errorLog();
    EXPECT_NE(std::string::npos, err.find("readInsert:\tNo value for mrkr <2>\n"));
    EXPECT_EQ(std::string::npos, err.find("UNKNOWN"));
}

TEST_F(BlocksTest, ArrayInsertPlacesEveryCopyAlongTheRotatedAxes)
{
    ASSERT_EQ(1, read({}, insert("B", {"10", "1", "50", "90", "41", "5", "70", "2", "71", "2", "44", "10",
                                       "45", "3"})));
    const Lines got = geometry();
    ASSERT_EQ(4u, got.size());
    std::vector<std::pair<double, double>> at;
    for (const std::string& call : got) {
        double x = 0, y = 0;
        ASSERT_EQ(2, std::sscanf(call.c_str(), "InsertBlockStr B %lf,%lf", &x, &y)) << call;
        at.emplace_back(x, y);
    }
    // Spacings are not scaled: columns go up (+y), rows go left (-x).
    const std::vector<std::pair<double, double>> expected{{1, 0}, {1, 10}, {-2, 0}, {-2, 10}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(expected[i].first, at[i].first, 1e-9);
        EXPECT_NEAR(expected[i].second, at[i].second, 1e-9);
    }
}

TEST_F(BlocksTest, AbsurdArrayIsBounded)
{
    ASSERT_EQ(1, read({}, concat({insert("B", {"70", "2000000", "71", "2000000", "44", "1", "45", "1"}),
                                  lineEntity()})));
    EXPECT_EQ(100000, recorder().count("InsertBlockStr"));
    EXPECT_EQ(kLine, geometry().back());
    EXPECT_NE(std::string::npos, errorLog().find("exceeds <100000> copies"));
}

TEST_F(BlocksTest, DimensionsAndTablesAreDrawnThroughTheirBlocks)
{
    const Lines dimension{"0", "DIMENSION", "8", "0", "2", "*D1", "10", "4", "20", "4", "70", "32"};
    const Lines table{"0", "ACAD_TABLE", "8", "0", "2", "*T1", "10", "3", "20", "4", "1", "cell", "2", "overflow"};
    ASSERT_EQ(1, read(block("OUTER", dimension), concat({dimension, table})));
    const Lines expected{"StartBlock OUTER 5,5", "InsertBlockStr *D1 0,0 r=0 s=1,1 z=none", "EndBlock",
                         "InsertBlockStr *D1 0,0 r=0 s=1,1 z=none", "InsertBlockStr *T1 3,4 r=0 s=1,1 z=none"};
    EXPECT_EQ(expected, geometry());
    EXPECT_EQ(std::string::npos, errorLog().find("UNKNOWN"));
}

TEST_F(BlocksTest, BlockWithoutBasePointIsLeftOutWhole)
{
    const Lines broken{"0", "BLOCK", "8", "0", "2", "BAD", "20", "5", "0", "LINE", "10", "0", "20", "0",
                       "11", "1", "21", "1", "0", "ENDBLK"};
    ASSERT_EQ(1, read(concat({broken, block("GOOD", lineEntity())}), lineEntity()));
    EXPECT_EQ((Lines{"StartBlock GOOD 5,5", kLine, "EndBlock", kLine}), geometry());
    EXPECT_NE(std::string::npos, errorLog().find("readBlock:\tNo value for Grp Code <10.0> (Origin X)\n"));
}

TEST_F(BlocksTest, BlockWithoutEndblkEndsAtTheNextBlockOrTheSectionEnd)
{
    ASSERT_EQ(1, read(concat({block("A", lineEntity(), false), block("B", lineEntity(), false)}), lineEntity()));
    const Lines expected{"StartBlock A 5,5", kLine, "EndBlock", "StartBlock B 5,5", kLine, "EndBlock", kLine};
    EXPECT_EQ(expected, geometry());
    const std::string err = errorLog();
    EXPECT_NE(std::string::npos, err.find("readBlock:\tNo ENDBLK for Block <A>"));
    EXPECT_NE(std::string::npos, err.find("readBlock:\tNo ENDBLK for Block <B>"));
}

TEST_F(BlocksTest, BlocksThatInsertThemselvesAreNamedInTheErrorLog)
{
    // SELF inserts itself; PING and PONG insert each other; TOP and LEAF do not.
    const Lines blocks = concat({block("SELF", concat({lineEntity(), insert("SELF")})),
        block("PING", insert("PONG")), block("PONG", insert("PING")), block("LEAF", lineEntity()),
        block("TOP", concat({insert("LEAF"), insert("LEAF")}))});
    ASSERT_EQ(1, read(blocks, concat({insert("TOP"), insert("SELF")})));
    const std::string err = errorLog();
    for (const char* name : {"SELF", "PING", "PONG"}) {
        const std::string line = std::string("readBlocks:\tBlock <") + name +
                                 "> inserts itself (directly or through other blocks), the reference is skipped";
        EXPECT_NE(std::string::npos, err.find(line)) << name;
    }
    EXPECT_EQ(std::string::npos, err.find("Block <TOP> inserts itself"));
    EXPECT_EQ(std::string::npos, err.find("Block <LEAF> inserts itself"));
}

TEST_F(BlocksTest, BlocksSectionWithoutEndsecLeavesTheNextSectionToBeRead)
{
    const Lines unended{"0", "SECTION", "2", "BLOCKS"};
    const std::string text = joinLines(concat({headerSection("AC1015"), unended, block("A", lineEntity()),
                                               section("ENTITIES", lineEntity()), eofLines()}));
    ASSERT_EQ(1, readText(text));
    EXPECT_EQ((Lines{"StartBlock A 5,5", kLine, "EndBlock", kLine}), geometry());
    EXPECT_NE(std::string::npos, errorLog().find("BLOCKS section ends without <ENDSEC> at <SECTION>"));
}

TEST_F(BlocksTest, FileEndingInsideABlockAbortsTheRead)
{
    const std::string text = joinLines(concat({headerSection("AC1015"), {"0", "SECTION", "2", "BLOCKS"},
                                               block("A", lineEntity(), false)}));
    EXPECT_EQ(0, readText(text));
    // The last entity is cut short too: it ends the read unread.
    EXPECT_EQ(Lines{"StartBlock A 5,5"}, geometry());
    EXPECT_NE(std::string::npos, errorLog().find("fgets failed"));
}

TEST_F(BlocksTest, BlockTheEngineRefusesKeepsItsEntitiesOutOfTheDrawing)
{
    recorder().refuseBlocks = true;
    ASSERT_EQ(1, read(concat({block("A", concat({lineEntity(), insert("B", {"66", "1"}), attrib("T"), kSeqend})),
                              block("B", lineEntity(), false)}),
                      lineEntity()));
    EXPECT_EQ((Lines{"StartBlock A 5,5", "StartBlock B 5,5", kLine}), geometry());
    EXPECT_NE(std::string::npos, errorLog().find("readBlock:\tBlock <A> not accepted, its entities are skipped"));
}

TEST_F(BlocksTest, AttributeDefinitionsInBlocksAreNotDrawn)
{
    const Lines attdef{"0", "ATTDEF", "8", "0", "10", "0", "20", "0", "40", "1", "1", "x", "2", "TAG", "3", "?"};
    ASSERT_EQ(1, read(block("A", concat({attdef, lineEntity()})), {}));
    EXPECT_EQ((Lines{"StartBlock A 5,5", kLine, "EndBlock"}), geometry());
}

}  // namespace
}  // namespace kxdxf::test
