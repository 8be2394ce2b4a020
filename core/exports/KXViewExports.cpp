// The C interface: View windows, navigation tools, zoom history and bookmarks (kxview.h).
#include <korvex/kxcore.h>

#include <cstring>

#include "CKXDoc.h"
#include "exports/KXExportSupport.h"
#include "render/view/CKXView.h"

using namespace kxexport;

namespace {

CKXView* ViewOf(KXVIEW view) { return static_cast<CKXView*>(view); }

// Name buffers hold at least this many bytes; the name is cut to fit.
constexpr std::size_t kNameBuffer = 512;

void CopyName(const CKXBookmark& mark, char* name) {
    std::strncpy(name, mark.name.c_str(), kNameBuffer - 1);
    name[kNameBuffer - 1] = '\0';
}

// A navigation's result: 0 when nothing was reached, else the jump is made.
int Jumped(CKXView& view, const CKXBookmark* mark, char* name) {
    if (!mark) return 0;
    if (name) CopyName(*mark, name);
    return Guarded([&] {
        view.JumpTo(*mark);
        return 1;
    });
}

}  // namespace

extern "C" {

KXVIEW KXCreateView(KXDOC doc, HWND host, int /*reserved*/) {
    return Guarded([&]() -> KXVIEW {
        auto* view = new CKXView(DocOf(doc));
        view->Open(host);
        return view;
    });
}

void KXViewShow(KXVIEW view) {
    if (view) ViewOf(view)->Show();
}

void KXViewSetDoc(KXVIEW view, KXDOC doc) {
    if (view) ViewOf(view)->SetDoc(DocOf(doc));
}

void KXViewSetDocDelete(KXVIEW view, int flag) {
    if (view) ViewOf(view)->SetDeleteDoc(flag != 0);
}

void KXViewDelete(KXVIEW view) {
    delete ViewOf(view);
}

void KXViewCreateTool(KXVIEW view, int type) {
    if (view) Guarded([&] { ViewOf(view)->CreateTool(type); });
}

void KXViewZoom(KXVIEW view, double factor) {
    if (view) Guarded([&] { ViewOf(view)->Zoom(factor); });
}

void KXViewZoomAll(KXVIEW view) {
    if (view) Guarded([&] { ViewOf(view)->ZoomAll(); });
}

void KXViewBkwZoom(KXVIEW view) {
    if (view) Guarded([&] { ViewOf(view)->Backward(); });
}

void KXViewFrwZoom(KXVIEW view) {
    if (view) Guarded([&] { ViewOf(view)->Forward(); });
}

int KXViewBkwZoomAvailable(KXVIEW view) {
    return view && ViewOf(view)->BackwardAvailable() ? 1 : 0;
}

int KXViewFrwZoomAvailable(KXVIEW view) {
    return view && ViewOf(view)->ForwardAvailable() ? 1 : 0;
}

int KXViewBmkSet(KXVIEW view, const char* name) {
    if (!view) return 0;
    return Guarded([&] { return ViewOf(view)->SetBookmark(name ? name : "") ? 1 : 0; });
}

int KXViewBmkGetSize(KXVIEW view) {
    return view ? ViewOf(view)->Bookmarks().Size() : 0;
}

int KXViewBmkGetMaxSize(KXVIEW view) {
    return view ? CKXBookmarkList::kMaxSize : 0;
}

int KXViewBmkGoNext(KXVIEW view, char* name) {
    if (!view) return 0;
    return Jumped(*ViewOf(view), ViewOf(view)->Bookmarks().GoNext(), name);
}

int KXViewBmkNextAvailable(KXVIEW view) {
    return view && ViewOf(view)->Bookmarks().NextAvailable() ? 1 : 0;
}

int KXViewBmkGoPrev(KXVIEW view, char* name) {
    if (!view) return 0;
    return Jumped(*ViewOf(view), ViewOf(view)->Bookmarks().GoPrev(), name);
}

int KXViewBmkPrevAvailable(KXVIEW view) {
    return view && ViewOf(view)->Bookmarks().PrevAvailable() ? 1 : 0;
}

int KXViewBmkGetName(KXVIEW view, int index, char* name) {
    if (!view || !name) return 0;
    const CKXBookmark* mark = ViewOf(view)->Bookmarks().At(index);
    if (!mark) return 0;
    CopyName(*mark, name);
    return 1;
}

int KXViewBmkGoto(KXVIEW view, int index) {
    if (!view) return 0;
    return Jumped(*ViewOf(view), ViewOf(view)->Bookmarks().GoTo(index), nullptr);
}

int KXViewBmkGetCurrent(KXVIEW view) {
    return view ? ViewOf(view)->Bookmarks().Current() : -1;
}

void KXViewBmkRemove(KXVIEW view, const int* indexes, int count) {
    if (view) Guarded([&] { ViewOf(view)->Bookmarks().Remove(indexes, count); });
}

void KXViewRefresh(KXVIEW view) {
    if (view) ViewOf(view)->Repaint(true);
}

// The header passes the rectangle as const: the shrunk one stays ours.
void KXViewDrawDC(KXVIEW view, HDC dc, const RECT* rect) {
    if (!view || !rect) return;
    RECT inner = *rect;
    Guarded([&] { ViewOf(view)->DrawDC(dc, inner); });
}

int KXViewBmkRename(KXVIEW view, int index, const char* name) {
    if (view) Guarded([&] { ViewOf(view)->Bookmarks().Rename(index, name ? name : ""); });
    return 1;
}

}  // extern "C"
