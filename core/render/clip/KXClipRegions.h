// What finishing a document asks of its clip regions as a whole.
#pragma once

#include "IKXEnt.h"
#include "geom/CFltExtents.h"

class CKXDoc;

namespace kxclip {

// Union of the extents of the entities (empty without any), into out.
CFltExtents& ExtentsOf(const KXEntList& entities, CFltExtents& out);
// Union of the extents of every clip region of the document.
CFltExtents RegionExtents(CKXDoc& doc);
// Puts every region and the clip-region set (made here when absent and
// regions exist) on the grid of the given scale and origin.
void QuantiseRegions(CKXDoc& doc, double scale, const CFltPoint& origin);
// Integer coordinates of the document's paths and pattern lines, at the
// drawing resolution from the origin (0, 0), as block content gets them.
void QuantiseStore(CKXDoc& doc, double scale);

}  // namespace kxclip

#include <korvex/kxtypes.h>

#include <vector>

#include "KXStatus.h"

class CKXClipRgn;
class CKXHatch;
class CKXPath;
class CKXPattern;

namespace kxclip {

// The document's tables: 1-based ids, never reused; null for unknown ids.
CKXClipRgn* RegionOf(CKXDoc& doc, int id);
CKXPath* PathOf(CKXDoc& doc, int id);
CKXPattern* PatternOf(CKXDoc& doc, int id);

// A new empty region (the document's clip-region set is made with the
// first); its id.
int CreateRegion(CKXDoc& doc);
int CreatePath(CKXDoc& doc);
// Fails for a record with a non-finite number.
KXResult<int> CreatePattern(CKXDoc& doc, const KXPatternRecord& record);

// A contour of the points (fewer than two points are not added, and are
// no failure); fails for a non-finite point.
KXStatus AddContour(CKXClipRgn& region, std::vector<CFltPoint> points);
// The full circle through all 200 angle steps, exact at 0 and at 2 pi.
KXStatus AddCircleContour(CKXClipRgn& region, const CFltPoint& centre, double radius);
// The path chained into one closed contour; fails for a path without pieces.
KXStatus AddPathContour(CKXClipRgn& region, const CKXPath& path);

// Appends a clip set to the container construction appends to; fails for
// an unknown region.
KXStatus PlaceClipSet(CKXDoc& doc, int region, int flags);
// Appends a new hatch to that container (growing its extents); null when
// there is none.
CKXHatch* CreateHatch(CKXDoc& doc);
KXStatus AddHatchPattern(CKXDoc& doc, CKXHatch& hatch, int pattern);
KXStatus SetHatchRegion(CKXDoc& doc, CKXHatch& hatch, int region);

}  // namespace kxclip
