// A text line as an entity: its record, quantising, copies under transforms,
// drawing and its pieces for storage.
#include <gtest/gtest.h>

#include <cmath>

#include "BigEndian.h"
#include "render/CKXConverter.h"
#include "render/CKXDocRenderer.h"
#include "TextTestSupport.h"
#include "render/RenderTestSupport.h"

using texttest::BoxFont;
using texttest::Lines;
using texttest::Params;

namespace {

struct TextLineTest : ::testing::Test {
    CKXFont font = BoxFont();
    CKXDoc doc;

    const CKXTextLine& Add(const std::string& text, const tagKXText& params) {
        EXPECT_TRUE(CKXTextLayout(font).Add(doc, text, params).IsOk());
        return *Lines(doc).back();
    }
    const CKXGlyph& InstanceOf(const CKXTextLine& line, std::size_t i) const {
        return *doc.GetGlyphStore()->Get(line.GetChars()[i].instance);
    }
};

CTransf2D Rotation(double angle, double dx = 0, double dy = 0) {
    CTransf2D xf;
    xf.SetRotation(angle);
    xf.Translate(dx, dy);
    return xf;
}

TEST_F(TextLineTest, QuantiseRunsTheSegmentThroughTheCharacterBoxes) {
    const CKXTextLine& one = Add("a", Params(10, 10, 2, 0.5));  // box 10..11 x 10..12
    const_cast<CKXTextLine&>(one).Quantise(10, CFltPoint{10, 10});
    EXPECT_EQ(one.GetSegmentStart(), (CFltPoint{10, 11}));
    EXPECT_EQ(one.GetSegmentEnd(), (CFltPoint{11, 11}));
    EXPECT_EQ(one.GetQuantisedHeight(), 20);

    const CKXTextLine& three = Add("abc", Params(0, 0, 2, 0.5));
    auto& line = const_cast<CKXTextLine&>(three);
    line.Quantise(4, CFltPoint{-1, -1});
    // From the first box's centre (0.5, 1) to the last one's (2.5, 1).
    EXPECT_EQ(line.GetSegmentStart(), (CFltPoint{0.5, 1}));
    EXPECT_EQ(line.GetSegmentEnd(), (CFltPoint{2.5, 1}));

    std::vector<std::uint8_t> record(static_cast<std::size_t>(line.Write(nullptr)));
    ASSERT_EQ(record.size(), 26u + 12u * 3u);
    ASSERT_EQ(line.Write(record.data()), static_cast<int>(record.size()));
    const std::uint8_t* p = record.data();
    EXPECT_EQ(kxbe::LoadU16(p), KXREC_TEXTLINE);
    EXPECT_EQ(kxbe::LoadI32(p + 2), 8);    // height 2 at scale 4
    EXPECT_EQ(kxbe::LoadI32(p + 6), 6);    // (0.5 + 1) * 4
    EXPECT_EQ(kxbe::LoadI32(p + 10), 8);   // (1 + 1) * 4
    EXPECT_EQ(kxbe::LoadI32(p + 14), 14);  // (2.5 + 1) * 4
    EXPECT_EQ(kxbe::LoadI32(p + 22), 3);
    EXPECT_EQ(kxbe::LoadI32(p + 26), line.GetChars()[0].instance);
    EXPECT_EQ(kxbe::LoadI32(p + 30 + 12), 8);  // second character x: (1 + 1) * 4
    EXPECT_EQ(kxbe::LoadI32(p + 34 + 12), 4);  // y: (0 + 1) * 4
}

TEST_F(TextLineTest, CharactersWithoutInstanceDrawNothingAndDoNotCount) {
    CKXTextLine line(nullptr);  // measuring lines point at instance 0 of no store
    line.LayOut(font, "ab", CKXTextLine::Layout{{0, 0}, 0.0, 1.0, 1.0});
    ASSERT_EQ(line.GetChars().size(), 2u);
    CFltExtents box;
    EXPECT_TRUE(line.GetExtents(box).IsEmpty());
}

TEST_F(TextLineTest, CopiesUnderRotationAndScaleShareInstancesOfTheNewKey) {
    const CKXTextLine& line = Add("ab", Params(0, 0, 1));
    const int before = doc.GetGlyphStore()->GetCount();
    CTransf2D xf = Rotation(M_PI / 2, 5, 0);
    KXEntPtr copy = line.CloneTransformed(xf);
    KXEntPtr again = line.CloneTransformed(xf);
    const auto& turned = static_cast<const CKXTextLine&>(*copy);
    EXPECT_EQ(doc.GetGlyphStore()->GetCount(), before + 2);
    EXPECT_EQ(turned.GetChars()[1].instance, static_cast<const CKXTextLine&>(*again).GetChars()[1].instance);
    EXPECT_NEAR(turned.GetChars()[1].position.x, 5, 1e-12);
    EXPECT_NEAR(turned.GetChars()[1].position.y, 1, 1e-12);
    EXPECT_NEAR(InstanceOf(turned, 1).GetAngle(), M_PI / 2, 1e-12);
    // Laying the turned text out directly meets the same instances.
    tagKXText p = Params(0, 0, 1);
    p.angle = M_PI / 2;
    const CKXTextLine& direct = Add("ab", p);
    EXPECT_EQ(direct.GetChars()[1].instance, turned.GetChars()[1].instance);

    CTransf2D twice;
    twice.Scale(2, 3);
    const auto scaled = line.CloneTransformed(twice);
    const auto& big = static_cast<const CKXTextLine&>(*scaled);
    EXPECT_DOUBLE_EQ(InstanceOf(big, 0).GetWidth(), 2);
    EXPECT_DOUBLE_EQ(InstanceOf(big, 0).GetHeight(), 3);
    EXPECT_DOUBLE_EQ(big.GetHeight(), 2);
    CFltExtents box;
    big.GetExtents(box);
    EXPECT_DOUBLE_EQ(box.xmax, 4);
    EXPECT_DOUBLE_EQ(box.ymax, 3);
    // The identity copies the line as it is.
    const auto same = line.CloneTransformed(CTransf2D{});
    EXPECT_EQ(static_cast<const CKXTextLine&>(*same).GetChars()[0].instance, line.GetChars()[0].instance);
}

TEST_F(TextLineTest, MirroredCopiesShowMirroredGlyphsNotUpsideDownOnes) {
    tagKXText p = Params(0, 0, 1);
    p.angle = 0.25;
    const CKXTextLine& line = Add("ab", p);
    CTransf2D mirror;
    mirror.Scale(-2, 2);
    const auto copy = line.CloneTransformed(mirror);
    const auto& mirrored = static_cast<const CKXTextLine&>(*copy);
    const CKXGlyph& a = InstanceOf(mirrored, 0);
    // The exact image of the turned stroke (0,0)-(1,1) under the mirror.
    const CFltPoint original = InstanceOf(line, 0).Strokes()[0]->GetPoints()[1];
    const CFltPoint image = a.Strokes()[0]->GetPoints()[1];
    EXPECT_NEAR(image.x, -2 * original.x, 1e-12);
    EXPECT_NEAR(image.y, 2 * original.y, 1e-12);
    EXPECT_DOUBLE_EQ(a.GetHeight(), -2);
    EXPECT_NEAR(a.GetAngle(), M_PI - 0.25, 1e-12);
    EXPECT_DOUBLE_EQ(mirrored.GetHeight(), 2);
    // Mirrored copies share their instances like any other.
    const auto again = line.CloneTransformed(mirror);
    EXPECT_EQ(static_cast<const CKXTextLine&>(*again).GetChars()[0].instance, mirrored.GetChars()[0].instance);
}

TEST_F(TextLineTest, GeneralTransformGivesPrivateInstancesUnderItsLinearPart) {
    const CKXTextLine& line = Add("aab", Params(0, 0, 1));
    const int before = doc.GetGlyphStore()->GetCount();
    CTransf2D skew;  // x' = x + y + 10, y' = y
    skew.m[1] = 1;
    skew.m[2] = 10;
    skew.flags = CTransf2D::kGeneral;
    skew.RecomputeFlags();
    const auto copy = line.CloneTransformed(skew);
    const auto& slanted = static_cast<const CKXTextLine&>(*copy);
    // One private copy per instance of the line: a and b.
    EXPECT_EQ(doc.GetGlyphStore()->GetCount(), before + 2);
    EXPECT_EQ(slanted.GetChars()[0].instance, slanted.GetChars()[1].instance);
    const CKXGlyph& a = InstanceOf(slanted, 0);
    EXPECT_TRUE(a.IsPrivate());
    // The stroke (0,0)-(1,1) slants to (0,0)-(2,1), without the translation
    // that the position already carries.
    EXPECT_EQ(a.Strokes()[0]->GetPoints()[1], (CFltPoint{2, 1}));
    EXPECT_EQ(slanted.GetChars()[1].position, (CFltPoint{11, 0}));
    // Private instances are never found by key.
    Add("a", Params(0, 0, 1));
    EXPECT_EQ(Lines(doc).back()->GetChars()[0].instance, line.GetChars()[0].instance);
}

TEST(TextLineDraw, DrawsEveryGlyphAtItsCharacterSolidUnlessTextIsHidden) {
    const CKXFont font = BoxFont();
    rendertest::Scene scene;
    // A dashed line style in force leaves the letters whole.
    scene.Attrib(0, 0, scene.Style(KXLineStyleExt::kDashPattern, {2, -2}), 0);
    ASSERT_TRUE(CKXTextLayout(font).Add(scene.doc, "ab", Params(10, 10, 10)).IsOk());
    scene.Finish(CFltExtents(0, 0, 100, 100));
    const auto strokes = rendertest::Strokes(scene.DrawUnit());
    // a: (10,10)-(20,20), b: (20,10)-(30,20); device y runs downward.
    EXPECT_EQ(strokes, (std::vector<std::string>{"M 10 90", "L 20 80", "M 20 90", "L 30 80"}));
    scene.doc.SetDisplayMode(CKXDocRenderer::kDisplayNoText);
    EXPECT_TRUE(rendertest::Strokes(scene.DrawUnit()).empty());
}

TEST_F(TextLineTest, StoredPiecesKeepEveryCharacterInOrder) {
    const CKXTextLine& line = Add(std::string(CKXTextLine::kMaxStoredChars, 'a'), Params(0, 0, 1));
    KXEntList pieces;
    EXPECT_FALSE(line.SplitForStorage(pieces));
    const CKXTextLine& longer = Add(std::string(CKXTextLine::kMaxStoredChars + 1, 'b'), Params(0, 0, 1));
    ASSERT_TRUE(longer.SplitForStorage(pieces));
    ASSERT_EQ(pieces.size(), 2u);
    const auto& tail = static_cast<const CKXTextLine&>(*pieces[1]);
    ASSERT_EQ(tail.GetChars().size(), 1u);
    EXPECT_EQ(tail.GetText(), "b");
    EXPECT_DOUBLE_EQ(tail.GetChars()[0].position.x, static_cast<double>(CKXTextLine::kMaxStoredChars));
}

}  // namespace
