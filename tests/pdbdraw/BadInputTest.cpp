// Files the reader did not write: truncated, with counts, offsets and ids
// that point outside what exists, or randomly damaged. Each is refused
// with a message naming the fault, or read and drawn without any read
// outside the file (the sanitizer build checks the latter).
#include <gtest/gtest.h>

#include <cstring>

#include "CKXPdbFile.h"
#include "CKXPdbValidator.h"
#include "PdbDrawSupport.h"
#include "SampleDrawing.h"
#include "support/ScratchDir.h"

namespace {

using namespace pdbdrawtest;
using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes& b, std::size_t at, std::uint16_t v) {
    b.at(at) = static_cast<std::uint8_t>(v >> 8);
    b.at(at + 1) = static_cast<std::uint8_t>(v);
}

void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

class BadDrawingFile : public ::testing::Test {
protected:
    void SetUp() override {
        KXDOC doc = WriteSample(scratch / "sample.pdb");
        ASSERT_NE(doc, nullptr);
        KXDeleteDocInstance(doc);
        const std::string file = scratch.Read("sample.pdb");
        good.assign(file.begin(), file.end());
        const KXPdbResult checked = CKXPdbValidator(good).Validate();
        ASSERT_TRUE(checked.ok) << checked.error;
        summary = checked.summary;
    }

    // Loads bytes; when they load, draws them. The error, empty on success.
    static std::string Load(Bytes bytes) {
        std::string error;
        const std::unique_ptr<CKXPdbDrawing> drawing = CKXPdbDrawing::FromBytes(std::move(bytes), error);
        if (drawing) {
            HDC dc = KXCreateRasterDC(64, 64, kWhite);
            CKXPdbPainter painter(*drawing);
            const KXPdbDrawingInfo& info = drawing->Info();
            painter.Draw(dc, RECT{0, 0, 64, 64}, info.minX - 1, info.minY - 1, info.maxX + 1, info.maxY + 1);
            DeleteDC(dc);
            EXPECT_TRUE(error.empty());
        } else {
            EXPECT_FALSE(error.empty());
        }
        return error;
    }

    const KXPdbRecordInfo& RecordLabelled(const std::string& label) const {
        for (const KXPdbRecordInfo& r : summary.records)
            if (r.label == label) return r;
        throw std::runtime_error("no " + label);
    }

    const KXPdbEntityInfo& FirstEntity(int kind) const {
        for (const KXPdbEntityInfo& e : summary.entities)
            if (e.kind == kind) return e;
        throw std::runtime_error("no entity of kind " + std::to_string(kind));
    }

    ScratchDir scratch;
    Bytes good;
    KXPdbSummary summary;
};

TEST_F(BadDrawingFile, TheSoundFileLoads) {
    EXPECT_EQ(Load(good), "");
}

TEST_F(BadDrawingFile, EveryTruncationIsRefused) {
    for (std::size_t length = 0; length < good.size(); length += 1 + length / 64) {
        SCOPED_TRACE(length);
        EXPECT_NE(Load(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length))), "");
    }
}

