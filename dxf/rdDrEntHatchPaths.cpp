#include "rdDrEntHatchPaths.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <initializer_list>
#include <string_view>

#include "clsTranslator.h"
#include "rdDrEntPolyline.h"
#include "utlEntityKeys.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kAngleTolerance = 1e-7;
constexpr double kFullTurnDegrees = 360.0;
// Vertices closer than this in x and in y make no segment.
constexpr double kSameVertex = 1e-7;

// Edge types (group 72 of an edge).
enum : long { kEdgeLine = 1, kEdgeCircleArc = 2, kEdgeEllipticArc = 3, kEdgeSpline = 4, kEdgeSkipped = 5 };

using Pieces = std::vector<clsHatchPiece>;

constexpr const char* kSplineValue = "rdDrEntSPLINE:\tNo value for Group Code <%s>\n";
constexpr const char* kVertexValue = "<addPathEdgePolyline>:\tNo value for mrkr <%s>\n";

// The key "code.index" of a multi-key map.
class IndexedKey {
public:
    IndexedKey(const char* code, long index) { std::snprintf(text_, sizeof text_, "%s.%ld", code, index); }
    std::string_view view() const { return text_; }
    const char* c_str() const { return text_; }

private:
    char text_[48];
};

bool allFinite(std::initializer_list<double> values)
{
    for (const double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

// A clockwise arc edge (group 73 = 0) keeps the complements (360 - angle)
// of its angles, which describe the same arc counter-clockwise with start
// and end exchanged.
void counterClockwise(const clsKeyMap& edge, double& startDegrees, double& endDegrees)
{
    const std::string* ccw = edge.find("73.0");
    if (!ccw || utlAtol(ccw->c_str()) != 0)
        return;
    const double start = kFullTurnDegrees - endDegrees;
    endDegrees = kFullTurnDegrees - startDegrees;
    startDegrees = start;
}

// A group an edge cannot do without; the message names the reader, the
// key and what the group is.
double edgeValue(clsTranslator& tr, const clsKeyMap& edge, const char* reader, const char* key, const char* what)
{
    const std::string* text = edge.find(key);
    if (!text)
        utlHatchFault(tr, "<%s>:\tNo value for mrkr <%s> - %s\n", reader, key, what);
    return utlAtof(text->c_str());
}

void leftOut(clsTranslator& tr, const char* reader, const char* edgeKey, const char* why)
{
    tr.logs().errMsg("<%s>:\tEdge <%s> %s, left out", reader, edgeKey, why);
}

void addPathEdgeLine(clsTranslator& tr, const clsKeyMap& edge, const char* edgeKey, Pieces& out)
{
    tr.utlLogMsg("<addPathEdgeLine>:\t\tentered");
    const double x1 = edgeValue(tr, edge, "addPathEdgeLine", "10.0", "NUMBER OF EDGES");
    const double y1 = edgeValue(tr, edge, "addPathEdgeLine", "20.0", "NUMBER OF EDGES");
    const double x2 = edgeValue(tr, edge, "addPathEdgeLine", "11.0", "NUMBER OF EDGES");
    const double y2 = edgeValue(tr, edge, "addPathEdgeLine", "21.0", "NUMBER OF EDGES");
    if (!allFinite({x1, y1, x2, y2})) {
        leftOut(tr, "addPathEdgeLine", edgeKey, "has a coordinate that is not a finite number");
    } else if (x1 != x2 || y1 != y2) {
        // A line of no length would pass for a closed piece and close the
        // path before its other edges.
        clsHatchPiece line;
        line.points = {KXPoint{x1, y1}, KXPoint{x2, y2}};
        out.push_back(std::move(line));
    }
    tr.utlLogMsg("<addPathEdgeLine>:\t\tnormal exit");
}

void addPathEdgeCircleArc(clsTranslator& tr, const clsKeyMap& edge, const char* edgeKey, bool onlyEdge,
                          Pieces& out)
{
    tr.utlLogMsg("<addPathEdgeCircleArc>:\t\tentered");
    const double cx = edgeValue(tr, edge, "addPathEdgeCircleArc", "10.0", "Center X");
    const double cy = edgeValue(tr, edge, "addPathEdgeCircleArc", "20.0", "Center Y");
    const double radius = edgeValue(tr, edge, "addPathEdgeCircleArc", "40.0", "Radius");
    double start = edgeValue(tr, edge, "addPathEdgeCircleArc", "50.0", "Start Angle");
    double end = edgeValue(tr, edge, "addPathEdgeCircleArc", "51.0", "Start Angle");
    counterClockwise(edge, start, end);
    start = utlDegreesToRadians(start);
    end = utlDegreesToRadians(end);
    if (!allFinite({cx, cy, radius, start, end})) {
        leftOut(tr, "addPathEdgeCircleArc", edgeKey, "has a value that is not a finite number");
    } else if (radius <= 0.0) {
        leftOut(tr, "addPathEdgeCircleArc", edgeKey, "has no positive radius");
    } else {
        clsHatchPiece arc;
        arc.kind = clsHatchPiece::Kind::CircleArc;
        arc.centre[0] = cx;
        arc.centre[1] = cy;
        arc.size = radius;
        arc.start = std::fabs(start) < kAngleTolerance ? 0.0 : start;
        arc.end = std::fabs(end - kTwoPi) < kAngleTolerance ? kTwoPi : end;
        arc.full = onlyEdge ? 1 : 0;
        out.push_back(std::move(arc));
    }
    tr.utlLogMsg("<addPathEdgeCircleArc>:\t\tnormal exit");
}

void addPathEdgeEllipticArc(clsTranslator& tr, const clsKeyMap& edge, const char* edgeKey, Pieces& out)
{
    tr.utlLogMsg("<addPathEdgeEllipticArc>:\t\tentered");
    const double cx = edgeValue(tr, edge, "addPathEdgeEllipticArc", "10.0", "Center X");
    const double cy = edgeValue(tr, edge, "addPathEdgeEllipticArc", "20.0", "Center Y");
    const double ax = edgeValue(tr, edge, "addPathEdgeEllipticArc", "11.0", "Major Axis X");
    const double ay = edgeValue(tr, edge, "addPathEdgeEllipticArc", "21.0", "Major Axis Y");
    const double ratio = edgeValue(tr, edge, "addPathEdgeEllipticArc", "40.0", "Start Angle");
    double start = utlHatchOptional(edge, "50.0", 0.0);
    double end = utlHatchOptional(edge, "51.0", kFullTurnDegrees);
    counterClockwise(edge, start, end);
    start = utlDegreesToRadians(start);
    end = utlDegreesToRadians(end);
    if (!allFinite({cx, cy, ax, ay, ratio, start, end})) {
        leftOut(tr, "addPathEdgeEllipticArc", edgeKey, "has a value that is not a finite number");
    } else {
        clsHatchPiece arc;
        arc.kind = clsHatchPiece::Kind::EllipticArc;
        arc.centre[0] = cx;
        arc.centre[1] = cy;
        arc.axis[0] = ax;
        arc.axis[1] = ay;
        arc.size = ratio;
        arc.start = start;
        arc.end = end;
        arc.full = std::fabs(std::fabs(end - start) - kTwoPi) <= kAngleTolerance ? 1 : 0;
        out.push_back(std::move(arc));
    }
    tr.utlLogMsg("<addPathEdgeEllipticArc>:\t\tnormal exit");
}

void addPathEdgeSpline(clsTranslator& tr, const clsKeyMap& edge, const char* edgeKey, Pieces& out)
{
    tr.utlLogMsg("<addPathEdgeSpline>:\t\tentered");
    const double degree =
        utlHatchRequired(tr, edge, "94.0", "rdDrEntSPLINE:\tNo value for Group Code < 71.0> degree of spline curve\n");
    // The counts are those of the groups read, so every index below them
    // names a pair of the edge.
    const long count = static_cast<long>(
        utlHatchRequired(tr, edge, "10",
                         "rdDrEntSPLINE:\tNo value for Group Code <10> number of CONTROL POINTS read\n"));
    const long knotCount = static_cast<long>(
        utlHatchRequired(tr, edge, "40", "rdDrEntSPLINE:\tNo value for Group Code <40> number of KNOTS read\n"));
    clsHatchPiece spline;
    spline.kind = clsHatchPiece::Kind::Spline;
    bool finite = std::isfinite(degree);
    for (long i = 0; i < count; ++i) {
        const double x = utlHatchRequired(tr, edge, IndexedKey("10", i).view(), kSplineValue);
        const double y = utlHatchRequired(tr, edge, IndexedKey("20", i).view(), kSplineValue);
        const double w = utlHatchOptional(edge, IndexedKey("42", i).view(), 1.0);
        finite = finite && allFinite({x, y, w});
        spline.points.push_back(KXPoint{x, y});
        spline.weights.push_back(w);
    }
    for (long i = 0; i < knotCount; ++i) {
        const double knot = utlHatchRequired(tr, edge, IndexedKey("40", i).view(), kSplineValue);
        finite = finite && std::isfinite(knot);
        spline.knots.push_back(knot);
    }
    if (!finite) {
        leftOut(tr, "addPathEdgeSpline", edgeKey, "has a value that is not a finite number");
    } else if (degree < 1.0 || degree >= static_cast<double>(count)) {
        leftOut(tr, "addPathEdgeSpline", edgeKey, "has a degree that its control points cannot carry");
    } else {
        spline.degree = static_cast<int>(degree);
        out.push_back(std::move(spline));
    }
    tr.utlLogMsg("<addPathEdgeSpline>:\t\tnormal exit");
}

// The arc from (x1, y1) to (x2, y2) whose bulge is the tangent of a quarter
// of its included angle, counter-clockwise from start to end (the bulge
// rule of polyline segments).
void bulgeArc(double x1, double y1, double x2, double y2, double bulge, clsHatchPiece& arc)
{
    utlArcParam geometry;
    utlBulgeArc(x1, y1, x2, y2, bulge, geometry);
    arc.centre[0] = geometry.cx;
    arc.centre[1] = geometry.cy;
    arc.size = geometry.radius;
    arc.start = geometry.start;
    arc.end = geometry.end;
}

struct Vertex {
    double x;
    double y;
    double bulge;
};

void addPathEdgePolyline(clsTranslator& tr, const clsKeyMap& keys, Pieces& out)
{
    tr.utlLogMsg("<addPathEdgePolyline>:\t\tentered");
    const std::string* countText = keys.find("93.0");
    if (!countText)
        utlHatchFault(tr, "<addPathEdgePolyline>:\tNo value for mrkr <93.0> - NUMBER OF VERTICES\n");
    const long count = utlAtol(countText->c_str());
    const std::string* presentText = keys.find("10");
    const long present = presentText ? utlAtol(presentText->c_str()) : 0;
    if (count < 0)
        utlHatchFault(tr, "<addPathEdgePolyline>:\tVertex count <%ld> is negative\n", count);
    if (count > present)
        utlHatchFault(tr, "<addPathEdgePolyline>:\tNo value for mrkr <%s>\n", IndexedKey("10", present).c_str());
    if (count < present)
        tr.logs().errMsg("<addPathEdgePolyline>:\tVertex count <%ld> but <%ld> vertices follow, the rest left out",
                         count, present);

    std::vector<Vertex> vertices;
    vertices.reserve(static_cast<std::size_t>(count) + 1);
    for (long i = 0; i < count; ++i) {
        const IndexedKey x("10", i);
        const IndexedKey y("20", i);
        vertices.push_back(Vertex{utlHatchRequired(tr, keys, x.view(), kVertexValue),
                                  utlHatchRequired(tr, keys, y.view(), kVertexValue),
                                  utlHatchOptional(keys, IndexedKey("42", i).view(), 0.0)});
    }
    const std::string* closed = keys.find("73.0");
    if (closed && (utlAtol(closed->c_str()) & 1) != 0 && !vertices.empty())
        vertices.push_back(vertices.front());

    bool reported = false;
    for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
        const Vertex& a = vertices[i];
        const Vertex& b = vertices[i + 1];
        if (!allFinite({a.x, a.y, a.bulge, b.x, b.y})) {
            if (!reported)
                tr.logs().errMsg("<addPathEdgePolyline>:\tSegment <%zu> has a value that is not a finite number, "
                                 "left out with any others of its path", i);
            reported = true;
            continue;
        }
        // Coincident vertices make no segment; a zero-length piece would
        // pass for a closed one.
        if (std::fabs(a.x - b.x) <= kSameVertex && std::fabs(a.y - b.y) <= kSameVertex)
            continue;
        clsHatchPiece piece;
        if (a.bulge != 0.0) {
            bulgeArc(a.x, a.y, b.x, b.y, a.bulge, piece);
            piece.kind = clsHatchPiece::Kind::CircleArc;
            if (!allFinite({piece.centre[0], piece.centre[1], piece.size, piece.start, piece.end})) {
                tr.logs().errMsg("<addPathEdgePolyline>:\tBulge <%g> of segment <%zu> describes no arc, drawn "
                                 "straight", a.bulge, i);
                piece = clsHatchPiece{};
            }
        }
        if (piece.kind == clsHatchPiece::Kind::Polyline)
            piece.points = {KXPoint{a.x, a.y}, KXPoint{b.x, b.y}};
        out.push_back(std::move(piece));
    }
    tr.utlLogMsg("<addPathEdgePolyline>:\t\tnormal exit");
}

}  // namespace

