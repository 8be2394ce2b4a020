#include "rdDrEntPolyline.h"

#include <cmath>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "clsEntityAttribs.h"
#include "clsEntitySection.h"
#include "clsOCS.h"
#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlEntityKeys.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kSameVertex = 1e-7;
constexpr int kMaxPolylinePairs = 100000;

// POLYLINE flags (group 70).
constexpr int kClosed = 1;
constexpr int kPolyline3D = 8;
constexpr int kPolygonMesh = 16;
constexpr int kMeshClosedN = 32;
constexpr int kPolyfaceMesh = 64;
// VERTEX flags (group 70).
constexpr int kVertexMeshPoint = 64;
constexpr int kVertexFaceOrPoint = 128;
constexpr int kFaceCorners = 4;

struct Vertex {
    double x;
    double y;
    double startWidth;
    double endWidth;
    double bulge;
};

// The corners of a polyface mesh face: 1-based vertex indices, negative
// when the edge that starts there is invisible, 0 when unused.
struct Face {
    int corner[kFaceCorners];
};

double angleSeenFrom(double cx, double cy, double x, double y)
{
    const double length = std::hypot(x - cx, y - cy);
    const double ux = length > 0.0 ? std::fmax(-1.0, std::fmin(1.0, (x - cx) / length)) : 1.0;
    const double angle = std::acos(ux);
    return (y - cy) < 0.0 ? kTwoPi - angle : angle;
}

bool isFiniteArc(const utlArcParam& arc)
{
    return std::isfinite(arc.cx) && std::isfinite(arc.cy) && std::isfinite(arc.radius) &&
        std::isfinite(arc.start) && std::isfinite(arc.end);
}

class SegmentWriter {
public:
    SegmentWriter(clsTranslator& tr, const clssENTITY& entity, const double* elevation)
        : tr_(tr)
        , entity_(entity)
        , elevation_(elevation)
    {
    }

    // Each pair of consecutive vertices: a line, or an arc for a bulge, in
    // the vertex's own width when it has one.
    void draw(const std::vector<Vertex>& vertices)
    {
        for (std::size_t i = 0; i + 1 < vertices.size(); ++i)
            segment(vertices[i], vertices[i + 1]);
    }

private:
    void segment(const Vertex& a, const Vertex& b)
    {
        const bool widened = a.startWidth != 0.0 || a.endWidth != 0.0;
        if (widened)
            clsEntityAttribs::utlSetLineWidth(tr_, a.startWidth, a.endWidth);
        if (a.bulge == 0.0) {
            line(a, b);
        } else if (std::fabs(a.x - b.x) > kSameVertex || std::fabs(a.y - b.y) > kSameVertex) {
            utlArcParam arc;
            if (std::isfinite(a.bulge) && utlCalcArcParam(tr_, a.x, a.y, b.x, b.y, a.bulge, arc) == 1 &&
                isFiniteArc(arc)) {
                const double centre[2] = {arc.cx, arc.cy};
                tr_.api().AddArc(tr_.doc(), centre, arc.radius, arc.start, arc.end, nullptr, elevation_);
            } else {
                // NaN or infinite bulges describe no arc: the chord is what is left.
                tr_.logs().errMsg(
                    "rdDrEntPolyline:\tbulge <%g> describes no arc, segment drawn straight", a.bulge);
                line(a, b);
            }
        }
        if (widened)
            restoreAttribs();
    }

    void line(const Vertex& a, const Vertex& b)
    {
        const double start[2] = {a.x, a.y};
        const double end[2] = {b.x, b.y};
        tr_.api().AddLine(tr_.doc(), start, end, nullptr, elevation_);
    }

    void restoreAttribs()
    {
        if (entity_.isMultiKey())
            clsEntityAttribs::setEntityAttribsMKey(tr_, entity_);
        else
            clsEntityAttribs::setEntityAttribs(tr_, entity_);
    }

    clsTranslator& tr_;
    const clssENTITY& entity_;
    const double* elevation_;
};

void addMeshLine(clsTranslator& tr, const Vertex& a, const Vertex& b)
{
    const double start[2] = {a.x, a.y};
    const double end[2] = {b.x, b.y};
    tr.api().AddLine(tr.doc(), start, end, nullptr, nullptr);
}

