// Feeds random contours and random lines and polylines to the clip-region
// crossing code. The bytes are read as: a header (contour count, shape
// count, grid choice), then per contour a flag byte (plain or through a
// boundary path) and a point count with integer points, then per shape a
// kind byte (line or polyline) and its points. Whatever they hold, every
// kept piece must lie within the region's box and a line's pieces can never
// be longer than the line.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "CKXDoc.h"
#include "CKXLine.h"
#include "CKXPolyline.h"
#include "render/clip/CKXClip.h"
#include "render/clip/CKXClipRgn.h"
#include "render/clip/CKXPath.h"
#include "render/clip/KXClipRegions.h"

namespace {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool AtEnd() const { return m_pos >= m_size; }
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // A coordinate on a quarter-unit grid, within +-8192.
    double Coordinate()
    {
        const auto raw = static_cast<std::int16_t>(Byte() | (Byte() << 8));
        return raw / 4.0;
    }
    std::vector<CFltPoint> Points(std::size_t most)
    {
        const std::size_t count = 2 + Byte() % (most - 1);
        std::vector<CFltPoint> points;
        for (std::size_t i = 0; i < count && !AtEnd(); ++i) {
            const double x = Coordinate();
            points.push_back({x, Coordinate()});
        }
        return points;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// The document picks a grid its drawing fits in and that is finer than its
// detail: at the finest scale here every coordinate (16384 across) stays
// within 32 bits, and at the coarsest a quarter unit is 16 steps.
constexpr double kGridScales[] = {64.0, 256.0, 1000.0, 1.0e5};

struct Box {
    double xmin, ymin, xmax, ymax;
    // The grid rounds each point by up to one step, and a crossing found on
    // the grid maps back near the segment it was found on.
    bool Holds(const CFltPoint& p, double slack) const
    {
        return p.x >= xmin - slack && p.x <= xmax + slack && p.y >= ymin - slack && p.y <= ymax + slack;
    }
};

Box BoxOf(const CKXClipRgn& region)
{
    Box box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const auto& contour : region.GetContours())
        for (const CFltPoint& p : contour->GetPoints()) {
            box.xmin = std::min(box.xmin, p.x);
            box.ymin = std::min(box.ymin, p.y);
            box.xmax = std::max(box.xmax, p.x);
            box.ymax = std::max(box.ymax, p.y);
        }
    return box;
}

// How far a point lies outside the box, in grid steps (0 inside).
double StepsOutside(const Box& box, const CFltPoint& p, double step)
{
    const double dx = std::max({box.xmin - p.x, p.x - box.xmax, 0.0});
    const double dy = std::max({box.ymin - p.y, p.y - box.ymax, 0.0});
    return std::max(dx, dy) / step;
}

void CheckPoint(const Box& box, const CFltPoint& p, double slack, double step)
{
    if (!box.Holds(p, slack)) {
        std::fprintf(stderr, "clip_fuzzer: kept point (%.17g, %.17g) lies %.3f grid steps outside the region's box\n",
                     p.x, p.y, StepsOutside(box, p, step));
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteReader in(data, size);
    const std::uint8_t header = in.Byte();
    const int contours = 1 + (header & 3);
    const int shapes = 1 + ((header >> 2) & 3);
    const bool ownGrid = (header & 0x80) != 0;
    const double scale = kGridScales[(header >> 4) & 3];

    CKXDoc doc;
    CKXClipRgn region;
    for (int c = 0; c < contours && !in.AtEnd(); ++c) {
        const bool throughPath = (in.Byte() & 1) != 0;
        std::vector<CFltPoint> points = in.Points(16);
        if (points.size() < 2)
            break;  // the input ran out
        // A contour or piece the region refuses is simply left out.
        if (!throughPath) {
            static_cast<void>(kxclip::AddContour(region, std::move(points)));
            continue;
        }
        // Two pieces chained by nearest ends.
        CKXPath path;
        const std::size_t half = points.size() / 2;
        std::vector<CFltPoint> first(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(half + 1));
        std::vector<CFltPoint> second(points.begin() + static_cast<std::ptrdiff_t>(half), points.end());
        static_cast<void>(path.AddPolyline(doc, std::move(first), nullptr));
        static_cast<void>(path.AddPolyline(doc, std::move(second), nullptr));
        static_cast<void>(kxclip::AddPathContour(region, path));
    }
    if (region.IsEmpty())
        return 0;
    if (ownGrid)
        region.EnsureGrid();
    else
        region.Quantise(scale, {-8192.0, -8192.0});

    const Box box = BoxOf(region);
    // Edges collinear with a line in the drawing need not be so on the grid
    // (each end is truncated on its own): their crossings with it can land a
    // few steps along the line.
    const double step = 1.0 / region.GetGridScale();
    const double slack = 8.0 * step + 1e-9 * (std::fabs(box.xmax) + std::fabs(box.ymax) + 8192.0);

    CKXClip clip(region, false);
    for (int s = 0; s < shapes && !in.AtEnd(); ++s) {
        const bool polyline = (in.Byte() & 1) != 0;
        std::vector<CFltPoint> points = in.Points(polyline ? 12 : 2);
        if (points.size() < 2)
            break;
        if (!polyline) {
            const CKXLine line(points[0], points[1]);
            std::vector<std::unique_ptr<CKXLine>> pieces;
            clip.Clip(line, pieces);
            double kept = 0.0;
            for (const auto& piece : pieces) {
                CheckPoint(box, piece->GetStart(), slack, step);
                CheckPoint(box, piece->GetEnd(), slack, step);
                kept += std::hypot(piece->GetEnd().x - piece->GetStart().x, piece->GetEnd().y - piece->GetStart().y);
            }
            const double length = std::hypot(points[1].x - points[0].x, points[1].y - points[0].y);
            if (kept > length + 4.0 * slack * static_cast<double>(pieces.size() + 1)) {
                std::fprintf(stderr, "clip_fuzzer: %zu pieces keep %.17g of a line %.17g long (%.3f grid steps more)\n",
                             pieces.size(), kept, length, (kept - length) / step);
                std::abort();
            }
            continue;
        }
        const CKXPolyline shape(std::move(points));
        std::vector<std::unique_ptr<CKXPolyline>> pieces;
        clip.Clip(shape, pieces);
        for (const auto& piece : pieces) {
            if (piece->GetPoints().size() < 2)
                std::abort();
            for (const CFltPoint& p : piece->GetPoints())
                CheckPoint(box, p, slack, step);
        }
    }
    return 0;
}
