#include "PngRows.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <new>
#include <system_error>
#include <thread>

namespace kxplatform {

namespace {

constexpr std::size_t kBytesPerPixel = 4;
constexpr std::uint8_t kSubFilter = 1;
constexpr int kWindowBits = 15;
constexpr std::size_t kWindow = std::size_t{1} << kWindowBits;
constexpr int kMemLevel = 8;
// Room added to a part's output whenever deflate has filled it.
constexpr std::size_t kOutputStep = std::size_t{1} << 16;
// Pictures of fewer filtered bytes are deflated on one thread.
constexpr std::size_t kParallelBytes = std::size_t{4} << 20;

// Row y as it is stored: the filter byte, then each byte less the one a
// pixel to its left (the first pixel's bytes as they are).
void FilterRow(const std::uint8_t* pixels, std::size_t rowBytes, int y, std::uint8_t* out) {
    const std::uint8_t* row = pixels + static_cast<std::size_t>(y) * rowBytes;
    out[0] = kSubFilter;
    for (std::size_t i = 0; i < rowBytes; ++i)
        out[1 + i] = static_cast<std::uint8_t>(i < kBytesPerPixel ? row[i] : row[i] - row[i - kBytesPerPixel]);
}

// Rows [from, to) deflated without header or trailer; a part that does not
// end the picture ends on a byte boundary with no final block, so the next
// part's blocks follow on. adler is the checksum of the part's bytes.
struct Part {
    int from = 0;
    int to = 0;
    std::vector<std::uint8_t> out;
    uLong adler = 1;
    bool done = false;
};

class Deflater {
public:
    Deflater(const std::uint8_t* pixels, int width, int height, int level)
        : m_pixels(pixels),
          m_rowBytes(static_cast<std::size_t>(width) * kBytesPerPixel),
          m_height(height),
          m_level(level) {}

    std::size_t FilteredRowBytes() const { return m_rowBytes + 1; }

    void Run(Part& part) const noexcept {
        z_stream z{};
        if (deflateInit2(&z, m_level, Z_DEFLATED, -kWindowBits, kMemLevel, Z_FILTERED) != Z_OK) return;
        try {
            part.done = Prime(z, part.from) && Compress(z, part);
        } catch (const std::bad_alloc&) {
            part.done = false;
        }
        deflateEnd(&z);
    }

private:
    // A part after the first starts with the window of filtered bytes
    // before it, as one pass would have it.
    bool Prime(z_stream& z, int from) const {
        if (from == 0) return true;
        const std::size_t rowBytes = FilteredRowBytes();
        const int rows = static_cast<int>(
            std::min<std::size_t>(static_cast<std::size_t>(from), (kWindow + rowBytes - 1) / rowBytes));
        std::vector<std::uint8_t> before(static_cast<std::size_t>(rows) * rowBytes);
        for (int i = 0; i < rows; ++i)
            FilterRow(m_pixels, m_rowBytes, from - rows + i, &before[static_cast<std::size_t>(i) * rowBytes]);
        const std::size_t keep = std::min(before.size(), kWindow);
        return deflateSetDictionary(&z, before.data() + before.size() - keep, static_cast<uInt>(keep)) == Z_OK;
    }

    bool Compress(z_stream& z, Part& part) const {
        std::vector<std::uint8_t> row(FilteredRowBytes());
        std::size_t used = 0;
        for (int y = part.from; y < part.to; ++y) {
            FilterRow(m_pixels, m_rowBytes, y, row.data());
            part.adler = adler32(part.adler, row.data(), static_cast<uInt>(row.size()));
            z.next_in = row.data();
            z.avail_in = static_cast<uInt>(row.size());
            const int flush = y + 1 < part.to ? Z_NO_FLUSH : part.to == m_height ? Z_FINISH : Z_SYNC_FLUSH;
            // Output space left after a call means all input was taken.
            do {
                if (part.out.size() - used < kOutputStep) part.out.resize(used + kOutputStep);
                z.next_out = part.out.data() + used;
                z.avail_out = static_cast<uInt>(part.out.size() - used);
                if (deflate(&z, flush) == Z_STREAM_ERROR) return false;
                used = part.out.size() - z.avail_out;
            } while (z.avail_out == 0);
        }
        part.out.resize(used);
        return true;
    }

    const std::uint8_t* m_pixels;
    std::size_t m_rowBytes;
    int m_height;
    int m_level;
};

// The two bytes that open a zlib stream of 32 KiB windows at this level.
void PutHeader(int level, std::vector<std::uint8_t>& stream) {
    const unsigned method = 0x78;  // deflate, 32 KiB window
    const unsigned levelFlag = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    unsigned flags = levelFlag << 6;
    flags += 31 - (method * 256 + flags) % 31;
    stream.push_back(static_cast<std::uint8_t>(method));
    stream.push_back(static_cast<std::uint8_t>(flags));
}

}  // namespace

bool DeflatePngRows(const std::uint8_t* pixels, int width, int height, int level, std::vector<std::uint8_t>& stream) {
    const Deflater deflater(pixels, width, height, level);
    const std::size_t rowBytes = deflater.FilteredRowBytes();
    const bool split = height > 1 && rowBytes * static_cast<std::size_t>(height) >= kParallelBytes;
    Part head, tail;
    head.to = split ? height / 2 : height;
    tail.from = head.to;
    tail.to = height;
    std::thread helper;
    if (split) {
        try {
            helper = std::thread([&] { deflater.Run(tail); });
        } catch (const std::system_error&) {
            // No thread: the tail is deflated here, after the head.
        }
    }
    deflater.Run(head);
    if (helper.joinable())
        helper.join();
    else if (split)
        deflater.Run(tail);
    if (!head.done || (split && !tail.done)) return false;

    try {
        stream.clear();
        stream.reserve(2 + head.out.size() + tail.out.size() + 4);
        PutHeader(level, stream);
        stream.insert(stream.end(), head.out.begin(), head.out.end());
        stream.insert(stream.end(), tail.out.begin(), tail.out.end());
    } catch (const std::bad_alloc&) {
        return false;
    }
    const auto tailBytes = static_cast<z_off_t>(rowBytes * static_cast<std::size_t>(tail.to - tail.from));
    const uLong adler = split ? adler32_combine(head.adler, tail.adler, tailBytes) : head.adler;
    for (int shift = 24; shift >= 0; shift -= 8) stream.push_back(static_cast<std::uint8_t>(adler >> shift));
    return true;
}

}  // namespace kxplatform
