#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include <korvex/kxcore.h>
#include <kxplatform/GdiRecording.h>
#include <kxplatform/dc.h>

#include "CKXAttribSet.h"
#include "CKXAttribTable.h"
#include "render/CKXDrawState.h"
#include "CKXDoc.h"

namespace {

class DocFixture : public ::testing::Test {
protected:
    void SetUp() override { doc = KXCreateDocInstance(); }
    void TearDown() override { KXDeleteDocInstance(doc); }
    CKXDoc& Doc() { return *static_cast<CKXDoc*>(doc); }
    // Attribute-set entities appended so far, as their records.
    std::vector<CKXAttribute> EmittedRecords() {
        std::vector<CKXAttribute> out;
        for (const auto& e : Doc().GetEntList()) {
            if (e->GetType() == KXENT_ATTRIBSET)
                out.push_back(*Doc().Attribs().Record(static_cast<CKXAttribSet&>(*e).GetId()));
        }
        return out;
    }
    KXDOC doc = nullptr;
};

using AttribColor = DocFixture;

TEST_F(AttribColor, SameColourSameIndex) {
    const int first = KXAttribColor(doc, RGB(10, 20, 30));
    EXPECT_GT(first, 0);
    EXPECT_EQ(KXAttribColor(doc, RGB(10, 20, 30)), first);
    EXPECT_EQ(KXAttribColor(doc, RGB(10, 20, 31)), first + 1);
}

TEST_F(AttribColor, TableStopsAt245AndMapsToTheNearestColour) {
    // A new document already holds its default (contrast) colour.
    const int held = Doc().Attribs().ColorCount();
    for (int i = held; i < CKXAttribTable::kMaxColors; ++i) KXAttribColor(doc, RGB(i, 100, 0));
    ASSERT_EQ(Doc().Attribs().ColorCount(), 245);
    const COLORREF probe = RGB(50, 100, 1);
    const int index = KXAttribColor(doc, probe);
    EXPECT_EQ(Doc().Attribs().Color(index), RGB(50, 100, 0));
    EXPECT_EQ(Doc().Attribs().ColorCount(), 245);
    const int near = KXAttribColor(doc, RGB(200, 100, 1));
    EXPECT_EQ(Doc().Attribs().Color(near), RGB(200, 100, 0));
}

TEST_F(AttribColor, NearestSearchPrefersLowerColorrefOnTies) {
    CKXAttribTable t;
    for (int i = 0; i < CKXAttribTable::kMaxColors; ++i) t.AddColor(RGB(0, 0, i * 2 % 250));
    // Colours repeat (b = 2i mod 250): fill to the limit with distinct values.
    while (t.ColorCount() < CKXAttribTable::kMaxColors) t.AddColor(RGB(255, t.ColorCount(), 255));
    // RGB(0,0,1) is 1 away from b = 0 and b = 2: b = 0 has the lower COLORREF.
    EXPECT_EQ(t.Color(t.AddColor(RGB(0, 0, 1))), RGB(0, 0, 0));
}

TEST_F(DocFixture, LineStylesNeedTwoElementsAndAreNotShared) {
    const double one[1] = {1.0};
    tagKXLineStyle style{1, 1, one};
    EXPECT_EQ(KXAttribLineStyle(doc, &style), KX_CONTINUOUS);
    style.elements = nullptr;
    style.count = 2;
    EXPECT_EQ(KXAttribLineStyle(doc, &style), KX_CONTINUOUS);
    const double dash[2] = {2.0, -1.5};
    style.elements = dash;
    EXPECT_EQ(KXAttribLineStyle(doc, &style), 1);
    EXPECT_EQ(KXAttribLineStyle(doc, &style), 2);
    const KXLineStyleExt* ls = Doc().Attribs().LineStyle(1);
    ASSERT_NE(ls, nullptr);
    EXPECT_EQ(ls->patternLength, 3.5);
    EXPECT_EQ(ls->defined, 1);
    EXPECT_EQ(ls->kind, 1);
    const double bad[2] = {1.0, NAN};
    style.elements = bad;
    EXPECT_EQ(KXAttribLineStyle(doc, &style), KX_CONTINUOUS);
    EXPECT_EQ(Doc().Attribs().LineStyleCount(), 2);
}

TEST_F(DocFixture, SetWithTheCurrentRecordEmitsNothing) {
    tagKXAttrib a{};
    ASSERT_EQ(KXAttribGet(doc, &a), 1);
    const int before = Doc().GetCount();
    EXPECT_EQ(KXAttribSet(doc, &a), 1);
    EXPECT_EQ(Doc().GetCount(), before);
    tagKXAttrib zero{};
    EXPECT_EQ(KXAttribSet(doc, &zero), 1);
    EXPECT_EQ(Doc().GetCount(), before);
}

TEST_F(DocFixture, DeltaCarriesOnlyChangedFieldsAndIsShared) {
    tagKXAttrib a{3, 5, 0, 0, 0};
    KXAttribSet(doc, &a);
    tagKXAttrib b{4, 0, 0, 0, 0};
    KXAttribSet(doc, &b);
    KXAttribSet(doc, &a);  // layer 3 again: only the layer changes
    const auto records = EmittedRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], (CKXAttribute{3, 5, 0, 0}));
    EXPECT_EQ(records[1], (CKXAttribute{4, 0, 0, 0}));
    EXPECT_EQ(records[2], (CKXAttribute{3, 0, 0, 0}));

    // Same delta twice refers to the same id.
    tagKXAttrib c{4, 0, 0, 0, 0};
    KXAttribSet(doc, &c);
    KXAttribSet(doc, &a);
    KXAttribSet(doc, &c);
    const auto& list = Doc().GetEntList();
    const int n = Doc().GetCount();
    EXPECT_EQ(static_cast<CKXAttribSet&>(*list[n - 1]).GetId(), static_cast<CKXAttribSet&>(*list[n - 3]).GetId());
    EXPECT_EQ(static_cast<CKXAttribSet&>(*list[n - 1]).GetId(), static_cast<CKXAttribSet&>(*list[1]).GetId());
}

