// A device context over an RGBA bitmap, drawn with GDI's rules: aliased
// lines, the last pixel of a LineTo left out, pen widths in device units
// (widths above one drawn with round ends). Saved as PNG.
#include <kxplatform/dc.h>

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "DeviceContext.h"
#include "PngRows.h"
#include "RasterBits.h"

namespace kxplatform {

namespace {

__extension__ typedef __int128 Wide;

// Pens wider than this cover any bitmap we accept; clamping keeps the
// row arithmetic finite for absurd widths.
constexpr double kMaxPenRadius = 4.0 * KX_RASTER_MAX_SIDE;

// Below this, 2 * t * delta fits 64 bits and the first step needs no
// 128-bit arithmetic.
constexpr std::int64_t kNarrowLimit = std::int64_t{1} << 30;

constexpr int kPngLevel = 4;
// The picture's data goes in chunks of at most this many bytes.
constexpr std::size_t kPngDataChunk = std::size_t{1} << 20;
const png_byte kPngDataTag[5] = "IDAT";
const png_byte kPngEndTag[5] = "IEND";

// floor(numerator / denominator) for a positive denominator.
Wide FloorDiv(Wide numerator, Wide denominator) {
    Wide q = numerator / denominator;
    if ((numerator % denominator != 0) && (numerator < 0)) --q;
    return q;
}

struct Span {
    double lo = 1.0;
    double hi = 0.0;
    bool Empty() const { return hi < lo; }
    void Merge(const Span& other) {
        if (other.Empty()) return;
        if (Empty()) {
            *this = other;
        } else {
            lo = std::min(lo, other.lo);
            hi = std::max(hi, other.hi);
        }
    }
};

// x values with lo <= c*x + k <= hi.
Span SolveLinear(double c, double k, double lo, double hi) {
    if (c == 0.0) {
        if (k >= lo && k <= hi) return {-1e300, 1e300};
        return {};
    }
    double a = (lo - k) / c;
    double b = (hi - k) / c;
    if (a > b) std::swap(a, b);
    return {a, b};
}

Span DiscRow(double cx, double cy, double r, double y) {
    const double dy = y - cy;
    if (std::fabs(dy) > r) return {};
    const double half = std::sqrt(r * r - dy * dy);
    return {cx - half, cx + half};
}

class RasterDC final : public DeviceContext {
public:
    RasterDC(int width, int height, COLORREF background)
        : m_width(width), m_height(height),
          m_pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        FillArea(0, 0, width, height, background);
    }

    COLORREF Pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
        std::uint8_t p[4];
        std::memcpy(p, &m_pixels[Index(x, y)], 4);
        return RGB(p[0], p[1], p[2]);
    }

    RasterBits Bits() const {
        return RasterBits{reinterpret_cast<const std::uint8_t*>(m_pixels.data()), m_width, m_height};
    }

    bool Save(const std::string& path) const override {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) return false;
        const bool written = WritePng(file);
        const bool closed = std::fclose(file) == 0;
        if (!(written && closed)) std::remove(path.c_str());
        return written && closed;
    }

