// Construction and indexing speed of the document model, and the heap cost
// of a stored line. Run from a Release build:
//   core_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdint>
#include <random>
#include <vector>

#include <korvex/kxcore.h>

#include "CKXDoc.h"

namespace {

constexpr int kLines = 1000000;

struct Segment {
    double a[2];
    double b[2];
};

const std::vector<Segment>& RandomSegments() {
    static const std::vector<Segment> segments = [] {
        std::mt19937_64 rng(42);
        std::uniform_real_distribution<double> pos(0.0, 10000.0);
        std::uniform_real_distribution<double> len(-20.0, 20.0);
        std::vector<Segment> out(kLines);
        for (Segment& s : out) {
            s.a[0] = pos(rng);
            s.a[1] = pos(rng);
            s.b[0] = s.a[0] + len(rng);
            s.b[1] = s.a[1] + len(rng);
        }
        return out;
    }();
    return segments;
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_KXAddLine(benchmark::State& state) {
    const auto& segments = RandomSegments();
    for (auto _ : state) {
        state.PauseTiming();
        KXDOC doc = KXCreateDocInstance();
        state.ResumeTiming();
        for (const Segment& s : segments) benchmark::DoNotOptimize(KXAddLine(doc, s.a, s.b, nullptr, nullptr));
        state.PauseTiming();
        KXDeleteDocInstance(doc);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_KXAddLine)->Unit(benchmark::kMillisecond);

void BM_HeapPerLine(benchmark::State& state) {
    const auto& segments = RandomSegments();
    double perLine = 0.0;
    for (auto _ : state) {
        KXDOC doc = KXCreateDocInstance();
        const std::size_t before = HeapInUse();
        for (const Segment& s : segments) KXAddLine(doc, s.a, s.b, nullptr, nullptr);
        const std::size_t after = HeapInUse();
        perLine = static_cast<double>(after - before) / kLines;
        state.PauseTiming();
        KXDeleteDocInstance(doc);
        state.ResumeTiming();
    }
    state.counters["heap_bytes_per_line"] = perLine;
}
BENCHMARK(BM_HeapPerLine)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TreeInsert(benchmark::State& state) {
    const auto& segments = RandomSegments();
    KXDOC handle = KXCreateDocInstance();
    for (const Segment& s : segments) KXAddLine(handle, s.a, s.b, nullptr, nullptr);
    CKXDoc& doc = *static_cast<CKXDoc*>(handle);
    for (auto _ : state) {
        doc.BuildTree();
        benchmark::DoNotOptimize(doc.Tree().Size());
    }
    state.SetItemsProcessed(state.iterations() * doc.GetCount());
    KXDeleteDocInstance(handle);
}
BENCHMARK(BM_TreeInsert)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
