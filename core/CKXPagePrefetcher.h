// Has memory pages backed on a second thread. Touching fresh pages costs a
// page fault each; a store that knows which pages it will fill next asks for
// them ahead of time and finds them backed when it gets there, the faults
// taken on another core meanwhile. Requests are advice: those not yet
// carried out when the prefetcher is destroyed are dropped, and the pages
// are then backed when first touched, as always.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

class CKXPagePrefetcher {
public:
    CKXPagePrefetcher();
    // Waits for the request being carried out, if any; the memory of every
    // request must stay mapped until then.
    ~CKXPagePrefetcher();
    CKXPagePrefetcher(const CKXPagePrefetcher&) = delete;
    CKXPagePrefetcher& operator=(const CKXPagePrefetcher&) = delete;

    // Large requests are carried out a piece at a time, front first, so
    // that the front is backed soonest and the wait of the destructor stays
    // short.
    static constexpr std::size_t kPieceBytes = std::size_t{2} << 20;

    void Request(void* address, std::size_t bytes);
    // For a region filled from its start, such as a list that grows: once
    // fewer than `ahead` bytes past `used` are requested, requests the next
    // `ahead` bytes (within capacity). A region at a new base starts over.
    void KeepAhead(const void* base, std::size_t used, std::size_t capacity, std::size_t ahead);

    // Whether prefetching that many bytes is worth a thread of its own.
    static bool WorthAThread(std::size_t bytes) { return bytes >= 2 * kPieceBytes; }

private:
    struct Range {
        void* address;
        std::size_t bytes;
    };

    void Run();

    // The region KeepAhead follows and how much of it is requested.
    const unsigned char* m_aheadBase = nullptr;
    std::size_t m_aheadRequested = 0;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Range> m_queue;
    bool m_stopping = false;
    // Started last, in the constructor: it uses everything above. Not
    // joinable when it could not be started (requests are then dropped).
    std::thread m_worker;
};
