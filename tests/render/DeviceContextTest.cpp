// The device-context backends and the GDI calls on them.
#include <gtest/gtest.h>

#include <kxplatform/GdiRecording.h>
#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using kxplatform::GdiOp;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = RGB(255, 0, 0);

std::string TempPath(const char* name) {
    return "/tmp/kxrender_test_" + std::to_string(getpid()) + "_" + name;
}

HPEN MakePen(COLORREF color, int width) {
    LOGPEN logPen{PS_SOLID, {width, 0}, color};
    return CreatePenIndirect(&logPen);
}

TEST(RasterDC, LineToLeavesOutItsLastPixel) {
    HDC dc = KXCreateRasterDC(10, 10, kWhite);
    ASSERT_NE(dc, nullptr);
    MoveToEx(dc, 1, 1, nullptr);
    LineTo(dc, 5, 1);
    for (int x = 1; x < 5; ++x) EXPECT_EQ(KXGetRasterPixel(dc, x, 1), 0u) << x;
    EXPECT_EQ(KXGetRasterPixel(dc, 5, 1), kWhite);
    EXPECT_EQ(KXGetRasterPixel(dc, 0, 1), kWhite);
    // A one-unit LineTo draws exactly its first pixel: the engine's dot.
    MoveToEx(dc, 7, 7, nullptr);
    LineTo(dc, 8, 7);
    EXPECT_EQ(KXGetRasterPixel(dc, 7, 7), 0u);
    EXPECT_EQ(KXGetRasterPixel(dc, 8, 7), kWhite);
    DeleteDC(dc);
}

TEST(RasterDC, DiagonalAndSteepLinesAreAliased) {
    HDC dc = KXCreateRasterDC(10, 10, kWhite);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 4, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(KXGetRasterPixel(dc, i, i), 0u);
    EXPECT_EQ(KXGetRasterPixel(dc, 1, 0), kWhite);
    MoveToEx(dc, 8, 9, nullptr);
    LineTo(dc, 8, 2);  // upward: pixels 9..3
    for (int y = 3; y <= 9; ++y) EXPECT_EQ(KXGetRasterPixel(dc, 8, y), 0u) << y;
    EXPECT_EQ(KXGetRasterPixel(dc, 8, 2), kWhite);
    DeleteDC(dc);
}

TEST(RasterDC, HugeCoordinatesDrawOnlyTheVisiblePart) {
    HDC dc = KXCreateRasterDC(20, 20, kWhite);
    MoveToEx(dc, -2000000000, 10, nullptr);
    LineTo(dc, 2000000000, 10);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(KXGetRasterPixel(dc, x, 10), 0u) << x;
    EXPECT_EQ(KXGetRasterPixel(dc, 5, 9), kWhite);
    // Steep, nearly vertical and entirely outside: nothing, and quickly.
    MoveToEx(dc, 2000000000, -2000000000, nullptr);
    LineTo(dc, 2000000001, 2000000000);
    EXPECT_EQ(KXGetRasterPixel(dc, 19, 5), kWhite);
    DeleteDC(dc);
}

TEST(RasterDC, PenWidthIsInDeviceUnitsWithRoundEnds) {
    HDC dc = KXCreateRasterDC(30, 30, kWhite);
    HPEN pen = MakePen(kRed, 5);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 10, 15, nullptr);
    LineTo(dc, 20, 15);
    for (int y = 13; y <= 17; ++y) EXPECT_EQ(KXGetRasterPixel(dc, 15, y), kRed) << y;
    EXPECT_EQ(KXGetRasterPixel(dc, 15, 12), kWhite);
    EXPECT_EQ(KXGetRasterPixel(dc, 15, 18), kWhite);
    EXPECT_EQ(KXGetRasterPixel(dc, 8, 15), kRed);   // round cap reaches 2 units out
    EXPECT_EQ(KXGetRasterPixel(dc, 7, 15), kWhite);
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(pen));
    DeleteDC(dc);
}

