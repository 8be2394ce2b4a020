#include "KXAntiAlias.h"

#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

// Solid brushes by colour, deleted with the cache.
class BrushCache {
public:
    BrushCache() = default;
    BrushCache(const BrushCache&) = delete;
    BrushCache& operator=(const BrushCache&) = delete;
    ~BrushCache() {
        for (const auto& entry : m_brushes) DeleteObject(entry.second);
    }
    HBRUSH Of(COLORREF colour) {
        HBRUSH& brush = m_brushes[colour];
        if (brush == nullptr) brush = CreateSolidBrush(colour);
        return brush;
    }

private:
    std::unordered_map<COLORREF, HBRUSH> m_brushes;
};

int Channel(COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// The rows of the large picture one row of blocks needs: the block's own
// rows and one above and below it (CLR_INVALID beyond the picture).
class Band {
public:
    Band(HDC source, int width, int factor) : m_source(source), m_width(width), m_factor(factor) {}

    void Load(int blockRow) {
        const int rows = m_factor + 2;
        m_top = blockRow * m_factor - 1;
        m_pixels.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(m_width));
        for (int r = 0; r < rows; ++r)
            for (int x = 0; x < m_width; ++x)
                m_pixels[static_cast<std::size_t>(r) * m_width + x] = KXGetRasterPixel(m_source, x, m_top + r);
    }
    // The pixel at large column x and large row y of the band.
    COLORREF At(int x, int y) const {
        if (x < 0 || x >= m_width) return CLR_INVALID;
        return m_pixels[static_cast<std::size_t>(y - m_top) * m_width + x];
    }

private:
    HDC m_source;
    int m_width;
    int m_factor;
    int m_top = 0;
    std::vector<COLORREF> m_pixels;
};

}  // namespace

HDC KXAntiAliased(HDC source, int width, int height, int factor, COLORREF background) {
    if (width <= 0 || height <= 0 || factor <= 0) return nullptr;
    HDC out = KXCreateRasterDC(width, height, background);
    if (out == nullptr) return nullptr;
    const auto inked = [background](COLORREF p) { return p != background && p != CLR_INVALID; };
    const int largeWidth = width * factor, rows = factor + 2;
    BrushCache brushes;
    Band band(source, largeWidth, factor);
    // Per band row: whether a large pixel or one beside it is inked.
    std::vector<std::uint8_t> beside(static_cast<std::size_t>(rows) * static_cast<std::size_t>(largeWidth));
    for (int y = 0; y < height; ++y) {
        band.Load(y);
        const int top = y * factor - 1;
        for (int r = 0; r < rows; ++r) {
            for (int sx = 0; sx < largeWidth; ++sx) {
                beside[static_cast<std::size_t>(r) * largeWidth + sx] =
                    inked(band.At(sx - 1, top + r)) || inked(band.At(sx, top + r)) || inked(band.At(sx + 1, top + r));
            }
        }
        for (int x = 0; x < width; ++x) {
            // Every stroke is widened by one large pixel on each side, as
            // an aliased line covers the whole pixels it passes through:
            // a large pixel counts as covered when it or a neighbour is
            // inked.
            int covered = 0;
            for (int r = 1; r <= factor; ++r) {
                for (int sx = x * factor; sx < (x + 1) * factor; ++sx) {
                    const std::size_t i = static_cast<std::size_t>(r) * largeWidth + sx;
                    covered += (beside[i - largeWidth] | beside[i] | beside[i + largeWidth]) != 0 ? 1 : 0;
                }
            }
            if (covered == 0) continue;
            // The mean colour of the ink that reaches the block.
            int count = 0, sum[3] = {0, 0, 0};
            for (int r = 0; r < rows; ++r) {
                for (int sx = x * factor - 1; sx <= (x + 1) * factor; ++sx) {
                    const COLORREF p = band.At(sx, top + r);
                    if (!inked(p)) continue;
                    ++count;
                    for (int c = 0; c < 3; ++c) sum[c] += Channel(p, 8 * c);
                }
            }
            const int area = factor * factor;
            int mixed[3];
            for (int c = 0; c < 3; ++c) {
                const int ink = sum[c] / count, back = Channel(background, 8 * c);
                mixed[c] = back + (ink - back) * covered / area;
            }
            const RECT pixel{x, y, x + 1, y + 1};
            FillRect(out, &pixel, brushes.Of(RGB(mixed[0], mixed[1], mixed[2])));
        }
    }
    return out;
}
