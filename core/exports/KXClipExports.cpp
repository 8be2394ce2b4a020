// The C interface: Clip regions, paths and hatches (kxclip.h).
#include <korvex/kxcore.h>

#include "exports/KXExportSupport.h"

using namespace kxexport;

extern "C" {

int KXClipRgnCreate(KXDOC /*doc*/) {
    return 0;
}

int KXClipRgnAdd(KXDOC /*doc*/, int /*region*/, const KXPoint* /*points*/, int /*count*/) {
    return 0;
}

int KXClipRgnAddCircle(KXDOC /*doc*/, int /*region*/, const double /*centre*/[2], double /*radius*/) {
    return 0;
}

int KXClipRgnSet(KXDOC /*doc*/, int /*region*/, int /*flags*/) {
    return 0;
}

KXHATCH KXHatchCreate(KXDOC /*doc*/) {
    return nullptr;
}

int KXHatchCreatePattern(KXDOC /*doc*/, const KXPatternRecord* /*pattern*/) {
    return 0;
}

int KXHatchAddPattern(KXDOC /*doc*/, KXHATCH /*hatch*/, int /*pattern*/) {
    return 0;
}

int KXHatchSetClipRgn(KXDOC /*doc*/, KXHATCH /*hatch*/, int /*region*/) {
    return 0;
}

int KXCreatePath(KXDOC /*doc*/) {
    return 0;
}

int KXPathAddPolyline(KXDOC /*doc*/, int /*path*/, const KXPoint* /*points*/, int /*count*/, const double* /*z*/) {
    return 0;
}

int KXPathAddCircleArc(KXDOC /*doc*/, int /*path*/, const double /*centre*/[2], double /*radius*/, double /*start*/, double /*end*/, int /*full*/, const double* /*z*/) {
    return 0;
}

int KXPathAddEllipticArc(KXDOC /*doc*/, int /*path*/, const double /*centre*/[2], const double /*axis*/[2], double /*ratio*/, double /*start*/, double /*end*/, int /*full*/, const double* /*z*/) {
    return 0;
}

int KXPathAddSpline(KXDOC /*doc*/, int /*path*/, int /*degree*/, KXPoint* /*controls*/, int /*count*/, const double* /*knots*/, int /*knotCount*/, const double* /*weights*/, int /*flags*/, const double* /*z*/) {
    return 0;
}

int KXClipRgnAddPath(KXDOC /*doc*/, int /*region*/, int /*path*/) {
    return 0;
}

}  // extern "C"
