#include "CKXHatchFill.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include <kxplatform/debugapi.h>

#include "CKXAttribSet.h"
#include "CKXAttribTable.h"
#include "CKXClip.h"
#include "CKXClipRgn.h"
#include "CKXDoc.h"
#include "CKXHatch.h"
#include "CKXLine.h"
#include "CKXPattern.h"
#include "CKXPolyline.h"
#include "KXLineStyleExt.h"
#include "render/CKXStyleExploder.h"

namespace {

double Length(const CFltPoint& a, const CFltPoint& b) { return std::hypot(b.x - a.x, b.y - a.y); }

}  // namespace

double CKXHatchFill::LineBudget(double diagonal, double gridScale) {
    const double steps = diagonal * gridScale;
    return std::isfinite(steps) ? std::max(kMinLineBudget, std::ceil(steps) + 2.0) : kMinLineBudget;
}

KXStatus CKXHatchFill::Explode(const CKXHatch& hatch, KXEntList& out) {
    CKXClipRgn* source = hatch.GetRegion();
    if (source == nullptr) return {};
    const CTransf2D& xf = hatch.GetTransform();
    std::unique_ptr<CKXClipRgn> placed;
    if (!xf.IsIdentity()) placed = source->CloneTransformed(xf);
    CKXClipRgn& region = placed ? *placed : *source;
    region.EnsureGrid();
    const double k = xf.ScaleFactor();

    if (hatch.GetPatterns().empty()) {
        Outline(region, out);
        return {};
    }
    const CFltExtents box = region.GetExtents();
    const double diagonal = box.IsEmpty() ? 0.0 : std::hypot(box.Width(), box.Height());
    m_budget = LineBudget(diagonal, region.GetGridScale());
    CKXDoc::HatchLineTally& tally = m_doc.HatchLines();
    const double documentLeft = kDocumentLineBudget - tally.laid;
    if (documentLeft < 1.0) {
        DocumentBoundReached();
        Outline(region, out);
        return KXStatus::Failure(m_reason);
    }
    if (documentLeft < m_budget) {
        m_budget = documentLeft;
        m_documentBound = true;
    }
    bool complete = true;
    CKXAttribTable& tables = m_doc.Attribs();
    for (const std::int32_t id : hatch.GetPatterns()) {
        if (id <= 0 || static_cast<std::size_t>(id) > m_doc.Patterns().size()) break;
        // An untransformed hatch lays the stored pattern itself, which keeps
        // its lines' set-up.
        CKXPattern& stored = *m_doc.Patterns()[static_cast<std::size_t>(id) - 1];
        std::optional<CKXPattern> placedPattern;
        CKXPattern& pattern = xf.IsIdentity() ? stored : placedPattern.emplace(stored.Transformed(xf));

        // The pattern's attributes over those in force, and back afterwards.
        tables.PushState();
        const KXPatternRecord& record = pattern.Record();
        CKXAttributeState state{tables.Current(), tables.CurrentScale()};
        const int set = tables.Delta(state, CKXAttribute{0, record.color, record.lineStyle, record.lineWeight},
                                     pattern.LineStyleScale());
        if (set != 0) {
            auto change = std::make_unique<CKXAttribSet>(set, pattern.LineStyleScale());
            tables.Apply(*change);
            out.push_back(std::move(change));
        }
        if (stored.GetLineStyle() == nullptr && tables.Current().lineStyle > 0)
            stored.SetLineStyle(tables.LineStyle(tables.Current().lineStyle));
        pattern.SetLineStyle(stored.GetLineStyle());

        if (!LayPattern(pattern, region, k, out)) complete = false;

        if (std::unique_ptr<CKXAttribSet> restore = tables.PopState(true)) out.push_back(std::move(restore));
    }
    tally.laid += static_cast<double>(m_lines);
    if (complete) return {};
    if (m_thinnedByDocument && m_reason.empty()) {
        DocumentBoundReached();
        return KXStatus::Failure(m_reason);
    }
    OutputDebugStringA(("kxcore: " + m_reason + "\n").c_str());
    return KXStatus::Failure(m_reason);
}

void CKXHatchFill::DocumentBoundReached() {
    char reason[200];
    std::snprintf(reason, sizeof reason,
                  "hatches of the drawing bounded to %.0f lines in all; further hatches thinned or drawn as their outline",
                  kDocumentLineBudget);
    m_reason = reason;
    CKXDoc::HatchLineTally& tally = m_doc.HatchLines();
    if (tally.reported) return;
    tally.reported = true;
    OutputDebugStringA(("kxcore: " + m_reason + "\n").c_str());
}

