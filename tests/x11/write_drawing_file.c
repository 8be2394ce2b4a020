/* write_drawing_file IN.dxf OUT.pdb: converts one drawing through the
 * engine's exports, so that kxview can be shown a drawing file. */
#include <korvex/kxcore.h>

#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: write_drawing_file IN.dxf OUT.pdb\n");
        return 1;
    }
    KXDOC doc = KXCreateDocInstance();
    const int written = doc && KXRead(doc, argv[1], NULL) && KXClose(doc, 0) && KXWrite(doc, argv[2]);
    KXDeleteDocInstance(doc);
    if (!written) fprintf(stderr, "write_drawing_file: cannot convert %s into %s\n", argv[1], argv[2]);
    return written ? 0 : 1;
}
