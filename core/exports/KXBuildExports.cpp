// The C interface: Construction of primitives and 3D coordinate systems (kxbuild.h).
#include <korvex/kxcore.h>

#include <vector>

#include "exports/KXExportSupport.h"
#include "CKXBuilder.h"
#include "CKXDoc.h"
#include "geom/CTransf3D.h"

using namespace kxexport;

extern "C" {

int KXAddLine(KXDOC doc, const double start[2], const double end[2], const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !start || !end) return 0;
    KXEntAttribs attribs;
    return Guarded(
        [&] { return CKXBuilder(*DocOf(doc)).AddLine(PointOf(start), PointOf(end), EntAttribsOf(attr, attribs), z); });
}

int KXAddPolyline(KXDOC doc, const KXPoint* points, int count, const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !points || count <= 0) return 0;
    KXEntAttribs attribs;
    return Guarded([&] {
        const std::vector<CFltPoint> copy = PointsOf(points, count);
        return CKXBuilder(*DocOf(doc)).AddPolyline(copy.data(), count, EntAttribsOf(attr, attribs), z);
    });
}

int KXAddCircle(KXDOC doc, const double centre[2], double radius, const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !centre) return 0;
    KXEntAttribs attribs;
    return Guarded(
        [&] { return CKXBuilder(*DocOf(doc)).AddCircle(PointOf(centre), radius, EntAttribsOf(attr, attribs), z); });
}

int KXAddEllipse(KXDOC doc, const double centre[2], const double axis[2], double ratio, const tagKXEntAttrib* attr,
                 const double* z) {
    if (!doc || !centre || !axis) return 0;
    KXEntAttribs attribs;
    return Guarded([&] {
        return CKXBuilder(*DocOf(doc))
            .AddEllipse(PointOf(centre), PointOf(axis), ratio, EntAttribsOf(attr, attribs), z);
    });
}

int KXAddArc(KXDOC doc, const double centre[2], double radius, double start, double end, const tagKXEntAttrib* attr,
             const double* z) {
    if (!doc || !centre) return 0;
    KXEntAttribs attribs;
    return Guarded([&] {
        return CKXBuilder(*DocOf(doc)).AddArc(PointOf(centre), radius, start, end, EntAttribsOf(attr, attribs), z);
    });
}

int KXAddEllipticArc(KXDOC doc, const double centre[2], const double axis[2], double ratio, double start, double end,
                     const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !centre || !axis) return 0;
    KXEntAttribs attribs;
    return Guarded([&] {
        return CKXBuilder(*DocOf(doc))
            .AddEllipticArc(PointOf(centre), PointOf(axis), ratio, start, end, EntAttribsOf(attr, attribs), z);
    });
}

int KXAddSpline(KXDOC doc, int degree, KXPoint* controls, int count, const double* knots, int knotCount,
                const double* weights, int flags, const tagKXEntAttrib* attr, const double* z) {
    if (!doc || !controls || !knots || count <= 0 || knotCount <= 0) return 0;
    KXEntAttribs attribs;
    return Guarded([&] {
        std::vector<CFltPoint> points = PointsOf(controls, count);
        const int added = CKXBuilder(*DocOf(doc))
                              .AddSpline(degree, points.data(), count, knots, knotCount, weights, flags,
                                         EntAttribsOf(attr, attribs), z);
        // The control points are projected in place for the caller.
        for (std::size_t i = 0; i < points.size(); ++i) controls[i] = {points[i].x, points[i].y};
        return added;
    });
}

void KXPushCoordSys3D(KXDOC doc, const double axes[9]) {
    if (!doc || !axes) return;
    Guarded([&] { DocOf(doc)->PushCoordSys(CTransf3D(axes)); });
}

void KXPopCoordSys3D(KXDOC doc) {
    if (doc) DocOf(doc)->PopCoordSys();
}

}  // extern "C"
