#include "KXEntityDraw.h"

#include <kxplatform/gdi.h>

#include <new>
#include <vector>

#include "CKXAttribSet.h"
#include "CKXAttribTable.h"
#include "CKXConverter.h"
#include "CKXDevicePath.h"
#include "CKXDoc.h"
#include "CKXDrawState.h"
#include "CKXLine.h"
#include "CKXPolyline.h"

namespace kxdraw {

namespace {

constexpr int kDisplayNoLineStyles = 2;

// A by-layer colour, line style or weight without a current layer stops the
// whole application of the set: the line style is then not installed either,
// even when the stop came from the weight, after the line style field.
bool StoppedByMissingLayer(const CKXAttribute& record, const CKXAttribTable& tables,
                           const CKXDrawState& state) {
    if (tables.CurrentLayer(state.Current()) != nullptr) return false;
    return record.color == KX_BYLAYER || record.lineStyle == KX_BYLAYER ||
           record.weight == KX_BYLAYER;
}

}  // namespace

bool HasActiveClip(const CKXConverter& rc) {
    const CKXDoc* doc = rc.GetDoc();
    return rc.GetClipStack() != nullptr && doc != nullptr && doc->IsClipActive();
}

void DrawLine(CKXLine& line, HDC dc, CKXConverter& rc) {
    if (HasActiveClip(rc)) {
        line.DrawClipped(dc, rc);
        return;
    }
    const KXDevPoint start = rc.ToDeviceExact(line.GetStart());
    const KXDevPoint end = rc.ToDeviceExact(line.GetEnd());
    rc.Walker().EnsureScaled();
    CKXDevicePath path(dc);
    path.MoveTo(start);
    // An exploded dash is already one piece of its pattern.
    const bool dashPiece = line.HasPhase() && line.IsSolidPiece();
    if (!rc.HasLineStyle() || dashPiece) {
        path.LineTo(end);
        return;
    }
    const CKXDoc* doc = rc.GetDoc();
    rc.Walker().DrawSegment(path, start, end, line.HasPhase() ? line.GetPhase() : nullptr,
                            rc.GetScaleX(), doc != nullptr ? &doc->DirectionCache() : nullptr);
}

void DrawPolyline(CKXPolyline& polyline, HDC dc, CKXConverter& rc) {
    if (HasActiveClip(rc)) {
        polyline.DrawClipped(dc, rc);
        return;
    }
    const std::vector<CFltPoint>& points = polyline.GetPoints();
    if (points.empty()) return;
    std::vector<KXDevPoint> device;
    try {
        device.reserve(points.size());
    } catch (const std::bad_alloc&) {
        return;  // not drawn rather than drawn in part
    }
    for (const CFltPoint& p : points) device.push_back(rc.ToDeviceExact(p));
    DrawDevicePoints(device, dc, rc);
}

void DrawDevicePoints(const std::vector<KXDevPoint>& device, HDC dc, CKXConverter& rc) {
    if (device.empty()) return;
    rc.Walker().EnsureScaled();
    CKXDevicePath path(dc);
    if (rc.HasLineStyle() && device.size() >= 2) {
        rc.Walker().DrawPolyline(path, device);
        return;
    }
    path.MoveTo(device.front());
    if (device.size() == 1) {
        path.Dot(device.front());
        return;
    }
    for (std::size_t i = 1; i < device.size(); ++i)
        if (device[i] != device[i - 1]) path.LineTo(device[i]);
}

void ApplyAttribSet(const CKXAttribSet& set, HDC dc, CKXConverter& rc) {
    CKXDoc* doc = rc.GetDoc();
    CKXDrawState* state = rc.GetDrawState();
    if (doc == nullptr || state == nullptr) return;
    CKXAttribTable& tables = doc->Attribs();
    state->Apply(set, dc, rc.GetScaleX(), rc.GetDrawingEnabled());
    const CKXAttribute* record = tables.Record(set.GetId());
    if (record == nullptr || record->lineStyle == 0) return;
    if ((doc->GetDisplayMode() & kDisplayNoLineStyles) != 0) return;
    if (StoppedByMissingLayer(*record, tables, *state)) return;
    const std::int32_t style = state->Current().lineStyle;
    if (style > 0) {
        // A missing style leaves the walker as it is.
        if (KXLineStyleExt* ext = tables.LineStyle(style)) rc.SetLineStyle(ext, set.GetScale());
    } else if (style == KX_CONTINUOUS) {
        rc.SetLineStyle(nullptr, 1.0);
    }
}

void DrawPlaced(const KXEntList& entities, const CTransf2D& placement, HDC dc, CKXConverter& rc) {
    DrawPlaced(entities, placement, rc, [dc](IKXEnt& entity, CKXConverter& placed) { entity.Draw(dc, placed); });
}

void DrawPlaced(const KXEntList& entities, const CTransf2D& placement, CKXConverter& rc,
                const std::function<void(IKXEnt&, CKXConverter&)>& drawOne) {
    CKXDrawState* state = rc.GetDrawState();
    if (state != nullptr) state->PushState();
    CKXConverter placed(rc);
    placed.Transform() = rc.GetTransform() * placement;
    for (const KXEntPtr& entity : entities)
        if (entity) drawOne(*entity, placed);
    if (state != nullptr) state->PopState();
}

void DrawClipped(IKXEnt& entity, HDC dc, CKXConverter& rc) {
    CKXClipRgnSet* clip = rc.GetClipStack();
    CKXDoc* doc = rc.GetDoc();
    if (clip == nullptr || doc == nullptr) {
        entity.Draw(dc, rc);
        return;
    }
    // Regions are in drawing units: content placed by a transform (a block
    // reference) is clipped where it lands and its pieces drawn from there.
    const CTransf2D placement = rc.GetTransform();
    const bool placed = !placement.IsIdentity();
    KXEntList pieces;
    entity.Clip(*clip, pieces, *doc, placed ? &placement : nullptr);
    rc.SetClipStack(nullptr);
    if (placed) rc.Transform() = CTransf2D();
    for (const KXEntPtr& piece : pieces)
        if (piece) piece->Draw(dc, rc);
    rc.Transform() = placement;
    rc.SetClipStack(clip);
}

}  // namespace kxdraw
