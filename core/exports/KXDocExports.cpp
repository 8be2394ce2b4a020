// The C interface: Document lifecycle, reading, finishing and writing, layouts, layers and properties (kxdoc.h).
#include <korvex/kxcore.h>

#include <algorithm>
#include <cstring>

#include "exports/KXExportSupport.h"
#include "CKXDoc.h"
#include "file/CKXDocFinisher.h"
#include "file/CKXDrawingFileWriter.h"
#include "file/CKXTranslatorLoader.h"

using namespace kxexport;

extern "C" {

KXDOC KXCreateDocInstance(void) {
    return Guarded([]() -> KXDOC { return new CKXDoc(); });
}

int KXRead(KXDOC doc, const char* path, const char* library) {
    if (!doc) return 0;
    return Guarded([&] { return CKXTranslatorLoader::Read(*DocOf(doc), path, library); });
}

int KXClose(KXDOC doc, int /*reserved*/) {
    if (!doc) return 0;
    return Guarded([&] {
        CKXDocFinisher(*DocOf(doc)).Finish();
        return 1;
    });
}

int KXGetInfo(void* /*any*/) {
    return 1;
}

int KXWrite(KXDOC doc, const char* path) {
    if (!doc || !path) return 0;
    return Guarded([&] { return ResultOf(CKXDrawingFileWriter(*DocOf(doc)).Write(path)); });
}

void KXDeleteDocInstance(KXDOC doc) {
    delete DocOf(doc);
}

int KXAddRegion(void* /*any*/) {
    return 1;
}

int KXAddLayout(KXDOC doc, const char* name) {
    if (!doc) return -1;
    return Guarded([&] { return DocOf(doc)->AddLayout(name); }, -1);
}

int KXGetCurrentLayout(KXDOC doc) {
    return doc ? DocOf(doc)->GetCurrentLayout() : -1;
}

void KXSetCurrentLayout(KXDOC doc, int index) {
    if (doc) DocOf(doc)->SetCurrentLayout(index);
}

int KXGetNumLayouts(KXDOC doc) {
    return doc ? DocOf(doc)->GetNumLayouts() : 0;
}

int KXGetLayout(KXDOC doc, int index, char* name512) {
    if (!doc || !name512) return 0;
    const std::string* name = DocOf(doc)->GetLayout(index);
    if (!name) return 0;
    // The caller's buffer holds 512 bytes: long names are cut and always terminated.
    const std::size_t n = std::min<std::size_t>(name->size(), 511);
    std::memcpy(name512, name->data(), n);
    name512[n] = '\0';
    return 1;
}

int KXGetNumLayers(KXDOC doc) {
    return doc ? DocOf(doc)->Attribs().LayerCount() : 0;
}

int KXGetLayer(KXDOC doc, int index, const char** name, int* state, COLORREF* color) {
    if (!doc || !name || !state || !color) return 0;
    const CKXAttribTable& tables = DocOf(doc)->Attribs();
    const KXLayerEntry* layer = tables.Layer(index);
    if (!layer) return 0;
    *name = layer->Name();
    *state = layer->state;
    *color = tables.Color(layer->color);
    return 1;
}

int KXSetLayer(KXDOC doc, int index, int state) {
    if (!doc) return 0;
    KXLayerEntry* layer = DocOf(doc)->Attribs().Layer(index);
    if (!layer) return 0;
    layer->state = state;
    return 1;
}

int KXGetLayerInitial(KXDOC doc, int index, int* state) {
    if (!doc || !state) return 0;
    return DocOf(doc)->Attribs().InitialLayerState(index, *state) ? 1 : 0;
}

void KXAddProperty(KXDOC doc, const char* name, const char* value) {
    if (!doc) return;
    Guarded([&] { DocOf(doc)->AddProperty(name, value); });
}

int KXGetProperties(KXDOC doc, KXPropertyPair* pairs) {
    if (!doc || !pairs) return 0;
    const auto& properties = DocOf(doc)->Properties();
    for (std::size_t i = 0; i < properties.size(); ++i)
        pairs[i] = {properties[i].name.c_str(), properties[i].value.c_str()};
    return static_cast<int>(properties.size());
}

int KXGetNumProperties(KXDOC doc) {
    return doc ? static_cast<int>(DocOf(doc)->Properties().size()) : 0;
}

}  // extern "C"
