// Hands the writing of another stream to a second thread. Appended bytes
// are gathered into chunks of a megabyte that the thread writes in order
// while the caller goes on making the next ones, so the copying into the
// file's pages no longer holds up the making of a drawing file's records.
// A failure of the stream underneath is seen a little late: by a later
// Write, by Good, at the latest by Close.
//
// The stream underneath is only borrowed: Close finishes the writes and
// leaves it open for its owner to close. When no thread can be started,
// the stream underneath is simply written directly.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "IKXOutStream.h"

class CKXAsyncOutStream final : public IKXOutStream {
public:
    static constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
    // Chunks filled and waiting, at most: the memory it takes stays bounded.
    static constexpr std::size_t kChunksInFlight = 4;

    explicit CKXAsyncOutStream(IKXOutStream& inner);
    ~CKXAsyncOutStream() override;

    bool Write(const void* data, std::size_t n) override;
    std::uint64_t Size() const override { return m_size; }
    bool Good() const override { return !m_closed && !m_failed.load(); }
    // Writes everything appended and stops the thread; false when any write
    // failed. The stream underneath stays open.
    bool Close() override;

private:
    using Chunk = std::vector<std::uint8_t>;

    void Run();
    // Queues the chunk being filled (when it holds anything) and takes a
    // free one, waiting while too many are in flight.
    void Submit();
    // Returns when the thread has written every queued chunk.
    void Drain();

    IKXOutStream& m_inner;
    Chunk m_filling;
    std::uint64_t m_size = 0;
    bool m_closed = false;
    std::atomic<bool> m_failed{false};

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Chunk> m_queue;  // filled, in order
    std::vector<Chunk> m_free;  // written, to be filled again
    bool m_writing = false;     // the thread holds a chunk it took off the queue
    bool m_stopping = false;
    // Started last, in the constructor: it uses everything above. Not
    // joinable when it could not be started.
    std::thread m_writer;
};
