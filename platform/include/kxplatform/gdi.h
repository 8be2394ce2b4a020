/* GDI drawing on device contexts: pens, background colour, straight
 * segments, and the two fills the view needs. The engine draws only through
 * these calls. Device contexts themselves are made by the backends in
 * dc.h (recording, raster, SVG). */
#ifndef KXPLATFORM_GDI_H
#define KXPLATFORM_GDI_H

#include <kxplatform/export.h>
#include <kxplatform/wintypes.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PS_SOLID 0
#define PS_NULL 5

typedef struct tagLOGPEN {
    UINT lopnStyle;
    POINT lopnWidth; /* x is the width in device units; 0 means one pixel */
    COLORREF lopnColor;
} LOGPEN;

#define CLR_INVALID 0xFFFFFFFFu

KXPLATFORM_API HPEN CreatePenIndirect(const LOGPEN* pen);
KXPLATFORM_API HBRUSH CreateSolidBrush(COLORREF color);
/* Selects a pen into the context and returns the one it replaces (the
 * context's default pen the first time). */
KXPLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
KXPLATFORM_API BOOL DeleteObject(HGDIOBJ object);
KXPLATFORM_API COLORREF SetBkColor(HDC dc, COLORREF color);
KXPLATFORM_API BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
/* Draws from the current position to (x, y), excluding the last pixel, and
 * makes (x, y) the current position. */
KXPLATFORM_API BOOL LineTo(HDC dc, int x, int y);
KXPLATFORM_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
KXPLATFORM_API BOOL DrawFocusRect(HDC dc, const RECT* rect);
KXPLATFORM_API BOOL DeleteDC(HDC dc);

#ifdef __cplusplus
}
#endif

#endif
