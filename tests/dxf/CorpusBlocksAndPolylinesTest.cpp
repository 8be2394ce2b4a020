// The shared corpus drawings that hold polylines, blocks, inserts and
// dimensions read against the recording engine without a fault reported.
#include "DxfTestSupport.h"

#include <cctype>

namespace kxdxf::test {
namespace {

class CorpusBlocksAndPolylinesTest : public TranslatorTest, public ::testing::WithParamInterface<const char*> {};

// Error-log lines that only a fault of these readers (or of the file) writes.
const char* const kFaults[] = {"rdDrEntPOLYLINE:", "rdDrEntLWPOLYLINE:", "rdDrEntMLINE:", "rdDrEntSPLINE:",
                               "readInsert:", "rdDrEntINSERT", "rdDrEntDIMENSION:", "rdDrEntACADTABLE:",
                               "readBlock", "not created", "describes no arc", "exceeded", "UNKNOWN ENTITY <POLYLINE>",
                               "UNKNOWN ENTITY <VERTEX>", "UNKNOWN ENTITY <SEQEND>", "UNKNOWN ENTITY <ATTRIB>",
                               "UNKNOWN ENTITY <DIMENSION>", "UNKNOWN ENTITY <INSERT>", "polygon mesh"};

TEST_P(CorpusBlocksAndPolylinesTest, ReadsWithoutFaults)
{
    const fs::path file = fs::path(KX_SHARED_DIR) / "corpus" / "dxfjs" / GetParam();
    if (!fs::exists(file))
        GTEST_SKIP() << "no shared corpus at " << file;
    ASSERT_EQ(1, readWithRecorder(file.string()));
    const std::string err = errorLog();
    for (const char* fault : kFaults)
        EXPECT_EQ(std::string::npos, err.find(fault)) << fault << " in\n" << err;
    EXPECT_EQ(recorder().count("StartBlock"), recorder().count("EndBlock"));
    EXPECT_GT(recorder().geometry().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusBlocksAndPolylinesTest,
                         ::testing::Values("lwpolylines.dxf", "polylines.dxf", "closedlwpolylinebug.dxf",
                                           "blocks1.dxf", "blocks2.dxf", "floorplan.dxf",
                                           "Ceco.NET-Architecture-Tm-53.dxf", "dimensions.dxf", "issue29.dxf",
                                           "squareandcircle.dxf", "1x1rectangle.dxf", "array-rotated.dxf",
                                           "arrayed-holes.dxf", "supported_entities.dxf", "entities.dxf"),
                         [](const ::testing::TestParamInfo<const char*>& test) {
                             std::string name;
                             for (const char* c = test.param; *c && *c != '.'; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

}  // namespace
}  // namespace kxdxf::test
