// The C interface: Text lines (kxbuild.h).
#include <korvex/kxcore.h>

#include "exports/KXExportSupport.h"
#include "CKXDoc.h"
#include "text/CKXFont.h"
#include "text/CKXTextLayout.h"

using namespace kxexport;

extern "C" {

KXTextExtents KXAddText(KXDOC doc, const char* text, const tagKXText* params) {
    const KXTextExtents none{0, 0, 0, 0};
    if (!doc || !text || !params || *text == '\0') return none;
    return Guarded(
        [&] {
            const KXResult<CFltExtents> added = CKXTextLayout(CKXFont::Process()).Add(*DocOf(doc), text, *params);
            if (!added) {
                ReportFailure(added.Status().Reason().c_str());
                return none;
            }
            const CFltExtents& box = added.Value();
            return KXTextExtents{box.xmin, box.ymin, box.xmax, box.ymax};
        },
        none);
}

}  // extern "C"
