#include "rdDrEntSimple.h"

#include <cmath>
#include <cstddef>

#include "clsEntityAttribs.h"
#include "clsOCS.h"
#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kAngleTolerance = 1e-7;
constexpr double kDefaultElevation = 0.0;

// 3DFACE invisible-edge flags (group 70).
constexpr int kHideEdge12 = 1;
constexpr int kHideEdge23 = 2;
constexpr int kHideEdge34 = 4;
constexpr int kHideEdge41 = 8;

struct Point {
    double x;
    double y;
};

// The value of a group the reader cannot do without; aborts the read with
// the reader's message when it is absent.
double required(clsTranslator& tr, const clssENTITY& entity, const char* code, const char* message)
{
    const std::string* text = entity.find(code);
    if (!text)
        tr.utlFatal(message, code);
    return utlAtof(text->c_str());
}

double optional(const clssENTITY& entity, const char* code, double fallback)
{
    const std::string* text = entity.find(code);
    return text ? utlAtof(text->c_str()) : fallback;
}

Point requiredPoint(clsTranslator& tr, const clssENTITY& entity, const char* xCode, const char* yCode,
                    const char* message)
{
    const double x = required(tr, entity, xCode, message);
    const double y = required(tr, entity, yCode, message);
    return {x, y};
}

double startAngle(double angle)
{
    return std::fabs(angle) < kAngleTolerance ? 0.0 : angle;
}

double endAngle(double angle)
{
    return std::fabs(angle - kTwoPi) < kAngleTolerance ? kTwoPi : angle;
}

KXPoint kx(const Point& p)
{
    return KXPoint{p.x, p.y};
}

void addLine(clsTranslator& tr, const Point& a, const Point& b)
{
    const double start[2] = {a.x, a.y};
    const double end[2] = {b.x, b.y};
    tr.api().AddLine(tr.doc(), start, end, nullptr, nullptr);
}

// Sets the entity's attributes, then draws it in its object coordinate
// system.
template <class Draw>
void drawInEntityPlane(clsTranslator& tr, const clssENTITY& entity, Draw draw)
{
    clsEntityAttribs::setEntityAttribs(tr, entity);
    const clsOCS::Scope plane(tr, clsOCS(entity));
    draw();
}

// The closed outline of a SOLID or TRACE.
template <std::size_t N>
void addOutline(clsTranslator& tr, const clssENTITY& entity, const KXPoint (&points)[N], double elevation)
{
    drawInEntityPlane(tr, entity, [&] {
        tr.api().AddPolyline(tr.doc(), points, static_cast<int>(N), nullptr, &elevation);
    });
}

}  // namespace

int rdDrEntLINE(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntLINE>:\t\tentered");
    static constexpr const char* kMessage = "rdDrEntLINE:\tNo value for Group Code <%s>\n";
    const Point p1 = requiredPoint(tr, entity, "10", "20", kMessage);
    const Point p2 = requiredPoint(tr, entity, "11", "21", kMessage);
    clsEntityAttribs::setEntityAttribs(tr, entity);
    addLine(tr, p1, p2);
    tr.utlLogMsg(tr.fixedDateLines());
    tr.utlLogMsg("<rdDrEntLINE>:\t\tnormal exit");
    return 1;
}

int rdDrEntPOINT(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntPOINT>:\t\tentered");
    const Point p = requiredPoint(tr, entity, "10", "20", "rdDrEntPOINT:\tNo value for Group Code <%s>\n");
    clsEntityAttribs::setEntityAttribs(tr, entity);
    addLine(tr, p, p);
    tr.utlLogMsg("<rdDrEntPOINT>:\t\tnormal exit");
    return 1;
}

int rdDrEntCIRCLE(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntCIRCLE>:\t\tentered");
    static constexpr const char* kMessage = "rdDrEntCIRCLE:\tNo value for mrkr <%s>\n";
    const Point c = requiredPoint(tr, entity, "10", "20", kMessage);
    const double radius = required(tr, entity, "40", kMessage);
    const double elevation = optional(entity, "38", kDefaultElevation);
    const double centre[2] = {c.x, c.y};
    drawInEntityPlane(tr, entity,
                      [&] { tr.api().AddCircle(tr.doc(), centre, radius, nullptr, &elevation); });
    tr.utlLogMsg("<rdDrEntCIRCLE>:\t\tnormal exit");
    return 1;
}

int rdDrEntARC(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntARC>:\t\tentered");
    static constexpr const char* kMessage = "rdDrEntARC:\tNo value for Group Code <%s>\n";
    const Point c = requiredPoint(tr, entity, "10", "20", kMessage);
    const double radius = required(tr, entity, "40", kMessage);
    const double start = startAngle(utlDegreesToRadians(required(tr, entity, "50", kMessage)));
    const double end = endAngle(utlDegreesToRadians(required(tr, entity, "51", kMessage)));
    const double elevation = optional(entity, "38", kDefaultElevation);
    const double centre[2] = {c.x, c.y};
    drawInEntityPlane(tr, entity, [&] {
        tr.api().AddArc(tr.doc(), centre, radius, start, end, nullptr, &elevation);
    });
    tr.utlLogMsg("<rdDrEntARC>:\t\tnormal exit");
    return 1;
}

