// Laying text out into lines: advances, alignment, wrapping, line spacing,
// measuring, glyph sharing and input that is not text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TextTestSupport.h"

using texttest::BoxFont;
using texttest::Lines;
using texttest::Params;

namespace {

struct LayoutTest : ::testing::Test {
    CKXFont font = BoxFont();
    CKXDoc doc;

    CFltExtents Add(const std::string& text, const tagKXText& params) {
        const KXResult<CFltExtents> result = CKXTextLayout(font).Add(doc, text, params);
        EXPECT_TRUE(result.IsOk()) << result.Status().Reason();
        return result.Value();
    }
    int Instances() const { return doc.GetGlyphStore() ? doc.GetGlyphStore()->GetCount() : 0; }
};

TEST_F(LayoutTest, CharactersAdvanceByTheirOffsetsAndMissingGlyphsBySevenTenths) {
    Add("ab c", Params(10, 20, 2, 1.5));  // w = 3
    const auto lines = Lines(doc);
    ASSERT_EQ(lines.size(), 1u);
    const std::vector<CKXChar>& chars = lines[0]->GetChars();
    ASSERT_EQ(chars.size(), 3u);
    EXPECT_EQ(lines[0]->GetText(), "abc");
    EXPECT_DOUBLE_EQ(chars[0].position.x, 10);
    EXPECT_DOUBLE_EQ(chars[1].position.x, 13);
    EXPECT_DOUBLE_EQ(chars[2].position.x, 16 + 0.7 * 3);
    EXPECT_DOUBLE_EQ(chars[2].position.y, 20);
    // The mid-line segment spans the ink at half the height.
    EXPECT_DOUBLE_EQ(lines[0]->GetSegmentLength(), 3 * 3 + 0.7 * 3);
    EXPECT_DOUBLE_EQ(lines[0]->GetSegmentStart().y, 21);
}

TEST_F(LayoutTest, FirstCharacterStartsAtItsInk) {
    Add("Wa", Params(0, 0, 1));
    const std::vector<CKXChar>& chars = Lines(doc)[0]->GetChars();
    // The wide glyph's ink starts at -0.5: its box origin moves right by 0.5.
    EXPECT_DOUBLE_EQ(chars[0].position.x, 0.5);
    EXPECT_DOUBLE_EQ(chars[1].position.x, 2.0);
    CFltExtents box;
    Lines(doc)[0]->GetExtents(box);
    EXPECT_DOUBLE_EQ(box.xmin, 0.0);
    EXPECT_DOUBLE_EQ(box.xmax, 3.0);
}

TEST_F(LayoutTest, WidthFactorZeroMakesCharactersAsWideAsHigh) {
    const CFltExtents box = Add("aa", Params(0, 0, 4, 0.0));
    EXPECT_DOUBLE_EQ(box.xmax, 8.0);
    EXPECT_DOUBLE_EQ(box.ymax, 4.0);
}

TEST_F(LayoutTest, SpacesOnlyAddALineWithoutCharactersAndEmptyExtents) {
    const CFltExtents box = Add("   ", Params(0, 0, 1));
    const auto lines = Lines(doc);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0]->GetChars().empty());
    EXPECT_TRUE(box.IsEmpty());
    // The pen still moves 0.7 w per space.
    Add("  a", Params(0, 0, 1, 2.0));
    EXPECT_DOUBLE_EQ(Lines(doc)[1]->GetChars()[0].position.x, 2 * 0.7 * 2);
}

TEST_F(LayoutTest, EmptyTextAddsNothing) {
    const CFltExtents box = Add("", Params(5, 5, 1));
    EXPECT_EQ(doc.GetCount(), 0);
    EXPECT_EQ(box.xmin, 0.0);
    EXPECT_EQ(box.ymax, 0.0);
}

TEST_F(LayoutTest, WrapsAfterTheLastSpace) {
    // Advances a 1, b 1, space 0.7, c 1, d 1: the width 4.5 is passed at d.
    tagKXText p = Params(0, 10, 1);
    p.wrapWidth = 4.5;
    p.lineSpacing = 0.5;
    Add("ab cdef", p);
    const auto lines = Lines(doc);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->GetText(), "ab");  // a, b and the space (without a glyph)
    EXPECT_EQ(lines[1]->GetText(), "cdef");
    EXPECT_DOUBLE_EQ(lines[1]->GetChars()[0].position.x, 0.0);
    EXPECT_DOUBLE_EQ(lines[1]->GetChars()[0].position.y, 10 - 1.5);
    const auto split = CKXTextLayout(font).SplitLines("ab cdef", 1.0, 4.5);
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0], std::make_pair(std::size_t{0}, std::size_t{3}));
    EXPECT_EQ(split[1], std::make_pair(std::size_t{3}, std::size_t{7}));
}