// Files on disk, copied or read in place: the same checks hold for a file cut
// short as for bytes handed in, and what is not a file is refused.
TEST_F(BadDrawingFile, FilesOnDiskAreCopiedOrReadInPlaceAndRefusedWhenCutShort) {
    using Hold = CKXPdbDrawing::Hold;
    std::string error;
    const std::unique_ptr<CKXPdbDrawing> handed = CKXPdbDrawing::FromBytes(good, error);
    ASSERT_TRUE(handed) << error;
    EXPECT_GT(handed->EntityCount(), 0u);
    const std::unique_ptr<CKXPdbDrawing> copied = CKXPdbDrawing::Open(scratch / "sample.pdb", error, Hold::Copy);
    ASSERT_TRUE(copied) << error;
    EXPECT_EQ(copied->EntityCount(), handed->EntityCount());
    {
        const std::unique_ptr<CKXPdbDrawing> inPlace =
            CKXPdbDrawing::Open(scratch / "sample.pdb", error, Hold::InPlace);
        ASSERT_TRUE(inPlace) << error;
        EXPECT_EQ(inPlace->EntityCount(), handed->EntityCount());
    }
    // A copy does not follow the file: it may be rewritten meanwhile.
    scratch.Write("sample.pdb", "rewritten");
    for (std::size_t n = 0; n < copied->EntityCount(); ++n) EXPECT_EQ(copied->Entity(n).kind, handed->Entity(n).kind);

    for (Hold hold : {Hold::Copy, Hold::InPlace}) {
        for (std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{77}, std::size_t{200}, good.size() / 2,
                                   good.size() - 2, good.size() - 1}) {
            SCOPED_TRACE(length);
            scratch.Write("short.pdb", std::string(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)));
            error.clear();
            EXPECT_EQ(CKXPdbDrawing::Open(scratch / "short.pdb", error, hold), nullptr);
            EXPECT_NE(error, "");
        }
        error.clear();
        EXPECT_EQ(CKXPdbDrawing::Open(scratch / "missing.pdb", error, hold), nullptr);
        EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
        error.clear();
        EXPECT_EQ(CKXPdbDrawing::Open(scratch.path().string(), error, hold), nullptr);
        EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
    }
}

TEST_F(BadDrawingFile, WrongRecordCountsAreRefused) {
    for (int delta : {-1, 1, 1000}) {
        Bytes bad = good;
        PutU16(bad, 76, static_cast<std::uint16_t>(summary.records.size() + static_cast<std::size_t>(delta)));
        EXPECT_NE(Load(bad), "");
    }
    // DrawingInfo's pool counts are the layout's too.
    Bytes pools = good;
    PutU16(pools, summary.records[1].offset + 16, 0xFFFF);
    EXPECT_NE(Load(pools), "");
}

TEST_F(BadDrawingFile, RecordOffsetsBeyondTheEndAreRefused) {
    Bytes bad = good;
    PutU32(bad, 78 + 8 * 3, static_cast<std::uint32_t>(good.size() + 100));
    EXPECT_NE(Load(bad).find("outside the file"), std::string::npos);
}

TEST_F(BadDrawingFile, TileListsOutsideTheTilePoolsAreRefused) {
    const KXPdbRecordInfo& map = RecordLabelled("TileMap");
    // The root cell (entry 0) always lists the attribute sets.
    Bytes words = good;
    PutU32(words, map.offset + 4, 0x7FFFFFFF);
    EXPECT_NE(Load(words).find("outside the tile pools"), std::string::npos);
    Bytes record = good;
    PutU16(record, map.offset, 500);
    EXPECT_NE(Load(record).find("outside the tile pools"), std::string::npos);
}

TEST_F(BadDrawingFile, PoolIndexesPastTheirPoolAreRefused) {
    const KXPdbRecordInfo& tiles = RecordLabelled("TilePoolRecord");
    // The first list begins with a pool switch, then an entity index.
    Bytes index = good;
    PutU16(index, tiles.offset + 2, 0x1FFF);
    EXPECT_NE(Load(index).find("does not exist"), std::string::npos);
    Bytes pool = good;
    PutU16(pool, tiles.offset, 0xC000 | 0x0123);
    EXPECT_NE(Load(pool).find("switch to pool"), std::string::npos);
}

TEST_F(BadDrawingFile, GlyphAndAttributeIdsOutOfRangeAreRefused) {
    const KXPdbEntityInfo& text = FirstEntity(kPdbTextLine);
    Bytes glyph = good;
    PutU32(glyph, text.fileOffset + 2 + 24, 99999);
    EXPECT_NE(Load(glyph).find("glyph"), std::string::npos);
    const KXPdbEntityInfo& set = FirstEntity(kPdbAttribSet);
    Bytes attribute = good;
    PutU16(attribute, set.fileOffset + 2, 0xFFFF);
    EXPECT_NE(Load(attribute).find("attribute id"), std::string::npos);
}

