// Text against polylines: 100,000 text lines of 20 characters laid out,
// finished and written (KXAddText, KXClose, KXWrite) against 100,000
// polylines of 20 segments through the same steps. Reports the seconds of
// each step and, for text, the number of glyph instances the document keeps
// (shared: it stays small while heights and angles repeat).
//
//   cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-rel -j2 --target text_bench kxresources
//   build-rel/bin/text_bench
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <korvex/kxcore.h>

#include "CKXDoc.h"
#include "text/CKXGlyphStore.h"

namespace {

constexpr int kEntities = 100000;
constexpr int kCharacters = 20;
constexpr int kSegments = 20;

struct Random {
    unsigned seed = 12345;
    double Next() {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) & 0xFFFF) / 65536.0;
    }
};

// Room labels of a large plan: three heights, upright or turned a quarter.
void AddTexts(KXDOC doc) {
    Random random;
    const double heights[] = {2.5, 3.5, 5.0};
    char text[kCharacters + 1];
    for (int i = 0; i < kEntities; ++i) {
        std::snprintf(text, sizeof text, "Room %05d Level %03d", i % 100000, i % 997);
        tagKXText p{};
        p.x = random.Next() * 10000.0;
        p.y = random.Next() * 10000.0;
        p.height = heights[i % 3];
        p.widthFactor = 1.0;
        p.angle = i % 5 == 0 ? 1.5707963267948966 : 0.0;
        KXAddText(doc, text, &p);
    }
}

void AddPolylines(KXDOC doc) {
    Random random;
    std::vector<KXPoint> points(kSegments + 1);
    for (int i = 0; i < kEntities; ++i) {
        const double x = random.Next() * 10000.0;
        const double y = random.Next() * 10000.0;
        for (int k = 0; k <= kSegments; ++k)
            points[static_cast<std::size_t>(k)] = {x + k * 2.0, y + random.Next() * 3.0};
        KXAddPolyline(doc, points.data(), kSegments + 1, nullptr, nullptr);
    }
}

template <void (*Build)(KXDOC)>
void BM_AddCloseWrite(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "kx_text_bench.pdb").string();
    double add = 0.0, close = 0.0, write = 0.0;
    int instances = 0;
    for (auto _ : state) {
        KXDOC doc = KXCreateDocInstance();
        const auto t0 = std::chrono::steady_clock::now();
        Build(doc);
        const auto t1 = std::chrono::steady_clock::now();
        KXClose(doc, 0);
        const auto t2 = std::chrono::steady_clock::now();
        if (KXWrite(doc, path.c_str()) != 1) state.SkipWithError("KXWrite failed");
        const auto t3 = std::chrono::steady_clock::now();
        state.PauseTiming();
        add += std::chrono::duration<double>(t1 - t0).count();
        close += std::chrono::duration<double>(t2 - t1).count();
        write += std::chrono::duration<double>(t3 - t2).count();
        const CKXGlyphStore* store = static_cast<CKXDoc*>(doc)->GetGlyphStore();
        instances = store ? store->GetCount() : 0;
        KXDeleteDocInstance(doc);
        state.ResumeTiming();
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["add_s"] = add / n;
    state.counters["close_s"] = close / n;
    state.counters["write_s"] = write / n;
    state.counters["total_s"] = (add + close + write) / n;
    state.counters["glyph_instances"] = instances;
    std::filesystem::remove(path);
}

}  // namespace

BENCHMARK_TEMPLATE(BM_AddCloseWrite, AddTexts)->Name("Text100k")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_TEMPLATE(BM_AddCloseWrite, AddPolylines)->Name("Polyline100k")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
