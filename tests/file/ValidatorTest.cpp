// The validator must catch broken files, or the writer tests prove nothing:
// each case corrupts one structural rule of a valid file.
#include <gtest/gtest.h>

#include <functional>

#include "BigEndian.h"
#include "FileTestSupport.h"

using namespace kxtest;

namespace {

class Validator : public ::testing::Test {
protected:
    void SetUp() override {
        Doc doc;
        for (int i = 0; i < 2500; ++i) doc.Line(i % 50, i / 50, i % 50 + 0.5, i / 50 + 0.25);
        const std::string path = m_dir.File("valid.pdb");
        const KXPdbResult result = CloseWriteValidate(doc, path);
        ASSERT_TRUE(result.ok);
        m_summary = result.summary;
        m_bytes = ReadAll(path);
    }

    std::string Corrupted(const std::function<void(std::vector<std::uint8_t>&)>& change) const {
        std::vector<std::uint8_t> bytes = m_bytes;
        change(bytes);
        const KXPdbResult result = CKXPdbValidator(bytes).Validate();
        EXPECT_FALSE(result.ok);
        return result.error;
    }
    std::size_t RecordStart(const char* label) const {
        for (const auto& r : m_summary.records) {
            if (r.label == label) return r.offset;
        }
        ADD_FAILURE() << "no " << label;
        return 0;
    }