TEST_F(BadDrawingFile, AbsurdCountsAreRefused) {
    const KXPdbEntityInfo& polyline = FirstEntity(kPdbPolyline);
    Bytes points = good;
    PutU16(points, polyline.fileOffset + 2, 0xFFFF);
    EXPECT_NE(Load(points), "");
    const KXPdbEntityInfo& text = FirstEntity(kPdbTextLine);
    Bytes characters = good;
    PutU32(characters, text.fileOffset + 2 + 20, 0x7FFFFFFF);
    EXPECT_NE(Load(characters).find("character count"), std::string::npos);
    // A glyph group claiming more elements than its index record holds.
    std::size_t glyphToc = 0;  // the glyph group is the last of the tables
    for (const KXPdbRecordInfo& r : summary.records)
        if (r.label == "ArrayTOC") glyphToc = r.offset;
    Bytes glyphs = good;
    PutU32(glyphs, glyphToc, 0x7FFFFFFF);
    PutU32(glyphs, glyphToc + 4, 0x7FFFFFFF);
    EXPECT_NE(Load(glyphs), "");
}

TEST_F(BadDrawingFile, StepsOutsideTheAngleTableAreRefused) {
    const KXPdbEntityInfo& circle = FirstEntity(kPdbCircle);
    Bytes bad = good;
    PutU16(bad, circle.fileOffset + 2 + 28, 300);
    EXPECT_NE(Load(bad).find("angle-table"), std::string::npos);
}

TEST_F(BadDrawingFile, RandomDamageNeverReadsOutsideTheFile) {
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 3000; ++round) {
        Bytes bad = good;
        for (int flips = 1 + static_cast<int>(next() % 4); flips > 0; --flips)
            bad[next() % bad.size()] = static_cast<std::uint8_t>(next());
        Load(std::move(bad));
    }
}

// Records the sample does not carry: markers, block references, and kinds
// the writer never stores in a pool.
TEST(PdbEntityRecord, MarkersAndBlockReferencesDecode) {
    KXPdbTables tables;
    // Open, open with a flag bit, reference to block 7 at (16, -16) with
    // cos 1, sin 0, scales 1 and 2, close.
    Bytes bytes = {0x00, 0x0B, 0x00, 0x2B, 0x00, 0x04, 0x00, 0x07};
    const auto put = [&bytes](std::uint64_t v, int n) {
        for (int i = n - 1; i >= 0; --i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put(16, 4);
    put(0xFFFFFFF0u, 4);
    for (double v : {1.0, 0.0, 1.0, 2.0}) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        put(bits, 8);
    }
    put(0x000C, 2);
    CKXPdbReader r(bytes.data(), 0, bytes.size(), "pool");
    EXPECT_EQ(KXPdbDecodeEntity(r, tables).kind, kPdbMarkerOpen);
    const KXPdbEntity open = KXPdbDecodeEntity(r, tables);
    EXPECT_EQ(open.kind, kPdbMarkerOpen);
    EXPECT_EQ(open.flags, 0x20);
    const KXPdbEntity ref = KXPdbDecodeEntity(r, tables);
    EXPECT_EQ(ref.kind, kPdbBlockRef);
    EXPECT_EQ(ref.a, 7);
    EXPECT_EQ(ref.q[0], 16);
    EXPECT_EQ(ref.q[1], -16);
    ASSERT_EQ(ref.count, 4u);
    EXPECT_EQ(KXPdbF64At(ref.list), 1.0);
    EXPECT_EQ(KXPdbF64At(ref.list + 3 * KXPdbEntity::kPlacementSize), 2.0);
    EXPECT_EQ(KXPdbDecodeEntity(r, tables).kind, kPdbMarkerClose);
    EXPECT_TRUE(r.AtEnd());
}

TEST(PdbEntityRecord, UnknownKindsAndShortRecordsAreRefused) {
    KXPdbTables tables;
    for (const Bytes& bytes : {Bytes{0x00, 0x03}, Bytes{0x00, 0x05}, Bytes{0x00, 0x1F}, Bytes{0x00, 0x01, 0, 0},
                               Bytes{0x00, 0x06, 0x00, 0x01}, Bytes{0x00}}) {
        CKXPdbReader r(bytes.data(), 0, bytes.size(), "pool");
        EXPECT_THROW(KXPdbDecodeEntity(r, tables), KXPdbViolation);
    }
}

}  // namespace
