#include "rdDrEntSpline.h"

#include <vector>

#include "clsEntityAttribs.h"
#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlEntityKeys.h"
#include "utlNumbers.h"

namespace kxdxf {

int rdDrEntSPLINE(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntSPLINE>:\t\tentered");
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

    clsEntityAttribs::setEntityAttribsMKey(tr, entity);
    // Unchanged attributes: the current ones apply.
    const tagKXEntAttrib unchanged{};
    const int created =
        tr.api().AddSpline(tr.doc(), degree, controls.data(), static_cast<int>(controls.size()), knots.data(),
            static_cast<int>(knots.size()), weights.data(), 0, &unchanged, nullptr);
    if (created == 0)
        tr.logs().errMsg(
            "rdDrEntSPLINE:\tSpline of degree <%d> with <%ld> control points and <%ld> knots not "
            "created",
            degree, count, knotCount);
    tr.utlLogMsg("<rdDrEntSPLINE>:\t\tnormal exit");
    return 1;
}

}  // namespace kxdxf
