// The C interface: View windows, navigation tools, zoom history and bookmarks (kxview.h).
#include <korvex/kxcore.h>

#include "exports/KXExportSupport.h"

using namespace kxexport;

extern "C" {

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

void KXViewRefresh(KXVIEW /*view*/) {
}

void KXViewDrawDC(KXVIEW /*view*/, HDC /*dc*/, const RECT* /*rect*/) {
}

int KXViewBmkRename(KXVIEW /*view*/, int /*index*/, const char* /*name*/) {
    return 1;
}

}  // extern "C"
