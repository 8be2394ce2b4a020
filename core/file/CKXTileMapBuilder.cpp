#include "CKXTileMapBuilder.h"

#include <optional>

#include "CKXPagePrefetcher.h"

namespace {
constexpr int kMaxRecords = 0xFFFF;

class TilePoolCursor {
public:
    explicit TilePoolCursor(CKXTree& tree) : m_tree(tree) {}

    void Word(std::uint16_t word) {
        m_tree.TileWords().push_back(word);
        m_bytes += 2;
        ++m_words;
    }
    void CloseRecord() {
        m_tree.TilePools().push_back(CPoolInfo{m_record, m_recordOffset, 2 * m_words, m_words});
        ++m_record;
        m_recordOffset += 2 * m_words;
        m_bytes = 0;
        m_words = 0;
    }
    bool Full() const { return m_bytes > CKXTileMapBuilder::kRecordLimit; }
    bool Empty() const { return m_words == 0; }
    std::int32_t Record() const { return m_record; }
    std::int32_t Bytes() const { return m_bytes; }

private:
    CKXTree& m_tree;
    std::int32_t m_record = 0;
    std::int32_t m_recordOffset = 0;
    std::int32_t m_bytes = 0;
    std::int32_t m_words = 0;
};
}  // namespace

bool CKXTileMapBuilder::Build(CKXTree& tree, const std::vector<CEntInfo>& slots) {
    tree.TileMap().fill(KXTileEntry{});
    tree.TileWords().clear();
    tree.TilePools().clear();
    tree.TileWords().reserve(tree.Size() + tree.Size() / 4 + 64);
    const std::size_t wordBytes = tree.TileWords().capacity() * sizeof(std::uint16_t);
    std::optional<CKXPagePrefetcher> prefetcher;
    if (CKXPagePrefetcher::WorthAThread(wordBytes)) prefetcher.emplace().Request(tree.TileWords().data(), wordBytes);
    // The last slot is the terminator's; cells name only real entities.
    const std::size_t entityCount = slots.empty() ? 0 : slots.size() - 1;
    TilePoolCursor cursor(tree);
    bool ok = true;
    tree.WalkPostOrder([&](int level, int cell, const std::vector<std::int32_t>& list) {
        if (!ok) return;
        KXTileEntry& entry = tree.TileMap()[static_cast<std::size_t>(CKXTree::TileMapIndex(level, cell))];
        if (cursor.Record() > kMaxRecords) {
            ok = false;
            return;
        }
        entry.record = static_cast<std::uint16_t>(cursor.Record());
        entry.offset = static_cast<std::uint16_t>(cursor.Bytes());
        std::int32_t words = 0;
        int previousPool = -1;
        for (const std::int32_t index : list) {
            if (index < 0 || static_cast<std::size_t>(index) >= entityCount) {
                ok = false;
                return;
            }
            const CEntInfo& slot = slots[static_cast<std::size_t>(index)];
            if (slot.pool != previousPool) {
                cursor.Word(static_cast<std::uint16_t>(kPoolSwitch | slot.pool));
                words += 2;
            } else {
                words += 1;
            }
            cursor.Word(static_cast<std::uint16_t>(slot.index));
            if (cursor.Full()) {
                // The end word belongs to the record it closes.
                cursor.Word(kEndOfRecord);
                words += 1;
                cursor.CloseRecord();
            }
            previousPool = slot.pool;
        }
        entry.words = words;
    });
    // A record closed by the very last list needs no empty successor; an
    // empty document still gets its (empty) first record, which the writer
    // refuses.
    if (ok && (!cursor.Empty() || tree.TilePools().empty())) cursor.CloseRecord();
    return ok && static_cast<int>(tree.TilePools().size()) <= kMaxRecords;
}
