// kxrender's anti-aliasing: a picture drawn at three times its size is
// reduced so that one-pixel lines stay dark and partly covered pixels turn
// lighter by their cover, in the lines' own colour.
#include <gtest/gtest.h>

#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include "KXAntiAlias.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kSide = 10;  // pixels of the reduced picture

// A pen selected for its scope; the one it replaced comes back after it.
struct Pen {
    HDC dc;
    HPEN pen;
    HGDIOBJ replaced;
    Pen(HDC d, COLORREF colour) : dc(d) {
        const LOGPEN style{PS_SOLID, POINT{0, 0}, colour};
        pen = CreatePenIndirect(&style);
        replaced = SelectObject(dc, pen);
    }
    ~Pen() {
        SelectObject(dc, replaced);
        DeleteObject(pen);
    }
};

}  // namespace

TEST(AntiAlias, LinesStayDarkAndEdgesBlend) {
    const int f = kAntiAliasFactor;
    const int objects = KXGdiObjectCount();
    HDC large = KXCreateRasterDC(kSide * f, kSide * f, kWhite);
    ASSERT_NE(large, nullptr);
    {
        Pen black(large, RGB(0, 0, 0));
        // A horizontal line one large pixel wide inside block row 2.
        MoveToEx(large, 0, 2 * f + 1, nullptr);
        LineTo(large, kSide * f, 2 * f + 1);
        // A single large pixel in block (5, 6), widened to 3 x 3 large
        // pixels of which 4 fall in the block.
        MoveToEx(large, 5 * f, 6 * f, nullptr);
        LineTo(large, 5 * f + 1, 6 * f);
    }
    {
        Pen red(large, RGB(255, 0, 0));
        // A vertical red line through the middle of block column 8, rows 4
        // to 7.
        MoveToEx(large, 8 * f + 1, 4 * f, nullptr);
        LineTo(large, 8 * f + 1, 8 * f);
    }
    HDC small = KXAntiAliased(large, kSide, kSide, f, kWhite);
    DeleteDC(large);
    ASSERT_NE(small, nullptr);
    for (int x = 0; x < kSide; ++x) {
        EXPECT_EQ(KXGetRasterPixel(small, x, 2), RGB(0, 0, 0)) << x;
        EXPECT_EQ(KXGetRasterPixel(small, x, 1), kWhite) << x;
        if (x != 8) {  // the red line starts below
            EXPECT_EQ(KXGetRasterPixel(small, x, 3), kWhite) << x;
        }
    }
    EXPECT_EQ(KXGetRasterPixel(small, 5, 6), RGB(142, 142, 142));  // 255 - 255 x 4 / 9
    EXPECT_EQ(KXGetRasterPixel(small, 4, 5), RGB(227, 227, 227));  // one ninth
    for (int y = 4; y < 8; ++y) EXPECT_EQ(KXGetRasterPixel(small, 8, y), RGB(255, 0, 0)) << y;
    EXPECT_EQ(KXGetRasterPixel(small, 8, 8), RGB(255, 170, 170));  // a third of the block beyond its end
    EXPECT_EQ(KXGetRasterPixel(small, 9, 5), kWhite);
    EXPECT_EQ(KXGetRasterPixel(small, kSide, 0), CLR_INVALID);
    DeleteDC(small);
    EXPECT_EQ(KXGdiObjectCount(), objects);
    EXPECT_EQ(KXAntiAliased(nullptr, 0, 10, f, kWhite), nullptr);
}
