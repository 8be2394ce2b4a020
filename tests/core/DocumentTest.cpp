#include <gtest/gtest.h>

#include <string>

#include <korvex/kxcore.h>

#include "CKXAttribSet.h"
#include "CKXDoc.h"
#include "CKXLine.h"

namespace {

TEST(DocumentLifecycle, NewDocumentState) {
    KXDOC doc = KXCreateDocInstance();
    ASSERT_NE(doc, nullptr);
    CKXDoc& d = *static_cast<CKXDoc*>(doc);
    EXPECT_EQ(d.GetCount(), 0);
    EXPECT_TRUE(d.GetExtents().IsEmpty());
    EXPECT_EQ(d.GetResolution(), 1.0);
    EXPECT_FALSE(d.IsClosed());
    EXPECT_EQ(d.GetCurrentContainer(), &d);
    EXPECT_EQ(KXGetCurrentLayout(doc), -1);
    EXPECT_EQ(KXGetNumLayouts(doc), 0);
    EXPECT_EQ(KXGetNumProperties(doc), 0);
    EXPECT_EQ(d.GetBgColor(), 0xFFFFFFu);
    EXPECT_EQ(d.GetFgColor(), 0u);
    EXPECT_EQ(d.GetDisplayMode(), 0);
    EXPECT_TRUE(d.CoordSystems().empty());
    EXPECT_EQ(d.DirectionCache().size(), 513u);
    EXPECT_EQ(d.DirectionCache()[512].ratio, 0.0);
    tagKXAttrib a{};
    ASSERT_EQ(KXAttribGet(doc, &a), 1);
    EXPECT_EQ(a.layer, 0);
    EXPECT_EQ(d.Attribs().Color(a.color), 0x000000u);  // contrast of white
    EXPECT_EQ(a.lineStyle, KX_CONTINUOUS);
    EXPECT_EQ(a.lineWeight, 1);
    KXDeleteDocInstance(doc);
}

TEST(DocumentLifecycle, NullHandlesAreHarmless) {
    const double p[2] = {0, 0};
    const double axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    KXPoint pts[2] = {{0, 0}, {1, 1}};
    double knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
    tagKXAttrib attrib{};
    tagKXLayer layer{"x", 0, 0, 0, 0, 0, 0};
    const double el[2] = {1, -1};
    tagKXLineStyle style{1, 2, el};
    const char* name = nullptr;
    int state = 0;
    COLORREF colour = 0;
    char buffer[512];
    KXPropertyPair pairs[1];
    EXPECT_EQ(KXAddLine(nullptr, p, p, nullptr, nullptr), 0);
    EXPECT_EQ(KXAddPolyline(nullptr, pts, 2, nullptr, nullptr), 0);
    EXPECT_EQ(KXAddCircle(nullptr, p, 1, nullptr, nullptr), 0);
    EXPECT_EQ(KXAddArc(nullptr, p, 1, 0, 1, nullptr, nullptr), 0);
    EXPECT_EQ(KXAddEllipse(nullptr, p, p, 1, nullptr, nullptr), 0);
    EXPECT_EQ(KXAddEllipticArc(nullptr, p, p, 1, 0, 1, nullptr, nullptr), 0);
    EXPECT_EQ(KXAddSpline(nullptr, 3, pts, 2, knots, 6, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(KXAttribColor(nullptr, 0), 0);
    EXPECT_EQ(KXAttribLineStyle(nullptr, &style), 0);
    EXPECT_EQ(KXAttribLayer(nullptr, &layer), 0);
    EXPECT_EQ(KXAttribSet(nullptr, &attrib), 0);
    EXPECT_EQ(KXAttribGet(nullptr, &attrib), 0);
    EXPECT_EQ(KXAddLayout(nullptr, "a"), -1);
    EXPECT_EQ(KXGetCurrentLayout(nullptr), -1);
    KXSetCurrentLayout(nullptr, 1);
    EXPECT_EQ(KXGetNumLayouts(nullptr), 0);
    EXPECT_EQ(KXGetLayout(nullptr, 0, buffer), 0);
    EXPECT_EQ(KXGetNumLayers(nullptr), 0);
    EXPECT_EQ(KXGetLayer(nullptr, 1, &name, &state, &colour), 0);
    EXPECT_EQ(KXSetLayer(nullptr, 1, 0), 0);
    EXPECT_EQ(KXGetLayerInitial(nullptr, 1, &state), 0);
    KXAddProperty(nullptr, "a", "b");
    EXPECT_EQ(KXGetProperties(nullptr, pairs), 0);
    EXPECT_EQ(KXGetNumProperties(nullptr), 0);
    KXPushCoordSys3D(nullptr, axes);
    KXPopCoordSys3D(nullptr);
    KXDeleteDocInstance(nullptr);
    EXPECT_EQ(KXGetInfo(nullptr), 1);
    EXPECT_EQ(KXAddRegion(nullptr), 1);
}

class DocTest : public ::testing::Test {
protected:
    void SetUp() override { doc = KXCreateDocInstance(); }
    void TearDown() override { KXDeleteDocInstance(doc); }
    CKXDoc& Doc() { return *static_cast<CKXDoc*>(doc); }
    KXDOC doc = nullptr;
};

TEST_F(DocTest, LayoutsAreAppendedWithoutDeDuplication) {
    EXPECT_EQ(KXAddLayout(doc, ""), -1);
    EXPECT_EQ(KXAddLayout(doc, nullptr), -1);
    EXPECT_EQ(KXAddLayout(doc, "Model space"), 0);
    EXPECT_EQ(KXAddLayout(doc, "Model space"), 1);
    EXPECT_EQ(KXGetNumLayouts(doc), 2);
    char buffer[512];
    EXPECT_EQ(KXGetLayout(doc, 2, buffer), 0);
    EXPECT_EQ(KXGetLayout(doc, -1, buffer), 0);
    EXPECT_EQ(KXGetLayout(doc, 1, nullptr), 0);
    ASSERT_EQ(KXGetLayout(doc, 1, buffer), 1);
    EXPECT_STREQ(buffer, "Model space");
    KXSetCurrentLayout(doc, 7);  // not range-checked: a request to the translator
    EXPECT_EQ(KXGetCurrentLayout(doc), 7);
}

TEST_F(DocTest, LongLayoutNamesAreCutAndTerminated) {
    const std::string longName(600, 'L');
    KXAddLayout(doc, longName.c_str());
    char buffer[513];
    buffer[512] = 'X';
    ASSERT_EQ(KXGetLayout(doc, 0, buffer), 1);
    EXPECT_EQ(std::string(buffer), std::string(511, 'L'));
    EXPECT_EQ(buffer[512], 'X');
}

TEST_F(DocTest, LayersAreOneBasedWithInitialStates) {
    tagKXLayer layer{"0", 1, 11, 0, 0, 0, 22};
    EXPECT_EQ(KXAttribLayer(doc, &layer), 1);
    const int red = KXAttribColor(doc, RGB(255, 0, 0));
    char temp[] = "walls";
    layer = {temp, 2, 0, red, 0, 0, 0};
    EXPECT_EQ(KXAttribLayer(doc, &layer), 2);
    temp[0] = 'X';  // the document keeps its own copy
    EXPECT_EQ(KXAttribLayer(doc, &layer), 3);  // no de-duplication
    EXPECT_EQ(KXGetNumLayers(doc), 3);

    const char* name = nullptr;
    int state = 0;
    COLORREF colour = 1;
    EXPECT_EQ(KXGetLayer(doc, 0, &name, &state, &colour), 0);
    EXPECT_EQ(KXGetLayer(doc, 4, &name, &state, &colour), 0);
    ASSERT_EQ(KXGetLayer(doc, 1, &name, &state, &colour), 1);
    EXPECT_STREQ(name, "0");
    EXPECT_EQ(colour, 0u);  // no colour index
    ASSERT_EQ(KXGetLayer(doc, 2, &name, &state, &colour), 1);
    EXPECT_STREQ(name, "walls");
    EXPECT_EQ(state, 2);
    EXPECT_EQ(colour, RGB(255, 0, 0));
    ASSERT_EQ(KXGetLayer(doc, 3, &name, &state, &colour), 1);  // index = count: the last
    EXPECT_STREQ(name, "Xalls");

    EXPECT_EQ(KXSetLayer(doc, 2, 0x40), 1);
    EXPECT_EQ(KXSetLayer(doc, 4, 0x40), 0);
    KXGetLayer(doc, 2, &name, &state, &colour);
    EXPECT_EQ(state, 0x40);
    EXPECT_EQ(KXGetLayerInitial(doc, 2, &state), 1);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(KXGetLayerInitial(doc, 0, &state), 0);
    const KXLayerEntry* entry = Doc().Attribs().Layer(1);
    EXPECT_EQ(entry->reserved1, 11);
    EXPECT_EQ(entry->reserved2, 22);
}

TEST_F(DocTest, PropertiesKeepInsertionOrderAndCopies) {
    KXPropertyPair pairs[3];
    EXPECT_EQ(KXGetProperties(doc, pairs), 0);
    std::string name = "Author";
    KXAddProperty(doc, name.c_str(), "me");
    name = "changed";
    KXAddProperty(doc, "Author", "you");
    KXAddProperty(doc, nullptr, "x");
    KXAddProperty(doc, "x", nullptr);
    EXPECT_EQ(KXGetNumProperties(doc), 2);
    ASSERT_EQ(KXGetProperties(doc, pairs), 2);
    EXPECT_STREQ(pairs[0].name, "Author");
    EXPECT_STREQ(pairs[0].value, "me");
    EXPECT_STREQ(pairs[1].value, "you");
}

TEST_F(DocTest, AttributeSetsNeverGrowExtents) {
    tagKXAttrib a{2, 3, 0, 0, 0};
    KXAttribSet(doc, &a);
    EXPECT_EQ(Doc().GetCount(), 1);
    EXPECT_TRUE(Doc().GetExtents().IsEmpty());
    Doc().RecalcExtents();
    EXPECT_TRUE(Doc().GetExtents().IsEmpty());
    const double s[2] = {1, 2}, e[2] = {3, -4};
    KXAddLine(doc, s, e, nullptr, nullptr);
    Doc().RecalcExtents();
    EXPECT_EQ(Doc().GetExtents().xmin, 1);
    EXPECT_EQ(Doc().GetExtents().ymin, -4);
    EXPECT_EQ(Doc().GetExtents().xmax, 3);
    EXPECT_EQ(Doc().GetExtents().ymax, 2);
}

TEST_F(DocTest, AddEntForwardsToATargetAndRejectsNull) {
    EXPECT_EQ(Doc().AddEnt(nullptr, true, nullptr), 0);
    CKXDoc other;
    EXPECT_EQ(Doc().AddEnt(std::make_unique<CKXLine>(CFltPoint{0, 0}, CFltPoint{1, 1}), true, &other), 1);
    EXPECT_EQ(Doc().GetCount(), 0);
    EXPECT_EQ(other.GetCount(), 1);
    EXPECT_EQ(other.GetExtents().xmax, 1);
    EXPECT_EQ(Doc().GetEnt(0), nullptr);
    EXPECT_NE(other.GetEnt(0), nullptr);
    EXPECT_EQ(other.GetEnt(1), nullptr);
    EXPECT_EQ(other.GetEnt(-1), nullptr);
}

TEST_F(DocTest, CoordinateSystemStackPushesAndPops) {
    const double axes[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    KXPushCoordSys3D(doc, axes);
    KXPushCoordSys3D(doc, nullptr);
    EXPECT_EQ(Doc().CoordSystems().size(), 1u);
    KXPopCoordSys3D(doc);
    KXPopCoordSys3D(doc);  // empty: nothing happens
    EXPECT_TRUE(Doc().CoordSystems().empty());
}

}  // namespace
