// Finishing (KXClose) a document of 1,000 ANSI31 hatches built through the
// C interface: a third over rectangles, a third over circles, a third over
// polygons with two holes each. Reports the clipped pieces and the pieces
// finished per second (goal: at least 2 million).
//
// Build Release, then: <build>/bin/clip_bench
#include <benchmark/benchmark.h>

#include <korvex/kxcore.h>

#include <cmath>
#include <vector>

#include "CKXDoc.h"

namespace {

constexpr int kHatches = 1000;
constexpr int kPerRow = 40;
constexpr double kCell = 120.0;  // each shape is about 100 units across

// ANSI31: 45 degrees, 3.175 apart, solid.
KXPatternRecord Ansi31() {
    const double a = 3.141592653589793 / 4.0;
    return KXPatternRecord{0, 0, 0, 0, 0.0, 0.0, std::cos(a), std::sin(a), 0.0, 3.175};
}

void AddRing(KXDOC doc, int region, double cx, double cy, double r, int sides) {
    std::vector<KXPoint> points;
    for (int i = 0; i <= sides; ++i) {
        const double a = 6.283185307179586 * i / sides;
        points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    KXClipRgnAdd(doc, region, points.data(), static_cast<int>(points.size()));
}

KXDOC BuildHatches() {
    KXDOC doc = KXCreateDocInstance();
    const KXPatternRecord ansi31 = Ansi31();
    const int pattern = KXHatchCreatePattern(doc, &ansi31);
    for (int i = 0; i < kHatches; ++i) {
        const double x = (i % kPerRow) * kCell, y = (i / kPerRow) * kCell;
        const int region = KXClipRgnCreate(doc);
        switch (i % 3) {
        case 0: {
            const KXPoint box[5] = {{x, y}, {x + 100, y}, {x + 100, y + 60}, {x, y + 60}, {x, y}};
            KXClipRgnAdd(doc, region, box, 5);
            break;
        }
        case 1: {
            const double centre[2] = {x + 50, y + 50};
            KXClipRgnAddCircle(doc, region, centre, 50.0);
            break;
        }
        default:
            AddRing(doc, region, x + 50, y + 50, 50.0, 7);
            AddRing(doc, region, x + 30, y + 50, 12.0, 12);
            AddRing(doc, region, x + 70, y + 50, 12.0, 5);
            break;
        }
        KXHATCH hatch = KXHatchCreate(doc);
        KXHatchAddPattern(doc, hatch, pattern);
        KXHatchSetClipRgn(doc, hatch, region);
    }
    return doc;
}

void BM_FinishAnsi31Hatches(benchmark::State& state) {
    std::size_t pieces = 0;
    for (auto _ : state) {
        state.PauseTiming();
        KXDOC doc = BuildHatches();
        state.ResumeTiming();
        KXClose(doc, 0);
        state.PauseTiming();
        pieces = static_cast<CKXDoc*>(doc)->GetEntList().size();
        KXDeleteDocInstance(doc);
        state.ResumeTiming();
    }
    state.counters["pieces"] = static_cast<double>(pieces);
    state.counters["pieces_per_s"] =
        benchmark::Counter(static_cast<double>(pieces), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FinishAnsi31Hatches)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
