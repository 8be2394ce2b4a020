// The C interface: Blocks and block references (kxbuild.h).
#include <korvex/kxcore.h>

#include "exports/KXExportSupport.h"

using namespace kxexport;

extern "C" {

int KXStartBlock(KXDOC /*doc*/, const tagKXBlockDef* /*block*/) {
    return 0;
}

int KXEndBlock(KXDOC /*doc*/) {
    return 0;
}

int KXInsertBlock(KXDOC /*doc*/, int /*block*/, const tagKXInsert* /*insert*/, const double* /*z*/) {
    return 0;
}

int KXInsertBlockStr(KXDOC /*doc*/, const char* /*name*/, const tagKXInsert* /*insert*/, const double* /*z*/) {
    return 0;
}

}  // extern "C"
