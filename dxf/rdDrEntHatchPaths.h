// The boundary paths of a HATCH: their pairs as read, the pieces their
// edges describe, and the engine paths (or, for a hatch without pattern
// lines, the outline entities) made of those pieces.
#ifndef KXDXF_RDDRENTHATCHPATHS_H
#define KXDXF_RDDRENTHATCHPATHS_H

#include <stdexcept>
#include <string_view>
#include <vector>

#include <korvex/kxtypes.h>

#include "clsKeyMap.h"

namespace kxdxf {

class clsTranslator;

// Group 92 of a boundary path.
enum : int {
    kPathExternal = 1,
    kPathPolyline = 2,
    kPathDerived = 4,
    kPathTextBox = 8,
    kPathOutermost = 16,
};

// One boundary path: a polyline path keeps all its pairs in keys; an edge
// path keeps its own pairs there and each edge's pairs in an edge map.
struct clsHatchPath {
    clsKeyMap keys;
    std::vector<clsKeyMap> edges;
};

// A piece of a boundary as the engine's path exports take it. Angles are
// in radians.
struct clsHatchPiece {
    enum class Kind { Polyline, CircleArc, EllipticArc, Spline };
    Kind kind = Kind::Polyline;
    // Polyline points or spline control points.
    std::vector<KXPoint> points;
    double centre[2] = {0.0, 0.0};
    // Elliptic arc: the major axis end relative to the centre.
    double axis[2] = {0.0, 0.0};
    // Circle arc: the radius; elliptic arc: the axis ratio.
    double size = 0.0;
    double start = 0.0;
    double end = 0.0;
    int full = 0;
    int degree = 0;
    std::vector<double> knots;
    std::vector<double> weights;
};

// Raised when a hatch's groups do not describe it (the message is in the
// error log already): the hatch is left out and the reading goes on.
class clsHatchFault : public std::runtime_error {
public:
    clsHatchFault() : std::runtime_error("DXF hatch left out") {}
};

// Writes the message (a trailing line end is not doubled) to the error log
// and raises clsHatchFault.
[[noreturn]] void utlHatchFault(clsTranslator& tr, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// The value of a group a hatch cannot do without: raises clsHatchFault
// with the message (printed with the key as its argument) when absent.
double utlHatchRequired(clsTranslator& tr, const clsKeyMap& keys, std::string_view key, const char* message);
double utlHatchOptional(const clsKeyMap& keys, std::string_view key, double fallback);

// The pieces of a boundary path (the edge readers and
// addPathEdgePolyline); an edge that cannot be drawn is reported and left
// out, a missing required group raises clsHatchFault.
std::vector<clsHatchPiece> crtPath(clsTranslator& tr, const clsHatchPath& path, int flags);

// A new engine path made of the pieces; its id.
int crtEnginePath(clsTranslator& tr, const std::vector<clsHatchPiece>& pieces, const double* elevation);

// The pieces as entities of the current container, in the current
// attributes.
void drawPathOutline(clsTranslator& tr, const std::vector<clsHatchPiece>& pieces, const double* elevation);

}  // namespace kxdxf

#endif
