#include "CKXDocRenderer.h"

#include <korvex/kxtypes.h>
#include <kxplatform/gdi.h>

#include <algorithm>
#include <vector>

#include "CKXConverter.h"
#include "CKXDoc.h"
#include "CKXDrawState.h"
#include "CKXMarker.h"
#include "CKXTreeIter.h"
#include "clip/CKXClipRgnSet.h"

namespace {

// Detail mask bits of the three scale bands.
constexpr std::uint32_t kBand1 = 1, kBand2 = 2, kBand3 = 4;
// How many marked entities ahead the draw loop asks the cache for.
constexpr std::size_t kPrefetchDistance = 8;

}  // namespace

bool CKXDocRenderer::PassesDetail(double scale, const double thresholds[3], std::uint32_t mask) {
    if (scale <= 0.0 || scale > thresholds[2]) return true;
    const std::uint32_t band = scale <= thresholds[0] ? kBand1 : scale <= thresholds[1] ? kBand2 : kBand3;
    return (mask & band) == 0;
}

void CKXDocRenderer::MarkVisible(const CFltExtents& window, double scale) {
    const int count = m_doc.GetCount();
    m_marks.assign(static_cast<std::size_t>(count), 0);
    const CKXTree& tree = m_doc.Tree();
    if (tree.GetExtents().IsEmpty()) return;  // never finished: nothing is indexed
    std::vector<CKXTreeIter::Cell> cells;
    CKXTreeIter(tree.GetExtents()).FindOverlapping(window, cells);
    // Entities beyond the mask table have no detail bits.
    const std::vector<std::uint32_t>& masks = m_doc.DetailMasks();
    for (const CKXTreeIter::Cell& cell : cells) {
        for (std::int32_t index : tree.Cell(cell.level, cell.index)) {
            if (index < 0 || index >= count) continue;
            const auto at = static_cast<std::size_t>(index);
            const std::uint32_t mask = at < masks.size() ? masks[at] : 0;
            if (PassesDetail(scale, m_doc.DetailThresholds(), mask)) m_marks[at] = 1;
        }
    }
}

// Inside a marker group that began while drawing was off, nothing may
// switch drawing back on until the group closes; attribute sets are still
// applied so that pens and layer visibility stay right.
void CKXDocRenderer::DrawMarked(HDC dc, CKXConverter& rc) {
    // The marked indexes in document order. Zoomed in they are sparse, so
    // the entities ahead are fetched into the cache while one is drawn.
    std::vector<int> order;
    for (std::size_t i = 0; i < m_marks.size(); ++i)
        if (m_marks[i] != 0) order.push_back(static_cast<int>(i));
    const KXEntList& entities = m_doc.GetEntList();

    int drawingEnabled = 1;
    int groupDepth = 0;
    rc.SetDrawingEnabled(&drawingEnabled);
    for (std::size_t j = 0; j < order.size(); ++j) {
        // Two steps: the pointer slot far ahead, the object it names nearer.
        if (j + 2 * kPrefetchDistance < order.size())
            __builtin_prefetch(&entities[static_cast<std::size_t>(order[j + 2 * kPrefetchDistance])]);
        if (j + kPrefetchDistance < order.size())
            __builtin_prefetch(entities[static_cast<std::size_t>(order[j + kPrefetchDistance])].get());
        IKXEnt* entity = entities[static_cast<std::size_t>(order[j])].get();
        if (entity == nullptr) continue;
        if (drawingEnabled == 1) {
            entity->Draw(dc, rc);
        } else {
            const int type = entity->GetType();
            if (type == KXENT_MARKER) {
                const int kind = static_cast<const CKXMarker*>(entity)->GetMarkerType();
                if (kind == CKXMarker::kOpen) {
                    ++groupDepth;
                } else if (kind == CKXMarker::kClose && --groupDepth < 0) {
                    groupDepth = 0;
                    continue;
                }
            } else if (type == KXENT_ATTRIBSET) {
                entity->Draw(dc, rc);
            }
        }
        if (groupDepth > 0) drawingEnabled = 0;
    }
    rc.SetDrawingEnabled(nullptr);
}

void CKXDocRenderer::Draw(HDC dc, CKXConverter& rc, CKXDrawState& state) {
    if (!rc.Validate()) return;
    const CFltExtents window = rc.GetWindow();
    rc.SetDoc(&m_doc);
    // Clip sets met in the stream build the active regions from scratch.
    CKXClipRgnSet* clip = m_doc.GetClipRgnSet();
    if (clip != nullptr) clip->Reset();
    rc.SetClipStack(clip);
    MarkVisible(window, rc.GetScaleX());
    SetBkColor(dc, m_doc.GetBgColor());
    // No pen is made here: until an attribute set changes colour or weight
    // the context's own pen draws.
    state.Begin(m_doc.Attribs());
    rc.SetDrawState(&state);
    DrawMarked(dc, rc);
    rc.SetDrawState(nullptr);
    state.End(dc);
    m_marks.clear();
    m_marks.shrink_to_fit();
    // What the stream left active clips nothing after the draw.
    if (clip != nullptr) clip->Reset();
    rc.SetClipStack(nullptr);
    rc.SetDoc(nullptr);
}

void CKXDocRenderer::DrawRequest(const KXDrawRequest& request) {
    CKXConverter rc;
    rc.SetDeviceRect(request.device);
    rc.SetWindow(CFltExtents(request.xmin, request.ymin, request.xmax, request.ymax));
    if (!rc.Validate()) return;
    CKXDrawState state;
    Draw(request.dc, rc, state);
}

void CKXDocRenderer::DrawView(HDC dc, RECT& rect, const CFltExtents& extents, CKXDrawState& state) {
    // Saturating, so that a rectangle at the edge of the range cannot overflow.
    const auto inset = [](LONG v, LONG by) {
        const std::int64_t moved = std::int64_t{v} + by;
        return static_cast<LONG>(std::clamp<std::int64_t>(moved, INT32_MIN, INT32_MAX));
    };
    rect.left = inset(rect.left, 1);
    rect.top = inset(rect.top, 1);
    rect.right = inset(rect.right, -1);
    rect.bottom = inset(rect.bottom, -1);
    CKXConverter rc;
    rc.SetDeviceRect(rect);
    rc.SetWindow(extents);
    if (!rc.Validate()) return;
    Draw(dc, rc, state);
}

void CKXDocRenderer::SetDisplayMode(CKXDoc& doc, int mode) {
    doc.SetDisplayMode(mode);
    doc.Attribs().SetLineWeightsEnabled((mode & kDisplayNoLineWeights) == 0 ? 1 : 0);
    doc.Attribs().SetMonochrome(((mode >> 5) & 1) != 0);
}

void CKXDocRenderer::SetForeground(CKXDoc& doc, COLORREF color) {
    doc.SetFgColor(color);
}

void CKXDocRenderer::SetBackground(CKXDoc& doc, COLORREF color) {
    doc.SetBgColor(color);
    CKXAttribTable& tables = doc.Attribs();
    tables.SetBackground(color);
    // Entry 1 is the default drawing colour: it follows the background so
    // that default geometry stays visible.
    if (tables.ColorCount() > 0) tables.SetColor(1, tables.ContrastColor());
}
