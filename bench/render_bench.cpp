// Drawing a large document into a 2048 x 2048 raster context: the full
// drawing, and a zoom into 1% of its area (the quadtree must cull the rest).
//
// Build Release, then: <build>/bin/render_bench
#include <benchmark/benchmark.h>

#include <korvex/kxcore.h>
#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <random>

#include "CKXDoc.h"

namespace {

constexpr int kSide = 2048;
constexpr double kArea = 10000.0;  // the drawing spans kArea x kArea units
constexpr int kEntities = 1000000;

// 1M entities spread evenly: 60% short lines, 20% arcs, 20% circles, in a
// few colours so that pens change along the stream.
KXDOC BuildLargeDocument() {
    KXDOC doc = KXCreateDocInstance();
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> where(0.0, kArea);
    std::uniform_real_distribution<double> offset(-10.0, 10.0);
    std::uniform_real_distribution<double> radius(0.5, 10.0);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
    int colours[4];
    for (int i = 0; i < 4; ++i) colours[i] = KXAttribColor(doc, RGB(60 * i, 255 - 60 * i, 128));
    for (int i = 0; i < kEntities; ++i) {
        if (i % 10000 == 0) {
            tagKXAttrib attrib{0, colours[(i / 10000) % 4], 0, 0, 0};
            KXAttribSet(doc, &attrib);
        }
        const double centre[2] = {where(random), where(random)};
        const int kind = i % 10;
        if (kind < 6) {
            const double end[2] = {centre[0] + offset(random), centre[1] + offset(random)};
            KXAddLine(doc, centre, end, nullptr, nullptr);
        } else if (kind < 8) {
            KXAddArc(doc, centre, radius(random), angle(random), angle(random), nullptr, nullptr);
        } else {
            KXAddCircle(doc, centre, radius(random), nullptr, nullptr);
        }
    }
    KXClose(doc, 0);
    return doc;
}

KXDOC LargeDocument() {
    static KXDOC doc = BuildLargeDocument();
    return doc;
}

void DrawWindow(benchmark::State& state, double xmin, double ymin, double xmax, double ymax) {
    KXDOC doc = LargeDocument();
    HDC dc = KXCreateRasterDC(kSide, kSide, 0xFFFFFF);
    const KXDrawRequest request{0, RECT{0, 0, kSide, kSide}, xmin, ymin, xmax, ymax, dc};
    for (auto _ : state) benchmark::DoNotOptimize(KXDraw(doc, &request));
    state.counters["entities"] = static_cast<double>(static_cast<CKXDoc*>(doc)->GetCount());
    DeleteDC(dc);
}

void BM_DrawFull(benchmark::State& state) {
    DrawWindow(state, 0.0, 0.0, kArea, kArea);
}

// 10% of each side: 1% of the drawing's area.
void BM_DrawZoomOnePercent(benchmark::State& state) {
    DrawWindow(state, 0.45 * kArea, 0.45 * kArea, 0.55 * kArea, 0.55 * kArea);
}

void BM_DrawFullRecording(benchmark::State& state) {
    KXDOC doc = LargeDocument();
    const KXDrawRequest base{0, RECT{0, 0, kSide, kSide}, 0.0, 0.0, kArea, kArea, nullptr};
    for (auto _ : state) {
        state.PauseTiming();
        HDC dc = KXCreateRecordingDC();
        KXDrawRequest request = base;
        request.dc = dc;
        state.ResumeTiming();
        KXDraw(doc, &request);
        state.PauseTiming();
        DeleteDC(dc);
        state.ResumeTiming();
    }
}

// 200k dashed lines: the walk itself, and the cached pattern scaling on a
// redraw at the same zoom.
KXDOC BuildStyledDocument() {
    KXDOC doc = KXCreateDocInstance();
    const double elements[4] = {20.0, -10.0, 0.0, -10.0};
    const tagKXLineStyle dashDot{1, 4, elements};
    tagKXAttrib attrib{0, 0, KXAttribLineStyle(doc, &dashDot), 0, 0};
    KXAttribSet(doc, &attrib);
    std::mt19937 random(6789);
    std::uniform_real_distribution<double> where(0.0, kArea);
    std::uniform_real_distribution<double> offset(-150.0, 150.0);
    for (int i = 0; i < 200000; ++i) {
        const double start[2] = {where(random), where(random)};
        const double end[2] = {start[0] + offset(random), start[1] + offset(random)};
        KXAddLine(doc, start, end, nullptr, nullptr);
    }
    KXClose(doc, 0);
    return doc;
}

void BM_DrawStyled(benchmark::State& state) {
    static KXDOC doc = BuildStyledDocument();
    HDC dc = KXCreateRasterDC(kSide, kSide, 0xFFFFFF);
    const KXDrawRequest request{0, RECT{0, 0, kSide, kSide}, 0.0, 0.0, kArea, kArea, dc};
    for (auto _ : state) benchmark::DoNotOptimize(KXDraw(doc, &request));
    DeleteDC(dc);
}

}  // namespace

BENCHMARK(BM_DrawStyled)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_DrawFull)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DrawZoomOnePercent)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_DrawFullRecording)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
