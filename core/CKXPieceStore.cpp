#include "CKXPieceStore.h"

#include <algorithm>
#include <new>

#include <kxplatform/memoryapi.h>

#include "CKXLinePiece.h"

std::size_t CKXPieceStore::PiecesPerBlock() { return kBlockBytes / sizeof(CKXLinePiece); }

void CKXPieceStore::BlockFree::operator()(unsigned char* block) const {
    VirtualFree(block, 0, MEM_RELEASE);
}

CKXPieceStore::~CKXPieceStore() { m_prefetcher.reset(); }

void CKXPieceStore::MakeBlocksUpTo(std::size_t block) {
    while (m_blocks.size() <= block) {
        // Pages come from the system: aligned for any piece, and backed only
        // when touched (or prefetched).
        auto* memory = static_cast<unsigned char*>(VirtualAlloc(nullptr, kBlockBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (memory == nullptr) throw std::bad_alloc();
        m_blocks.emplace_back(memory);
        if (m_prefetcher) m_prefetcher->Request(memory, kBlockBytes);
    }
    IndexBlocks();
}

void CKXPieceStore::IndexBlocks() {
    m_ranges.clear();
    for (const Block& block : m_blocks) {
        const auto start = reinterpret_cast<std::uintptr_t>(block.get());
        m_ranges.emplace_back(start, start + kBlockBytes);
    }
    std::sort(m_ranges.begin(), m_ranges.end());
    m_lastRange = 0;
}

bool CKXPieceStore::Owns(const void* entity) {
    const auto at = reinterpret_cast<std::uintptr_t>(entity);
    const auto holds = [at](const std::pair<std::uintptr_t, std::uintptr_t>& range) {
        return at >= range.first && at < range.second;
    };
    if (m_lastRange < m_ranges.size() && holds(m_ranges[m_lastRange])) return true;
    auto next = std::upper_bound(m_ranges.begin(), m_ranges.end(), std::make_pair(at, UINTPTR_MAX));
    if (next == m_ranges.begin() || !holds(*(next - 1))) return false;
    m_lastRange = static_cast<std::size_t>(next - 1 - m_ranges.begin());
    return true;
}

CKXLinePiece* CKXPieceStore::Make(const CFltPoint& start, const CFltPoint& end) {
    const std::size_t perBlock = PiecesPerBlock();
    const std::size_t block = m_count / perBlock;
    const std::size_t slot = m_count % perBlock;
    if (slot == 0) {
        if (m_prefetching && block >= 1 && !m_prefetcher) m_prefetcher = std::make_unique<CKXPagePrefetcher>();
        MakeBlocksUpTo(m_prefetcher ? block + kBlocksAhead : block);
    }
    void* place = m_blocks[block].get() + slot * sizeof(CKXLinePiece);
    auto* piece = new (place) CKXLinePiece(start, end, CKXLinePiece::InStore{});
    ++m_count;
    return piece;
}

void CKXPieceStore::Clear() {
    m_prefetching = false;
    m_prefetcher.reset();
    m_blocks.clear();
    m_ranges.clear();
    m_lastRange = 0;
    m_count = 0;
}

void CKXPieceStore::Rewind(std::size_t count) {
    if (count < m_count) m_count = count;
}

void CKXPieceStore::StartPrefetching() { m_prefetching = true; }

void CKXPieceStore::StopPrefetching() {
    m_prefetching = false;
    m_prefetcher.reset();
    const std::size_t perBlock = PiecesPerBlock();
    const std::size_t inUse = (m_count + perBlock - 1) / perBlock;
    if (m_blocks.size() > inUse) {
        m_blocks.resize(inUse);
        IndexBlocks();
    }
}
