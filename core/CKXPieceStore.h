// Storage for the line pieces of a document's exploded line styles. A big
// styled drawing explodes into millions of pieces that all live exactly as
// long as the document: making each one on the heap would cost an allocation
// and a free apiece and scatter them over memory, so they are placed one
// after another in large blocks instead, in the order the entity stream
// holds them, and the blocks are freed with the store.
//
// The owner of a stored piece still ends it through KXEntDeleter (which only
// destroys it); the store must outlive every piece it made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "geom/CFltPoint.h"
#include "CKXPagePrefetcher.h"

class CKXLinePiece;

class CKXPieceStore {
public:
    // Bytes per block.
    static constexpr std::size_t kBlockBytes = std::size_t{2} << 20;
    // Blocks made and backed ahead of the one being filled while
    // prefetching.
    static constexpr std::size_t kBlocksAhead = 4;

    CKXPieceStore() = default;
    CKXPieceStore(const CKXPieceStore&) = delete;
    CKXPieceStore& operator=(const CKXPieceStore&) = delete;
    ~CKXPieceStore();

    // A new piece from start to end, phased from the start (a zero phase).
    // Throws std::bad_alloc when the system has no memory for a new block.
    CKXLinePiece* Make(const CFltPoint& start, const CFltPoint& end);

    // Pieces made so far, and a way back to that count: the pieces made
    // after `count` must all have been destroyed (disposed) by their owners;
    // their room is then reused.
    std::size_t Count() const { return m_count; }
    void Rewind(std::size_t count);

    // While many pieces may be made: once a second block is needed, the
    // blocks ahead are made early and backed with memory on another thread
    // (a store that stays within one block starts no thread). Stopping
    // gives back the blocks that were made ahead and not used.
    void StartPrefetching();
    void StopPrefetching();

    static std::size_t PiecesPerBlock();

    // Gives every block back; the pieces in them must all have ended.
    void Clear();

    // Whether the entity lives in this store, told from its address alone.
    // Pieces own nothing, so an owner that is about to free the store can
    // let go of its stored pieces without visiting them.
    bool Owns(const void* entity);

private:
    struct BlockFree {
        void operator()(unsigned char* block) const;
    };
    using Block = std::unique_ptr<unsigned char, BlockFree>;

    void MakeBlocksUpTo(std::size_t block);
    void IndexBlocks();

    std::vector<Block> m_blocks;
    // Block address ranges in address order, and the one that answered
    // last: an entity list asks block after block.
    std::vector<std::pair<std::uintptr_t, std::uintptr_t>> m_ranges;
    std::size_t m_lastRange = 0;
    std::size_t m_count = 0;
    // After the blocks: stopped before any block goes.
    std::unique_ptr<CKXPagePrefetcher> m_prefetcher;
    bool m_prefetching = false;
};
