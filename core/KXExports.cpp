// The engine's C interface: 83 plain functions. Each one checks its handle
// and converts between the caller's plain records and the engine's classes;
// no engine logic lives here.
#include <korvex/kxcore.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "CKXAttribTable.h"
#include "CKXBuilder.h"
#include "CKXDoc.h"
#include "CTransf3D.h"
#include "render/CKXDocRenderer.h"
#include "file/CKXDocFinisher.h"
#include "file/CKXDrawingFileWriter.h"
#include "file/CKXTranslatorLoader.h"

namespace {

// Document model helpers: handle, point and attribute record conversion.
CKXDoc* DocOf(KXDOC doc) { return static_cast<CKXDoc*>(doc); }

CFltPoint PointOf(const double p[2]) { return {p[0], p[1]}; }

std::vector<CFltPoint> PointsOf(const KXPoint* points, int count) {
    std::vector<CFltPoint> out(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = {points[i].x, points[i].y};
    return out;
}

// The restore flag is the record's fourth field for every construction call.
const KXEntAttribs* EntAttribsOf(const tagKXEntAttrib* in, KXEntAttribs& out) {
    if (!in) return nullptr;
    out.color = in->color;
    out.lineStyle = in->lineStyle;
    out.weight = in->lineWeight;
    out.restore = in->restore != 0;
    return &out;
}

// No exception may cross the C interface: a failed allocation is a failure result.
template <class F>
int Guarded(F&& call) noexcept {
    try {
        return call();
    } catch (...) {
        return 0;
    }
}

}  // namespace

extern "C" {

KXDOC KXCreateDocInstance(void) {
    try {
        return new CKXDoc();
    } catch (...) {
        return nullptr;
    }
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

int KXDraw(KXDOC doc, const KXDrawRequest* request) {
    if (!doc || !request) return 0;
    return Guarded([&] {
        CKXDocRenderer(*DocOf(doc)).DrawRequest(*request);
        return 1;
    });
}

int KXWrite(KXDOC doc, const char* path) {
    if (!doc || !path) return 0;
    return Guarded([&] { return CKXDrawingFileWriter(*DocOf(doc)).Write(path) ? 1 : 0; });
}

void KXDeleteDocInstance(KXDOC doc) {
    delete DocOf(doc);
}

int KXAddLine(KXDOC doc, const double start[2], const double end[2], const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !start || !end) return 0;
    KXEntAttribs attribs;
    return Guarded([&] { return CKXBuilder(*DocOf(doc)).AddLine(PointOf(start), PointOf(end), EntAttribsOf(attr, attribs), z); });
}

int KXAddPolyline(KXDOC doc, const KXPoint* points, int count, const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !points || count <= 0) return 0;
    KXEntAttribs attribs;
    return Guarded([&] {
        const std::vector<CFltPoint> copy = PointsOf(points, count);
        return CKXBuilder(*DocOf(doc)).AddPolyline(copy.data(), count, EntAttribsOf(attr, attribs), z);
    });
}

int KXAddCircle(KXDOC doc, const double centre[2], double radius, const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !centre) return 0;
    KXEntAttribs attribs;
    return Guarded([&] { return CKXBuilder(*DocOf(doc)).AddCircle(PointOf(centre), radius, EntAttribsOf(attr, attribs), z); });
}

int KXAddEllipse(KXDOC doc, const double centre[2], const double axis[2], double ratio, const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !centre || !axis) return 0;
    KXEntAttribs attribs;
    return Guarded([&] {
        return CKXBuilder(*DocOf(doc)).AddEllipse(PointOf(centre), PointOf(axis), ratio, EntAttribsOf(attr, attribs), z);
    });
}

int KXAddArc(KXDOC doc, const double centre[2], double radius, double start, double end, const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !centre) return 0;
    KXEntAttribs attribs;
    return Guarded([&] {
        return CKXBuilder(*DocOf(doc)).AddArc(PointOf(centre), radius, start, end, EntAttribsOf(attr, attribs), z);
    });
}

int KXAddEllipticArc(KXDOC doc, const double centre[2], const double axis[2], double ratio, double start, double end, const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !centre || !axis) return 0;
    KXEntAttribs attribs;
    return Guarded([&] {
        return CKXBuilder(*DocOf(doc)).AddEllipticArc(PointOf(centre), PointOf(axis), ratio, start, end,
                                                     EntAttribsOf(attr, attribs), z);
    });
}

int KXAddRegion(void* /*any*/) {
    return 1;
}

int KXClipRgnCreate(KXDOC /*doc*/) {
    return 0;
}

int KXClipRgnAdd(KXDOC /*doc*/, int /*region*/, const KXPoint* /*points*/, int /*count*/) {
    return 0;
}

int KXClipRgnAddCircle(KXDOC /*doc*/, int /*region*/, const double /*centre*/[2], double /*radius*/) {
    return 0;
}

int KXClipRgnSet(KXDOC /*doc*/, int /*region*/, int /*flags*/) {
    return 0;
}

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

KXTextExtents KXAddText(KXDOC /*doc*/, const char* /*text*/, const tagKXText* /*params*/) {
    return KXTextExtents{0, 0, 0, 0};
}

KXHATCH KXHatchCreate(KXDOC /*doc*/) {
    return nullptr;
}

int KXHatchCreatePattern(KXDOC /*doc*/, const KXPatternRecord* /*pattern*/) {
    return 0;
}

int KXHatchAddPattern(KXDOC /*doc*/, KXHATCH /*hatch*/, int /*pattern*/) {
    return 0;
}

int KXHatchSetClipRgn(KXDOC /*doc*/, KXHATCH /*hatch*/, int /*region*/) {
    return 0;
}

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

int KXCreatePath(KXDOC /*doc*/) {
    return 0;
}

