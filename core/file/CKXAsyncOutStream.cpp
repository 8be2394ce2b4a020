#include "CKXAsyncOutStream.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <utility>

CKXAsyncOutStream::CKXAsyncOutStream(IKXOutStream& inner) : m_inner(inner) {
    try {
        m_writer = std::thread([this] { Run(); });
        m_filling.reserve(kChunkBytes);
    } catch (const std::system_error&) {
        // No thread to spare: the stream underneath is written directly.
    }
}

CKXAsyncOutStream::~CKXAsyncOutStream() {
    try {
        Close();
    } catch (...) {
        // Closing could not finish (no memory for a last chunk): what was
        // not written is dropped, and the thread still has to stop.
        if (m_writer.joinable()) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_queue.clear();
                m_stopping = true;
            }
            m_changed.notify_all();
            m_writer.join();
        }
    }
}

void CKXAsyncOutStream::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty()) return;  // stopping, and everything is written
        Chunk chunk = std::move(m_queue.front());
        m_queue.pop_front();
        m_writing = true;
        lock.unlock();
        // After a failure the rest is dropped: the result is a failure anyway.
        if (!m_failed.load() && !m_inner.Write(chunk.data(), chunk.size())) m_failed.store(true);
        chunk.clear();
        lock.lock();
        m_free.push_back(std::move(chunk));
        m_writing = false;
        m_changed.notify_all();
    }
}

void CKXAsyncOutStream::Submit() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_filling.empty()) {
        m_queue.push_back(std::move(m_filling));
        m_changed.notify_all();
    }
    m_changed.wait(lock, [this] { return m_queue.size() < kChunksInFlight; });
    if (!m_free.empty()) {
        m_filling = std::move(m_free.back());
        m_free.pop_back();
    } else {
        m_filling = Chunk();
        m_filling.reserve(kChunkBytes);
    }
}

void CKXAsyncOutStream::Drain() {
    Submit();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.empty() && !m_writing; });
}

bool CKXAsyncOutStream::Write(const void* data, std::size_t n) {
    if (!Good()) return false;
    if (!m_writer.joinable()) {
        if (!m_inner.Write(data, n)) m_failed.store(true);
        m_size += n;
        return Good();
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t left = n;
    while (left > 0) {
        if (m_filling.size() == kChunkBytes) Submit();
        const std::size_t take = std::min(left, kChunkBytes - m_filling.size());
        m_filling.insert(m_filling.end(), bytes, bytes + take);
        bytes += take;
        left -= take;
    }
    m_size += n;
    return Good();
}

bool CKXAsyncOutStream::Close() {
    if (m_closed) return !m_failed.load();
    if (!m_writer.joinable()) {
        m_closed = true;
        return !m_failed.load();
    }
    Drain();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_writer.join();
    m_closed = true;
    return !m_failed.load();
}