    ScopedTempDir m_dir;
    KXPdbSummary m_summary;
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace

TEST_F(Validator, AcceptsTheWrittenFile) {
    EXPECT_TRUE(CKXPdbValidator(m_bytes).Validate().ok);
    EXPECT_EQ(m_summary.entities.size(), 2500u);
    EXPECT_EQ(m_summary.pools, 2);
}

TEST_F(Validator, RejectsTruncatedAndEmptyFiles) {
    EXPECT_NE(Corrupted([](auto& b) { b.resize(b.size() - 1); }), "");
    EXPECT_NE(Corrupted([](auto& b) { b.resize(40); }), "");
    EXPECT_NE(Corrupted([](auto& b) { b.clear(); }), "");
    EXPECT_FALSE(CKXPdbValidator::ValidateFile(m_dir.File("absent.pdb")).ok);
}

TEST_F(Validator, RejectsHeaderAndRecordListFaults) {
    EXPECT_NE(Corrupted([](auto& b) { b[60] = 'X'; }).find("type"), std::string::npos);
    EXPECT_NE(Corrupted([](auto& b) { b[78 + 8 * 3 + 7] ^= 1; }).find("unique ID"), std::string::npos);
    EXPECT_NE(Corrupted([](auto& b) { kxbe::StoreU32(b.data() + 78 + 8 * 4, kxbe::LoadU32(b.data() + 78 + 8 * 4) + 2); }), "");
    EXPECT_NE(Corrupted([](auto& b) { kxbe::StoreU16(b.data() + 76, static_cast<std::uint16_t>(kxbe::LoadU16(b.data() + 76) + 1)); }), "");
}

TEST_F(Validator, RejectsAWrongSizeField) {
    const std::size_t field = RecordStart("FileInfo") + 2 + m_summary.fileInfoText.find("File Size: ") + 11;
    EXPECT_NE(Corrupted([&](auto& b) { b[field] = b[field] == '9' ? '1' : static_cast<std::uint8_t>(b[field] + 1); })
                  .find("File Size"),
              std::string::npos);
}

TEST_F(Validator, RejectsWrongDrawingInfoCounts) {
    const std::size_t info = RecordStart("DrawingInfo");
    EXPECT_NE(Corrupted([&](auto& b) { b[info + 17] = 1; }), "");  // P = 1 instead of 2
    EXPECT_NE(Corrupted([&](auto& b) { b[info + 19] = 2; }), "");  // T = 2 instead of 1
    EXPECT_NE(Corrupted([&](auto& b) { b[info + 21] = static_cast<std::uint8_t>(b[info + 21] + 1); }), "");
    // A count of the array groups alone leaves out LSCache and CosSin.
    EXPECT_NE(Corrupted([&](auto& b) { b[info + 21] = static_cast<std::uint8_t>(b[info + 21] - 2); })
                  .find("table record count"),
              std::string::npos);
}

TEST_F(Validator, RejectsPoolFaults) {
    const std::size_t pool = RecordStart("EntPool");
    EXPECT_NE(Corrupted([&](auto& b) { b[pool + 1] = 0x1F; }).find("kind"), std::string::npos);
    // A coordinate moved outside the drawing box.
    EXPECT_NE(Corrupted([&](auto& b) { kxbe::StoreI32(b.data() + pool + 2, -50); }).find("outside"), std::string::npos);
    // The terminator is part of the last pool.
    EXPECT_NE(Corrupted([&](auto& b) {
                  const std::size_t tileMap = RecordStart("TileMap");
                  b[tileMap - 1] = 1;
              }),
              "");
}

TEST_F(Validator, RejectsTileMapFaults) {
    const std::size_t tiles = RecordStart("TilePoolRecord");
    // An index word naming an entity beyond its pool.
    EXPECT_NE(Corrupted([&](auto& b) { kxbe::StoreU16(b.data() + tiles + 2, 0x3FFF); }).find("does not exist"),
              std::string::npos);
    // Two cells naming the same entity (and one entity in none).
    EXPECT_NE(Corrupted([&](auto& b) {
                  const std::uint16_t first = kxbe::LoadU16(b.data() + tiles + 2);
                  kxbe::StoreU16(b.data() + tiles + 4, first);
              }),
              "");
    // An unused tile map slot (level 1 has only 4 cells) that is not zero.
    const std::size_t map = RecordStart("TileMap");
    EXPECT_NE(Corrupted([&](auto& b) { b[map + 8 * (256 + 10) + 7] = 1; }).find("unused"), std::string::npos);
}

TEST_F(Validator, SurvivesRandomCorruption) {
    // Whatever a damaged file holds, the validator answers without crashing.
    unsigned seed = 2024;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> bytes = m_bytes;
        const int flips = 1 + static_cast<int>(next() % 4);
        for (int f = 0; f < flips; ++f) {
            // Mostly the structural part: header, list, first records, tile map.
            const std::size_t at = next() % 2 == 0 ? next() % 600 : next() % bytes.size();
            bytes[at] = static_cast<std::uint8_t>(next());
        }
        if (next() % 8 == 0) bytes.resize(next() % bytes.size());
        const KXPdbResult result = CKXPdbValidator(std::move(bytes)).Validate();
        EXPECT_TRUE(result.ok || !result.error.empty());
    }
}

TEST(ValidatorPlacement, RejectsAnEntityListedInAForeignCell) {
    ScopedTempDir dir;
    Doc doc;
    doc.Line(0, 0, 1, 1);        // lower-left corner: a deep cell
    doc.Line(99, 99, 100, 100);  // upper-right corner: another deep cell
    doc.Line(0, 100, 100, 0);    // spans everything: the root
    const std::string path = dir.File("cells.pdb");
    const KXPdbResult result = CloseWriteValidate(doc, path);
    ASSERT_TRUE(result.ok);
    std::vector<std::uint8_t> bytes = ReadAll(path);
    std::size_t map = 0;
    for (const auto& r : result.summary.records) {
        if (r.label == "TileMap") map = r.offset;
    }
    // Swap the tile map entries of the two occupied deep cells.
    std::vector<std::size_t> used;
    for (std::size_t slot = 256; slot < 1280; ++slot) {
        if (kxbe::LoadI32(bytes.data() + map + 8 * slot + 4) != 0) used.push_back(slot);
    }
    ASSERT_EQ(used.size(), 2u);
    for (int b = 0; b < 8; ++b) std::swap(bytes[map + 8 * used[0] + b], bytes[map + 8 * used[1] + b]);
    const KXPdbResult swapped = CKXPdbValidator(bytes).Validate();
    EXPECT_FALSE(swapped.ok);
    EXPECT_NE(swapped.error.find("square"), std::string::npos) << swapped.error;
}