int KXPathAddPolyline(KXDOC /*doc*/, int /*path*/, const KXPoint* /*points*/, int /*count*/, const double* /*z*/) {
    return 0;
}

int KXPathAddCircleArc(KXDOC /*doc*/, int /*path*/, const double /*centre*/[2], double /*radius*/, double /*start*/, double /*end*/, int /*full*/, const double* /*z*/) {
    return 0;
}

int KXPathAddEllipticArc(KXDOC /*doc*/, int /*path*/, const double /*centre*/[2], const double /*axis*/[2], double /*ratio*/, double /*start*/, double /*end*/, int /*full*/, const double* /*z*/) {
    return 0;
}

int KXPathAddSpline(KXDOC /*doc*/, int /*path*/, int /*degree*/, KXPoint* /*controls*/, int /*count*/, const double* /*knots*/, int /*knotCount*/, const double* /*weights*/, int /*flags*/, const double* /*z*/) {
    return 0;
}

int KXClipRgnAddPath(KXDOC /*doc*/, int /*region*/, int /*path*/) {
    return 0;
}

int KXAddSpline(KXDOC doc, int degree, KXPoint* controls, int count, const double* knots, int knotCount, const double* weights, int flags, const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !controls || !knots || count <= 0 || knotCount <= 0) return 0;
    KXEntAttribs attribs;
    return Guarded([&] {
        std::vector<CFltPoint> points = PointsOf(controls, count);
        const int added = CKXBuilder(*DocOf(doc)).AddSpline(degree, points.data(), count, knots, knotCount, weights,
                                                             flags, EntAttribsOf(attr, attribs), z);
        // The control points are projected in place for the caller.
        for (std::size_t i = 0; i < points.size(); ++i) controls[i] = {points[i].x, points[i].y};
        return added;
    });
}

KXVIEW KXCreateView(KXDOC /*doc*/, HWND /*host*/, int /*reserved*/) {
    return nullptr;
}

void KXViewShow(KXVIEW /*view*/) {
}

void KXViewSetDoc(KXVIEW /*view*/, KXDOC /*doc*/) {
}

void KXViewSetDocDelete(KXVIEW /*view*/, int /*flag*/) {
}

void KXViewDelete(KXVIEW /*view*/) {
}

void KXViewCreateTool(KXVIEW /*view*/, int /*type*/) {
}

void KXViewZoom(KXVIEW /*view*/, double /*factor*/) {
}

void KXViewZoomAll(KXVIEW /*view*/) {
}

void KXViewBkwZoom(KXVIEW /*view*/) {
}

void KXViewFrwZoom(KXVIEW /*view*/) {
}

int KXViewBkwZoomAvailable(KXVIEW /*view*/) {
    return 0;
}

int KXViewFrwZoomAvailable(KXVIEW /*view*/) {
    return 0;
}

int KXViewBmkSet(KXVIEW /*view*/, const char* /*name*/) {
    return 0;
}

int KXViewBmkGetSize(KXVIEW /*view*/) {
    return 0;
}

int KXViewBmkGetMaxSize(KXVIEW /*view*/) {
    return 0;
}

int KXViewBmkGoNext(KXVIEW /*view*/, char* /*name*/) {
    return 0;
}

int KXViewBmkNextAvailable(KXVIEW /*view*/) {
    return 0;
}

int KXViewBmkGoPrev(KXVIEW /*view*/, char* /*name*/) {
    return 0;
}

int KXViewBmkPrevAvailable(KXVIEW /*view*/) {
    return 0;
}

int KXViewBmkGetName(KXVIEW /*view*/, int /*index*/, char* /*name*/) {
    return 0;
}

int KXViewBmkGoto(KXVIEW /*view*/, int /*index*/) {
    return 0;
}

int KXViewBmkGetCurrent(KXVIEW /*view*/) {
    return -1;
}

void KXViewBmkRemove(KXVIEW /*view*/, const int* /*indexes*/, int /*count*/) {
}

int KXAddLayout(KXDOC doc, const char* name) {
    if (!doc) return -1;
    try {
        return DocOf(doc)->AddLayout(name);
    } catch (...) {
        return -1;
    }
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

void KXViewRefresh(KXVIEW /*view*/) {
}

int KXGetLayerInitial(KXDOC doc, int index, int* state) {
    if (!doc || !state) return 0;
    return DocOf(doc)->Attribs().InitialLayerState(index, *state) ? 1 : 0;
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

void KXViewDrawDC(KXVIEW /*view*/, HDC /*dc*/, const RECT* /*rect*/) {
}

void KXAddProperty(KXDOC doc, const char* name, const char* value) {
    if (!doc) return;
    Guarded([&] {
        DocOf(doc)->AddProperty(name, value);
        return 1;
    });
}

int KXGetProperties(KXDOC doc, KXPropertyPair* pairs) {
    if (!doc || !pairs) return 0;
    const auto& properties = DocOf(doc)->Properties();
    for (std::size_t i = 0; i < properties.size(); ++i) pairs[i] = {properties[i].name.c_str(), properties[i].value.c_str()};
    return static_cast<int>(properties.size());
}

int KXGetNumProperties(KXDOC doc) {
    return doc ? static_cast<int>(DocOf(doc)->Properties().size()) : 0;
}

int KXViewBmkRename(KXVIEW /*view*/, int /*index*/, const char* /*name*/) {
    return 1;
}

void KXPushCoordSys3D(KXDOC doc, const double axes[9]) {
    if (!doc || !axes) return;
    Guarded([&] {
        DocOf(doc)->PushCoordSys(CTransf3D(axes));
        return 1;
    });
}

void KXPopCoordSys3D(KXDOC doc) {
    if (doc) DocOf(doc)->PopCoordSys();
}

}  // extern "C"
