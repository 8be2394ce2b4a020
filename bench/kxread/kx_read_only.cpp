// Reads a DXF file into an engine document through the plug-in and stops
// there (no finishing, no writing): the counterpart of a parse-only peer.
#include <korvex/kxdoc.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kx_read_only FILE.dxf\n");
        return 2;
    }
    KXDOC doc = KXCreateDocInstance();
    if (!doc) {
        std::fprintf(stderr, "the engine made no document\n");
        return 1;
    }
    const int read = KXRead(doc, argv[1], nullptr);
    KXDeleteDocInstance(doc);
    return read ? 0 : 1;
}