int rdDrEntELLIPSE(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntELLIPSE>:\t\tentered");
    static constexpr const char* kMessage = "rdDrEntELLIPSE:\tNo value for Group Code <%s>\n";
    const Point c = requiredPoint(tr, entity, "10", "20", kMessage);
    const Point axisEnd = requiredPoint(tr, entity, "11", "21", kMessage);
    const double ratio = required(tr, entity, "40", kMessage);
    const double start = startAngle(optional(entity, "41", 0.0));
    const double end = endAngle(optional(entity, "42", kTwoPi));
    clsEntityAttribs::setEntityAttribs(tr, entity);
    const double centre[2] = {c.x, c.y};
    const double axis[2] = {axisEnd.x, axisEnd.y};
    if (start == 0.0 && end == kTwoPi)
        tr.api().AddEllipse(tr.doc(), centre, axis, ratio, nullptr, nullptr);
    else
        tr.api().AddEllipticArc(tr.doc(), centre, axis, ratio, start, end, nullptr, nullptr);
    tr.utlLogMsg("<rdDrEntELLIPSE>:\t\texitting");
    return 1;
}

int rdDrEntSOLID(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntSOLID>:\t\tentered");
    static constexpr const char* kMessage = "rdDrEntSOLID: No value for mrkr <%s>\n";
    const Point p1 = requiredPoint(tr, entity, "10", "20", kMessage);
    const Point p2 = requiredPoint(tr, entity, "11", "21", kMessage);
    const Point p3 = requiredPoint(tr, entity, "12", "22", kMessage);
    const Point p4 = requiredPoint(tr, entity, "13", "23", kMessage);
    const double elevation = optional(entity, "38", kDefaultElevation);
    // The corners zigzag: 1-2-4-3 is the outline; a triangle repeats its
    // third corner as the fourth.
    if (p4.x != p3.x || p4.y != p3.y) {
        const KXPoint outline[] = {kx(p1), kx(p2), kx(p4), kx(p3), kx(p1)};
        addOutline(tr, entity, outline, elevation);
    } else {
        const KXPoint outline[] = {kx(p1), kx(p2), kx(p4), kx(p1)};
        addOutline(tr, entity, outline, elevation);
    }
    tr.utlLogMsg("<rdDrEntSOLID>:\t\tnormal exit");
    return 1;
}

int rdDrEntTRACE(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntTRACE>:\t\tentered");
    static constexpr const char* kMessage = "r12DrawEntityTRACE: No value for mrkr <%s>\n";
    const Point p1 = requiredPoint(tr, entity, "10", "20", kMessage);
    const Point p3 = requiredPoint(tr, entity, "12", "22", kMessage);
    const Point p4 = requiredPoint(tr, entity, "13", "23", kMessage);
    const Point p2 = requiredPoint(tr, entity, "11", "21", kMessage);
    // A trace's group 38 is not looked at: it is drawn at elevation 0.
    const KXPoint outline[] = {kx(p1), kx(p3), kx(p4), kx(p2), kx(p1)};
    addOutline(tr, entity, outline, kDefaultElevation);
    tr.utlLogMsg("<rdDrEntTRACE>:\t\texitting");
    return 1;
}

int rdDrEnt3DFACE(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEnt3DFACE>:\t\tentered");
    static constexpr const char* kMessage = "rdDrEnt3DFACE:\tNo value for Group Code <%s>\n";
    const Point p1 = requiredPoint(tr, entity, "10", "20", kMessage);
    required(tr, entity, "30", kMessage);
    const Point p2 = requiredPoint(tr, entity, "11", "21", kMessage);
    const Point p3 = requiredPoint(tr, entity, "12", "22", kMessage);
    const Point p4{optional(entity, "13", p3.x), optional(entity, "23", p3.y)};
    const std::string* flagsText = entity.find("70");
    const int flags = flagsText ? utlAtoi(flagsText->c_str()) : 0;
    clsEntityAttribs::setEntityAttribs(tr, entity);
    if ((flags & kHideEdge12) == 0)
        addLine(tr, p1, p2);
    if ((flags & kHideEdge23) == 0)
        addLine(tr, p2, p3);
    if ((flags & kHideEdge34) == 0)
        addLine(tr, p3, p4);
    if ((flags & kHideEdge41) == 0)
        addLine(tr, p4, p1);
    tr.utlLogMsg("<rdDrEnt3DFACE>:\t\tnormal exit");
    return 1;
}

int rdDrEntVIEWPORT(clsTranslator& tr, const clssENTITY&)
{
    tr.utlLogMsg("<rdDrEntVIEWPORT>:\t\tentered");
    tr.utlLogMsg("<rdDrEntVIEWPORT>:\t\tnormal exit");
    return 1;
}

}  // namespace kxdxf