TEST_F(LayoutTest, WrapsAWordLongerThanTheWidthAndKeepsOneCharacterALine) {
    EXPECT_EQ(CKXTextLayout(font).SplitLines("abcdef", 1.0, 2.5).size(), 3u);
    // Narrower than any character: one character a line, never none.
    const auto split = CKXTextLayout(font).SplitLines("abc", 1.0, 0.1);
    ASSERT_EQ(split.size(), 3u);
    EXPECT_EQ(split[2], std::make_pair(std::size_t{2}, std::size_t{3}));
    // No width, or a width that means nothing, keeps one line.
    EXPECT_EQ(CKXTextLayout(font).SplitLines("abc", 1.0, 0.0).size(), 1u);
    EXPECT_EQ(CKXTextLayout(font).SplitLines("abc", 1.0, -3.0).size(), 1u);
}

TEST_F(LayoutTest, AlignmentFlagsMoveTheStartPoint) {
    const CKXTextLayout layout(font);
    tagKXText p = Params(10, 20, 2);  // "aaaa": W = 8
    const struct {
        int flag;
        double x, y;
    } cases[] = {{0x000, 10, 20},    {0x002, 10, 19},   {0x004, 6, 19},        {0x008, 2, 19},
                 {0x010, 10, 20.15}, {0x020, 6, 20.15}, {0x040, 2, 20.15},     {0x080, 10, 21.7},
                 {0x100, 6, 21.7},   {0x200, 2, 21.7},  {0x004 | 0x200, 6, 19}};
    for (const auto& c : cases) {
        p.align = c.flag;
        const CFltPoint start = layout.AlignedStart("aaaa", p);
        EXPECT_DOUBLE_EQ(start.x, c.x) << std::hex << c.flag;
        EXPECT_NEAR(start.y, c.y, 1e-12) << std::hex << c.flag;
    }
    p.align = 0x004;
    Add("aaaa", p);
    EXPECT_DOUBLE_EQ(Lines(doc)[0]->GetChars()[0].position.x, 6);
    EXPECT_DOUBLE_EQ(Lines(doc)[0]->GetChars()[0].position.y, 19);
}

TEST_F(LayoutTest, MeasuringAddsNothingAndReportsLinesTimesHeightAndSpacing) {
    tagKXText p = Params(0, 0, 2);
    p.wrapWidth = 6.5;  // "aa ", "aa ", "aaa"
    p.lineSpacing = 0.6;
    p.measureOnly = 1;
    const CFltExtents box = Add("aa aa aaa", p);
    EXPECT_EQ(doc.GetCount(), 0);
    EXPECT_EQ(Instances(), 0);
    EXPECT_DOUBLE_EQ(box.xmin, 0);
    EXPECT_DOUBLE_EQ(box.ymin, 0);
    EXPECT_DOUBLE_EQ(box.ymax, 3 * (2 + 0.6) - 0.6);
    EXPECT_DOUBLE_EQ(box.xmax, 6);  // the last line, "aaa"
    p.measureOnly = 0;
    Add("aa aa aaa", p);
    EXPECT_EQ(Lines(doc).size(), 3u);
}

TEST_F(LayoutTest, TextsOfOneSizeShareTheirGlyphInstances) {
    Add("abc", Params(0, 0, 2));
    EXPECT_EQ(Instances(), 3);
    Add("cab", Params(50, 50, 2));
    Add("abc", Params(0, 0, 2 + 1e-7));
    EXPECT_EQ(Instances(), 3);
    const auto lines = Lines(doc);
    EXPECT_EQ(lines[0]->GetChars()[0].instance, lines[1]->GetChars()[1].instance);
    EXPECT_EQ(lines[0]->GetChars()[0].instance, lines[2]->GetChars()[0].instance);
    // Another height, width factor or angle makes new ones.
    Add("a", Params(0, 0, 2.001));
    Add("a", Params(0, 0, 2, 1.5));
    tagKXText turned = Params(0, 0, 2);
    turned.angle = 0.5;
    Add("a", turned);
    EXPECT_EQ(Instances(), 6);
    // Angles a turn apart are the same angle.
    turned.angle = 0.5 - 2 * M_PI;
    Add("a", turned);
    EXPECT_EQ(Instances(), 6);
}

TEST_F(LayoutTest, ManySizesInTurnStillShareTheirInstances) {
    // More sizes in turn than the store remembers at once.
    for (int round = 0; round < 3; ++round)
        for (int size = 1; size <= 12; ++size) Add("ab", Params(0, 0, size));
    EXPECT_EQ(Instances(), 2 * 12);
    const auto lines = Lines(doc);
    for (std::size_t i = 12; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i]->GetChars()[1].instance, lines[i % 12]->GetChars()[1].instance) << i;
        EXPECT_DOUBLE_EQ(doc.GetGlyphStore()->Get(lines[i]->GetChars()[1].instance)->GetHeight(),
                         static_cast<double>(i % 12 + 1));
    }
}

