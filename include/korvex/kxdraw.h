/* Drawing a finished document into a device context. */
#ifndef KORVEX_KXDRAW_H
#define KORVEX_KXDRAW_H

#include <korvex/kxtypes.h>

#ifdef __cplusplus
extern "C" {
#endif

KXAPI int KXDraw(KXDOC doc, const KXDrawRequest* request);     /*  5 */
KXAPI void KXSetDisplayMode(KXDOC doc, int mode);               /* 73 */
KXAPI int KXGetDisplayMode(KXDOC doc);                          /* 74 */
KXAPI void KXSetFgColor(KXDOC doc, KXColor color);             /* 75 */
KXAPI void KXSetBgColor(KXDOC doc, KXColor color);             /* 76 */

#ifdef __cplusplus
}
#endif

#endif
