// The stroke font: the font the build makes, and files that are not fonts.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>

#include "support/ScratchDir.h"
#include "TextTestSupport.h"

using texttest::FontBytes;

namespace {

const std::string kBuiltFont = std::string(KX_BIN_DIR) + "/Resources/font.dat";

TEST(BuiltFont, CoversEveryByteWithCapitalsOneHeightHigh) {
    CKXFont font;
    ASSERT_TRUE(font.Load(kBuiltFont).IsOk()) << kBuiltFont;
    ASSERT_EQ(font.GetGlyphCount(), 256);
    for (const char c : std::string("AHEZ")) {
        const CFltExtents& box = font.Glyph(static_cast<std::uint8_t>(c))->GetBox();
        EXPECT_NEAR(box.ymin, -0.55, 1e-9) << c;
        EXPECT_NEAR(box.ymax, 0.45, 1e-9) << c;
        EXPECT_LT(font.Left(static_cast<std::uint8_t>(c)), box.xmin) << c;
        EXPECT_GT(font.Right(static_cast<std::uint8_t>(c)), box.xmax) << c;
    }
    // Printable ASCII but the space, the translator's special codes, the
    // Latin-1 signs and letters.
    for (int code = 33; code < 127; ++code) EXPECT_NE(font.Glyph(static_cast<std::uint8_t>(code)), nullptr) << code;
    for (int code : {1, 2, 176, 177, 216, 248}) EXPECT_NE(font.Glyph(static_cast<std::uint8_t>(code)), nullptr) << code;
    for (int code = 161; code < 256; ++code) EXPECT_NE(font.Glyph(static_cast<std::uint8_t>(code)), nullptr) << code;
    for (int code : {0, 9, 10, 13, 32, 127, 128, 159, 160})
        EXPECT_EQ(font.Glyph(static_cast<std::uint8_t>(code)), nullptr) << code;
    // Accented capitals carry their accent above the capital height.
    EXPECT_GT(font.Glyph(0xC9)->GetBox().ymax, 0.5);   // E acute
    EXPECT_LT(font.Glyph(0xE7)->GetBox().ymin, -0.6);  // c cedilla
    // Descenders end about where the bottom alignment (0.85 above the
    // reference point) puts the reference point.
    EXPECT_NEAR(font.Glyph('p')->GetBox().ymin, -0.85, 0.05);
}

TEST(BuiltFont, IsTheProcessFont) {
    EXPECT_TRUE(CKXFont::Process().IsLoaded());
    EXPECT_EQ(CKXFont::Process().GetGlyphCount(), 256);
}

TEST(FontFile, MissingFileLeavesTheFontEmpty) {
    CKXFont font;
    EXPECT_FALSE(font.Load("/nonexistent/Resources/font.dat").IsOk());
    EXPECT_FALSE(font.IsLoaded());
    EXPECT_EQ(font.Glyph('a'), nullptr);
}

TEST(FontFile, EveryTruncationIsRefused) {
    const std::vector<std::uint8_t> whole = texttest::BoxFontBytes(128).Bytes();
    for (std::size_t size = 0; size < whole.size(); size += 7) {
        CKXFont font;
        EXPECT_FALSE(font.Parse(whole.data(), size).IsOk()) << size;
        EXPECT_FALSE(font.IsLoaded());
    }
    CKXFont font;
    EXPECT_TRUE(font.Parse(whole.data(), whole.size()).IsOk());
}

TEST(FontFile, AbsurdCountsAndValuesAreRefused) {
    const auto refused = [](const FontBytes& bytes) {
        CKXFont font;
        return !font.Parse(bytes.Bytes().data(), bytes.Bytes().size()).IsOk() && !font.IsLoaded();
    };
    EXPECT_TRUE(refused(FontBytes().I32(INT_MAX)));
    EXPECT_TRUE(refused(FontBytes().I32(-1)));
    EXPECT_TRUE(refused(FontBytes().I32(1).F64(0).F64(1).I32(INT_MAX)));
    EXPECT_TRUE(refused(FontBytes().I32(1).F64(0).F64(1).I32(1).I32(-5)));
    EXPECT_TRUE(refused(FontBytes().I32(1).F64(0).F64(1).I32(1).I32(1 << 28).F64(0).F64(0)));
    EXPECT_TRUE(refused(FontBytes().I32(1).Glyph(0, 1, {{{NAN, 0}}})));
    EXPECT_TRUE(refused(FontBytes().I32(1).Glyph(0, 1e300, {{{0, 0}}})));
}

TEST(FontFile, DamagedFontsAreRefusedOrLayOutSafely) {
    std::vector<std::uint8_t> good;
    {
        std::FILE* f = std::fopen(kBuiltFont.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        std::uint8_t chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) good.insert(good.end(), chunk, chunk + n);
        std::fclose(f);
    }
    unsigned seed = 7;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    int loaded = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> bytes = good;
        for (int flips = 1 + static_cast<int>(next() % 4); flips > 0; --flips)
            bytes[next() % bytes.size()] = static_cast<std::uint8_t>(next());
        CKXFont font;
        if (!font.Parse(bytes.data(), bytes.size()).IsOk()) continue;
        ++loaded;
        CKXDoc doc;
        std::string all;
        for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
        tagKXText p = texttest::Params(0, 0, 2);
        p.wrapWidth = 20;
        (void)CKXTextLayout(font).Add(doc, all, p);
        for (const KXEntPtr& ent : doc.GetEntList()) ent->Quantise(10.0, CFltPoint{});
    }
    EXPECT_GT(loaded, 0);  // flips inside coordinates still make a font
}

TEST(FontFile, ReadFromDiskLikeParsed) {
    ScratchDir dir;
    const std::string path = dir / "font.dat";
    const std::vector<std::uint8_t> bytes = texttest::BoxFontBytes().Bytes();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    CKXFont font;
    ASSERT_TRUE(font.Load(path).IsOk());
    EXPECT_EQ(font.GetGlyphCount(), 256);
}

TEST(FontFile, EmptyStrokeSlotsAndCodesBeyondTheTable) {
    FontBytes bytes;
    bytes.I32(2).NoGlyph().F64(0).F64(1).I32(2).I32(0).I32(2).F64(0).F64(0).F64(1).F64(1);
    CKXFont font;
    ASSERT_TRUE(font.Parse(bytes.Bytes().data(), bytes.Bytes().size()).IsOk());
    ASSERT_NE(font.Glyph(1), nullptr);
    ASSERT_EQ(font.Glyph(1)->Strokes().size(), 2u);
    EXPECT_EQ(font.Glyph(1)->Strokes()[0], nullptr);
    EXPECT_EQ(font.Glyph(0), nullptr);
    // A code at or beyond the glyph count has no glyph and advances 0.7 w.
    EXPECT_EQ(font.Glyph(2), nullptr);
    EXPECT_EQ(font.Glyph(255), nullptr);
    EXPECT_DOUBLE_EQ(font.Advance(200, 2.0), 1.4);
}

}  // namespace
