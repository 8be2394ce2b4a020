// Drawing a document through the engine and its drawing file through the
// file reader into raster pictures, and comparing their ink.
#pragma once

#include <korvex/kxcore.h>
#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <memory>
#include <string>
#include <vector>

#include "CKXPdbDrawing.h"
#include "CKXPdbPainter.h"

namespace pdbdrawtest {

constexpr COLORREF kWhite = 0xFFFFFF;

// A raster picture as ink flags (any pixel not of the background).
struct Ink {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    std::size_t Count() const {
        std::size_t n = 0;
        for (std::uint8_t p : pixels) n += p;
        return n;
    }
    bool At(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && pixels[static_cast<std::size_t>(y) * width + x] != 0;
    }
};

inline Ink InkOf(HDC dc, int width, int height) {
    Ink ink{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, 0)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ink.pixels[static_cast<std::size_t>(y) * width + x] = KXGetRasterPixel(dc, x, y) != kWhite ? 1 : 0;
    return ink;
}

// The share of a's ink that has ink of b within one pixel (1 when a has none).
inline double CoveredShare(const Ink& a, const Ink& b) {
    std::size_t ink = 0, covered = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (!a.At(x, y)) continue;
            ++ink;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) near = b.At(x + dx, y + dy);
            covered += near ? 1 : 0;
        }
    }
    return ink == 0 ? 1.0 : static_cast<double>(covered) / static_cast<double>(ink);
}

// The window both pictures show: the drawing's extents with a margin.
struct Window {
    double xmin, ymin, xmax, ymax;
    int width, height;
};

inline Window WindowOf(const KXPdbDrawingInfo& info, int side) {
    const double w = info.maxX - info.minX, h = info.maxY - info.minY;
    const double margin = std::max(std::max(w, h) * 0.01, 1e-3);
    Window window{info.minX - margin, info.minY - margin, info.maxX + margin, info.maxY + margin, side, side};
    const double ww = window.xmax - window.xmin, wh = window.ymax - window.ymin;
    if (ww >= wh)
        window.height = std::max(1, static_cast<int>(side * wh / ww));
    else
        window.width = std::max(1, static_cast<int>(side * ww / wh));
    return window;
}

// Draws through the engine; the picture is kept when path is not empty.
inline Ink DrawDocument(KXDOC doc, const Window& w, int mode, const std::string& path = {}) {
    HDC dc = KXCreateRasterDC(w.width, w.height, kWhite);
    KXSetDisplayMode(doc, mode);
    const KXDrawRequest request{0, RECT{0, 0, w.width, w.height}, w.xmin, w.ymin, w.xmax, w.ymax, dc};
    KXDraw(doc, &request);
    if (!path.empty()) KXSaveDC(dc, path.c_str());
    Ink ink = InkOf(dc, w.width, w.height);
    DeleteDC(dc);
    return ink;
}

// Draws a drawing file through the reader.
inline Ink DrawFile(const CKXPdbDrawing& drawing, const Window& w, int mode, const std::string& path = {}) {
    HDC dc = KXCreateRasterDC(w.width, w.height, kWhite);
    CKXPdbPainter painter(drawing);
    painter.SetDisplayMode(mode);
    painter.Draw(dc, RECT{0, 0, w.width, w.height}, w.xmin, w.ymin, w.xmax, w.ymax);
    if (!path.empty()) KXSaveDC(dc, path.c_str());
    Ink ink = InkOf(dc, w.width, w.height);
    DeleteDC(dc);
    return ink;
}

}  // namespace pdbdrawtest
