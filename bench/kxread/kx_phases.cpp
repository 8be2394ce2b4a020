// Converts a DXF file through the engine's exports and prints how long each
// step took: reading (the plug-in), finishing (KXClose), writing (KXWrite)
// and deleting the document. Where the time of a whole conversion goes.
#include <korvex/kxdoc.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
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
    const int closed = read ? KXClose(doc, 0) : 0;
    const Clock::time_point close_done = Clock::now();
    const int written = closed ? KXWrite(doc, argv[2]) : 0;
    const Clock::time_point write_done = Clock::now();
    KXDeleteDocInstance(doc);
    const Clock::time_point end = Clock::now();
    std::printf("read %.0f ms, finish %.0f ms, write %.0f ms, delete %.0f ms: %.0f ms\n",
                Milliseconds(start, read_done), Milliseconds(read_done, close_done),
                Milliseconds(close_done, write_done), Milliseconds(write_done, end), Milliseconds(start, end));
    return written ? 0 : 1;
}
