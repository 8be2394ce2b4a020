#include "CKXFileOutStream.h"

CKXFileOutStream::CKXFileOutStream(const std::string& path) : m_buffer(kBufferSize) {
    m_file = std::fopen(path.c_str(), "wb");
    if (m_file != nullptr) std::setvbuf(m_file, m_buffer.data(), _IOFBF, m_buffer.size());
}

CKXFileOutStream::~CKXFileOutStream() {
    if (m_file != nullptr) std::fclose(m_file);
}

std::unique_ptr<IKXOutStream> CKXFileOutStream::Open(const std::string& path) {
    auto stream = std::make_unique<CKXFileOutStream>(path);
    if (!stream->Good()) return nullptr;
    return stream;
}

bool CKXFileOutStream::Write(const void* data, std::size_t n) {
    if (!Good()) return false;
    if (n != 0 && std::fwrite(data, 1, n, m_file) != n) m_failed = true;
    if (!m_failed) m_size += n;
    return !m_failed;
}

bool CKXFileOutStream::Close() {
    if (m_file == nullptr) return false;
    // A full disk often shows only when the buffer is flushed.
    const bool flushed = std::fflush(m_file) == 0;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!flushed || !closed) m_failed = true;
    return !m_failed;
}
