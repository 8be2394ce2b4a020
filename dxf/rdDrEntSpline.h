// Reader of SPLINE: one engine spline from its degree, control points,
// weights and knots.
#ifndef KXDXF_RDDRENTSPLINE_H
#define KXDXF_RDDRENTSPLINE_H

namespace kxdxf {

class clsTranslator;
class clssENTITY;

// Filled with multi keys.
int rdDrEntSPLINE(clsTranslator& tr, const clssENTITY& entity);

}  // namespace kxdxf

#endif
