// Text through the C interface into a drawing file: text line records and
// the glyph table, checked by the drawing file validator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include <korvex/kxcore.h>

#include "BigEndian.h"
#include "CKXPdbValidator.h"
#include "support/ScratchDir.h"
#include "text/CKXGlyphStore.h"
#include "TextTestSupport.h"

namespace {

struct Doc {
    KXDOC handle = KXCreateDocInstance();
    ~Doc() { KXDeleteDocInstance(handle); }
    CKXDoc& Get() const { return *static_cast<CKXDoc*>(handle); }
};

TEST(KXAddText, RefusesWhatIsNoText) {
    Doc doc;
    const tagKXText p = texttest::Params(0, 0, 1);
    const auto zero = [](const KXTextExtents& e) { return e.xmin == 0 && e.ymin == 0 && e.xmax == 0 && e.ymax == 0; };
    EXPECT_TRUE(zero(KXAddText(nullptr, "abc", &p)));
    EXPECT_TRUE(zero(KXAddText(doc.handle, nullptr, &p)));
    EXPECT_TRUE(zero(KXAddText(doc.handle, "abc", nullptr)));
    EXPECT_TRUE(zero(KXAddText(doc.handle, "", &p)));
    for (const double h : {0.0, std::nan(""), 1e300}) {
        const tagKXText bad = texttest::Params(0, 0, h);
        EXPECT_TRUE(zero(KXAddText(doc.handle, "abc", &bad)));
    }
    EXPECT_EQ(doc.Get().GetCount(), 0);
}

TEST(KXAddText, AlignmentPutsTopMiddleAndBottomOnThePoint) {
    Doc doc;
    const double h = 10;
    const auto boxOf = [&](const char* text, int align) {
        tagKXText p = texttest::Params(0, 100, h, 1.31);
        p.align = align;
        return KXAddText(doc.handle, text, &p);
    };
    EXPECT_NEAR(boxOf("HE", 0x002).ymax, 100, 0.06 * h);  // top: the capitals' top
    const KXTextExtents middle = boxOf("HE", 0x010);      // middle: the capitals' middle
    EXPECT_NEAR((middle.ymin + middle.ymax) / 2, 100, 0.06 * h);
    EXPECT_NEAR(boxOf("pq", 0x080).ymin, 100, 0.06 * h);  // bottom: the descenders' bottom
    // A capital is one height high.
    const KXTextExtents capital = boxOf("H", 0);
    EXPECT_NEAR(capital.ymax - capital.ymin, h, 1e-9);
}

TEST(KXAddText, TextIsWrittenWithItsGlyphTable) {
    ScratchDir dir;
    Doc doc;
    const double a[2] = {0, 0};
    const double b[2] = {100, 50};
    KXAddLine(doc.handle, a, b, nullptr, nullptr);
    tagKXText p = texttest::Params(10, 10, 5);
    const KXTextExtents box = KXAddText(doc.handle, "Room 101", &p);
    // Capitals five high on the baseline 0.55 heights below the box origin.
    EXPECT_NEAR(box.ymin, 10 - 0.55 * 5, 1e-9);
    EXPECT_NEAR(box.ymax, 10 + 0.45 * 5, 1e-9);
    EXPECT_NEAR(box.xmin, 10, 1e-9);
    EXPECT_GT(box.xmax, 30);
    p.y = 30;
    p.angle = 0.3;
    KXAddText(doc.handle,
              "Room 102 \xB1"
              "2\xB0",
              &p);
    const int instances = doc.Get().GetGlyphStore()->GetCount();
    EXPECT_EQ(instances, 5 + 8);  // upright R o m 1 0; turned R o m 1 0 2 and the two signs

    const std::string path = dir / "text.pdb";
    ASSERT_EQ(KXClose(doc.handle, 0), 1);
    ASSERT_EQ(KXWrite(doc.handle, path.c_str()), 1);
    const KXPdbResult result = CKXPdbValidator::ValidateFile(path);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.summary.entityCountsByKind.at(KXREC_TEXTLINE), 2);
    // The glyph table is one group of index and data records.
    bool glyphData = false;
    for (const auto& r : result.summary.records) glyphData = glyphData || r.label == "ArrayIndexRecord_Last";
    EXPECT_TRUE(glyphData);
    // Strokes are written relative to the store's origin, which the header carries.
    const CKXGlyphStore& store = *doc.Get().GetGlyphStore();
    const double s = doc.Get().GetResolution();
    EXPECT_EQ(result.summary.glyphOriginX, static_cast<std::int32_t>(s * store.GetOrigin().x));
    EXPECT_EQ(result.summary.glyphOriginY, static_cast<std::int32_t>(s * store.GetOrigin().y));
    EXPECT_LT(store.GetOrigin().x, 0.0);  // turned glyphs reach left of their character
    // A character naming a glyph beyond the table is a fault of the file.
    std::vector<std::uint8_t> bytes;
    {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        bytes.resize(static_cast<std::size_t>(result.summary.fileSize));
        ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
        std::fclose(f);
    }
    for (const auto& entity : result.summary.entities) {
        if (entity.kind != KXREC_TEXTLINE) continue;
        kxbe::StoreI32(bytes.data() + entity.fileOffset + 26, instances);
        break;
    }
    const KXPdbResult broken = CKXPdbValidator(bytes).Validate();
    EXPECT_FALSE(broken.ok);
    EXPECT_NE(broken.error.find("names glyph"), std::string::npos) << broken.error;
    for (int i = 0; i < store.GetCount(); ++i) {
        for (const auto& stroke : store.Get(i)->Strokes()) {
            if (!stroke) continue;
            for (const std::int32_t q : stroke->GetQuantised()) EXPECT_GE(q, 0);
        }
    }
}

TEST(KXAddText, TwoHundredThousandCharactersAreFinishedAndWritten) {
    ScratchDir dir;
    Doc doc;
    const tagKXText p = texttest::Params(0, 0, 1);
    const std::string text(200000, 'x');
    const KXTextExtents box = KXAddText(doc.handle, text.c_str(), &p);
    EXPECT_GT(box.xmax, 100000);
    const std::string path = dir / "long.pdb";
    ASSERT_EQ(KXClose(doc.handle, 0), 1);
    ASSERT_EQ(KXWrite(doc.handle, path.c_str()), 1);
    const KXPdbResult result = CKXPdbValidator::ValidateFile(path);
    ASSERT_TRUE(result.ok) << result.error;
    // Stored as lines that each fit a pool.
    const int pieces = result.summary.entityCountsByKind.at(KXREC_TEXTLINE);
    EXPECT_EQ(pieces, static_cast<int>((200000 + CKXTextLine::kMaxStoredChars - 1) / CKXTextLine::kMaxStoredChars));
    for (const auto& entity : result.summary.entities) EXPECT_LE(entity.size, 32768u);
}

}  // namespace
