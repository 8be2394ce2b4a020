// A read into a real engine document, inspected through the exports.
#include <korvex/kxdoc.h>

#include "DxfTestSupport.h"

namespace kxdxf::test {
namespace {

class EngineDocumentTest : public TranslatorTest {
protected:
    void SetUp() override
    {
        TranslatorTest::SetUp();
        doc_ = KXCreateDocInstance();
        ASSERT_NE(nullptr, doc_);
    }
    void TearDown() override
    {
        if (doc_)
            KXDeleteDocInstance(doc_);
        TranslatorTest::TearDown();
    }
    KXDOC doc_ = nullptr;
};

TEST_F(EngineDocumentTest, LayersPropertiesAndLayoutReachTheDocument)
{
    const std::vector<std::string> tables = section(
        "TABLES", {"0", "TABLE", "2", "LAYER", "70", "2", "0", "LAYER", "2", "Visible", "70", "0", "62", "1",
                   "0", "LAYER", "2", "Locked", "70", "4", "62", "3", "0", "ENDTAB"});
    const std::vector<std::string> header =
        section("HEADER", {"9", "$ACADVER", "1", "AC1015", "9", "$MEASUREMENT", "70", "0"});
    const std::vector<std::string> entities =
        section("ENTITIES", {"0", "LINE", "8", "Visible", "10", "0", "20", "0", "11", "1", "21", "1", "0",
                             "CIRCLE", "8", "Undefined", "10", "0", "20", "0", "40", "1"});
    const std::string path = writeFile("doc.dxf", joinLines(concat({header, tables, entities, eofLines()})));

    clsTranslator translator(clsEngineApi::engine(), doc_);
    ASSERT_EQ(1, translator.read(path.c_str()));

    ASSERT_EQ(3, KXGetNumLayers(doc_));
    const char* name = nullptr;
    int state = -1;
    COLORREF color = 0;
    ASSERT_NE(0, KXGetLayer(doc_, 1, &name, &state, &color));
    EXPECT_STREQ("Visible", name);
    EXPECT_EQ(1, state & 1);
    EXPECT_EQ(0x0000FFu, color);
    ASSERT_NE(0, KXGetLayer(doc_, 2, &name, &state, &color));
    EXPECT_STREQ("Locked", name);
    EXPECT_EQ(0, state & 1);
    ASSERT_NE(0, KXGetLayer(doc_, 3, &name, &state, &color));
    EXPECT_STREQ("Undefined", name);

    ASSERT_EQ(3, KXGetNumProperties(doc_));
    std::vector<KXPropertyPair> pairs(3);
    ASSERT_NE(0, KXGetProperties(doc_, pairs.data()));
    EXPECT_STREQ("DXF DRAWING PROPERTIES", pairs[0].name);
    EXPECT_STREQ("AutoCAD 2000 DXF", pairs[1].value);
    EXPECT_STREQ("English", pairs[2].value);
    EXPECT_GE(KXGetNumLayouts(doc_), 1);
}

}  // namespace
}  // namespace kxdxf::test
