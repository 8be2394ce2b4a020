// Drawing a large drawing file back (file reader) against drawing the same
// document through the engine, both into a 2048 x 2048 raster picture.
// The document is built once through the C interface: lines, polylines,
// circles, arcs and ellipses in runs of changing colour and weight, sized
// so that its drawing file is about KX_PDBDRAW_MB megabytes (default 60).
#include <benchmark/benchmark.h>

#include <korvex/kxcore.h>
#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "CKXPdbDrawing.h"
#include "CKXPdbPainter.h"

namespace {

constexpr int kSide = 2048;
constexpr double kWorld = 10000.0;
// Bytes of file per entity of the mix below, about.
constexpr double kBytesPerEntity = 24.0;

struct Fixture {
    KXDOC doc = nullptr;
    std::string path;
    std::unique_ptr<CKXPdbDrawing> drawing;
    std::uintmax_t fileSize = 0;

    Fixture() {
        const char* mb = std::getenv("KX_PDBDRAW_MB");
        const double megabytes = mb != nullptr ? std::atof(mb) : 60.0;
        const auto entities = static_cast<long>(megabytes * 1024 * 1024 / kBytesPerEntity);
        doc = KXCreateDocInstance();
        std::uint32_t seed = 1;
        const auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return (seed >> 8) / double(1u << 24);
        };
        for (long i = 0; i < entities; ++i) {
            if (i % 200 == 0) {
                tagKXAttrib a{0, KXAttribColor(doc, RGB(int(next() * 200), int(next() * 200), int(next() * 200))),
                              KX_CONTINUOUS, i % 400 == 0 ? 1 : -100 - 2, 0};
                KXAttribSet(doc, &a);
            }
            const double x = next() * kWorld, y = next() * kWorld;
            const double p[2] = {x, y};
            const int kind = static_cast<int>(next() * 100);
            if (kind < 80) {
                const double q[2] = {x + (next() - 0.5) * 100, y + (next() - 0.5) * 100};
                KXAddLine(doc, p, q, nullptr, nullptr);
            } else if (kind < 88) {
                KXPoint points[8];
                for (int k = 0; k < 8; ++k) points[k] = {x + k * 5.0, y + (next() - 0.5) * 20};
                KXAddPolyline(doc, points, 8, nullptr, nullptr);
            } else if (kind < 94) {
                KXAddCircle(doc, p, 1 + next() * 50, nullptr, nullptr);
            } else if (kind < 98) {
                KXAddArc(doc, p, 1 + next() * 50, next() * 6, next() * 6, nullptr, nullptr);
            } else {
                const double axis[2] = {10 + next() * 30, next() * 10};
                KXAddEllipse(doc, p, axis, 0.5, nullptr, nullptr);
            }
        }
        KXClose(doc, 0);
        path = (std::filesystem::temp_directory_path() / "kx_pdbdraw_bench.pdb").string();
        if (KXWrite(doc, path.c_str()) == 0) std::fprintf(stderr, "cannot write %s\n", path.c_str());
        fileSize = std::filesystem::file_size(path);
        std::string error;
        drawing = CKXPdbDrawing::Open(path, error);
        if (!drawing) std::fprintf(stderr, "cannot read %s: %s\n", path.c_str(), error.c_str());
    }
    ~Fixture() {
        KXDeleteDocInstance(doc);
        std::filesystem::remove(path);
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void Window(const KXPdbDrawingInfo& info, double box[4]) {
    box[0] = info.minX;
    box[1] = info.minY;
    box[2] = info.maxX;
    box[3] = info.maxY;
}

void BM_EngineDraw(benchmark::State& state) {
    Fixture& f = Shared();
    double box[4];
    Window(f.drawing->Info(), box);
    KXSetDisplayMode(f.doc, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        HDC dc = KXCreateRasterDC(kSide, kSide, 0xFFFFFF);
        const KXDrawRequest request{0, RECT{0, 0, kSide, kSide}, box[0], box[1], box[2], box[3], dc};
        KXDraw(f.doc, &request);
        DeleteDC(dc);
    }
    state.counters["file_MB"] = static_cast<double>(f.fileSize) / (1024.0 * 1024.0);
    state.counters["entities"] = static_cast<double>(f.drawing->EntityCount());
}

void BM_FileDraw(benchmark::State& state) {
    Fixture& f = Shared();
    double box[4];
    Window(f.drawing->Info(), box);
    for (auto _ : state) {
        HDC dc = KXCreateRasterDC(kSide, kSide, 0xFFFFFF);
        CKXPdbPainter painter(*f.drawing);
        painter.SetDisplayMode(static_cast<int>(state.range(0)));
        painter.Draw(dc, RECT{0, 0, kSide, kSide}, box[0], box[1], box[2], box[3]);
        DeleteDC(dc);
    }
}

// Reading the file (every record checked) and drawing it.
void BM_FileLoadAndDraw(benchmark::State& state) {
    Fixture& f = Shared();
    double box[4];
    Window(f.drawing->Info(), box);
    for (auto _ : state) {
        std::string error;
        const std::unique_ptr<CKXPdbDrawing> drawing =
            CKXPdbDrawing::Open(f.path, error, CKXPdbDrawing::Hold::InPlace);  // as kxrender reads it
        HDC dc = KXCreateRasterDC(kSide, kSide, 0xFFFFFF);
        CKXPdbPainter painter(*drawing);
        painter.Draw(dc, RECT{0, 0, kSide, kSide}, box[0], box[1], box[2], box[3]);
        DeleteDC(dc);
    }
}

}  // namespace

BENCHMARK(BM_EngineDraw)->Arg(0)->Arg(KX_DISPLAY_FINE_CURVES)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FileDraw)->Arg(0)->Arg(KX_DISPLAY_FINE_CURVES)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FileLoadAndDraw)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
