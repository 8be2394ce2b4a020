// Read access to a raster context's pixels, for a backend that shows them.
#pragma once

#include <kxplatform/wintypes.h>

#include <cstdint>

namespace kxplatform {

struct RasterBits {
    // Rows top to bottom, each pixel the bytes R, G, B, A.
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// False for a null handle or a context that is not a raster.
bool GetRasterBits(HDC dc, RasterBits& bits);

}  // namespace kxplatform
