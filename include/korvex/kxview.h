/* View windows, navigation tools, zoom history and bookmarks. */
#ifndef KORVEX_KXVIEW_H
#define KORVEX_KXVIEW_H

#include <korvex/kxtypes.h>

#ifdef __cplusplus
extern "C" {
#endif

KXAPI KXVIEW KXCreateView(KXDOC doc, KXWND host, int reserved);           /* 40 */
KXAPI void KXViewShow(KXVIEW view);                                      /* 41 */
KXAPI void KXViewSetDoc(KXVIEW view, KXDOC doc);                         /* 42 */
KXAPI void KXViewSetDocDelete(KXVIEW view, int flag);                    /* 43 */
KXAPI void KXViewDelete(KXVIEW view);                                    /* 44 */
KXAPI void KXViewCreateTool(KXVIEW view, int type);                      /* 45 */
KXAPI void KXViewZoom(KXVIEW view, double factor);                       /* 46 */
KXAPI void KXViewZoomAll(KXVIEW view);                                   /* 47 */
KXAPI void KXViewBkwZoom(KXVIEW view);                                   /* 48 */
KXAPI void KXViewFrwZoom(KXVIEW view);                                   /* 49 */
KXAPI int KXViewBkwZoomAvailable(KXVIEW view);                           /* 50 */
KXAPI int KXViewFrwZoomAvailable(KXVIEW view);                           /* 51 */
KXAPI int KXViewBmkSet(KXVIEW view, const char* name);                   /* 52 */
KXAPI int KXViewBmkGetSize(KXVIEW view);                                 /* 53 */
KXAPI int KXViewBmkGetMaxSize(KXVIEW view);                              /* 54 */
KXAPI int KXViewBmkGoNext(KXVIEW view, char* name);                      /* 55 */
KXAPI int KXViewBmkNextAvailable(KXVIEW view);                           /* 56 */
KXAPI int KXViewBmkGoPrev(KXVIEW view, char* name);                      /* 57 */
KXAPI int KXViewBmkPrevAvailable(KXVIEW view);                           /* 58 */
KXAPI int KXViewBmkGetName(KXVIEW view, int index, char* name);          /* 59 */
KXAPI int KXViewBmkGoto(KXVIEW view, int index);                         /* 60 */
KXAPI int KXViewBmkGetCurrent(KXVIEW view);                              /* 61 */
KXAPI void KXViewBmkRemove(KXVIEW view, const int* indexes, int count);  /* 62 */
KXAPI void KXViewRefresh(KXVIEW view);                                   /* 71 */
KXAPI void KXViewDrawDC(KXVIEW view, KXDC dc, const KXRect* rect);          /* 77 */
KXAPI int KXViewBmkRename(KXVIEW view, int index, const char* name);     /* 81 */

#ifdef __cplusplus
}
#endif

#endif
