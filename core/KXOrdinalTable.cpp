// Ordinal table: ordinal n binds entry n - 1. Callers that bind by ordinal
// (the batch converter) find it through GetProcAddress(MAKEINTRESOURCE(n)).
#include <kxplatform/dynlib.h>
#include <korvex/kxcore.h>

namespace {

template <typename Fn>
FARPROC Entry(Fn fn) {
    return reinterpret_cast<FARPROC>(fn);
}

const FARPROC kEntries[KXORD_Count] = {
    Entry(KXCreateDocInstance), // 1
    Entry(KXRead), // 2
    Entry(KXClose), // 3
    Entry(KXGetInfo), // 4
    Entry(KXDraw), // 5
    Entry(KXWrite), // 6
    Entry(KXDeleteDocInstance), // 7
    Entry(KXAddLine), // 8
    Entry(KXAddPolyline), // 9
    Entry(KXAddCircle), // 10
    Entry(KXAddEllipse), // 11
    Entry(KXAddArc), // 12
    Entry(KXAddEllipticArc), // 13
    Entry(KXAddRegion), // 14
    Entry(KXClipRgnCreate), // 15
    Entry(KXClipRgnAdd), // 16
    Entry(KXClipRgnAddCircle), // 17
    Entry(KXClipRgnSet), // 18
    Entry(KXStartBlock), // 19
    Entry(KXEndBlock), // 20
    Entry(KXInsertBlock), // 21
    Entry(KXInsertBlockStr), // 22
    Entry(KXAddText), // 23
    Entry(KXHatchCreate), // 24
    Entry(KXHatchCreatePattern), // 25
    Entry(KXHatchAddPattern), // 26
    Entry(KXHatchSetClipRgn), // 27
    Entry(KXAttribColor), // 28
    Entry(KXAttribLineStyle), // 29
    Entry(KXAttribLayer), // 30
    Entry(KXAttribSet), // 31
    Entry(KXAttribGet), // 32
    Entry(KXCreatePath), // 33
    Entry(KXPathAddPolyline), // 34
    Entry(KXPathAddCircleArc), // 35
    Entry(KXPathAddEllipticArc), // 36
    Entry(KXPathAddSpline), // 37
    Entry(KXClipRgnAddPath), // 38
    Entry(KXAddSpline), // 39
    Entry(KXCreateView), // 40
    Entry(KXViewShow), // 41
    Entry(KXViewSetDoc), // 42
    Entry(KXViewSetDocDelete), // 43
    Entry(KXViewDelete), // 44
    Entry(KXViewCreateTool), // 45
    Entry(KXViewZoom), // 46
    Entry(KXViewZoomAll), // 47
    Entry(KXViewBkwZoom), // 48
    Entry(KXViewFrwZoom), // 49
    Entry(KXViewBkwZoomAvailable), // 50
    Entry(KXViewFrwZoomAvailable), // 51
    Entry(KXViewBmkSet), // 52
    Entry(KXViewBmkGetSize), // 53
    Entry(KXViewBmkGetMaxSize), // 54
    Entry(KXViewBmkGoNext), // 55
    Entry(KXViewBmkNextAvailable), // 56
    Entry(KXViewBmkGoPrev), // 57
    Entry(KXViewBmkPrevAvailable), // 58
    Entry(KXViewBmkGetName), // 59
    Entry(KXViewBmkGoto), // 60
    Entry(KXViewBmkGetCurrent), // 61
    Entry(KXViewBmkRemove), // 62
    Entry(KXAddLayout), // 63
    Entry(KXGetCurrentLayout), // 64
    Entry(KXSetCurrentLayout), // 65
    Entry(KXGetNumLayouts), // 66
    Entry(KXGetLayout), // 67
    Entry(KXGetNumLayers), // 68
    Entry(KXGetLayer), // 69
    Entry(KXSetLayer), // 70
    Entry(KXViewRefresh), // 71
    Entry(KXGetLayerInitial), // 72
    Entry(KXSetDisplayMode), // 73
    Entry(KXGetDisplayMode), // 74
    Entry(KXSetFgColor), // 75
    Entry(KXSetBgColor), // 76
    Entry(KXViewDrawDC), // 77
    Entry(KXAddProperty), // 78
    Entry(KXGetProperties), // 79
    Entry(KXGetNumProperties), // 80
    Entry(KXViewBmkRename), // 81
    Entry(KXPushCoordSys3D), // 82
    Entry(KXPopCoordSys3D), // 83
};

}  // namespace

extern "C" KXAPI const ORDINAL_TABLE OrdinalTable = {KXORD_Count, kEntries};
