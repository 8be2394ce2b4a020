// The C interface: Text lines (kxbuild.h).
#include <korvex/kxcore.h>

#include "exports/KXExportSupport.h"

using namespace kxexport;

extern "C" {

KXTextExtents KXAddText(KXDOC /*doc*/, const char* /*text*/, const tagKXText* /*params*/) {
    return KXTextExtents{0, 0, 0, 0};
}

}  // extern "C"