TEST_F(DocFixture, ByLayerValuesAreReEmittedWhenTheLayerChanges) {
    tagKXAttrib a{1, KX_BYLAYER, KX_BYLAYER, KX_BYLAYER, 0};
    KXAttribSet(doc, &a);
    tagKXAttrib b{2, KX_BYLAYER, KX_BYLAYER, KX_BYLAYER, 0};
    KXAttribSet(doc, &b);
    const auto records = EmittedRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1], (CKXAttribute{2, KX_BYLAYER, KX_BYLAYER, KX_BYLAYER}));
    // Same layer again: nothing.
    KXAttribSet(doc, &b);
    EXPECT_EQ(EmittedRecords().size(), 2u);
}

TEST(PackedWeight, HalfPacksToTheDocumentedWord) {
    const std::int32_t packed = CKXAttribTable::PackWeight(0.5f);
    EXPECT_EQ(static_cast<std::uint32_t>(packed), 0x7F000000u | (0xC000u << 8) | 15u);
    EXPECT_FLOAT_EQ(CKXAttribTable::DecodeWeight(packed), 0.5f);
    EXPECT_EQ(CKXAttribTable::PackWeight(0.0f), 0);
    EXPECT_EQ(CKXAttribTable::PackWeight(-1.0f), 0);
    EXPECT_EQ(CKXAttribTable::PackWeight(NAN), 0);
    EXPECT_EQ(CKXAttribTable::PackWeight(INFINITY), 0);
    // Beyond what the 5-bit shift can carry back.
    EXPECT_EQ(CKXAttribTable::PackWeight(70000.0f), 0);
    EXPECT_NEAR(CKXAttribTable::DecodeWeight(CKXAttribTable::PackWeight(0.35f)), 0.35f, 1e-4);
    EXPECT_NEAR(CKXAttribTable::DecodeWeight(CKXAttribTable::PackWeight(2000.0f)), 2000.0f, 0.1);
    EXPECT_EQ(CKXAttribTable::DecodeWeight(0x7EFFFFFF), 0.0f);
    EXPECT_EQ(CKXAttribTable::DecodeWeight(5), 0.0f);
    // Literal weights are negative, never packed.
    EXPECT_FALSE(CKXAttribTable::IsPackedWeight(-105));
    EXPECT_EQ(CKXAttribTable::DecodeWeight(-105), 0.0f);
}

TEST_F(DocFixture, FloatWeightIsPackedIntoTheCallersRecord) {
    tagKXAttrib a{0, 0, 0, 0, KXATTRIB_FLOAT_WEIGHT};
    float w = 0.5f;
    std::memcpy(&a.lineWeight, &w, sizeof w);
    ASSERT_EQ(KXAttribSet(doc, &a), 1);
    const std::int32_t packed = CKXAttribTable::PackWeight(0.5f);
    EXPECT_EQ(a.lineWeight, packed);
    EXPECT_EQ(a.flags, KXATTRIB_FLOAT_WEIGHT);
    tagKXAttrib got{};
    KXAttribGet(doc, &got);
    EXPECT_EQ(got.lineWeight, packed);
    // Passing the record again packs the packed int read as a float.
    float asFloat;
    std::memcpy(&asFloat, &packed, sizeof asFloat);
    KXAttribSet(doc, &a);
    EXPECT_EQ(a.lineWeight, CKXAttribTable::PackWeight(asFloat));
}

