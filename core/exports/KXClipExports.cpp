// The C interface: Clip regions, paths and hatches (kxclip.h).
#include <korvex/kxcore.h>

#include <vector>

#include "CKXDoc.h"
#include "exports/KXExportSupport.h"
#include "render/clip/CKXHatch.h"
#include "render/clip/CKXPath.h"
#include "render/clip/KXClipRegions.h"

using namespace kxexport;

namespace {

CKXHatch* HatchOf(KXHATCH hatch) { return static_cast<CKXHatch*>(hatch); }

// Runs add on the path with the id; 0 for an unknown one.
template <class F>
int WithPath(KXDOC doc, int path, F&& add) {
    return Guarded([&] {
        CKXPath* found = kxclip::PathOf(*DocOf(doc), path);
        return found != nullptr ? ResultOf(add(*found)) : 0;
    });
}

template <class F>
int WithRegion(KXDOC doc, int region, F&& add) {
    return Guarded([&] {
        CKXClipRgn* found = kxclip::RegionOf(*DocOf(doc), region);
        return found != nullptr ? ResultOf(add(*found)) : 0;
    });
}

}  // namespace

extern "C" {

int KXClipRgnCreate(KXDOC doc) {
    if (!doc) return 0;
    return Guarded([&] { return kxclip::CreateRegion(*DocOf(doc)); });
}

int KXClipRgnAdd(KXDOC doc, int region, const KXPoint* points, int count) {
    if (!doc || region <= 0 || !points || count <= 0) return 0;
    return WithRegion(doc, region, [&](CKXClipRgn& r) { return kxclip::AddContour(r, PointsOf(points, count)); });
}

int KXClipRgnAddCircle(KXDOC doc, int region, const double centre[2], double radius) {
    if (!doc || region <= 0 || !centre || !(radius > 0.0)) return 0;
    return WithRegion(doc, region, [&](CKXClipRgn& r) { return kxclip::AddCircleContour(r, PointOf(centre), radius); });
}

int KXClipRgnSet(KXDOC doc, int region, int flags) {
    if (!doc || region <= 0) return 0;
    return Guarded([&] { return ResultOf(kxclip::PlaceClipSet(*DocOf(doc), region, flags)); });
}

KXHATCH KXHatchCreate(KXDOC doc) {
    if (!doc) return nullptr;
    return Guarded([&]() -> KXHATCH { return kxclip::CreateHatch(*DocOf(doc)); });
}

int KXHatchCreatePattern(KXDOC doc, const KXPatternRecord* pattern) {
    if (!doc || !pattern) return 0;
    return Guarded([&] {
        KXResult<int> id = kxclip::CreatePattern(*DocOf(doc), *pattern);
        return id ? id.Value() : ResultOf(id.Status());
    });
}

int KXHatchAddPattern(KXDOC doc, KXHATCH hatch, int pattern) {
    if (!doc || !hatch || pattern <= 0) return 0;
    return Guarded([&] { return ResultOf(kxclip::AddHatchPattern(*DocOf(doc), *HatchOf(hatch), pattern)); });
}

int KXHatchSetClipRgn(KXDOC doc, KXHATCH hatch, int region) {
    if (!doc || !hatch || region <= 0) return 0;
    return Guarded([&] { return ResultOf(kxclip::SetHatchRegion(*DocOf(doc), *HatchOf(hatch), region)); });
}

int KXCreatePath(KXDOC doc) {
    if (!doc) return 0;
    return Guarded([&] { return kxclip::CreatePath(*DocOf(doc)); });
}

int KXPathAddPolyline(KXDOC doc, int path, const KXPoint* points, int count, const double* z) {
    if (!doc || path <= 0 || !points || count <= 0) return 0;
    return WithPath(doc, path, [&](CKXPath& p) { return p.AddPolyline(*DocOf(doc), PointsOf(points, count), z); });
}

int KXPathAddCircleArc(KXDOC doc, int path, const double centre[2], double radius, double start, double end, int full, const double* z) {
    if (!doc || path <= 0 || !centre || !(radius > 0.0)) return 0;
    return WithPath(doc, path, [&](CKXPath& p) {
        return p.AddCircleArc(*DocOf(doc), PointOf(centre), radius, start, end, full != 0, z);
    });
}

int KXPathAddEllipticArc(KXDOC doc, int path, const double centre[2], const double axis[2], double ratio, double start, double end, int full, const double* z) {
    if (!doc || path <= 0 || !centre || !axis) return 0;
    return WithPath(doc, path, [&](CKXPath& p) {
        return p.AddEllipticArc(*DocOf(doc), PointOf(centre), PointOf(axis), ratio, start, end, full != 0, z);
    });
}

int KXPathAddSpline(KXDOC doc, int path, int degree, KXPoint* controls, int count, const double* knots, int knotCount, const double* weights, int flags, const double* z) {
    if (!doc || path <= 0 || !controls || count <= 0 || !knots || knotCount <= 0) return 0;
    return WithPath(doc, path, [&](CKXPath& p) {
        std::vector<double> w;
        if (weights) w.assign(weights, weights + count);
        return p.AddSpline(*DocOf(doc), degree, PointsOf(controls, count), std::vector<double>(knots, knots + knotCount),
                           std::move(w), flags, z);
    });
}

int KXClipRgnAddPath(KXDOC doc, int region, int path) {
    if (!doc || region <= 0 || path <= 0) return 0;
    return WithRegion(doc, region, [&](CKXClipRgn& r) {
        const CKXPath* found = kxclip::PathOf(*DocOf(doc), path);
        return found != nullptr ? kxclip::AddPathContour(r, *found) : KXStatus::Failure("unknown path");
    });
}

}  // extern "C"