TEST(RasterDC, FillRectExcludesRightAndBottomAndFocusRectToggles) {
    HDC dc = KXCreateRasterDC(10, 10, kWhite);
    HBRUSH brush = CreateSolidBrush(kRed);
    RECT r{2, 2, 5, 6};
    EXPECT_EQ(FillRect(dc, &r, brush), 1);
    EXPECT_EQ(KXGetRasterPixel(dc, 2, 2), kRed);
    EXPECT_EQ(KXGetRasterPixel(dc, 4, 5), kRed);
    EXPECT_EQ(KXGetRasterPixel(dc, 5, 5), kWhite);
    EXPECT_EQ(KXGetRasterPixel(dc, 4, 6), kWhite);
    DeleteObject(brush);

    RECT focus{0, 0, 10, 10};
    DrawFocusRect(dc, &focus);
    EXPECT_EQ(KXGetRasterPixel(dc, 0, 0), 0u);  // inverted white
    DrawFocusRect(dc, &focus);
    EXPECT_EQ(KXGetRasterPixel(dc, 0, 0), kWhite);
    DeleteDC(dc);
}

TEST(RasterDC, RejectsImpossibleSizesAndSavesPng) {
    EXPECT_EQ(KXCreateRasterDC(0, 10, kWhite), nullptr);
    EXPECT_EQ(KXCreateRasterDC(10, -1, kWhite), nullptr);
    EXPECT_EQ(KXCreateRasterDC(KX_RASTER_MAX_SIDE + 1, 1, kWhite), nullptr);
    EXPECT_EQ(KXCreateRasterDC(KX_RASTER_MAX_SIDE, KX_RASTER_MAX_SIDE, kWhite), nullptr);

    HDC dc = KXCreateRasterDC(4, 3, kWhite);
    const std::string path = TempPath("out.png");
    ASSERT_TRUE(KXSaveDC(dc, path.c_str()));
    std::ifstream in(path, std::ios::binary);
    char magic[8] = {};
    in.read(magic, 8);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    std::remove(path.c_str());
    EXPECT_FALSE(KXSaveDC(dc, "/nonexistent-dir/x.png"));
    DeleteDC(dc);
}

TEST(SvgDC, OnePathPerPenRunWithExactCoordinates) {
    HDC dc = KXCreateSvgDC(100, 50, kWhite);
    ASSERT_NE(dc, nullptr);
    MoveToEx(dc, 1, 2, nullptr);
    LineTo(dc, 30, 2);
    LineTo(dc, 30, 40);
    MoveToEx(dc, 5, 5, nullptr);
    LineTo(dc, 6, 5);
    HPEN pen = MakePen(kRed, 3);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, -7, 1000000, nullptr);
    LineTo(dc, 8, 9);
    SelectObject(dc, old);
    DeleteObject(pen);

    const std::string path = TempPath("out.svg");
    ASSERT_TRUE(KXSaveDC(dc, path.c_str()));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const std::string svg = text.str();
    std::remove(path.c_str());
    DeleteDC(dc);

    std::size_t paths = 0;
    for (std::size_t at = svg.find("<path"); at != std::string::npos; at = svg.find("<path", at + 1)) ++paths;
    EXPECT_EQ(paths, 2u);
    EXPECT_NE(svg.find("d=\"M1 2 L30 2 L30 40 M5 5 L6 5\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("stroke=\"#ff0000\" stroke-width=\"3\" d=\"M-7 1000000 L8 9\""), std::string::npos);
}

std::string SvgText(HDC dc) {
    const std::string path = TempPath("text.svg");
    if (!KXSaveDC(dc, path.c_str())) return {};
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::remove(path.c_str());
    return text.str();
}

// GDI draws nothing for a LineTo to the current position; with round caps an
// SVG segment of no length would still show a dot the raster does not have.
TEST(SvgDC, LineToTheCurrentPositionDrawsNothing) {
    HDC alone = KXCreateSvgDC(10, 10, kWhite);
    MoveToEx(alone, 5, 5, nullptr);
    LineTo(alone, 5, 5);
    EXPECT_EQ(SvgText(alone).find("<path"), std::string::npos);
    DeleteDC(alone);

    HDC run = KXCreateSvgDC(10, 10, kWhite);
    MoveToEx(run, 1, 1, nullptr);
    LineTo(run, 1, 1);
    LineTo(run, 4, 1);
    LineTo(run, 4, 1);
    LineTo(run, 4, 3);
    const std::string svg = SvgText(run);
    EXPECT_NE(svg.find("d=\"M1 1 L4 1 L4 3\""), std::string::npos) << svg;
    DeleteDC(run);
}

