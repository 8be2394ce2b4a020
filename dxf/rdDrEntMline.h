// Reader of MLINE: one engine polyline per element of its multiline
// style, offset from the vertices along their mitre directions.
#ifndef KXDXF_RDDRENTMLINE_H
#define KXDXF_RDDRENTMLINE_H

namespace kxdxf {

class clsTranslator;
class clssENTITY;

// The intersection of the line through (x1, y1) with direction (dx1, dy1)
// and the line through (x2, y2) with direction (dx2, dy2); not finite for
// parallel lines.
void utlCalcIntersection(clsTranslator& tr, double x1, double y1, double dx1, double dy1, double x2,
    double y2, double dx2, double dy2, double& x, double& y);

// Filled with multi keys.
int rdDrEntMLINE(clsTranslator& tr, const clssENTITY& entity);

}  // namespace kxdxf

#endif
