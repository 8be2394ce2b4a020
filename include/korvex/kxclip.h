/* Clip regions, paths and hatches. */
#ifndef KORVEX_KXCLIP_H
#define KORVEX_KXCLIP_H

#include <korvex/kxtypes.h>

#ifdef __cplusplus
extern "C" {
#endif

KXAPI int KXClipRgnCreate(KXDOC doc);                                              /* 15 */
KXAPI int KXClipRgnAdd(KXDOC doc, int region, const KXPoint* points, int count);   /* 16 */
KXAPI int KXClipRgnAddCircle(KXDOC doc, int region, const double centre[2],
                             double radius);                                       /* 17 */
KXAPI int KXClipRgnSet(KXDOC doc, int region, int flags);                          /* 18 */
KXAPI int KXClipRgnAddPath(KXDOC doc, int region, int path);                       /* 38 */

KXAPI int KXCreatePath(KXDOC doc);                                                 /* 33 */
KXAPI int KXPathAddPolyline(KXDOC doc, int path, const KXPoint* points, int count,
                            const double* z);                                      /* 34 */
KXAPI int KXPathAddCircleArc(KXDOC doc, int path, const double centre[2], double radius,
                             double start, double end, int full, const double* z); /* 35 */
KXAPI int KXPathAddEllipticArc(KXDOC doc, int path, const double centre[2],
                               const double axis[2], double ratio, double start,
                               double end, int full, const double* z);             /* 36 */
KXAPI int KXPathAddSpline(KXDOC doc, int path, int degree, KXPoint* controls, int count,
                          const double* knots, int knotCount, const double* weights,
                          int flags, const double* z);                             /* 37 */

KXAPI KXHATCH KXHatchCreate(KXDOC doc);                                            /* 24 */
KXAPI int KXHatchCreatePattern(KXDOC doc, const KXPatternRecord* pattern);         /* 25 */
KXAPI int KXHatchAddPattern(KXDOC doc, KXHATCH hatch, int pattern);                /* 26 */
KXAPI int KXHatchSetClipRgn(KXDOC doc, KXHATCH hatch, int region);                 /* 27 */

#ifdef __cplusplus
}
#endif

#endif
