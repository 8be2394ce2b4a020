#include "rdDrEntSpline.h"

#include <vector>

#include "clsEntityAttribs.h"
#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlEntityKeys.h"
#include "utlNumbers.h"
#include "utlSplineFit.h"

namespace kxdxf {
namespace {

// Sets the entity's attributes and hands the spline to the engine; 1 when
// the engine made it. Null weights are 1 each.
int utlAddSpline(clsTranslator& tr, const clssENTITY& entity, int degree, std::vector<KXPoint>& controls,
    const std::vector<double>& knots, const double* weights)
{
    clsEntityAttribs::setEntityAttribsMKey(tr, entity);
    // Unchanged attributes: the current ones apply.
    const tagKXEntAttrib unchanged{};
    return tr.api().AddSpline(tr.doc(), degree, controls.data(), static_cast<int>(controls.size()),
        knots.data(), static_cast<int>(knots.size()), weights, 0, &unchanged, nullptr);
}

// The spline by its degree, control points, weights and knots.
void rdControlSpline(clsTranslator& tr, const clssENTITY& entity)
{
    const int degree = utlAtoi(utlRequiredKey(
        tr, entity, "71.0", "rdDrEntSPLINE:\tNo value for Group Code <71.0> degree of spline curve\n")
                                   .c_str());
    // Counts of group occurrences: bounded by the pairs an entity holds.
    const long count = utlAtol(utlRequiredKey(tr, entity, "10",
        "rdDrEntSPLINE:\tNo value for Group Code <10> number of CONTROL "
        "POINTS read\n")
                                   .c_str());
    std::vector<KXPoint> controls;
    std::vector<double> weights;
    for (long i = 0; i < count; ++i) {
        controls.push_back(KXPoint{utlKeyReal(entity, utlIndexedKey("10", i).view(), 0.0),
            utlKeyReal(entity, utlIndexedKey("20", i).view(), 0.0)});
        weights.push_back(utlKeyReal(entity, utlIndexedKey("41", i).view(), 1.0));
    }
    const long knotCount = utlAtol(utlRequiredKey(
        tr, entity, "40", "rdDrEntSPLINE:\tNo value for Group Code <40> number of KNOTS read\n")
                                       .c_str());
    std::vector<double> knots;
    for (long i = 0; i < knotCount; ++i)
        knots.push_back(utlKeyReal(entity, utlIndexedKey("40", i).view(), 0.0));

    if (utlAddSpline(tr, entity, degree, controls, knots, weights.data()) == 0)
        tr.logs().errMsg(
            "rdDrEntSPLINE:\tSpline of degree <%d> with <%ld> control points and <%ld> knots not "
            "created",
            degree, count, knotCount);
}

// The tangent of groups xCode/yCode (first occurrence), when the entity has one.
const KXPoint* utlFitTangent(const clssENTITY& entity, const char* xCode, const char* yCode, KXPoint& tangent)
{
    if (!entity.has(xCode) && !entity.has(yCode))
        return nullptr;
    tangent = KXPoint{utlKeyReal(entity, utlIndexedKey(xCode, 0).view(), 0.0),
        utlKeyReal(entity, utlIndexedKey(yCode, 0).view(), 0.0)};
    return &tangent;
}

// A spline given by fit points only (11/21, tangents 12/22 and 13/23,
// closed by flag 1 of group 70): drawn, as CAD programs draw it, as the
// interpolating cubic.
void rdFitSpline(clsTranslator& tr, const clssENTITY& entity, long fitCount)
{
    tr.logs().logMsg("<rdDrEntSPLINE>:\t\tno CONTROL POINTS, cubic through <%ld> fit points", fitCount);
    std::vector<KXPoint> fitPoints;
    for (long i = 0; i < fitCount; ++i)
        fitPoints.push_back(KXPoint{utlKeyReal(entity, utlIndexedKey("11", i).view(), 0.0),
            utlKeyReal(entity, utlIndexedKey("21", i).view(), 0.0)});
    KXPoint start{};
    KXPoint end{};
    const bool closed = (utlKeyInt(entity, "70.0", 0) & 1) != 0;
    clsCubicSpline spline = utlSplineFit(
        fitPoints, utlFitTangent(entity, "12", "22", start), utlFitTangent(entity, "13", "23", end), closed);
    if (utlAddSpline(tr, entity, 3, spline.controls, spline.knots, nullptr) == 0)
        tr.logs().errMsg("rdDrEntSPLINE:\tSpline through <%ld> fit points not created", fitCount);
}

}  // namespace

int rdDrEntSPLINE(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntSPLINE>:\t\tentered");
    // Control points win when both are given; without either the control
    // point reader names what is missing and leaves the entity out.
    const std::string* fitCount = entity.find("11");
    const long fits = fitCount ? utlAtol(fitCount->c_str()) : 0;
    if (!entity.has("10") && fits >= 2)
        rdFitSpline(tr, entity, fits);
    else
        rdControlSpline(tr, entity);
    tr.utlLogMsg("<rdDrEntSPLINE>:\t\tnormal exit");
    return 1;
}

}  // namespace kxdxf
