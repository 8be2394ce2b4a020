/* Document lifecycle, reading, finishing, writing, layouts, layers and properties. */
#ifndef KORVEX_KXDOC_H
#define KORVEX_KXDOC_H

#include <korvex/kxtypes.h>

#ifdef __cplusplus
extern "C" {
#endif

KXAPI KXDOC KXCreateDocInstance(void);                                  /*  1 */
KXAPI int KXRead(KXDOC doc, const char* path, const char* library);     /*  2 */
KXAPI int KXClose(KXDOC doc, int reserved);                             /*  3 */
KXAPI int KXGetInfo(void* any);                                         /*  4 */
KXAPI int KXWrite(KXDOC doc, const char* path);                         /*  6 */
KXAPI void KXDeleteDocInstance(KXDOC doc);                              /*  7 */
KXAPI int KXAddRegion(void* any);                                       /* 14 */

KXAPI int KXAddLayout(KXDOC doc, const char* name);                     /* 63 */
KXAPI int KXGetCurrentLayout(KXDOC doc);                                /* 64 */
KXAPI void KXSetCurrentLayout(KXDOC doc, int index);                    /* 65 */
KXAPI int KXGetNumLayouts(KXDOC doc);                                   /* 66 */
KXAPI int KXGetLayout(KXDOC doc, int index, char* name512);             /* 67 */
KXAPI int KXGetNumLayers(KXDOC doc);                                    /* 68 */
KXAPI int KXGetLayer(KXDOC doc, int index, const char** name, int* state,
                     KXColor* color);                                  /* 69 */
KXAPI int KXSetLayer(KXDOC doc, int index, int state);                  /* 70 */
KXAPI int KXGetLayerInitial(KXDOC doc, int index, int* state);          /* 72 */

KXAPI void KXAddProperty(KXDOC doc, const char* name, const char* value);  /* 78 */
KXAPI int KXGetProperties(KXDOC doc, KXPropertyPair* pairs);              /* 79 */
KXAPI int KXGetNumProperties(KXDOC doc);                                  /* 80 */

#ifdef __cplusplus
}
#endif

#endif
