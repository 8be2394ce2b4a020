#include "CKXPagePrefetcher.h"

#include <kxplatform/memoryapi.h>

CKXPagePrefetcher::CKXPagePrefetcher() : m_worker([this] { Run(); }) {}

CKXPagePrefetcher::~CKXPagePrefetcher() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_wake.notify_one();
    m_worker.join();
}

void CKXPagePrefetcher::Request(void* address, std::size_t bytes) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto* at = static_cast<unsigned char*>(address);
        while (bytes > 0) {
            const std::size_t piece = bytes < kPieceBytes ? bytes : kPieceBytes;
            m_queue.push_back({at, piece});
            at += piece;
            bytes -= piece;
        }
    }
    m_wake.notify_one();
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
