/* Handles and caller records shared by every area of the engine's C interface.
 *
 * Records are plain C structs whose field order and types are part of the
 * binary interface: translators and hosts fill them field by field. */
#ifndef KORVEX_KXTYPES_H
#define KORVEX_KXTYPES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifndef KXAPI
#define KXAPI __attribute__((visibility("default")))
#endif

/* Shared with the public headers (kxplatform/wintypes.h): one definition of the
 * rectangle record, whichever header comes first. */
#ifndef KX_RECT_DEFINED
#define KX_RECT_DEFINED
typedef struct KXRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
} KXRect;
#endif

typedef uint32_t KXColor;     /* 0x00BBGGRR */
typedef struct HDC__* KXDC;   /* a drawing surface of the platform layer */
typedef struct HWND__* KXWND; /* a host window of the platform layer */

typedef void* KXDOC;   /* document handle */
typedef void* KXVIEW;  /* view handle */
typedef void* KXHATCH; /* hatch handle (the hatch entity) */

/* A point in drawing units; same layout as two consecutive doubles. */
typedef struct KXPoint {
    double x;
    double y;
} KXPoint;

/* Attribute values shared by layer, colour, line style and weight fields. */
#define KX_BYLAYER (-2)
#define KX_BYBLOCK (-3)
#define KX_CONTINUOUS (-4)

/* Display-mode bit (KXSetDisplayMode): circles, arcs and ellipses are drawn
 * with as many chords as keep every chord within half a device unit of the
 * curve, instead of at most 40 chords per turn. */
#define KX_DISPLAY_FINE_CURVES 0x100

/* Argument of KXAttribSet / KXAttribGet. */
typedef struct tagKXAttrib {
    int layer;
    int color;
    int lineStyle;
    int lineWeight; /* int, or float bits when bit 0 of flags is set */
    int flags;      /* bit 0: lineWeight holds a float weight to pack */
} tagKXAttrib;

#define KXATTRIB_FLOAT_WEIGHT 0x1

/* Argument of KXAttribLayer. */
typedef struct tagKXLayer {
    const char* name;
    int state;     /* visibility word; KXLAYER_* bits */
    int reserved1; /* stored and written unchanged */
    int color;     /* colour index */
    int lineStyle; /* line style index */
    int lineWeight;
    int reserved2; /* stored and written unchanged */
} tagKXLayer;

/* Argument of KXAttribLineStyle. */
typedef struct tagKXLineStyle {
    int kind;              /* KXLS_* bits */
    int count;             /* number of elements */
    const double* elements; /* dashes (>0), gaps (<0), dots (0) */
} tagKXLineStyle;

/* Optional attribute record of the construction exports. */
typedef struct tagKXEntAttrib {
    int color;
    int lineStyle;
    int lineWeight;
    int restore; /* non-zero: the attributes current before the call are set again after it */
    int reserved[2];
} tagKXEntAttrib;

/* Argument of KXStartBlock. */
typedef struct tagKXBlockDef {
    char name[264];
    double baseX;
    double baseY;
} tagKXBlockDef;

/* Argument of KXInsertBlock / KXInsertBlockStr. */
typedef struct tagKXInsert {
    double x;
    double y;
    double rotation; /* radians */
    double scaleX;
    double scaleY;
} tagKXInsert;

/* Argument of KXAddText. */
typedef struct tagKXText {
    int align;
    double x;
    double y;
    double angle; /* radians */
    double height;
    double wrapWidth;   /* 0 = no wrapping */
    double widthFactor; /* character width = widthFactor * height */
    double lineSpacing;
    double reserved[4];
    unsigned char measureOnly;
} tagKXText;

/* Result of KXAddText: a box in drawing units. */
typedef struct KXTextExtents {
    double xmin;
    double ymin;
    double xmax;
    double ymax;
} KXTextExtents;

/* Argument of KXHatchCreatePattern. */
typedef struct KXPatternRecord {
    int color;
    int lineStyle;
    int lineWeight;
    int reserved;
    double baseX;
    double baseY;
    double dirX;
    double dirY;
    double shift;
    double spacing;
} KXPatternRecord;

/* Argument of KXDraw. */
typedef struct KXDrawRequest {
    int reserved;
    KXRect device;
    double xmin;
    double ymin;
    double xmax;
    double ymax;
    KXDC dc;
} KXDrawRequest;

/* Element of the array filled by KXGetProperties; points into the document. */
typedef struct KXPropertyPair {
    const char* name;
    const char* value;
} KXPropertyPair;

#ifdef __cplusplus
}
#endif

#endif
