// A read into a real engine document, inspected through the exports and
// by drawing it.
#include <korvex/kxdoc.h>
#include <korvex/kxdraw.h>
#include <kxplatform/GdiRecording.h>
#include <kxplatform/dc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "DxfTestSupport.h"

namespace kxdxf::test {
namespace {

class EngineDocumentTest : public TranslatorTest {
protected:
    void SetUp() override
    {
        TranslatorTest::SetUp();
        doc_ = KXCreateDocInstance();
        ASSERT_NE(nullptr, doc_);
    }
    void TearDown() override
    {
        if (doc_)
            KXDeleteDocInstance(doc_);
        TranslatorTest::TearDown();
    }
    KXDOC doc_ = nullptr;
};

TEST_F(EngineDocumentTest, LayersPropertiesAndLayoutReachTheDocument)
{
    const std::vector<std::string> tables = section(
        "TABLES", {"0", "TABLE", "2", "LAYER", "70", "2", "0", "LAYER", "2", "Visible", "70", "0", "62", "1",
                   "0", "LAYER", "2", "Locked", "70", "4", "62", "3", "0", "ENDTAB"});
    const std::vector<std::string> header =
        section("HEADER", {"9", "$ACADVER", "1", "AC1015", "9", "$MEASUREMENT", "70", "0"});
    const std::vector<std::string> entities =
        section("ENTITIES", {"0", "LINE", "8", "Visible", "10", "0", "20", "0", "11", "1", "21", "1", "0",
                             "CIRCLE", "8", "Undefined", "10", "0", "20", "0", "40", "1"});
    const std::string path = writeFile("doc.dxf", joinLines(concat({header, tables, entities, eofLines()})));

    clsTranslator translator(clsEngineApi::engine(), doc_);
    ASSERT_EQ(1, translator.read(path.c_str()));

    ASSERT_EQ(3, KXGetNumLayers(doc_));
    const char* name = nullptr;
    int state = -1;
    COLORREF color = 0;
    ASSERT_NE(0, KXGetLayer(doc_, 1, &name, &state, &color));
    EXPECT_STREQ("Visible", name);
    EXPECT_EQ(1, state & 1);
    EXPECT_EQ(0x0000FFu, color);
    ASSERT_NE(0, KXGetLayer(doc_, 2, &name, &state, &color));
    EXPECT_STREQ("Locked", name);
    EXPECT_EQ(0, state & 1);
    ASSERT_NE(0, KXGetLayer(doc_, 3, &name, &state, &color));
    EXPECT_STREQ("Undefined", name);

    ASSERT_EQ(3, KXGetNumProperties(doc_));
    std::vector<KXPropertyPair> pairs(3);
    ASSERT_NE(0, KXGetProperties(doc_, pairs.data()));
    EXPECT_STREQ("DXF DRAWING PROPERTIES", pairs[0].name);
    EXPECT_STREQ("AutoCAD 2000 DXF", pairs[1].value);
    EXPECT_STREQ("English", pairs[2].value);
    EXPECT_GE(KXGetNumLayouts(doc_), 1);
}

using Points = std::vector<KXPoint>;

double distance(KXPoint a, KXPoint b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

// A fit-point SPLINE read into a real document and drawn: the device
// points of its polyline, back in drawing units (100000 device units
// show 0..10 in both axes).
class FitSplineDrawingTest : public EngineDocumentTest {
protected:
    Points drawn(const std::vector<std::string>& spline)
    {
        const std::string path = writeFile(
            "fit.dxf", joinLines(concat({headerSection("AC1018"), section("ENTITIES", spline), eofLines()})));
        clsTranslator translator(clsEngineApi::engine(), doc_);
        EXPECT_EQ(1, translator.read(path.c_str()));
        EXPECT_EQ(1, KXClose(doc_, 0));
        HDC dc = KXCreateRecordingDC();
        const KXDrawRequest request{0, RECT{0, 0, kSide, kSide}, 0, 0, 10, 10, dc};
        EXPECT_EQ(1, KXDraw(doc_, &request));
        Points points;
        for (const kxplatform::GdiCall& call : kxplatform::RecordedCalls(dc)) {
            if (call.op == kxplatform::GdiOp::MoveTo || call.op == kxplatform::GdiOp::LineTo)
                points.push_back({call.x * 10.0 / kSide, 10.0 - call.y * 10.0 / kSide});
        }
        DeleteDC(dc);
        return points;
    }

    static constexpr int kSide = 100000;
};

std::vector<std::string> fitSpline(const Points& fits, const std::vector<std::string>& more = {})
{
    std::vector<std::string> lines{"0", "SPLINE", "8", "0", "70", "8", "71", "3", "72", "0", "73", "0", "74",
        std::to_string(fits.size())};
    lines.insert(lines.end(), more.begin(), more.end());
    for (const KXPoint& p : fits) {
        char x[32];
        char y[32];
        std::snprintf(x, sizeof x, "%.17g", p.x);
        std::snprintf(y, sizeof y, "%.17g", p.y);
        lines.insert(lines.end(), {"11", x, "21", y, "31", "0"});
    }
    return lines;
}

double distanceToPolyline(KXPoint p, const Points& line)
{
    double best = HUGE_VAL;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const KXPoint a = line[i];
        const KXPoint b = line[i + 1];
        const double length2 = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
        double t = length2 > 0 ? ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / length2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        best = std::min(best, distance(p, {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}));
    }
    return best;
}

TEST_F(FitSplineDrawingTest, DrawnThroughItsFitPoints)
{
    const Points fits{{1, 1}, {2, 2.5}, {3.5, 1.2}, {4.5, 2.2}};
    const Points line = drawn(fitSpline(fits));
    ASSERT_GE(line.size(), 50u);
    const double unit = 10.0 / kSide;  // one device unit
    EXPECT_NEAR(1.0, line.front().x, unit);
    EXPECT_NEAR(1.0, line.front().y, unit);
    EXPECT_NEAR(4.5, line.back().x, unit);
    EXPECT_NEAR(2.2, line.back().y, unit);
    // 100 chords of a curve about 5 long pass within a small part of a
    // percent of every point on it.
    double chord = 0;
    for (std::size_t i = 1; i < fits.size(); ++i)
        chord += distance(fits[i - 1], fits[i]);
    for (const KXPoint& p : fits)
        EXPECT_LT(distanceToPolyline(p, line), 0.002 * chord) << p.x << "," << p.y;
}

TEST_F(FitSplineDrawingTest, StartsAlongTheGivenTangent)
{
    // Start tangent straight up, end tangent straight down.
    const Points line = drawn(fitSpline(
        {{2, 2}, {5, 2}, {8, 2}}, {"12", "0", "22", "4", "32", "0", "13", "0", "23", "-1", "33", "0"}));
    ASSERT_GE(line.size(), 50u);
    const std::size_t n = line.size();
    // The first and last chords of the 100 lean less than 6 degrees.
    EXPECT_GT(line[1].y - line[0].y, 10 * std::fabs(line[1].x - line[0].x));
    EXPECT_GT(line[n - 2].y - line[n - 1].y, 10 * std::fabs(line[n - 2].x - line[n - 1].x));
}

TEST_F(FitSplineDrawingTest, TwoFitPointsDrawAStraightLine)
{
    const Points line = drawn(fitSpline({{1, 1}, {9, 5}}));
    ASSERT_GE(line.size(), 2u);
    for (const KXPoint& p : line)
        EXPECT_NEAR(0.0, (p.x - 1) * 4 - (p.y - 1) * 8, 10 * 10.0 / kSide);
}

}  // namespace
}  // namespace kxdxf::test
