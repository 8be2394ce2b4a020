// The DXF input held in memory, read line by line with the semantics of
// fgets on a binary stream, with ftell/fseek-like positions.
#ifndef KXDXF_CLSDXFSTREAM_H
#define KXDXF_CLSDXFSTREAM_H

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kxdxf {

class clsDxfStream {
public:
    // Longest line text taken at once (fgets into a 1022-byte buffer); the
    // rest of a longer line arrives as the next line.
    static constexpr std::size_t kMaxLineChars = 1021;

    // Reads the whole file; false when it cannot be opened or read.
    bool open(const std::string& path);
    void openBuffer(std::string_view data);
    void close();
    bool isOpen() const { return open_; }

    // The next line: at most maxChars bytes up to and including a line
    // feed, cut at its first carriage return, line feed or NUL, with the
    // leading spaces dropped. Nothing at the end of the data. The view
    // stays valid while the stream is open.
    std::optional<std::string_view> readLine(std::size_t maxChars = kMaxLineChars);

    std::size_t tell() const { return pos_; }
    // Bytes not read yet.
    std::size_t remaining() const { return data_.size() - pos_; }
    void seek(std::size_t pos) { pos_ = pos < data_.size() ? pos : data_.size(); }
    void rewind() { pos_ = 0; }
    bool startsWith(std::string_view prefix) const;

private:
    // The size of a regular file, 0 when it tells none.
    static std::size_t sizeHint(std::FILE* file);

    std::vector<char> data_;
    std::size_t pos_ = 0;
    bool open_ = false;
};

}  // namespace kxdxf

#endif
