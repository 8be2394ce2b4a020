// A binary output stream that remembers failure. The drawing file writer
// writes the file through it, so every write error
// (missing directory, read-only file, full disk) surfaces as a false result
// at the latest when the stream is closed, and tests can inject failures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class IKXOutStream {
public:
    IKXOutStream() = default;
    IKXOutStream(const IKXOutStream&) = delete;
    IKXOutStream& operator=(const IKXOutStream&) = delete;
    virtual ~IKXOutStream() = default;

    // Appends n bytes; false once the stream has failed.
    virtual bool Write(const void* data, std::size_t n) = 0;
    // Bytes appended so far.
    virtual std::uint64_t Size() const = 0;
    virtual bool Good() const = 0;
    // Flushes and closes; false when any write, the flush or the close failed.
    virtual bool Close() = 0;
};

// Opens a stream that creates (or truncates) the file at path; null when the
// file cannot be created.
using KXStreamOpener = std::function<std::unique_ptr<IKXOutStream>(const std::string& path)>;