// The visible edges of the faces, each shared edge once.
void drawPolyfaceMesh(clsTranslator& tr, const std::vector<Vertex>& points, const std::vector<Face>& faces)
{
    std::unordered_set<std::uint64_t> drawn;
    const long count = static_cast<long>(points.size());
    for (const Face& face : faces) {
        int corners[kFaceCorners];
        int used = 0;
        for (int corner : face.corner) {
            if (corner != 0)
                corners[used++] = corner;
        }
        for (int k = 0; k < used && used > 1; ++k) {
            const long from = corners[k];
            const long to = std::labs(static_cast<long>(corners[(k + 1) % used]));
            if (from < 0 || from > count || to > count || from == to)
                continue;
            const std::uint64_t key = (static_cast<std::uint64_t>(std::min(from, to)) << 32) |
                static_cast<std::uint64_t>(std::max(from, to));
            if (drawn.insert(key).second)
                addMeshLine(
                    tr, points[static_cast<std::size_t>(from - 1)], points[static_cast<std::size_t>(to - 1)]);
        }
    }
}

// M rows of N vertices: every row and every column as a polyline, closed
// in a direction when its flag says so.
void drawPolygonMesh(
    clsTranslator& tr, const clssENTITY& header, int flags, const std::vector<Vertex>& points)
{
    const long m = utlKeyInt(header, "71", 0);
    const long n = utlKeyInt(header, "72", 0);
    if (m < 1 || n < 1 || m * n > static_cast<long>(points.size())) {
        tr.logs().errMsg("rdDrEntPOLYLINE:\tpolygon mesh of <%ld> x <%ld> vertices has <%zu>, not drawn", m,
            n, points.size());
        return;
    }
    std::vector<KXPoint> line;
    auto emit = [&](long first, long step, long count, bool closed) {
        line.clear();
        for (long i = 0; i < count; ++i) {
            const Vertex& v = points[static_cast<std::size_t>(first + i * step)];
            line.push_back(KXPoint{v.x, v.y});
        }
        if (closed)
            line.push_back(line.front());
        if (line.size() > 1)
            tr.api().AddPolyline(tr.doc(), line.data(), static_cast<int>(line.size()), nullptr, nullptr);
    };
    for (long row = 0; row < m; ++row)
        emit(row * n, 1, n, (flags & kMeshClosedN) != 0);
    for (long column = 0; column < n; ++column)
        emit(column, n, m, (flags & kClosed) != 0);
}

}  // namespace

int utlCalcArcParam(
    clsTranslator& tr, double x1, double y1, double x2, double y2, double bulge, utlArcParam& arc)
{
    tr.utlLogMsg("<utlCalcArcParam>:\t\tentered");
    if (bulge == 0.0)
        return 0;
    utlBulgeArc(x1, y1, x2, y2, bulge, arc);
    tr.utlLogMsg("<utlCalcArcParam>:\t\tnormal exit");
    return 1;
}

void utlBulgeArc(double x1, double y1, double x2, double y2, double bulge, utlArcParam& arc)
{
    const double cx = x2 - x1;
    const double cy = y2 - y1;
    const double length = std::hypot(cx, cy);
    const double ux = cx / length;
    const double uy = cy / length;
    const double nx = bulge > 0.0 ? -uy : uy;
    const double ny = bulge > 0.0 ? ux : -ux;
    const double d = std::tan(kHalfPi - 4.0 * std::atan(std::fabs(bulge)) * 0.5) * length * 0.5;
    arc.cx = x1 + cx * 0.5 + d * nx;
    arc.cy = y1 + cy * 0.5 + d * ny;
    arc.radius = std::hypot(x1 - arc.cx, y1 - arc.cy);
    const double a1 = angleSeenFrom(arc.cx, arc.cy, x1, y1);
    const double a2 = angleSeenFrom(arc.cx, arc.cy, x2, y2);
    arc.start = bulge > 0.0 ? a1 : a2;
    arc.end = bulge > 0.0 ? a2 : a1;
}

