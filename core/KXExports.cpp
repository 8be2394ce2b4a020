// The engine's C interface: 83 plain functions. Each one checks its handle
// and converts between the caller's plain records and the engine's classes;
// no engine logic lives here.
#include <korvex/kxcore.h>

extern "C" {

KXDOC KXCreateDocInstance(void) {
    return nullptr;
}

int KXRead(KXDOC /*doc*/, const char* /*path*/, const char* /*library*/) {
    return 0;
}

int KXClose(KXDOC /*doc*/, int /*reserved*/) {
    return 0;
}

int KXGetInfo(void* /*any*/) {
    return 1;
}

int KXDraw(KXDOC /*doc*/, const KXDrawRequest* /*request*/) {
    return 0;
}

int KXWrite(KXDOC /*doc*/, const char* /*path*/) {
    return 0;
}

void KXDeleteDocInstance(KXDOC /*doc*/) {
}

int KXAddLine(KXDOC /*doc*/, const double /*start*/[2], const double /*end*/[2], const tagKXEntAttrib* /*attr*/, const double* /*z*/) {
    return 0;
}

int KXAddPolyline(KXDOC /*doc*/, const KXPoint* /*points*/, int /*count*/, const tagKXEntAttrib* /*attr*/, const double* /*z*/) {
    return 0;
}

int KXAddCircle(KXDOC /*doc*/, const double /*centre*/[2], double /*radius*/, const tagKXEntAttrib* /*attr*/, const double* /*z*/) {
    return 0;
}

int KXAddEllipse(KXDOC /*doc*/, const double /*centre*/[2], const double /*axis*/[2], double /*ratio*/, const tagKXEntAttrib* /*attr*/, const double* /*z*/) {
    return 0;
}

int KXAddArc(KXDOC /*doc*/, const double /*centre*/[2], double /*radius*/, double /*start*/, double /*end*/, const tagKXEntAttrib* /*attr*/, const double* /*z*/) {
    return 0;
}

int KXAddEllipticArc(KXDOC /*doc*/, const double /*centre*/[2], const double /*axis*/[2], double /*ratio*/, double /*start*/, double /*end*/, const tagKXEntAttrib* /*attr*/, const double* /*z*/) {
    return 0;
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

int KXAttribColor(KXDOC /*doc*/, COLORREF /*color*/) {
    return 0;
}

int KXAttribLineStyle(KXDOC /*doc*/, const tagKXLineStyle* /*style*/) {
    return 0;
}

int KXAttribLayer(KXDOC /*doc*/, const tagKXLayer* /*layer*/) {
    return 0;
}

int KXAttribSet(KXDOC /*doc*/, tagKXAttrib* /*attrib*/) {
    return 0;
}

int KXAttribGet(KXDOC /*doc*/, tagKXAttrib* /*attrib*/) {
    return 0;
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

int KXAddSpline(KXDOC /*doc*/, int /*degree*/, KXPoint* /*controls*/, int /*count*/, const double* /*knots*/, int /*knotCount*/, const double* /*weights*/, int /*flags*/, const tagKXEntAttrib* /*attr*/, const double* /*z*/) {
    return 0;
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

int KXAddLayout(KXDOC /*doc*/, const char* /*name*/) {
    return -1;
}

int KXGetCurrentLayout(KXDOC /*doc*/) {
    return -1;
}

void KXSetCurrentLayout(KXDOC /*doc*/, int /*index*/) {
}

int KXGetNumLayouts(KXDOC /*doc*/) {
    return 0;
}

int KXGetLayout(KXDOC /*doc*/, int /*index*/, char* /*name512*/) {
    return 0;
}

int KXGetNumLayers(KXDOC /*doc*/) {
    return 0;
}

int KXGetLayer(KXDOC /*doc*/, int /*index*/, const char** /*name*/, int* /*state*/, COLORREF* /*color*/) {
    return 0;
}

int KXSetLayer(KXDOC /*doc*/, int /*index*/, int /*state*/) {
    return 0;
}

void KXViewRefresh(KXVIEW /*view*/) {
}

int KXGetLayerInitial(KXDOC /*doc*/, int /*index*/, int* /*state*/) {
    return 0;
}

void KXSetDisplayMode(KXDOC /*doc*/, int /*mode*/) {
}

int KXGetDisplayMode(KXDOC /*doc*/) {
    return 0;
}

void KXSetFgColor(KXDOC /*doc*/, COLORREF /*color*/) {
}

void KXSetBgColor(KXDOC /*doc*/, COLORREF /*color*/) {
}

void KXViewDrawDC(KXVIEW /*view*/, HDC /*dc*/, const RECT* /*rect*/) {
}

void KXAddProperty(KXDOC /*doc*/, const char* /*name*/, const char* /*value*/) {
}

int KXGetProperties(KXDOC /*doc*/, KXPropertyPair* /*pairs*/) {
    return 0;
}

int KXGetNumProperties(KXDOC /*doc*/) {
    return 0;
}

int KXViewBmkRename(KXVIEW /*view*/, int /*index*/, const char* /*name*/) {
    return 1;
}

void KXPushCoordSys3D(KXDOC /*doc*/, const double /*axes*/[9]) {
}

void KXPopCoordSys3D(KXDOC /*doc*/) {
}

}  // extern "C"