private:
    // A drawing is mostly runs of the background and of a few pen colours:
    // a fast deflate level with the left-neighbour filter packs it within
    // twice the size the default level and adaptive filtering reach, in
    // well under half their time. The rows are deflated first (on two
    // threads for a large picture), then written as the picture's data.
    // libpng reports errors by jumping back to the setjmp: nothing between
    // here and there owns anything.
    bool WritePng(std::FILE* file) const {
        std::vector<std::uint8_t> data;
        if (!DeflatePngRows(reinterpret_cast<const std::uint8_t*>(m_pixels.data()), m_width, m_height, kPngLevel, data))
            return false;
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        if (png == nullptr) return false;
        png_infop info = png_create_info_struct(png);
        if (info == nullptr || setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            return false;
        }
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(m_width), static_cast<png_uint_32>(m_height), 8,
                     PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (std::size_t at = 0; at < data.size(); at += kPngDataChunk)
            png_write_chunk(png, kPngDataTag, data.data() + at, std::min(kPngDataChunk, data.size() - at));
        png_write_chunk(png, kPngEndTag, nullptr, 0);
        png_destroy_write_struct(&png, &info);
        return true;
    }

    void OnLineTo(POINT from, POINT to) override {
        if (from.x == to.x && from.y == to.y) return;
        const GdiObject& pen = CurrentPen();
        if (pen.Pen().lopnStyle == PS_NULL) return;
        if (pen.Width() <= 1)
            StrokeThin(from, to, pen.Color());
        else
            StrokeWide(from, to, pen.Width(), pen.Color());
    }

    void OnFill(const RECT& rect, COLORREF color) override {
        FillArea(rect.left, rect.top, rect.right, rect.bottom, color);
    }

    // GDI draws the focus rectangle by inverting every other pixel of the
    // border, so drawing it twice removes it.
    // Only the border pixels on the bitmap are visited, so a rectangle of
    // any size costs at most the bitmap's perimeter.
    void OnFocusRect(const RECT& rect) override {
        if (rect.right <= rect.left || rect.bottom <= rect.top) return;
        const long right = rect.right - 1;
        const long bottom = rect.bottom - 1;
        const long xFrom = std::max<long>(rect.left, 0), xTo = std::min<long>(right, m_width - 1);
        for (long x = xFrom; x <= xTo; ++x) {
            InvertDotted(x, rect.top);
            if (bottom != rect.top) InvertDotted(x, bottom);
        }
        const long yFrom = std::max<long>(rect.top + 1, 0), yTo = std::min<long>(bottom - 1, m_height - 1);
        for (long y = yFrom; y <= yTo; ++y) {
            InvertDotted(rect.left, y);
            if (right != rect.left) InvertDotted(right, y);
        }
    }

    // Steps along the major axis one pixel at a time, the minor coordinate
    // rounded from the exact slope; only the steps that land inside the
    // bitmap are visited, so a line of any length costs at most one row or
    // column of work.
    void StrokeThin(POINT from, POINT to, COLORREF colorRef) {
        const std::uint32_t color = Packed(colorRef);
        const std::int64_t dx = std::int64_t{to.x} - from.x;
        const std::int64_t dy = std::int64_t{to.y} - from.y;
        const bool xMajor = std::llabs(dx) >= std::llabs(dy);
        const std::int64_t major0 = xMajor ? from.x : from.y;
        const std::int64_t minor0 = xMajor ? from.y : from.x;
        const std::int64_t dMajor = xMajor ? dx : dy;
        const std::int64_t dMinor = xMajor ? dy : dx;
        const std::int64_t majorLimit = xMajor ? m_width : m_height;
        const std::int64_t minorLimit = xMajor ? m_height : m_width;
        const std::int64_t steps = std::llabs(dMajor);  // the last pixel is not drawn
        const std::int64_t dir = dMajor > 0 ? 1 : -1;

        std::int64_t tFirst = 0;
        std::int64_t tLast = steps - 1;
        if (dir > 0) {
            tFirst = std::max(tFirst, -major0);
            tLast = std::min(tLast, majorLimit - 1 - major0);
        } else {
            tFirst = std::max(tFirst, major0 - (majorLimit - 1));
            tLast = std::min(tLast, major0);
        }
        if (tFirst > tLast) return;
        // minor(t) = minor0 + floor((2 t dMinor + steps) / (2 steps)): the
        // first value exactly, then stepped with a remainder that stays in
        // [0, 2 steps), as Bresenham does.
        const std::int64_t denominator = 2 * steps;
        std::int64_t quotient = 0, remainder = 0;
        if (steps < kNarrowLimit && tFirst < kNarrowLimit) {
            const std::int64_t start = 2 * tFirst * dMinor + steps;
            quotient = start / denominator;
            remainder = start % denominator;
            if (remainder < 0) {
                remainder += denominator;
                --quotient;
            }
        } else {
            const Wide start = Wide{2} * tFirst * dMinor + steps;
            quotient = static_cast<std::int64_t>(FloorDiv(start, denominator));
            remainder = static_cast<std::int64_t>(start - Wide{quotient} * denominator);
        }
        const std::int64_t increment = 2 * dMinor;
        for (std::int64_t t = tFirst; t <= tLast; ++t) {
            const std::int64_t minor = minor0 + quotient;
            if (minor >= 0 && minor < minorLimit) {
                const std::int64_t major = major0 + dir * t;
                if (xMajor)
                    Put(static_cast<int>(major), static_cast<int>(minor), color);
                else
                    Put(static_cast<int>(minor), static_cast<int>(major), color);
            }
            remainder += increment;
            if (remainder >= denominator) {
                remainder -= denominator;
                ++quotient;
            } else if (remainder < 0) {
                remainder += denominator;
                --quotient;
            }
        }
    }

    // The pixels whose centres lie within width/2 of the segment: a
    // rectangle with round ends, filled row by row inside the bitmap.
    void StrokeWide(POINT from, POINT to, int width, COLORREF colorRef) {
        const std::uint32_t color = Packed(colorRef);
        const double r = std::min(width / 2.0, kMaxPenRadius);
        const double ax = from.x, ay = from.y, bx = to.x, by = to.y;
        const double dx = bx - ax, dy = by - ay;
        const double len2 = dx * dx + dy * dy;
        const double len = std::sqrt(len2);
        const double top = std::max(0.0, std::floor(std::min(ay, by) - r));
        const double bottom = std::min(m_height - 1.0, std::ceil(std::max(ay, by) + r));
        for (double y = top; y <= bottom; y += 1.0) {
            Span row = DiscRow(ax, ay, r, y);
            row.Merge(DiscRow(bx, by, r, y));
            // Along the segment: 0 <= (p - a).d <= |d|^2; across: |(p - a) x d| <= r |d|.
            const Span along = SolveLinear(dx, -ax * dx + (y - ay) * dy, 0.0, len2);
            const Span across = SolveLinear(dy, -ax * dy - (y - ay) * dx, -r * len, r * len);
            Span band{std::max(along.lo, across.lo), std::min(along.hi, across.hi)};
            row.Merge(band);
            if (row.Empty()) continue;
            const double left = std::max(0.0, std::ceil(row.lo));
            const double right = std::min(m_width - 1.0, std::floor(row.hi));
            const int yi = static_cast<int>(y);
            for (double x = left; x <= right; x += 1.0) Put(static_cast<int>(x), yi, color);
        }
    }

    // Right and bottom edges excluded, as GDI fills.
    void FillArea(long left, long top, long right, long bottom, COLORREF colorRef) {
        const std::uint32_t color = Packed(colorRef);
        const long x0 = std::max(0L, left), y0 = std::max(0L, top);
        const long x1 = std::min(static_cast<long>(m_width), right);
        const long y1 = std::min(static_cast<long>(m_height), bottom);
        for (long y = y0; y < y1; ++y)
            for (long x = x0; x < x1; ++x) Put(static_cast<int>(x), static_cast<int>(y), color);
    }

    void InvertDotted(long x, long y) {
        if (((x + y) & 1) != 0) return;
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
        std::uint8_t p[4];
        std::uint32_t& pixel = m_pixels[Index(static_cast<int>(x), static_cast<int>(y))];
        std::memcpy(p, &pixel, 4);
        for (int i = 0; i < 3; ++i) p[i] = static_cast<std::uint8_t>(~p[i]);
        std::memcpy(&pixel, p, 4);
    }

    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
    }

    // A colour as the four bytes R, G, B, A of one pixel in memory.
    static std::uint32_t Packed(COLORREF color) {
        const std::uint8_t bytes[4] = {GetRValue(color), GetGValue(color), GetBValue(color), 0xFF};
        std::uint32_t packed;
        std::memcpy(&packed, bytes, 4);
        return packed;
    }

    void Put(int x, int y, std::uint32_t packed) { m_pixels[Index(x, y)] = packed; }

    int m_width;
    int m_height;
    // RGBA bytes, one 32-bit word per pixel.
    std::vector<std::uint32_t> m_pixels;
};

}  // namespace

bool GetRasterBits(HDC dc, RasterBits& bits) {
    const auto* raster = dynamic_cast<const RasterDC*>(DeviceContext::FromHandle(dc));
    if (raster == nullptr) return false;
    bits = raster->Bits();
    return true;
}

}  // namespace kxplatform

HDC KXCreateRasterDC(int width, int height, COLORREF background) {
    if (width < 1 || height < 1 || width > KX_RASTER_MAX_SIDE || height > KX_RASTER_MAX_SIDE)
        return nullptr;
    if (static_cast<std::int64_t>(width) * height > KX_RASTER_MAX_PIXELS) return nullptr;
    try {
        return (new kxplatform::RasterDC(width, height, background))->Handle();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

COLORREF KXGetRasterPixel(HDC dc, int x, int y) {
    const auto* raster =
        dynamic_cast<const kxplatform::RasterDC*>(kxplatform::DeviceContext::FromHandle(dc));
    return raster != nullptr ? raster->Pixel(x, y) : CLR_INVALID;
}