void utlHatchFault(clsTranslator& tr, const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    utlErrMsgV(tr, fmt, args);
    va_end(args);
    throw clsHatchFault();
}

double utlHatchRequired(clsTranslator& tr, const clsKeyMap& keys, std::string_view key, const char* message)
{
    const std::string* text = keys.find(key);
    if (!text)
        utlHatchFault(tr, message, std::string(key).c_str());
    return utlAtof(text->c_str());
}

double utlHatchOptional(const clsKeyMap& keys, std::string_view key, double fallback)
{
    const std::string* text = keys.find(key);
    return text ? utlAtof(text->c_str()) : fallback;
}

std::vector<clsHatchPiece> crtPath(clsTranslator& tr, const clsHatchPath& path, int flags)
{
    tr.utlLogMsg("<crtPath>:\t\tentered");
    Pieces pieces;
    if ((flags & kPathPolyline) != 0) {
        addPathEdgePolyline(tr, path.keys, pieces);
        tr.utlLogMsg("<crtPath>:\t\tnormal exit");
        return pieces;
    }
    if (path.edges.empty())
        utlHatchFault(tr, "<crtPath>:\tNo value for mrkr <EDGE> - NUMBER OF EDGES\n");
    if (const std::string* declared = path.keys.find("93.0")) {
        const long count = utlAtol(declared->c_str());
        if (count != static_cast<long>(path.edges.size()))
            tr.logs().errMsg("<crtPath>:\tEdge count <%ld> but <%zu> edges follow", count, path.edges.size());
    }
    const bool onlyEdge = path.edges.size() == 1;
    for (std::size_t i = 0; i < path.edges.size(); ++i) {
        const clsKeyMap& edge = path.edges[i];
        const IndexedKey edgeKey("EDGE", static_cast<long>(i));
        const std::string* typeText = edge.find("72.0");
        if (!typeText)
            utlHatchFault(tr, "<crtPath>:\tNo value for mrkr <%s> - EDGE type\n", edgeKey.c_str());
        switch (const long type = utlAtol(typeText->c_str())) {
        case kEdgeLine:
            addPathEdgeLine(tr, edge, edgeKey.c_str(), pieces);
            break;
        case kEdgeCircleArc:
            addPathEdgeCircleArc(tr, edge, edgeKey.c_str(), onlyEdge, pieces);
            break;
        case kEdgeEllipticArc:
            addPathEdgeEllipticArc(tr, edge, edgeKey.c_str(), pieces);
            break;
        case kEdgeSpline:
            addPathEdgeSpline(tr, edge, edgeKey.c_str(), pieces);
            break;
        case kEdgeSkipped:
            break;
        default:
            tr.logs().errMsg("<crtPath>:\tEdge <%s> has the unknown type <%ld>, left out", edgeKey.c_str(), type);
            break;
        }
    }
    tr.utlLogMsg("<crtPath>:\t\tnormal exit");
    return pieces;
}

