// Raster pictures saved as PNG read back pixel for pixel, small ones and
// ones large enough to be deflated in two halves.
#include <gtest/gtest.h>

#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "support/ScratchDir.h"

namespace {

// Lines of many colours and widths all over the picture, so that every
// row differs from its neighbours and both halves have ink.
void Scribble(HDC dc, int width, int height) {
    std::uint32_t seed = 2024;
    const auto next = [&seed](int limit) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(limit));
    };
    for (int i = 0; i < 400; ++i) {
        const LOGPEN logical{PS_SOLID, {next(4), 0}, RGB(next(256), next(256), next(256))};
        HPEN pen = CreatePenIndirect(&logical);
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, next(width), next(height), nullptr);
        LineTo(dc, next(width), next(height));
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

void ExpectSavedAsDrawn(int width, int height) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    ScratchDir dir;
    HDC dc = KXCreateRasterDC(width, height, RGB(250, 240, 230));
    ASSERT_NE(dc, nullptr);
    Scribble(dc, width, height);
    const std::string path = dir / "picture.png";
    ASSERT_TRUE(KXSaveDC(dc, path.c_str()));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    ASSERT_EQ(image.width, static_cast<png_uint_32>(width));
    ASSERT_EQ(image.height, static_cast<png_uint_32>(height));
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    std::size_t wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const png_byte* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
            wrong += RGB(p[0], p[1], p[2]) != KXGetRasterPixel(dc, x, y) || p[3] != 0xFF ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0u);
    DeleteDC(dc);
}

TEST(RasterPng, SmallPicturesReadBackAsDrawn) {
    ExpectSavedAsDrawn(1, 1);
    ExpectSavedAsDrawn(4, 3);
    ExpectSavedAsDrawn(300, 200);
}

TEST(RasterPng, LargePicturesReadBackAsDrawn) {
    ExpectSavedAsDrawn(1500, 1201);  // odd height: halves of unequal rows
    ExpectSavedAsDrawn(8000, 200);   // few rows, each longer than the window
}

}  // namespace