void CKXHatchFill::Outline(CKXClipRgn& region, KXEntList& out) const {
    for (const auto& contour : region.GetContours()) {
        std::vector<CFltPoint> points = contour->GetPoints();
        if (points.front() != points.back()) points.push_back(points.front());
        auto outline = std::make_unique<CKXPolyline>(std::move(points));
        outline->Update();
        out.push_back(std::move(outline));
    }
}

bool CKXHatchFill::LayPattern(CKXPattern& pattern, CKXClipRgn& region, double k, KXEntList& out) {
    const CFltExtents& box = region.GetExtents();
    const KXLineStyleExt* style = pattern.GetLineStyle();
    if (style != nullptr && style->elements.empty()) style = nullptr;
    const double factor = pattern.LineStyleScale();
    double f = style != nullptr ? style->patternLength * factor : 0.0;
    if (!(f > 0.0) || !std::isfinite(f)) f = (box.Width() + box.Height()) / 2.0 * 0.1;
    if (!pattern.SetUpLines(box, f)) return true;
    const double count = pattern.LineCount();

    // Lines beyond the budget are thinned: every stride-th line is laid.
    const double left = std::max(1.0, m_budget - static_cast<double>(m_lines));
    const double stride = count > left ? std::ceil(count / left) : 1.0;
    bool complete = stride == 1.0;
    if (!complete && m_documentBound) {
        m_thinnedByDocument = true;
    } else if (!complete) {
        char reason[200];
        std::snprintf(reason, sizeof reason,
                      "hatch pattern of %.0f lines (spacing %g) bounded to every %.0fth line, %.0f lines per hatch",
                      count, pattern.Spacing(), stride, m_budget);
        m_reason = reason;
    }
    // A dash pattern too long to be seen as one is cut into solid dashes.
    const CFltExtents& extents = m_doc.GetExtents();
    const double smaller = extents.IsEmpty() ? 0.0 : std::min(extents.Width(), extents.Height());
    const double patternUnits = style != nullptr ? style->patternLength * k : 0.0;
    const bool cut = style != nullptr && (patternUnits > kDashCutShare * smaller ||
                                          patternUnits > std::hypot(box.Width(), box.Height()));

    // Every line starts before the region's extents: outside.
    CKXClip clip(region, true);
    for (double i = 0.0; i < count; i += stride) {
        if (m_pieces >= kMaxPieces) {
            m_reason = "hatch stopped at its most pieces";
            return false;
        }
        CKXLine line = pattern.LineAt(i);
        if (style != nullptr) {
            const double t = pattern.FirstT() + i;
            CKXStyleExploder::PhaseAt(*style, factor, -t * pattern.Shift(), line.EnsurePhase());
        }
        ++m_lines;
        Pieces(line, clip, style, factor, cut, out);
    }
    if (style != nullptr && !cut) pattern.GetLineStyle()->phaseTracking = 0;
    return complete;
}

void CKXHatchFill::Pieces(CKXLine& line, CKXClip& clip, const KXLineStyleExt* style, double factor, bool cut,
                          KXEntList& out) {
    std::vector<std::unique_ptr<CKXLine>>& pieces = m_scratch;
    pieces.clear();
    clip.Clip(line, pieces);
    const std::size_t n = style != nullptr ? style->elements.size() : 0;
    const bool trailingGap = n > 1 && style->elements.back() < 0.0;
    for (std::unique_ptr<CKXLine>& piece : pieces) {
        if (style == nullptr) {
            ++m_pieces;
            out.push_back(std::move(piece));
            continue;
        }
        CKXStyleExploder::PhasePiece(line, *piece, *style, factor);
        const KXLinePhase& phase = *piece->GetPhase();
        if (trailingGap && static_cast<std::size_t>(phase.elementIndex) == n - 1 &&
            Length(piece->GetStart(), piece->GetEnd()) <= std::fabs(style->elements.back()) * factor - phase.offset)
            continue;  // inside the closing gap: it would draw nothing
        if (cut) {
            for (KXEntPtr& dash : CKXStyleExploder::ExplodeDashes(*piece, *style, factor)) {
                ++m_pieces;
                out.push_back(std::move(dash));
            }
            continue;
        }
        CKXStyleExploder::FillDirection(*piece, m_doc);
        ++m_pieces;
        out.push_back(std::move(piece));
    }
}
