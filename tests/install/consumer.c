/* A C program built against an installed Korvex: reads a DXF drawing,
 * finishes the document and writes the drawing file. */
#include <korvex/kxcore.h>

#include <stdio.h>

int main(int argc, char** argv) {
    KXDOC doc;
    int ok;
    if (argc != 3) {
        fprintf(stderr, "usage: consumer input.dxf output.pdb\n");
        return 2;
    }
    doc = KXCreateDocInstance();
    if (doc == NULL) return 1;
    ok = KXRead(doc, argv[1], NULL) != 0;
    if (ok) {
        KXClose(doc, 0);
        ok = KXWrite(doc, argv[2]) != 0;
    }
    KXDeleteDocInstance(doc);
    if (!ok) fprintf(stderr, "consumer: %s was not converted\n", argv[1]);
    return ok ? 0 : 1;
}
