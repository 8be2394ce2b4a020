// Hatches drawn into a raster picture: strokes inside the boundaries only,
// islands left open, a solid fill's outline shown. Set KX_CLIP_PICTURE to a
// file name to keep the picture as PNG for a look.
#include <gtest/gtest.h>

#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <cmath>
#include <cstdlib>

#include "ClipTestSupport.h"

using namespace cliptest;

namespace {

constexpr int kSide = 400;  // pixels for 0..200 drawing units: 2 per unit
constexpr COLORREF kWhite = 0xFFFFFF;

KXPatternRecord Lines(double angleDeg, double spacing) {
    const double a = angleDeg * 3.141592653589793 / 180.0;
    return KXPatternRecord{0, 0, 0, 0, 0.0, 0.0, std::cos(a), std::sin(a), 0.0, spacing};
}

void AddHatch(KXDOC doc, int region, const std::vector<KXPatternRecord>& patterns) {
    KXHATCH hatch = KXHatchCreate(doc);
    for (const auto& p : patterns) KXHatchAddPattern(doc, hatch, KXHatchCreatePattern(doc, &p));
    KXHatchSetClipRgn(doc, hatch, region);
}

// Drawn pixels in the device box (x0, y0)..(x1, y1), exclusive of its edge.
int Inked(HDC dc, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0 + 1; y < y1; ++y)
        for (int x = x0 + 1; x < x1; ++x)
            if (KXGetRasterPixel(dc, x, y) != kWhite) ++n;
    return n;
}

}  // namespace

TEST(HatchPicture, FillsInsideBoundariesAndLeavesIslandsOpen) {
    Doc doc;
    // A square with a square island, a circle, and a solid fill.
    const int framed = RegionOf(doc, {Square(10, 10, 90, 90), Square(35, 35, 65, 65)});
    AddHatch(doc, framed, {Lines(45, 3.175)});
    const int round = KXClipRgnCreate(doc);
    const double centre[2] = {150, 50};
    KXClipRgnAddCircle(doc, round, centre, 40.0);
    AddHatch(doc, round, {Lines(45, 4.0), Lines(135, 4.0)});
    const int solid = RegionOf(doc, {Square(110, 110, 190, 190)});
    AddHatch(doc, solid, {});
    // The drawing's frame gives it its extents.
    const KXPoint frame[5] = {{0, 0}, {200, 0}, {200, 200}, {0, 200}, {0, 0}};
    KXAddPolyline(doc, frame, 5, nullptr, nullptr);
    ASSERT_EQ(KXClose(doc, 0), 1);

    HDC dc = KXCreateRasterDC(kSide, kSide, kWhite);
    ASSERT_NE(dc, nullptr);
    KXSetBgColor(doc, kWhite);
    const KXDrawRequest request{0, RECT{0, 0, kSide, kSide}, 0, 0, 200, 200, dc};
    ASSERT_EQ(KXDraw(doc, &request), 1);
    if (const char* keep = std::getenv("KX_CLIP_PICTURE")) KXSaveDC(dc, keep);

    // Device y runs down: drawing y becomes 400 - 2y.
    const auto box = [&](double x0, double y0, double x1, double y1) {
        return Inked(dc, static_cast<int>(2 * x0), static_cast<int>(kSide - 2 * y1), static_cast<int>(2 * x1),
                     static_cast<int>(kSide - 2 * y0));
    };
    EXPECT_GT(box(12, 12, 33, 88), 200);             // the hatched frame
    EXPECT_EQ(box(36, 36, 64, 64), 0);               // its island
    EXPECT_EQ(box(92, 12, 108, 88), 0);              // between the shapes
    EXPECT_GT(box(130, 30, 170, 70), 200);           // the circle
    EXPECT_EQ(box(111, 111, 189, 189), 0);           // the solid fill's inside...
    EXPECT_GT(box(108, 108, 192, 112), 50);          // ...and its outline
    // Nothing outside the circle's box near it.
    EXPECT_EQ(box(192, 2, 198, 98), 0);
    DeleteDC(dc);
}
