// The C interface: Drawing a finished document into a device context (kxdraw.h).
#include <korvex/kxcore.h>

#include "exports/KXExportSupport.h"
#include "CKXDoc.h"
#include "render/CKXDocRenderer.h"

using namespace kxexport;

extern "C" {

int KXDraw(KXDOC doc, const KXDrawRequest* request) {
    if (!doc || !request) return 0;
    return Guarded([&] {
        CKXDocRenderer(*DocOf(doc)).DrawRequest(*request);
        return 1;
    });
}

void KXSetDisplayMode(KXDOC doc, int mode) {
    if (doc) CKXDocRenderer::SetDisplayMode(*DocOf(doc), mode);
}

int KXGetDisplayMode(KXDOC doc) {
    return doc ? DocOf(doc)->GetDisplayMode() : 0;
}

void KXSetFgColor(KXDOC doc, COLORREF color) {
    if (doc) CKXDocRenderer::SetForeground(*DocOf(doc), color);
}

void KXSetBgColor(KXDOC doc, COLORREF color) {
    if (doc) CKXDocRenderer::SetBackground(*DocOf(doc), color);
}

}  // extern "C"
