#include "CKXPagePrefetcher.h"

#include <algorithm>
#include <new>
#include <system_error>

#include <kxplatform/memoryapi.h>

CKXPagePrefetcher::CKXPagePrefetcher() {
    try {
        m_worker = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to spare: every request is dropped, and the pages are
        // backed when they are touched.
    }
}

CKXPagePrefetcher::~CKXPagePrefetcher() {
    if (!m_worker.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_wake.notify_one();
    m_worker.join();
}

void CKXPagePrefetcher::Request(void* address, std::size_t bytes) {
    if (!m_worker.joinable()) return;
    try {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto* at = static_cast<unsigned char*>(address);
        while (bytes > 0) {
            const std::size_t piece = bytes < kPieceBytes ? bytes : kPieceBytes;
            m_queue.push_back({at, piece});
            at += piece;
            bytes -= piece;
        }
    } catch (const std::bad_alloc&) {
        // Advice that cannot be queued is dropped.
    }
    m_wake.notify_one();
}

void CKXPagePrefetcher::KeepAhead(const void* base, std::size_t used, std::size_t capacity, std::size_t ahead) {
    const auto* region = static_cast<const unsigned char*>(base);
    if (region != m_aheadBase) {
        m_aheadBase = region;
        m_aheadRequested = 0;
    }
    if (m_aheadRequested >= capacity || used + ahead < m_aheadRequested) return;
    const std::size_t bytes = std::min(ahead, capacity - m_aheadRequested);
    Request(const_cast<unsigned char*>(region) + m_aheadRequested, bytes);
    m_aheadRequested += bytes;
}

void CKXPagePrefetcher::Run() {
    for (;;) {
        Range range{};
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping) return;
            range = m_queue.front();
            m_queue.pop_front();
        }
        WIN32_MEMORY_RANGE_ENTRY entry{range.address, range.bytes};
        // A system that cannot do it backs the pages on first touch instead.
        if (!PrefetchVirtualMemory(GetCurrentProcess(), 1, &entry, 0)) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_queue.clear();
        }
    }
}