TEST(AttribTable, SetColorMovesTheLookupToTheNewColour) {
    CKXAttribTable t;
    const int black = t.AddColor(CKXAttribTable::kBlack);
    const int red = t.AddColor(RGB(255, 0, 0));
    t.SetColor(black, CKXAttribTable::kWhite);
    EXPECT_EQ(t.Color(black), CKXAttribTable::kWhite);
    EXPECT_EQ(t.AddColor(CKXAttribTable::kWhite), black);
    EXPECT_EQ(t.AddColor(CKXAttribTable::kBlack), 3);  // no longer held
    t.SetColor(black, RGB(255, 0, 0));                 // already held at red
    EXPECT_EQ(t.AddColor(RGB(255, 0, 0)), red);
    t.SetColor(0, 1);
    t.SetColor(9, 1);
    EXPECT_EQ(t.ColorCount(), 3);
}

TEST(AttribTable, MergeTakesNonZeroFieldsOfTheFirst) {
    const CKXAttribute m = CKXAttribTable::Merge({0, 7, 0, -105}, {1, 2, 3, 4});
    EXPECT_EQ(m, (CKXAttribute{1, 7, 3, -105}));
}

TEST(AttribTable, ContrastColourAndDefaultRecord) {
    CKXAttribTable t;
    EXPECT_EQ(t.ContrastColor(), CKXAttribTable::kBlack);
    t.SetBackground(RGB(10, 10, 10));
    EXPECT_EQ(t.ContrastColor(), CKXAttribTable::kWhite);
    const CKXAttribute d = t.DefaultRecord();
    EXPECT_EQ(d.layer, 0);
    EXPECT_EQ(t.Color(d.color), CKXAttribTable::kWhite);
    EXPECT_EQ(d.lineStyle, KX_CONTINUOUS);
    EXPECT_EQ(d.weight, 1);
    EXPECT_EQ(t.DefaultRecord().color, d.color);  // cached
    EXPECT_EQ(t.ColorCount(), 1);
}

class ApplyFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dc = KXCreateRecordingDC();
        ASSERT_NE(dc, nullptr);
        red = t.AddColor(RGB(255, 0, 0));
        tagKXLayer layer{"walls", 0x5, 0, red, 0, -110, 0};
        wallLayer = t.AddLayer(layer);
        t.ResetToDefault();
        state.Begin(t);
    }
    void TearDown() override {
        state.End(dc);
        DeleteDC(dc);
    }
    CKXAttribSet Set(const CKXAttribute& r, double scale = 1.0) { return CKXAttribSet(t.FindOrAddRecord(r), scale); }
    LOGPEN LastPen() {
        LOGPEN pen{};
        for (const auto& call : kxplatform::RecordedCalls(dc))
            if (call.op == kxplatform::GdiOp::SelectPen) pen = call.pen;
        return pen;
    }
    CKXAttribTable t;
    CKXDrawState state;
    HDC dc = nullptr;
    int red = 0;
    int wallLayer = 0;
};

TEST_F(ApplyFixture, LiteralWeightsUseTheWeightScale) {
    state.Apply(Set({0, red, 0, -105}), dc, 2.0, nullptr);
    EXPECT_EQ(LastPen().lopnWidth.x, 10);
    EXPECT_EQ(LastPen().lopnColor, RGB(255, 0, 0));
    state.Apply(Set({0, 0, 0, 3}), dc, 2.0, nullptr);
    EXPECT_EQ(LastPen().lopnWidth.x, 3);
    state.Apply(Set({0, 0, 0, CKXAttribTable::PackWeight(1.5f)}), dc, 4.0, nullptr);
    EXPECT_EQ(LastPen().lopnWidth.x, 6);
    t.SetLineWeightsEnabled(0);
    state.Apply(Set({0, 0, 0, 7}), dc, 1.0, nullptr);
    EXPECT_EQ(LastPen().lopnWidth.x, 0);
}

TEST_F(ApplyFixture, ByLayerTakesTheLayerFieldsAndReportsItsState) {
    int layerState = 0;
    state.Apply(Set({wallLayer, KX_BYLAYER, 0, KX_BYLAYER}), dc, 1.0, &layerState);
    EXPECT_EQ(layerState, 0x5);
    EXPECT_EQ(state.Current().color, red);
    EXPECT_EQ(state.Current().weight, -110);
    EXPECT_EQ(LastPen().lopnWidth.x, 10);
}

TEST_F(ApplyFixture, ByLayerWithoutALayerAbortsTheRestOfTheSet) {
    const CKXAttribute before = state.Current();
    state.Apply(Set({0, KX_BYLAYER, 0, 9}, 3.0), dc, 1.0, nullptr);
    EXPECT_EQ(state.Current().color, before.color);
    EXPECT_EQ(state.Current().weight, before.weight);
    EXPECT_EQ(state.CurrentScale(), 1.0);
}

