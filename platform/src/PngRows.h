// The image data of a PNG picture: each row of RGBA pixels behind the Sub
// filter (each byte less the same byte of the pixel to its left), deflated
// into one zlib stream. A large picture is deflated in two halves at once,
// the second primed with the 32 KiB before it, so that the stream is much
// as one pass would make it in half the time.
#pragma once

#include <cstdint>
#include <vector>

namespace kxplatform {

// The zlib stream of the filtered rows of a width x height picture, rows
// top to bottom with no gap; false when zlib or memory fails.
bool DeflatePngRows(const std::uint8_t* pixels, int width, int height, int level, std::vector<std::uint8_t>& stream);

}  // namespace kxplatform
