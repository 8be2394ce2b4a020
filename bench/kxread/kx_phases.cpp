// Converts a DXF file through the engine's exports and prints how long each
// step took: reading (the plug-in), finishing (KXClose), writing (KXWrite)
// and deleting the document. Where the time of a whole conversion goes.
#include <korvex/kxdoc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Peak resident memory so far in MB, from /proc (0 where there is none).
double PeakMegabytes() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return 0.0;
    char line[256];
    double peak = 0.0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) peak = std::strtod(line + 6, nullptr) / 1024.0;
    }
    std::fclose(status);
    return peak;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: kx_phases FILE.dxf OUT.pdb\n");
        return 2;
    }
    KXDOC doc = KXCreateDocInstance();
    if (!doc) {
        std::fprintf(stderr, "the engine made no document\n");
        return 1;
    }
    const Clock::time_point start = Clock::now();
    const int read = KXRead(doc, argv[1], nullptr);
    const Clock::time_point read_done = Clock::now();
    const double read_peak = PeakMegabytes();
    const int closed = read ? KXClose(doc, 0) : 0;
    const Clock::time_point close_done = Clock::now();
    const double close_peak = PeakMegabytes();
    const int written = closed ? KXWrite(doc, argv[2]) : 0;
    const Clock::time_point write_done = Clock::now();
    const double write_peak = PeakMegabytes();
    KXDeleteDocInstance(doc);
    const Clock::time_point end = Clock::now();
    std::printf("read %.0f ms, finish %.0f ms, write %.0f ms, delete %.0f ms: %.0f ms"
                " (peak MB after read %.0f, finish %.0f, write %.0f)\n",
                Milliseconds(start, read_done), Milliseconds(read_done, close_done),
                Milliseconds(close_done, write_done), Milliseconds(write_done, end), Milliseconds(start, end),
                read_peak, close_peak, write_peak);
    // A drawing too big for one drawing file is still read and finished: its
    // first two phases stay comparable.
    if (closed && !written) std::printf("(the drawing file was not written)\n");
    return written ? 0 : 1;
}
