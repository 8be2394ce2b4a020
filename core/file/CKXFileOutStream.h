// IKXOutStream over a C stdio file with a large buffer: entity pools arrive
// as many small records, and the buffer keeps them off the system calls.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "IKXOutStream.h"

class CKXFileOutStream : public IKXOutStream {
public:
    // Creates or truncates the file; check Good() (or use Open).
    explicit CKXFileOutStream(const std::string& path);
    ~CKXFileOutStream() override;

    // The stream, or null when the file cannot be created.
    static std::unique_ptr<IKXOutStream> Open(const std::string& path);

    bool Write(const void* data, std::size_t n) override;
    std::uint64_t Size() const override { return m_size; }
    bool Good() const override { return m_file != nullptr && !m_failed; }
    bool Close() override;

private:
    static constexpr std::size_t kBufferSize = 1 << 20;

    std::FILE* m_file = nullptr;
    std::vector<char> m_buffer;
    std::uint64_t m_size = 0;
    bool m_failed = false;
};