TEST_F(ApplyFixture, ByBlockTakesTheSavedStateAndPopRestores) {
    t.Apply(Set({0, red, 0, 4}));
    t.PushState();
    const int blue = t.AddColor(RGB(0, 0, 255));
    t.Apply(Set({0, blue, 0, 8}, 2.0));
    t.Apply(Set({0, KX_BYBLOCK, 0, KX_BYBLOCK}));
    EXPECT_EQ(t.Current().color, red);
    EXPECT_EQ(t.Current().weight, 4);
    t.Apply(Set({0, blue, 0, 0}, 2.0));
    auto restore = t.PopState(true);
    ASSERT_NE(restore, nullptr);
    EXPECT_EQ(*t.Record(restore->GetId()), (CKXAttribute{0, red, 0, 0}));
    EXPECT_EQ(t.Current().color, red);
    EXPECT_EQ(t.CurrentScale(), 1.0);
    EXPECT_EQ(t.PopState(true), nullptr);  // empty stack
}

TEST_F(ApplyFixture, ResolveKeepsOnlyChanges) {
    EXPECT_EQ(t.Resolve(Set(t.Current())), nullptr);
    auto r = t.Resolve(Set({wallLayer, KX_BYLAYER, 0, 0}));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(*t.Record(r->GetId()), (CKXAttribute{wallLayer, red, 0, 0}));
    // Same style, new scale: the style is emitted again.
    auto s = t.Resolve(Set({0, 0, KX_CONTINUOUS, 0}, 2.0));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(t.Record(s->GetId())->lineStyle, KX_CONTINUOUS);
    EXPECT_EQ(s->GetScale(), 2.0);
}

TEST_F(ApplyFixture, ResolveWithoutALayerKeepsWhatDrawingWouldApply) {
    // Drawing this set applies the colour, then stops at the by-layer weight
    // (the current layer is 0) and keeps the scale: the resolved stream must
    // change the colour as well, or later sets of that colour are dropped.
    const CKXAttribSet set = Set({0, red, 0, KX_BYLAYER}, 3.0);
    auto r = t.Resolve(set);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(*t.Record(r->GetId()), (CKXAttribute{0, red, 0, 0}));
    EXPECT_EQ(r->GetScale(), 1.0);
    EXPECT_EQ(t.Current().color, red);
    EXPECT_EQ(t.CurrentScale(), 1.0);

    CKXAttribTable drawn;
    drawn.AddColor(RGB(255, 0, 0));
    drawn.ResetToDefault();
    drawn.Apply(CKXAttribSet(drawn.FindOrAddRecord(*t.Record(set.GetId())), 3.0));
    EXPECT_EQ(drawn.Current(), t.Current());
    EXPECT_EQ(drawn.CurrentScale(), t.CurrentScale());

    // Nothing changed before the stop: no set.
    EXPECT_EQ(t.Resolve(Set({0, 0, 0, KX_BYLAYER})), nullptr);
}

TEST_F(ApplyFixture, MonochromeUsesTheContrastColour) {
    t.SetMonochrome(true);
    state.Apply(Set({0, red, 0, 1}), dc, 1.0, nullptr);
    EXPECT_EQ(LastPen().lopnColor, CKXAttribTable::kBlack);
}

TEST_F(ApplyFixture, PensAreNotLeaked) {
    const int before = KXGdiObjectCount();
    for (int i = 0; i < 10; ++i) state.Apply(Set({0, 0, 0, i + 1}), dc, 1.0, nullptr);
    state.End(dc);
    EXPECT_EQ(KXGdiObjectCount(), before);
}

TEST(AttribTable, ScaledLineStyleIdMakesOneCopyPerStyleAndScale) {
    CKXAttribTable t;
    const double dash[2] = {2.0, -1.0};
    const int style = t.AddLineStyle(1, 2, dash);
    const CKXAttribSet plain(t.FindOrAddRecord({0, 0, style, 0}), 1.0);
    EXPECT_EQ(t.ScaledLineStyleId(plain), plain.GetId());
    const CKXAttribSet scaled(plain.GetId(), 3.0);
    const int id = t.ScaledLineStyleId(scaled);
    const int copyIndex = t.Record(id)->lineStyle;
    EXPECT_NE(copyIndex, style);
    EXPECT_EQ(t.LineStyle(copyIndex)->elements, (std::vector<double>{6.0, -3.0}));
    EXPECT_EQ(t.LineStyle(copyIndex)->patternLength, 9.0);
    EXPECT_EQ(t.ScaledLineStyleId(scaled), id);
    EXPECT_EQ(t.LineStyleCount(), 2);
}

}  // namespace
