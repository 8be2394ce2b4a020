// Readers of POLYLINE (with its VERTEX entities and SEQEND) and LWPOLYLINE:
// segment by segment into engine lines, and arcs where a vertex has a
// bulge; polyface and polygon meshes as their edges.
#ifndef KXDXF_RDDRENTPOLYLINE_H
#define KXDXF_RDDRENTPOLYLINE_H

namespace kxdxf {

class clsTranslator;
class clssENTITY;

// The arc from (x1, y1) to (x2, y2) whose bulge is the tangent of a
// quarter of its included angle; counter-clockwise from start to end.
struct utlArcParam {
    double cx = 0.0;
    double cy = 0.0;
    double radius = 0.0;
    double start = 0.0;
    double end = 0.0;
};

// 0 for a bulge of 0 (a straight segment), else 1.
// The arc of a bulged segment: centre, radius and its counter-clockwise
// start and end angles. bulge must not be 0.
void utlBulgeArc(double x1, double y1, double x2, double y2, double bulge, utlArcParam& arc);

int utlCalcArcParam(
    clsTranslator& tr, double x1, double y1, double x2, double y2, double bulge, utlArcParam& arc);

// The header was filled with single keys; the reader reads the vertices.
int rdDrEntPOLYLINE(clsTranslator& tr, const clssENTITY& header);
// Filled with per-vertex keys.
int rdDrEntLWPOLYLINE(clsTranslator& tr, const clssENTITY& entity);

}  // namespace kxdxf

#endif