TEST_F(LayoutTest, InstancesAreTheMasterScaledThenTurned) {
    tagKXText p = Params(3, 4, 2, 0.5);  // w = 1, h = 2
    p.angle = M_PI / 2;
    Add("a", p);
    const CKXTextLine& line = *Lines(doc)[0];
    const CKXGlyph* glyph = doc.GetGlyphStore()->Get(line.GetChars()[0].instance);
    ASSERT_NE(glyph, nullptr);
    const std::vector<CFltPoint>& points = glyph->Strokes()[0]->GetPoints();
    // (1, 1) -> scaled (1, 2) -> turned a quarter (-2, 1).
    EXPECT_NEAR(points[1].x, -2, 1e-12);
    EXPECT_NEAR(points[1].y, 1, 1e-12);
    EXPECT_DOUBLE_EQ(glyph->GetWidth(), 1);
    EXPECT_DOUBLE_EQ(glyph->GetHeight(), 2);
    EXPECT_DOUBLE_EQ(glyph->GetAngle(), M_PI / 2);
    EXPECT_FALSE(glyph->IsPrivate());
}

TEST_F(LayoutTest, TurnedTextTurnsItsCharactersAboutTheStart) {
    tagKXText p = Params(1, 1, 1);
    p.angle = M_PI / 2;
    Add("aa", p);
    const std::vector<CKXChar>& chars = Lines(doc)[0]->GetChars();
    EXPECT_NEAR(chars[1].position.x, 1, 1e-12);
    EXPECT_NEAR(chars[1].position.y, 2, 1e-12);
}

TEST_F(LayoutTest, HeightsAndPlacesThatAreNoSizeAddNothing) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const double h : {0.0, std::nan(""), 1e300, inf, -inf}) {
        const KXResult<CFltExtents> result = CKXTextLayout(font).Add(doc, "abc", Params(0, 0, h));
        EXPECT_FALSE(result.IsOk()) << h;
    }
    tagKXText p = Params(std::nan(""), 0, 1);
    EXPECT_FALSE(CKXTextLayout(font).Add(doc, "abc", p).IsOk());
    p = Params(0, 0, 1);
    p.angle = inf;
    EXPECT_FALSE(CKXTextLayout(font).Add(doc, "abc", p).IsOk());
    p = Params(0, 0, 10, 1e300);  // a width factor whose width overflows
    EXPECT_FALSE(CKXTextLayout(font).Add(doc, "abc", p).IsOk());
    EXPECT_EQ(doc.GetCount(), 0);
    EXPECT_EQ(Instances(), 0);
}

TEST_F(LayoutTest, WithoutAFontNothingIsAdded) {
    const CKXFont none;
    const KXResult<CFltExtents> result = CKXTextLayout(none).Add(doc, "abc", Params(0, 0, 1));
    ASSERT_TRUE(result.IsOk());
    EXPECT_EQ(result.Value().xmax, 0.0);
    EXPECT_EQ(doc.GetCount(), 0);
}

TEST_F(LayoutTest, CodesBeyondTheGlyphCountOnlyAdvance) {
    font = BoxFont(100);
    Add(std::string("a\xC8"
                    "a"),
        Params(0, 0, 1));
    const std::vector<CKXChar>& chars = Lines(doc)[0]->GetChars();
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_DOUBLE_EQ(chars[1].position.x, 1.7);
}

TEST_F(LayoutTest, TwoHundredThousandCharactersAreOneLineStoredInPoolSizedPieces) {
    const std::string text(200000, 'a');
    Add(text, Params(0, 0, 1));
    const auto lines = Lines(doc);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->GetChars().size(), 200000u);
    EXPECT_EQ(Instances(), 1);
    KXEntList pieces;
    ASSERT_TRUE(lines[0]->SplitForStorage(pieces));
    std::size_t total = 0;
    for (const KXEntPtr& piece : pieces) {
        const auto& line = static_cast<const CKXTextLine&>(*piece);
        EXPECT_LE(line.Write(nullptr), 32768);
        total += line.GetChars().size();
    }
    EXPECT_EQ(total, 200000u);
    EXPECT_DOUBLE_EQ(static_cast<const CKXTextLine&>(*pieces.back()).GetChars().back().position.x, 199999);
    // Wrapped, it becomes many lines, each laid out once.
    tagKXText p = Params(0, 0, 1);
    p.wrapWidth = 1000;
    p.measureOnly = 1;
    const CFltExtents box = Add(text, p);
    EXPECT_DOUBLE_EQ(box.ymax, 200);
}

}  // namespace
