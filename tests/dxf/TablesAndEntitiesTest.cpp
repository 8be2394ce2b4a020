// LAYER and LTYPE tables, colours and line styles, and the readers of the
// simple entities, through whole reads with a recording engine.
#include <cmath>
#include <cstring>
#include <new>
#include <string>

#include "DxfTestSupport.h"

namespace kxdxf::test {
namespace {

using Lines = std::vector<std::string>;

Lines ltype(const std::string& name, const std::string& count, const Lines& elements)
{
    Lines lines{"0", "LTYPE", "2", name, "70", "0", "73", count, "40", "1.0"};
    for (const std::string& e : elements)
        lines.insert(lines.end(), {"49", e, "74", "0"});
    return lines;
}

Lines layer(const std::string& name, const std::string& color, const std::string& flags,
            const Lines& extra = {})
{
    Lines lines{"0", "LAYER", "2", name, "70", flags, "62", color};
    lines.insert(lines.end(), extra.begin(), extra.end());
    return lines;
}

Lines table(const std::string& name, const Lines& records)
{
    Lines lines{"0", "TABLE", "2", name, "70", "1"};
    lines.insert(lines.end(), records.begin(), records.end());
    lines.insert(lines.end(), {"0", "ENDTAB"});
    return lines;
}

class TablesTest : public TranslatorTest {
protected:
    int read(const Lines& tables, const Lines& entities, const std::string& version = "AC1015")
    {
        return readText(joinLines(concat({headerSection(version), section("TABLES", tables),
                                          section("ENTITIES", entities), eofLines()})));
    }
};

TEST_F(TablesTest, LayerVisibilityColourAndWeight)
{
    const Lines layers = table(
        "LAYER", concat({layer("On", "1", "0", {"370", "50"}), layer("Off", "-5", "0", {"370", "-3"}),
                         layer("Frozen", "3", "1"), layer("Locked", "3", "4", {"370", "-7"}),
                         layer("Thawed", "3", "16", {"370", "0"})}));
    ASSERT_EQ(1, read(layers, {}));
    const auto& recorded = recorder().layers;
    ASSERT_EQ(5u, recorded.size());
    EXPECT_EQ(1, recorded[0].state);
    EXPECT_EQ(8, recorded[0].lineWeight);
    EXPECT_EQ(0, recorded[1].state);  // negative colour: switched off
    EXPECT_EQ(2, recorded[1].lineWeight);
    EXPECT_EQ(0, recorded[2].state);
    EXPECT_EQ(0, recorded[3].state);
    EXPECT_EQ(1, recorded[3].lineWeight);  // invalid weight
    EXPECT_EQ(1, recorded[4].state);
    EXPECT_EQ(1, recorded[4].lineWeight);
    // Colour 1, then colour 7 for -5, then colour 3 made once and reused.
    EXPECT_EQ((std::vector<COLORREF>{0x0000FF, 0x000000, 0x00FF00}), recorder().colors);
    EXPECT_EQ(recorded[2].color, recorded[3].color);
    EXPECT_NE(std::string::npos, errorLog().find("Layer <Frozen> has no lineweight - group code 370. "
                                                 "Lineweight is set to DEFAULT\n"));
    EXPECT_NE(std::string::npos,
              errorLog().find("Layer <Locked> has invlild lineweight of <-7>. Lineweight is set to 1 pixel\n"));
}

TEST_F(TablesTest, R12LayersAllGetTheDefaultWidth)
{
    ASSERT_EQ(1, read(table("LAYER", layer("A", "1", "0", {"370", "100"})), {}, "AC1009"));
    EXPECT_EQ(2, recorder().layers.at(0).lineWeight);
}

TEST_F(TablesTest, LayerWithoutNameAborts)
{
    EXPECT_EQ(0, read(table("LAYER", {"0", "LAYER", "70", "0"}), {}));
    EXPECT_NE(std::string::npos, errorLog().find("readTableLAYER:\tNo value for mrkr <2> (LAYER NAME)\n"));
}

TEST_F(TablesTest, LinetypeStylesAreMadeOncePerScale)
{
    const Lines tables = concat({table("LTYPE", ltype("DASHED", "2", {"0.5", "-0.25"})),
                                 table("LAYER", layer("L", "7", "0", {"6", "DASHED"}))});
    auto line = [](const Lines& extra) {
        Lines lines{"0", "LINE", "8", "L", "10", "0", "20", "0", "11", "1", "21", "1"};
        lines.insert(lines.end(), extra.begin(), extra.end());
        return lines;
    };
    const Lines entities = concat({line({"6", "DASHED", "48", "2.0"}), line({"6", "DASHED"}),
                                   line({"6", "DASHED", "48", "2.0"}), line({"6", "bylayer"}),
                                   line({"6", "ByBlock"}), line({"6", "NOSUCH"})});
    ASSERT_EQ(1, read(tables, entities));
    // The layer's style (scale 1.0), then scale 2.0; the solid style once.
    const auto& styles = recorder().lineStyles;
    ASSERT_EQ(3u, styles.size());
    EXPECT_EQ((std::vector<double>{0.5, -0.25}), styles[0].elements);
    EXPECT_EQ(1, styles[0].kind);
    EXPECT_EQ((std::vector<double>{1.0, -0.5}), styles[1].elements);
    EXPECT_TRUE(styles[2].elements.empty());

    const auto& sets = recorder().attribSets;
    ASSERT_EQ(6u, sets.size());
    EXPECT_EQ(2, sets[0].lineStyle);
    EXPECT_EQ(1, sets[1].lineStyle);
    EXPECT_EQ(2, sets[2].lineStyle);
    EXPECT_EQ(KX_BYLAYER, sets[3].lineStyle);
    EXPECT_EQ(KX_BYBLOCK, sets[4].lineStyle);
    EXPECT_EQ(KX_CONTINUOUS, sets[5].lineStyle);
    EXPECT_EQ(1, recorder().layers.at(0).lineStyle);
}

TEST_F(TablesTest, LinetypeMissingAnElementIsSolid)
{
    const Lines tables = table("LTYPE", ltype("BROKEN", "4", {"1", "-1"}));
    ASSERT_EQ(1, read(tables, {"0", "LINE", "6", "BROKEN", "10", "0", "20", "0", "11", "1", "21", "1"}));
    EXPECT_EQ(KX_CONTINUOUS, recorder().attribSets.at(0).lineStyle);
}

TEST_F(TablesTest, AbsurdElementCountIsBoundedAndSolid)
{
    // 255 elements announced, none given; and a count of 2^31 + 2 that
    // becomes 2 as a byte.
    const Lines tables = table("LTYPE", concat({ltype("EMPTY", "255", {}),
                                                ltype("HUGE", "2147483650", {"1", "-1"})}));
    const Lines entities{"0", "LINE", "6", "EMPTY", "10", "0", "20", "0", "11", "1", "21", "1",
                         "0", "LINE", "6", "HUGE", "10", "0", "20", "0", "11", "1", "21", "1"};
    ASSERT_EQ(1, read(tables, entities));
    EXPECT_EQ(KX_CONTINUOUS, recorder().attribSets.at(0).lineStyle);
    EXPECT_EQ((std::vector<double>{1, -1}), recorder().lineStyles.back().elements);
}

TEST_F(TablesTest, EntityColoursAndWeights)
{
    const Lines entities{"0", "POINT", "62", "12", "370", "25", "10", "1", "20", "1",
                         "0", "POINT", "62", "256", "10", "1", "20", "1",
                         "0", "POINT", "62", "0", "10", "1", "20", "1",
                         "0", "POINT", "62", "999", "370", "-1", "10", "1", "20", "1"};
    ASSERT_EQ(1, read({}, entities));
    const auto& sets = recorder().attribSets;
    ASSERT_EQ(4u, sets.size());
    EXPECT_EQ(4, sets[0].lineWeight);
    EXPECT_EQ(KX_BYLAYER, sets[1].color);
    EXPECT_EQ(KX_BYBLOCK, sets[2].color);
    EXPECT_EQ(KX_BYLAYER, sets[3].lineWeight);
    // The default layer's colour 7 (reused for index 999), then colour 12.
    EXPECT_EQ((std::vector<COLORREF>{0x000000, 0x0000CC}), recorder().colors);
    EXPECT_EQ(sets[3].color, recorder().layers.at(0).color);
    EXPECT_EQ(Lines{"AddLine 1,1 1,1 z=none"}, Lines{recorder().geometry().at(0)});
}

class EntitiesTest : public TranslatorTest {
protected:
    int read(const Lines& entities)
    {
        return readText(joinLines(concat({headerSection("AC1015"), section("ENTITIES", entities), eofLines()})));
    }
};

TEST_F(EntitiesTest, ArcAnglesAndExtrusion)
{
    const Lines entities{"0", "ARC", "10", "1", "20", "2", "40", "3", "50", "0", "51", "360",
                         "0", "ARC", "10", "1", "20", "2", "40", "3", "50", "90", "51", "45", "38", "5",
                         "210", "0", "220", "0", "230", "-1"};
    ASSERT_EQ(1, read(entities));
    const Lines expected{"AddArc 1,2 r=3 a=0,6.2831853071795862 z=0", "Push",
                         "AddArc 1,2 r=3 a=1.5707963267948966,0.78539816339744828 z=5", "Pop"};
    EXPECT_EQ(expected, recorder().geometry());
    const std::array<double, 9> mirrored{-1, 0, 0, 0, 1, 0, 0, 0, -1};
    EXPECT_EQ(mirrored, recorder().pushedAxes.at(0));
}

TEST_F(EntitiesTest, ArcDegreesAreMultipliedByPiBeforeDividing)
{
    // 1.5 * (pi / 180) would end in ...945.
    ASSERT_EQ(1, read({"0", "ARC", "10", "0", "20", "0", "40", "1", "50", "1.5", "51", "3"}));
    EXPECT_EQ(Lines{"AddArc 0,0 r=1 a=0.026179938779914941,0.052359877559829883 z=0"},
              recorder().geometry());
}

TEST_F(EntitiesTest, EngineFailureInsideAnOcsAbortsWithTheSystemPopped)
{
    clsEngineApi throwing = recordingApi();
    throwing.AddCircle = [](KXDOC, const double*, double, const tagKXEntAttrib*, const double*) -> int {
        recorder().calls.push_back("AddCircle");
        throw std::bad_alloc();
    };
    const std::string path = writeFile("circle.dxf", joinLines(concat({
        headerSection("AC1015"),
        section("ENTITIES", {"0", "CIRCLE", "10", "0", "20", "0", "40", "1", "210", "0", "220", "0", "230", "-1"}),
        eofLines()})));
    clsTranslator translator(throwing, nullptr);
    EXPECT_EQ(0, translator.read(path.c_str()));
    EXPECT_EQ((Lines{"Push", "AddCircle", "Pop"}), recorder().geometry());
    EXPECT_NE(std::string::npos, errorLog().find("TranslatorRead: ERROR <"));
}

TEST_F(EntitiesTest, CircleWithWorldExtrusionPushesNothing)
{
    ASSERT_EQ(1, read({"0", "CIRCLE", "10", "0", "20", "0", "40", "2", "210", "0", "220", "0", "230", "1"}));
    EXPECT_EQ(Lines{"AddCircle 0,0 r=2 z=0"}, recorder().geometry());
}

TEST_F(EntitiesTest, EllipseFullOrArc)
{
    const Lines entities{"0", "ELLIPSE", "10", "0", "20", "0", "11", "2", "21", "0", "40", "0.5",
                         "41", "0", "42", "6.2831853",
                         "0", "ELLIPSE", "10", "0", "20", "0", "11", "2", "21", "0", "40", "0.5",
                         "41", "1", "42", "2", "210", "0", "220", "0", "230", "-1"};
    ASSERT_EQ(1, read(entities));
    const Lines expected{"AddEllipse 0,0 2,0 ratio=0.5 z=none",
                         "AddEllipticArc 0,0 2,0 ratio=0.5 a=1,2 z=none"};
    EXPECT_EQ(expected, recorder().geometry());
}

TEST_F(EntitiesTest, SolidOutlinesFollowTheCornerOrder)
{
    const Lines entities{"0", "SOLID", "10", "0", "20", "0", "11", "1", "21", "0", "12", "0", "22", "1",
                         "13", "1", "23", "1",
                         "0", "SOLID", "10", "0", "20", "0", "11", "1", "21", "0", "12", "0", "22", "1",
                         "13", "0", "23", "1", "38", "2"};
    ASSERT_EQ(1, read(entities));
    const Lines expected{"AddPolyline 0,0 1,0 1,1 0,1 0,0 z=0", "AddPolyline 0,0 1,0 0,1 0,0 z=2"};
    EXPECT_EQ(expected, recorder().geometry());
}

TEST_F(EntitiesTest, TraceOutlineAndMissingCorner)
{
    ASSERT_EQ(1, read({"0", "TRACE", "10", "0", "20", "0", "11", "1", "21", "0", "12", "0", "22", "1",
                       "13", "1", "23", "1"}));
    EXPECT_EQ(Lines{"AddPolyline 0,0 0,1 1,1 1,0 0,0 z=0"}, recorder().geometry());

    recorder() = Recorder{};
    EXPECT_EQ(0, read({"0", "TRACE", "10", "0", "20", "0", "11", "1", "21", "0", "12", "0", "22", "1"}));
    EXPECT_NE(std::string::npos, errorLog().find("r12DrawEntityTRACE: No value for mrkr <13>\n"));
}

TEST_F(EntitiesTest, FaceEdgesFollowTheirFlags)
{
    const Lines face{"0", "3DFACE", "10", "0", "20", "0", "30", "0", "11", "1", "21", "0", "12", "1",
                     "22", "1", "13", "0", "23", "1"};
    Lines hidden = face;
    hidden.insert(hidden.end(), {"70", "15"});
    Lines some = face;
    some.insert(some.end(), {"70", "5"});
    ASSERT_EQ(1, read(concat({face, hidden, some})));
    const Lines expected{"AddLine 0,0 1,0 z=none", "AddLine 1,0 1,1 z=none", "AddLine 1,1 0,1 z=none",
                         "AddLine 0,1 0,0 z=none", "AddLine 1,0 1,1 z=none", "AddLine 0,1 0,0 z=none"};
    EXPECT_EQ(expected, recorder().geometry());
}

TEST_F(EntitiesTest, TriangularFaceAndMissingZ)
{
    ASSERT_EQ(1, read({"0", "3DFACE", "10", "0", "20", "0", "30", "0", "11", "1", "21", "0", "12", "1",
                       "22", "1", "70", "2"}));
    EXPECT_EQ((Lines{"AddLine 0,0 1,0 z=none", "AddLine 1,1 1,1 z=none", "AddLine 1,1 0,0 z=none"}),
              recorder().geometry());

    recorder() = Recorder{};
    EXPECT_EQ(0, read({"0", "3DFACE", "10", "0", "20", "0", "11", "1", "21", "0", "12", "1", "22", "1"}));
    EXPECT_NE(std::string::npos, errorLog().find("rdDrEnt3DFACE:\tNo value for Group Code <30>\n"));
}

TEST_F(EntitiesTest, ViewportCreatesNothing)
{
    ASSERT_EQ(1, read({"0", "VIEWPORT", "10", "0", "20", "0", "40", "5", "41", "5"}));
    EXPECT_TRUE(recorder().calls.empty());
    EXPECT_NE(std::string::npos, traceLog().find("<rdDrEntVIEWPORT>:\t\tentered\n<rdDrEntVIEWPORT>:\t\tnormal exit\n"));
}

TEST_F(EntitiesTest, MissingRequiredGroupAbortsAfterEarlierEntities)
{
    const Lines entities{"0", "POINT", "10", "1", "20", "1", "0", "CIRCLE", "10", "0", "20", "0"};
    EXPECT_EQ(0, read(entities));
    EXPECT_EQ(Lines{"AddLine 1,1 1,1 z=none"}, recorder().geometry());
    const std::string err = errorLog();
    EXPECT_EQ("rdDrEntCIRCLE:\tNo value for mrkr <40>\n",
              err.substr(err.size() - std::strlen("rdDrEntCIRCLE:\tNo value for mrkr <40>\n")));
}

// A section's loop is bounded by what the input can still hold, not by a
// fixed count: a big drawing with more than half a million entities was
// cut at that many, silently, and converted without the rest.
TEST_F(EntitiesTest, SectionsOfMoreThanHalfAMillionEntitiesAreReadWhole)
{
    constexpr int kPoints = 500'005;
    Lines entities;
    entities.reserve(6 * kPoints + 12);
    for (int i = 0; i < kPoints; ++i)
        entities.insert(entities.end(), {"0", "POINT", "10", std::to_string(i), "20", "0"});
    // And in a block: its definition is read whole too, then placed.
    Lines blocks{"0", "BLOCK", "2", "B", "70", "0", "10", "0", "20", "0"};
    for (int i = 0; i < kPoints; ++i)
        blocks.insert(blocks.end(), {"0", "POINT", "10", "0", "20", std::to_string(i)});
    blocks.insert(blocks.end(), {"0", "ENDBLK"});
    ASSERT_EQ(1, readText(joinLines(concat({headerSection("AC1015"), section("BLOCKS", blocks),
                                            section("ENTITIES", entities), eofLines()}))));
    EXPECT_EQ(2 * kPoints, recorder().count("AddLine"));
    EXPECT_EQ("AddLine 500004,0 500004,0 z=none", recorder().geometry().back());
    EXPECT_EQ(std::string::npos, errorLog().find("exceeded"));
}

}  // namespace
}  // namespace kxdxf::test
