// The C interface: Attribute tables and the current attribute (kxbuild.h).
#include <korvex/kxcore.h>

#include <cstring>

#include "exports/KXExportSupport.h"
#include "CKXAttribTable.h"
#include "CKXBuilder.h"
#include "CKXDoc.h"

using namespace kxexport;

extern "C" {

int KXAttribColor(KXDOC doc, COLORREF color) {
    if (!doc) return 0;
    return Guarded([&] { return DocOf(doc)->Attribs().AddColor(color); });
}

int KXAttribLineStyle(KXDOC doc, const tagKXLineStyle* style) {
    if (!doc || !style) return 0;
    return Guarded([&] { return DocOf(doc)->Attribs().AddLineStyle(style->kind, style->count, style->elements); });
}

int KXAttribLayer(KXDOC doc, const tagKXLayer* layer) {
    if (!doc || !layer) return 0;
    return Guarded([&] { return DocOf(doc)->Attribs().AddLayer(*layer); });
}

int KXAttribSet(KXDOC doc, tagKXAttrib* attrib) {
    if (!doc || !attrib) return 0;
    if (attrib->flags & KXATTRIB_FLOAT_WEIGHT) {
        float weight;
        std::memcpy(&weight, &attrib->lineWeight, sizeof weight);
        attrib->lineWeight = CKXAttribTable::PackWeight(weight);
    }
    CKXAttribute requested;
    requested.layer = attrib->layer;
    requested.color = attrib->color;
    requested.lineStyle = attrib->lineStyle;
    requested.weight = attrib->lineWeight;
    return Guarded([&] { return CKXBuilder(*DocOf(doc)).SetAttrib(requested); });
}

int KXAttribGet(KXDOC doc, tagKXAttrib* attrib) {
    if (!doc || !attrib) return 0;
    CKXAttribute current;
    if (!CKXBuilder(*DocOf(doc)).GetAttrib(current)) return 0;
    attrib->layer = current.layer;
    attrib->color = current.color;
    attrib->lineStyle = current.lineStyle;
    attrib->lineWeight = current.weight;
    return 1;
}

}  // extern "C"
