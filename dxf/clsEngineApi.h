// The engine calls the translator makes, gathered in one table so that the
// translator can be driven against a recording engine (tests, fuzzing) as
// well as against kxcore itself.
#ifndef KXDXF_CLSENGINEAPI_H
#define KXDXF_CLSENGINEAPI_H

#include <korvex/kxbuild.h>
#include <korvex/kxclip.h>
#include <korvex/kxdoc.h>
#include <kxplatform/wintypes.h>

namespace kxdxf {

struct clsEngineApi {
    int (*AddLayout)(KXDOC, const char*);
    int (*GetCurrentLayout)(KXDOC);
    void (*SetCurrentLayout)(KXDOC, int);
    void (*AddProperty)(KXDOC, const char*, const char*);

    int (*AttribColor)(KXDOC, COLORREF);
    int (*AttribLineStyle)(KXDOC, const tagKXLineStyle*);
    int (*AttribLayer)(KXDOC, const tagKXLayer*);
    int (*AttribSet)(KXDOC, tagKXAttrib*);

    int (*AddLine)(KXDOC, const double*, const double*, const tagKXEntAttrib*, const double*);
    int (*AddPolyline)(KXDOC, const KXPoint*, int, const tagKXEntAttrib*, const double*);
    int (*AddCircle)(KXDOC, const double*, double, const tagKXEntAttrib*, const double*);
    int (*AddEllipse)(KXDOC, const double*, const double*, double, const tagKXEntAttrib*,
                      const double*);
    int (*AddArc)(KXDOC, const double*, double, double, double, const tagKXEntAttrib*,
                  const double*);
    int (*AddEllipticArc)(KXDOC, const double*, const double*, double, double, double,
                          const tagKXEntAttrib*, const double*);
    int (*AddSpline)(KXDOC, int, KXPoint*, int, const double*, int, const double*, int,
                     const tagKXEntAttrib*, const double*);

    void (*PushCoordSys3D)(KXDOC, const double*);
    void (*PopCoordSys3D)(KXDOC);

    int (*ClipRgnCreate)(KXDOC);
    int (*ClipRgnAddPath)(KXDOC, int, int);
    int (*ClipRgnSet)(KXDOC, int, int);
    int (*CreatePath)(KXDOC);
    int (*PathAddPolyline)(KXDOC, int, const KXPoint*, int, const double*);
    int (*PathAddCircleArc)(KXDOC, int, const double*, double, double, double, int, const double*);
    int (*PathAddEllipticArc)(KXDOC, int, const double*, const double*, double, double, double, int,
                              const double*);
    int (*PathAddSpline)(KXDOC, int, int, KXPoint*, int, const double*, int, const double*, int,
                         const double*);
    KXHATCH (*HatchCreate)(KXDOC);
    int (*HatchCreatePattern)(KXDOC, const KXPatternRecord*);
    int (*HatchAddPattern)(KXDOC, KXHATCH, int);
    int (*HatchSetClipRgn)(KXDOC, KXHATCH, int);
    int (*StartBlock)(KXDOC, const tagKXBlockDef*);
    int (*EndBlock)(KXDOC);
    int (*InsertBlockStr)(KXDOC, const char*, const tagKXInsert*, const double*);
    KXTextExtents (*AddText)(KXDOC, const char*, const tagKXText*);

    // The exports of kxcore.
    static const clsEngineApi& engine();
};

}  // namespace kxdxf

#endif