int crtEnginePath(clsTranslator& tr, const std::vector<clsHatchPiece>& pieces, const double* elevation)
{
    const clsEngineApi& api = tr.api();
    const int path = api.CreatePath(tr.doc());
    for (const clsHatchPiece& piece : pieces) {
        switch (piece.kind) {
        case clsHatchPiece::Kind::Polyline:
            api.PathAddPolyline(tr.doc(), path, piece.points.data(), static_cast<int>(piece.points.size()),
                                elevation);
            break;
        case clsHatchPiece::Kind::CircleArc:
            api.PathAddCircleArc(tr.doc(), path, piece.centre, piece.size, piece.start, piece.end, piece.full,
                                 elevation);
            break;
        case clsHatchPiece::Kind::EllipticArc:
            api.PathAddEllipticArc(tr.doc(), path, piece.centre, piece.axis, piece.size, piece.start, piece.end,
                                   piece.full, elevation);
            break;
        case clsHatchPiece::Kind::Spline: {
            std::vector<KXPoint> controls = piece.points;
            api.PathAddSpline(tr.doc(), path, piece.degree, controls.data(), static_cast<int>(controls.size()),
                              piece.knots.data(), static_cast<int>(piece.knots.size()), piece.weights.data(), 0,
                              elevation);
            break;
        }
        }
    }
    return path;
}

}  // namespace kxdxf