int rdDrEntPOLYLINE(clsTranslator& tr, const clssENTITY& header)
{
    tr.utlLogMsg("<rdDrEntPOLYLINE>:\t\tentered");
    const double defaultStartWidth = utlKeyReal(header, "40", 0.0);
    const double defaultEndWidth = utlKeyReal(header, "41", 0.0);
    const int flags = utlKeyInt(header, "70", 0);
    const bool polyface = (flags & kPolyfaceMesh) != 0;

    std::vector<Vertex> vertices;
    std::vector<Face> faces;
    clssENTITY vertex;
    clsDxfStream& in = tr.input();
    int pairs = 0;
    for (; pairs < kMaxPolylinePairs; ++pairs) {
        const std::size_t before = in.tell();
        std::string_view code;
        std::string_view value;
        tr.utlReadGrpCodeValue(code, value);
        if (code == "0" && value == "SEQEND") {
            vertex.readSKey(tr);
            break;
        }
        if (code == "0" && value == "VERTEX") {
            vertex.readSKey(tr);
            const int vertexFlags = utlKeyInt(vertex, "70", 0);
            if (polyface && (vertexFlags & kVertexFaceOrPoint) != 0 &&
                (vertexFlags & kVertexMeshPoint) == 0) {
                faces.push_back({{utlKeyInt(vertex, "71", 0), utlKeyInt(vertex, "72", 0),
                    utlKeyInt(vertex, "73", 0), utlKeyInt(vertex, "74", 0)}});
                continue;
            }
            // A vertex without a position is left out; the rest of the
            // polyline is drawn.
            if (!vertex.has("10")) {
                tr.logs().errMsg("rdDrEntPOLYLINE:\tNo value for Group Code <10> (Vertex X)");
                continue;
            }
            if (!vertex.has("20")) {
                tr.logs().errMsg("rdDrEntPOLYLINE:\tNo value for Group Code <20> (Vertex Y)");
                continue;
            }
            vertices.push_back({utlKeyReal(vertex, "10", 0.0), utlKeyReal(vertex, "20", 0.0),
                utlKeyReal(vertex, "40", defaultStartWidth), utlKeyReal(vertex, "41", defaultEndWidth),
                utlKeyReal(vertex, "42", 0.0)});
            continue;
        }
        tr.logs().logMsg(
            "rdDrEntPolyline:\tunknown entity <%.*s>\n", static_cast<int>(value.size()), value.data());
        if (code == "0") {
            // No SEQEND: the polyline ends where the next entity starts,
            // which the section reads next.
            in.seek(before);
            break;
        }
    }
    if (pairs == kMaxPolylinePairs) {
        tr.logs().errMsg(
            "<rdDrEntPOLYLINE>:\t\tNumber of vertices in POLYLINE exceeded <%d>", kMaxPolylinePairs);
        // The vertices beyond it are consumed with the polyline, not drawn.
        clsEntitySection::consumeFollowers(tr, vertex, "VERTEX");
    }

    clsEntityAttribs::setEntityAttribs(tr, header);
    if (polyface) {
        drawPolyfaceMesh(tr, vertices, faces);
    } else if ((flags & kPolygonMesh) != 0) {
        drawPolygonMesh(tr, header, flags, vertices);
    } else {
        if ((flags & kClosed) != 0 && !vertices.empty())
            vertices.push_back(vertices.front());
        const bool mode3D = (flags & kPolyline3D) != 0;
        const double elevation = utlKeyReal(header, "30", 0.0);
        const clsOCS::Scope plane(tr, mode3D ? clsOCS(0.0, 0.0, 1.0) : clsOCS(header));
        SegmentWriter(tr, header, mode3D ? nullptr : &elevation).draw(vertices);
    }
    tr.utlLogMsg("<rdDrEntPOLYLINE>:\t\texitting");
    return 1;
}

int rdDrEntLWPOLYLINE(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntLWPOLYLINE>:\t\tentered");
    long count = utlAtol(utlRequiredKey(
        tr, entity, "10", "rdDrEntLWPOLYLINE:\tNo value for Group Code <10> number of points read\n")
                             .c_str());
    const long declared = utlAtol(
        utlRequiredKey(tr, entity, "90.0", "rdDrEntLWPOLYLINE:\tNo value for Group Code <90.0>\n").c_str());
    // One more vertex than declared is still taken.
    if (declared < count - 1)
        count = declared + 1;
    if (count < 0)
        count = 0;

    const double constantWidth = utlKeyReal(entity, "43.0", 0.0);
    std::vector<Vertex> vertices;
    vertices.reserve(static_cast<std::size_t>(count) + 1);
    for (long i = 0; i < count; ++i) {
        vertices.push_back({utlKeyReal(entity, utlIndexedKey("10", i).view(), 0.0),
            utlKeyReal(entity, utlIndexedKey("20", i).view(), 0.0),
            utlKeyReal(entity, utlIndexedKey("40", i).view(), constantWidth),
            utlKeyReal(entity, utlIndexedKey("41", i).view(), constantWidth),
            utlKeyReal(entity, utlIndexedKey("42", i).view(), 0.0)});
    }
    if ((utlKeyInt(entity, "70.0", 0) & kClosed) != 0 && !vertices.empty())
        vertices.push_back(vertices.front());

    clsEntityAttribs::setEntityAttribsMKey(tr, entity);
    const double elevation = utlKeyReal(entity, "38.0", 0.0);
    const clsOCS::Scope plane(tr, clsOCS(entity));
    SegmentWriter(tr, entity, &elevation).draw(vertices);
    tr.utlLogMsg("<rdDrEntLWPOLYLINE>:\t\texitting");
    return 1;
}

}  // namespace kxdxf
