#include "clsEngineApi.h"

namespace kxdxf {

const clsEngineApi& clsEngineApi::engine()
{
    static const clsEngineApi api{
        KXAddLayout,      KXGetCurrentLayout, KXSetCurrentLayout, KXAddProperty,
        KXAttribColor,    KXAttribLineStyle,  KXAttribLayer,      KXAttribSet,
        KXAddLine,        KXAddPolyline,      KXAddCircle,        KXAddEllipse,
        KXAddArc,         KXAddEllipticArc,   KXAddSpline,        KXPushCoordSys3D,
        KXPopCoordSys3D,
        KXClipRgnCreate,  KXClipRgnAddPath,   KXClipRgnSet,       KXCreatePath,
        KXPathAddPolyline, KXPathAddCircleArc, KXPathAddEllipticArc, KXPathAddSpline,
        KXHatchCreate,    KXHatchCreatePattern, KXHatchAddPattern, KXHatchSetClipRgn,
        KXStartBlock,     KXEndBlock,         KXInsertBlockStr,
        KXAddText,
    };
    return api;
}

}  // namespace kxdxf
