/* Device contexts a host can create: a recording context that keeps the exact
 * call sequence (see GdiRecording.h), a raster context (an RGBA bitmap drawn
 * with GDI's rules: aliased lines, the last pixel of a LineTo not drawn, pen
 * widths in device units) saved as PNG, and an SVG context (one path per pen
 * run, exact device coordinates). Every context is released with DeleteDC. */
#ifndef KXPLATFORM_DC_H
#define KXPLATFORM_DC_H

#include <kxplatform/export.h>
#include <kxplatform/wintypes.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The largest side and area a raster context accepts. */
#define KX_RASTER_MAX_SIDE 32768
#define KX_RASTER_MAX_PIXELS (1 << 28)

KXPLATFORM_API HDC KXCreateRecordingDC(void);
/* Null when a side is below 1 or the size exceeds the limits above. */
KXPLATFORM_API HDC KXCreateRasterDC(int width, int height, COLORREF background);
/* Null when a side is below 1. */
KXPLATFORM_API HDC KXCreateSvgDC(int width, int height, COLORREF background);
/* Writes a raster context as PNG or an SVG context as SVG. FALSE for a null
 * or recording context and when the file cannot be written. */
KXPLATFORM_API BOOL KXSaveDC(HDC dc, const char* path);
/* The colour of one pixel of a raster context; CLR_INVALID outside the
 * bitmap or for another kind of context. */
KXPLATFORM_API COLORREF KXGetRasterPixel(HDC dc, int x, int y);
/* Pens and brushes created and not yet deleted, for leak checks. */
KXPLATFORM_API int KXGdiObjectCount(void);

#ifdef __cplusplus
}
#endif

#endif