// Only the part of a focus rectangle on the bitmap is visited: a rectangle
// spanning the whole coordinate range toggles the bitmap's own pixels (and
// would otherwise step through 2^32 columns).
TEST(RasterDC, FocusRectFarBeyondTheBitmapTogglesOnlyItsVisibleBorder) {
    HDC dc = KXCreateRasterDC(10, 10, kWhite);
    RECT huge{-2147483647, 2, 2147483647, 8};
    EXPECT_TRUE(DrawFocusRect(dc, &huge));
    EXPECT_EQ(KXGetRasterPixel(dc, 0, 2), 0u);      // (x + y) even: inverted
    EXPECT_EQ(KXGetRasterPixel(dc, 1, 2), kWhite);  // odd: left alone
    EXPECT_EQ(KXGetRasterPixel(dc, 9, 7), 0u);      // the bottom edge is y = 7
    EXPECT_EQ(KXGetRasterPixel(dc, 8, 7), kWhite);
    EXPECT_EQ(KXGetRasterPixel(dc, 9, 5), kWhite);  // inside the border
    EXPECT_EQ(KXGetRasterPixel(dc, 0, 4), kWhite);  // the side edges are off the bitmap
    DeleteDC(dc);
}

TEST(RecordingDC, KeepsTheCallSequenceAndPens) {
    HDC dc = KXCreateRecordingDC();
    EXPECT_EQ(SetBkColor(dc, 0x123456), kWhite);
    HPEN pen = MakePen(kRed, 2);
    HGDIOBJ stock = SelectObject(dc, pen);
    ASSERT_NE(stock, nullptr);
    POINT previous{-1, -1};
    MoveToEx(dc, 3, 4, &previous);
    LineTo(dc, 5, 6);
    SelectObject(dc, stock);
    const auto calls = kxplatform::RecordedCalls(dc);
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].op, GdiOp::SetBkColor);
    EXPECT_EQ(calls[0].color, 0x123456u);
    EXPECT_EQ(calls[1].op, GdiOp::SelectPen);
    EXPECT_EQ(calls[1].pen.lopnColor, kRed);
    EXPECT_EQ(calls[1].pen.lopnWidth.x, 2);
    EXPECT_EQ(calls[2].op, GdiOp::MoveTo);
    EXPECT_EQ(calls[3].op, GdiOp::LineTo);
    EXPECT_EQ(calls[3].x, 5);
    EXPECT_TRUE(calls[4].stockPen);
    EXPECT_EQ(previous.x, 0);
    kxplatform::ClearRecordedCalls(dc);
    EXPECT_TRUE(kxplatform::RecordedCalls(dc).empty());
    EXPECT_TRUE(DeleteObject(pen));
    DeleteDC(dc);
}

TEST(GdiObjects, SelectedPensAreNotFreedAndHandlesAreChecked) {
    const int before = KXGdiObjectCount();
    HDC dc = KXCreateRecordingDC();
    HPEN pen = MakePen(kRed, 0);
    EXPECT_EQ(KXGdiObjectCount(), before + 1);
    HGDIOBJ stock = SelectObject(dc, pen);
    // Still in use by the context: refused rather than left dangling.
    EXPECT_FALSE(DeleteObject(pen));
    SelectObject(dc, stock);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(KXGdiObjectCount(), before);
    EXPECT_TRUE(DeleteObject(stock));  // stock objects stay
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    EXPECT_FALSE(LineTo(nullptr, 1, 1));
    EXPECT_FALSE(MoveToEx(nullptr, 1, 1, nullptr));
    EXPECT_EQ(SetBkColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(KXGetRasterPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_FALSE(KXSaveDC(dc, "/tmp/never.png"));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(nullptr));
}

}  // namespace
