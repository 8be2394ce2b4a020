#include "KXClipRegions.h"

#include <cmath>
#include <memory>

#include "CKXClipRgn.h"
#include "CKXClipRgnSet.h"
#include "CKXClipSet.h"
#include "CKXDoc.h"
#include "CKXHatch.h"
#include "CKXPath.h"
#include "CKXPattern.h"
#include "CKXPolyline.h"
#include "geom/KXAngleTable.h"

namespace kxclip {

CFltExtents& ExtentsOf(const KXEntList& entities, CFltExtents& out) {
    out.SetEmpty();
    for (const KXEntPtr& ent : entities) {
        CFltExtents box;
        out.Merge(ent->GetExtents(box));
    }
    return out;
}

CFltExtents RegionExtents(CKXDoc& doc) {
    CFltExtents all;
    for (const auto& region : doc.ClipRegions()) all.Merge(region->GetExtents());
    return all;
}

void QuantiseRegions(CKXDoc& doc, double scale, const CFltPoint& origin) {
    if (doc.ClipRegions().empty()) return;
    for (const auto& region : doc.ClipRegions()) region->Quantise(scale, origin);
    CKXClipRgnSet::Of(doc).Quantise(scale, origin);
}

void QuantiseStore(CKXDoc& doc, double scale) {
    const CFltPoint origin{0.0, 0.0};
    for (const auto& path : doc.Paths()) path->Quantise(scale, origin);
    for (const auto& pattern : doc.Patterns()) pattern->Quantise(scale, origin);
}

}  // namespace kxclip

namespace kxclip {

namespace {

template <class T>
T* At(KXOwnedList<T>& table, int id) {
    if (id <= 0 || static_cast<std::size_t>(id) > table.size()) return nullptr;
    return table[static_cast<std::size_t>(id) - 1].get();
}

bool Finite(const CFltPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

CKXClipRgn* RegionOf(CKXDoc& doc, int id) { return At(doc.ClipRegions(), id); }
CKXPath* PathOf(CKXDoc& doc, int id) { return At(doc.Paths(), id); }
CKXPattern* PatternOf(CKXDoc& doc, int id) { return At(doc.Patterns(), id); }

int CreateRegion(CKXDoc& doc) {
    CKXClipRgnSet::Of(doc);
    doc.ClipRegions().push_back(KXMakeOwned<CKXClipRgn>());
    return static_cast<int>(doc.ClipRegions().size());
}

int CreatePath(CKXDoc& doc) {
    doc.Paths().push_back(KXMakeOwned<CKXPath>());
    return static_cast<int>(doc.Paths().size());
}

KXResult<int> CreatePattern(CKXDoc& doc, const KXPatternRecord& record) {
    for (const double v : {record.baseX, record.baseY, record.dirX, record.dirY, record.shift, record.spacing})
        if (!std::isfinite(v)) return KXStatus::Failure("hatch pattern with a non-finite number");
    doc.Patterns().push_back(KXMakeOwned<CKXPattern>(record));
    return static_cast<int>(doc.Patterns().size());
}

KXStatus AddContour(CKXClipRgn& region, std::vector<CFltPoint> points) {
    for (const CFltPoint& p : points)
        if (!Finite(p)) return KXStatus::Failure("clip contour with a non-finite point");
    if (points.size() >= 2) region.AddContour(std::make_unique<CKXPolyline>(std::move(points)));
    return {};
}

KXStatus AddCircleContour(CKXClipRgn& region, const CFltPoint& centre, double radius) {
    if (!Finite(centre) || !std::isfinite(radius) || !(radius > 0.0))
        return KXStatus::Failure("clip circle: bad centre or radius");
    std::vector<CFltPoint> points;
    points.reserve(kxangle::kSteps);
    points.push_back({centre.x + radius, centre.y});
    for (int k = kxangle::kFullFirst; k <= kxangle::kFullLast; ++k) {
        const kxangle::StepDirection d = kxangle::DirectionOfStep(k);
        points.push_back({centre.x + radius * d.cos, centre.y + radius * d.sin});
    }
    points.push_back({centre.x + radius * std::cos(kxangle::kTwoPi), centre.y + radius * std::sin(kxangle::kTwoPi)});
    return AddContour(region, std::move(points));
}

KXStatus AddPathContour(CKXClipRgn& region, const CKXPath& path) {
    std::unique_ptr<CKXPolyline> contour = path.ToContour();
    if (!contour) return KXStatus::Failure("clip path without pieces");
    region.AddContour(std::move(contour));
    return {};
}

KXStatus PlaceClipSet(CKXDoc& doc, int region, int flags) {
    if (RegionOf(doc, region) == nullptr) return KXStatus::Failure("clip set of an unknown region");
    IKXContainer* container = doc.GetCurrentContainer();
    if (container == nullptr) return KXStatus::Failure("no container to place the clip set in");
    container->AddEnt(std::make_unique<CKXClipSet>(region, flags), false, nullptr);
    return {};
}

CKXHatch* CreateHatch(CKXDoc& doc) {
    IKXContainer* container = doc.GetCurrentContainer();
    if (container == nullptr) return nullptr;
    auto hatch = std::make_unique<CKXHatch>();
    CKXHatch* made = hatch.get();
    container->AddEnt(std::move(hatch), true, nullptr);
    return made;
}

KXStatus AddHatchPattern(CKXDoc& doc, CKXHatch& hatch, int pattern) {
    if (PatternOf(doc, pattern) == nullptr) return KXStatus::Failure("hatch pattern id unknown");
    hatch.AddPattern(pattern);
    return {};
}

KXStatus SetHatchRegion(CKXDoc& doc, CKXHatch& hatch, int region) {
    CKXClipRgn* found = RegionOf(doc, region);
    if (found == nullptr) return KXStatus::Failure("hatch region id unknown");
    hatch.SetRegion(region, found);
    return {};
}

}  // namespace kxclip
