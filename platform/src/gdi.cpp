// The GDI entry points: handle checks, then the device context does the work.
#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include "DeviceContext.h"
#include "GdiObject.h"

using kxplatform::DeviceContext;
using kxplatform::GdiObject;

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (pen == nullptr) return nullptr;
    GdiObject* object = GdiObject::NewPen(*pen);
    return object != nullptr ? object->Handle() : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    GdiObject* object = GdiObject::NewBrush(color);
    return object != nullptr ? object->Handle() : nullptr;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext* context = DeviceContext::FromHandle(dc);
    GdiObject* selected = GdiObject::FromHandle(object);
    // Only pens are selectable here: brushes are passed to FillRect directly.
    if (context == nullptr || selected == nullptr || selected->GetKind() != GdiObject::Kind::Pen)
        return nullptr;
    return context->SelectPen(*selected)->Handle();
}

BOOL DeleteObject(HGDIOBJ object) {
    return GdiObject::Delete(GdiObject::FromHandle(object)) ? TRUE : FALSE;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    DeviceContext* context = DeviceContext::FromHandle(dc);
    return context != nullptr ? context->SetBackground(color) : CLR_INVALID;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
    DeviceContext* context = DeviceContext::FromHandle(dc);
    if (context == nullptr) return FALSE;
    const POINT old = context->MoveTo(POINT{x, y});
    if (previous != nullptr) *previous = old;
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    DeviceContext* context = DeviceContext::FromHandle(dc);
    if (context == nullptr) return FALSE;
    context->LineTo(POINT{x, y});
    return TRUE;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* context = DeviceContext::FromHandle(dc);
    GdiObject* fill = GdiObject::FromHandle(brush);
    if (context == nullptr || rect == nullptr || fill == nullptr) return 0;
    context->Fill(*rect, fill->Color());
    return 1;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
    DeviceContext* context = DeviceContext::FromHandle(dc);
    if (context == nullptr || rect == nullptr) return FALSE;
    context->FocusRect(*rect);
    return TRUE;
}

BOOL DeleteDC(HDC dc) {
    DeviceContext* context = DeviceContext::FromHandle(dc);
    if (context == nullptr) return FALSE;
    delete context;
    return TRUE;
}

BOOL KXSaveDC(HDC dc, const char* path) {
    const DeviceContext* context = DeviceContext::FromHandle(dc);
    if (context == nullptr || path == nullptr || *path == '\0') return FALSE;
    return context->Save(path) ? TRUE : FALSE;
}

int KXGdiObjectCount(void) {
    return GdiObject::LiveCount();
}
