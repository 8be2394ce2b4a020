// Block explosion at finishing: 100,000 references to a block of 20 lines,
// and five levels of nested references (ten per level, 100,000 placed
// lines). Reports entities placed per second by KXClose and the process's
// peak resident memory against what the placed entities need themselves.
//
//   cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-rel -j2 --target block_bench
//   build-rel/bin/block_bench
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstring>
#include <string>

#include <korvex/kxcore.h>

#include "CKXDoc.h"
#include "CKXLine.h"

namespace {

void Start(KXDOC doc, const std::string& name) {
    tagKXBlockDef def{};
    std::strncpy(def.name, name.c_str(), sizeof def.name - 1);
    KXStartBlock(doc, &def);
}

void AddLines(KXDOC doc, int count) {
    for (int i = 0; i < count; ++i) {
        const double a[2] = {0.0, double(i)}, b[2] = {1.0, double(i) + 0.5};
        KXAddLine(doc, a, b, nullptr, nullptr);
    }
}

KXDOC FlatInserts() {
    KXDOC doc = KXCreateDocInstance();
    Start(doc, "CHAIR");
    AddLines(doc, 20);
    KXEndBlock(doc);
    for (int i = 0; i < 100000; ++i) {
        const tagKXInsert at{double(i % 300) * 3.0, double(i / 300) * 25.0, 0.3 * (i % 7), 1.0, 1.0};
        KXInsertBlockStr(doc, "CHAIR", &at, nullptr);
    }
    return doc;
}

KXDOC NestedInserts() {
    KXDOC doc = KXCreateDocInstance();
    Start(doc, "L0");
    AddLines(doc, 1);
    KXEndBlock(doc);
    for (int level = 1; level <= 5; ++level) {
        Start(doc, "L" + std::to_string(level));
        for (int i = 0; i < 10; ++i) {
            const tagKXInsert at{double(i) * 2.0, 0.0, 0.1, 1.0, 1.0};
            KXInsertBlockStr(doc, ("L" + std::to_string(level - 1)).c_str(), &at, nullptr);
        }
        KXEndBlock(doc);
    }
    const tagKXInsert at{0, 0, 0, 1, 1};
    KXInsertBlockStr(doc, "L5", &at, nullptr);
    return doc;
}

void Finish(benchmark::State& state, KXDOC (*make)()) {
    std::size_t placed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        KXDOC doc = make();
        state.ResumeTiming();
        KXClose(doc, 0);
        state.PauseTiming();
        placed = static_cast<CKXDoc*>(doc)->GetEntList().size();
        KXDeleteDocInstance(doc);
        state.ResumeTiming();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["entities"] = double(placed);
    state.counters["entities/s"] = benchmark::Counter(double(placed), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak MB"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["entities MB"] = double(placed * (sizeof(CKXLine) + sizeof(KXEntPtr))) / 1048576.0;
}

void BM_FlatInserts(benchmark::State& state) { Finish(state, FlatInserts); }
void BM_NestedInserts(benchmark::State& state) { Finish(state, NestedInserts); }

BENCHMARK(BM_FlatInserts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NestedInserts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
