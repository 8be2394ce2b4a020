// Finishing and writing a large drawing: 1,000,000 lines and 100,000
// circles. Reports the seconds of KXClose and of KXWrite and the memory the
// write needs beyond the finished document (peak resident size during the
// write minus the resident size before it).
//
//   cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-rel -j2 --target file_bench
//   build-rel/bin/file_bench
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <korvex/kxcore.h>

namespace {

constexpr int kLines = 1000000;
constexpr int kCircles = 100000;

// A resident-size figure from /proc/self/status, in bytes.
long long StatusBytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t keyLength = std::strlen(key);
    while (std::getline(status, line)) {
        if (line.compare(0, keyLength, key) == 0) return std::stoll(line.substr(keyLength + 1)) * 1024;
    }
    return -1;
}

// Starts a new peak-resident-size measurement.
void ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

KXDOC BuildDocument() {
    KXDOC doc = KXCreateDocInstance();
    // A scatter of short lines and small circles over a 10 km square: the
    // shape of a large site plan.
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) & 0xFFFF) / 65536.0;
    };
    for (int i = 0; i < kLines; ++i) {
        const double x = next() * 10000.0;
        const double y = next() * 10000.0;
        const double a[2] = {x, y};
        const double b[2] = {x + next() * 20.0, y + next() * 20.0};
        KXAddLine(doc, a, b, nullptr, nullptr);
    }
    for (int i = 0; i < kCircles; ++i) {
        const double c[2] = {next() * 10000.0, next() * 10000.0};
        KXAddCircle(doc, c, 0.5 + next() * 5.0, nullptr, nullptr);
    }
    return doc;
}

void BM_CloseAndWrite(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "kx_file_bench.pdb").string();
    double closeSeconds = 0.0;
    double writeSeconds = 0.0;
    double writeMegabytes = 0.0;
    double fileMegabytes = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        KXDOC doc = BuildDocument();
        state.ResumeTiming();

        const auto t0 = std::chrono::steady_clock::now();
        KXClose(doc, 0);
        const auto t1 = std::chrono::steady_clock::now();
        state.PauseTiming();
        const long long before = StatusBytes("VmRSS:");
        ResetPeak();
        state.ResumeTiming();
        const auto t2 = std::chrono::steady_clock::now();
        const int written = KXWrite(doc, path.c_str());
        const auto t3 = std::chrono::steady_clock::now();
        state.PauseTiming();
        const long long peak = StatusBytes("VmHWM:");
        if (written != 1) state.SkipWithError("KXWrite failed");
        closeSeconds += std::chrono::duration<double>(t1 - t0).count();
        writeSeconds += std::chrono::duration<double>(t3 - t2).count();
        writeMegabytes = std::max(writeMegabytes, static_cast<double>(peak - before) / (1024.0 * 1024.0));
        fileMegabytes = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
        KXDeleteDocInstance(doc);
        state.ResumeTiming();
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["close_s"] = closeSeconds / n;
    state.counters["write_s"] = writeSeconds / n;
    state.counters["close_write_s"] = (closeSeconds + writeSeconds) / n;
    state.counters["write_peak_MB"] = writeMegabytes;
    state.counters["file_MB"] = fileMegabytes;
    state.counters["peak_process_MB"] = static_cast<double>(StatusBytes("VmPeak:")) / (1024.0 * 1024.0);
    std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_CloseAndWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
