/* Construction: attributes, primitives, 3D coordinate systems, blocks and text. */
#ifndef KORVEX_KXBUILD_H
#define KORVEX_KXBUILD_H

#include <korvex/kxtypes.h>

#ifdef __cplusplus
extern "C" {
#endif

KXAPI int KXAddLine(KXDOC doc, const double start[2], const double end[2],
                    const tagKXEntAttrib* attr, const double* z);                /*  8 */
KXAPI int KXAddPolyline(KXDOC doc, const KXPoint* points, int count,
                        const tagKXEntAttrib* attr, const double* z);            /*  9 */
KXAPI int KXAddCircle(KXDOC doc, const double centre[2], double radius,
                      const tagKXEntAttrib* attr, const double* z);              /* 10 */
KXAPI int KXAddEllipse(KXDOC doc, const double centre[2], const double axis[2], double ratio,
                       const tagKXEntAttrib* attr, const double* z);             /* 11 */
KXAPI int KXAddArc(KXDOC doc, const double centre[2], double radius, double start, double end,
                   const tagKXEntAttrib* attr, const double* z);                 /* 12 */
KXAPI int KXAddEllipticArc(KXDOC doc, const double centre[2], const double axis[2], double ratio,
                           double start, double end, const tagKXEntAttrib* attr,
                           const double* z);                                     /* 13 */
KXAPI int KXAddSpline(KXDOC doc, int degree, KXPoint* controls, int count, const double* knots,
                      int knotCount, const double* weights, int flags,
                      const tagKXEntAttrib* attr, const double* z);              /* 39 */

KXAPI int KXAttribColor(KXDOC doc, KXColor color);                      /* 28 */
KXAPI int KXAttribLineStyle(KXDOC doc, const tagKXLineStyle* style);     /* 29 */
KXAPI int KXAttribLayer(KXDOC doc, const tagKXLayer* layer);             /* 30 */
KXAPI int KXAttribSet(KXDOC doc, tagKXAttrib* attrib);                   /* 31 */
KXAPI int KXAttribGet(KXDOC doc, tagKXAttrib* attrib);                   /* 32 */

KXAPI void KXPushCoordSys3D(KXDOC doc, const double axes[9]);            /* 82 */
KXAPI void KXPopCoordSys3D(KXDOC doc);                                   /* 83 */

KXAPI int KXStartBlock(KXDOC doc, const tagKXBlockDef* block);           /* 19 */
KXAPI int KXEndBlock(KXDOC doc);                                         /* 20 */
KXAPI int KXInsertBlock(KXDOC doc, int block, const tagKXInsert* insert,
                        const double* z);                                /* 21 */
KXAPI int KXInsertBlockStr(KXDOC doc, const char* name, const tagKXInsert* insert,
                           const double* z);                             /* 22 */

KXAPI KXTextExtents KXAddText(KXDOC doc, const char* text, const tagKXText* params); /* 23 */

#ifdef __cplusplus
}
#endif

#endif
