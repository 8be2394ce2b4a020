#include "CKXStyleExploder.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "CKXAttribSet.h"
#include "CKXCircle.h"
#include "CKXDoc.h"
#include "CKXEllipse.h"
#include "CKXLine.h"
#include "CKXLinePiece.h"
#include "CKXPolyline.h"
#include "KXEntityDraw.h"
#include "KXLineStyleExt.h"

namespace {

// Cutting a line into more dashes than this is refused (the line stays one
// solid piece): a pattern that fine cannot be seen, and the pieces would
// not fit in memory.
constexpr double kMaxDashPieces = 1e6;

double Distance(const CFltPoint& a, const CFltPoint& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

CFltPoint Along(const CFltPoint& a, const CFltPoint& b, double distance, double length) {
    const double t = distance / length;
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// Pattern position (distance from the start of a period, elements scaled
// by factor, dots counting 0) as an element and the offset inside it.
void PositionToPhase(const KXLineStyleExt& style, double factor, double position,
                     KXLinePhase& phase) {
    const double period = style.patternLength * factor;
    if (period > 0.0 && std::isfinite(period) && std::isfinite(position)) {
        // Exploding carries positions inside the period already (fmod
        // would return them unchanged).
        if (!(position >= 0.0 && position < period)) {
            position = std::fmod(position, period);
            if (position < 0.0) position += period;
        }
    } else {
        position = 0.0;
    }
    const int n = static_cast<int>(style.elements.size());
    int index = 0;
    while (index < n - 1) {
        const double length = std::fabs(style.elements[static_cast<std::size_t>(index)]) * factor;
        if (position < length) break;
        position -= length;
        ++index;
    }
    phase.elementIndex = index;
    phase.offset = position;
}

bool IsClosed(const std::vector<CFltPoint>& points) {
    return !points.empty() && points.front() == points.back();
}

double PhaseToPosition(const KXLineStyleExt& style, double factor, const KXLinePhase& phase) {
    double position = phase.offset;
    const int n = static_cast<int>(style.elements.size());
    for (int i = 0; i < std::min(phase.elementIndex, n); ++i)
        position += std::fabs(style.elements[static_cast<std::size_t>(i)]) * factor;
    return position;
}

}  // namespace

CKXStyleExploder::CKXStyleExploder(CKXDoc& doc) : m_doc(doc), m_state(doc.Attribs().Cursor()) {
    m_rc.SetDoc(&doc);
    m_rc.SetDrawState(&m_state);
    m_state.Begin(doc.Attribs());
}

void CKXStyleExploder::PhaseAt(const KXLineStyleExt& style, double factor, double position,
                               KXLinePhase& phase) {
    PositionToPhase(style, factor, position, phase);
}

void CKXStyleExploder::ApplyAttribSet(const CKXAttribSet& set) {
    kxdraw::ApplyAttribSet(set, nullptr, m_rc);
}

double CKXStyleExploder::PatternLength() const {
    return m_rc.Walker().GetLineStyle()->patternLength * m_rc.GetLineStyleScale();
}

double CKXStyleExploder::HalfFirstElement() const {
    return std::fabs(m_rc.Walker().GetLineStyle()->elements.front()) * m_rc.GetLineStyleScale() / 2.0;
}

void CKXStyleExploder::AddSolid(const CFltPoint& a, const CFltPoint& b, KXEntList& pieces) {
    auto line = std::make_unique<CKXLinePiece>(a, b);
    line->SetSolidPiece(true);
    pieces.push_back(std::move(line));
}

void CKXStyleExploder::AddStoredSolid(const CFltPoint& a, const CFltPoint& b, KXEntList& pieces) {
    CKXLinePiece* line = m_doc.Pieces().Make(a, b);
    line->SetSolidPiece(true);
    Adopt(*line, KXEntPtr(line), pieces);
}

void CKXStyleExploder::AddPhased(const CFltPoint& a, const CFltPoint& b, double position,
                                 KXEntList& pieces) {
    AddPhased(a, b, position, Distance(a, b), pieces);
}

void CKXStyleExploder::AddPhased(const CFltPoint& a, const CFltPoint& b, double position, double length,
                                 KXEntList& pieces) {
    CKXLinePiece* line = m_doc.Pieces().Make(a, b);
    PositionToPhase(*m_rc.Walker().GetLineStyle(), m_rc.GetLineStyleScale(), position, line->EnsurePhase());
    FillDirection(*line, m_doc, length);
    Adopt(*line, KXEntPtr(line), pieces);
}

void CKXStyleExploder::Adopt(CKXLine& line, KXEntPtr owner, KXEntList& pieces) {
    line.SetFlags(m_flags);
    if (!(line.HasPhase() && line.IsSolidPiece())) m_allSolid = false;
    pieces.push_back(std::move(owner));
}

// Whole periods in the middle, the leftover split into two solid ends.
void CKXStyleExploder::ExplodeCentred(const CFltPoint& a, const CFltPoint& b, KXEntList& pieces) {
    const double length = Distance(a, b);
    const double period = PatternLength();
    const double periods = std::trunc(length / period);
    if (periods < 1.0) {
        AddStoredSolid(a, b, pieces);
        return;
    }
    const double leftover = (length - periods * period) / 2.0;
    if (leftover > 0.0) {
        const CFltPoint middleStart = Along(a, b, leftover, length);
        const CFltPoint middleEnd = Along(a, b, length - leftover, length);
        AddStoredSolid(a, middleStart, pieces);
        AddStoredSolid(middleEnd, b, pieces);
        AddPhased(middleStart, middleEnd, HalfFirstElement(), pieces);
    } else {
        AddPhased(a, b, HalfFirstElement(), pieces);
    }
}

void CKXStyleExploder::ExplodeLine(const CKXLine& line, KXEntList& pieces) {
    if (line.HasPhase()) {
        auto copy = std::make_unique<CKXLine>(line);
        CKXLine& piece = *copy;
        FillDirection(piece, m_doc);
        Adopt(piece, std::move(copy), pieces);
        return;
    }
    const int kind = m_rc.Walker().GetLineStyle()->kind;
    if ((kind & (KXLineStyleExt::kCentrePolyline | KXLineStyleExt::kCentreSegments)) != 0)
        ExplodeCentred(line.GetStart(), line.GetEnd(), pieces);
    else
        AddPhased(line.GetStart(), line.GetEnd(), 0.0, pieces);
}

void CKXStyleExploder::ExplodePolyline(const std::vector<CFltPoint>& points, bool closed,
                                       KXEntList& pieces) {
    if (points.size() < 2) return;
    const std::size_t segments = points.size() - 1;
    // Each segment is measured once: the lengths give the total and then
    // carry the pattern position from piece to piece.
    std::vector<double>& lengths = m_lengths;
    lengths.resize(segments);
    double total = 0.0;
    for (std::size_t i = 0; i < segments; ++i) {
        lengths[i] = Distance(points[i], points[i + 1]);
        total += lengths[i];
    }
    const double period = PatternLength();
    if (!(total >= period)) {
        for (std::size_t i = 0; i < segments; ++i) AddStoredSolid(points[i], points[i + 1], pieces);
        return;
    }
    const int kind = m_rc.Walker().GetLineStyle()->kind;
    if ((kind & KXLineStyleExt::kCentreSegments) != 0) {
        for (std::size_t i = 0; i < segments; ++i) ExplodeCentred(points[i], points[i + 1], pieces);
        return;
    }
    double position = 0.0;
    std::size_t first = 0;
    if ((kind & KXLineStyleExt::kCentrePolyline) != 0 && !closed) {
        const double periods = std::trunc(total / period);
        const double firstLength = lengths[0];
        const double lastLength = lengths[segments - 1];
        const double leftover =
            std::min({(total - periods * period) / 2.0, firstLength, lastLength});
        position = HalfFirstElement();
        if (leftover > 0.0) {
            const CFltPoint start = Along(points[0], points[1], leftover, firstLength);
            AddStoredSolid(points[0], start, pieces);
            AddPhased(start, points[1], position, pieces);
            position = std::fmod(position + Distance(start, points[1]), period);
            first = 1;
        }
    }
    for (std::size_t i = first; i < segments; ++i) {
        AddPhased(points[i], points[i + 1], position, lengths[i], pieces);
        position = std::fmod(position + lengths[i], period);
    }
}

bool CKXStyleExploder::Explode(const IKXEnt& entity, KXEntList& out) {
    if (!HasStyle() || !(PatternLength() > 0.0) || !std::isfinite(PatternLength())) return false;
    // The pieces go straight to the end of out (millions of them in a big
    // drawing) and are taken back when the entity has to stay.
    const std::size_t first = out.size();
    const std::size_t stored = m_doc.Pieces().Count();
    m_flags = entity.GetFlags();
    m_allSolid = true;
    switch (entity.GetType()) {
    case KXENT_LINE:
        ExplodeLine(static_cast<const CKXLine&>(entity), out);
        break;
    case KXENT_POLYLINE: {
        const std::vector<CFltPoint>& points = static_cast<const CKXPolyline&>(entity).GetPoints();
        ExplodePolyline(points, IsClosed(points), out);
        break;
    }
    case KXENT_CIRCLE: {
        const auto& circle = static_cast<const CKXCircle&>(entity);
        circle.ArcPoints(m_points);
        // The outline's end point, at 2 pi, misses its start point in the
        // last bits for most centres: a full curve is closed all the same.
        ExplodePolyline(m_points, circle.IsFull() || IsClosed(m_points), out);
        break;
    }
    case KXENT_ELLIPSE: {
        const auto& ellipse = static_cast<const CKXEllipse&>(entity);
        ellipse.ArcPoints(m_points);
        ExplodePolyline(m_points, ellipse.IsFull() || IsClosed(m_points), out);
        break;
    }
    default:
        return false;
    }
    if (m_allSolid) {
        // Solid pieces are all there is: the entity stays, and the room the
        // stored pieces took is used again.
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(first), out.end());
        m_doc.Pieces().Rewind(stored);
        return false;
    }
    m_rc.Walker().GetLineStyle()->phaseTracking = 0;
    return true;
}

void CKXStyleExploder::FillDirection(CKXLine& line, CKXDoc& doc) {
    if (!line.HasPhase() || line.IsSolidPiece()) return;
    FillDirection(line, doc, Distance(line.GetStart(), line.GetEnd()));
}

void CKXStyleExploder::FillDirection(CKXLine& line, CKXDoc& doc, double length) {
    if (!line.HasPhase() || line.IsSolidPiece()) return;
    const double dx = line.GetEnd().x - line.GetStart().x;
    const double dy = line.GetEnd().y - line.GetStart().y;
    // A piece without length has no direction to step along.
    if (!(length > 0.0) || !std::isfinite(length)) {
        line.SetSolidPiece(true);
        return;
    }
    const bool xMajor = std::fabs(dy) < std::fabs(dx);
    const double major = xMajor ? dx : dy;
    const double minor = xMajor ? dy : dx;
    const int index = std::clamp(static_cast<int>(std::fabs(major / length) * kDirectionBuckets), 0,
                                 kDirectionBuckets);
    std::vector<KXDirectionEntry>& cache = doc.DirectionCache();
    if (cache.size() < static_cast<std::size_t>(CKXDoc::kDirectionCacheSize))
        cache.resize(static_cast<std::size_t>(CKXDoc::kDirectionCacheSize));
    KXDirectionEntry& entry = cache[static_cast<std::size_t>(index)];
    entry.ratio = std::fabs(minor / major);
    entry.factor = std::fabs(major / length);
    KXLinePhase& phase = *line.GetPhase();
    phase.directionIndex = index;
    phase.directionFlags = (major > 0.0 ? KXLinePhase::kMajorIncreases : 0) |
                           (minor > 0.0 ? KXLinePhase::kMinorIncreases : 0) |
                           (xMajor ? KXLinePhase::kXIsMajor : 0);
}

KXEntList CKXStyleExploder::ExplodeDashes(const CKXLine& line, const KXLineStyleExt& style,
                                          double factor) {
    KXEntList pieces;
    const CFltPoint a = line.GetStart(), b = line.GetEnd();
    const double length = Distance(a, b);
    const double period = style.patternLength * factor;
    const auto n = static_cast<int>(style.elements.size());
    if (n == 0 || !(period > 0.0) || !std::isfinite(period) || !std::isfinite(length) ||
        length / period * n > kMaxDashPieces) {
        AddSolid(a, b, pieces);
        return pieces;
    }
    const KXLinePhase* phase = line.GetPhase();
    int index = phase != nullptr ? std::clamp(phase->elementIndex, 0, n - 1) : 0;
    double shortenBy = phase != nullptr ? std::max(0.0, phase->offset) : 0.0;
    double covered = 0.0;
    CFltPoint previous = a;
    while (covered < length) {
        const double element = style.elements[static_cast<std::size_t>(index)];
        double step = std::max(0.0, std::fabs(element * factor) - shortenBy);
        shortenBy = 0.0;
        covered = std::min(length, covered + step);
        const CFltPoint next = Along(a, b, covered, length);
        if (element >= 0.0) AddSolid(previous, next, pieces);
        previous = next;
        index = (index + 1) % n;
    }
    return pieces;
}

void CKXStyleExploder::PhasePiece(const CKXLine& uncut, CKXLine& piece, const KXLineStyleExt& style,
                                  double factor) {
    const KXLinePhase* uncutPhase = uncut.HasPhase() ? uncut.GetPhase() : nullptr;
    if (uncutPhase != nullptr && uncut.IsSolidPiece()) {
        piece.EnsurePhase() = *uncutPhase;
        piece.SetSolidPiece(true);
        return;
    }
    const double ux = uncut.GetEnd().x - uncut.GetStart().x;
    const double uy = uncut.GetEnd().y - uncut.GetStart().y;
    const double px = piece.GetEnd().x - piece.GetStart().x;
    const double py = piece.GetEnd().y - piece.GetStart().y;
    const bool swapped = ux * px + uy * py < 0.0;
    if (swapped) piece.SetPoints(piece.GetEnd(), piece.GetStart());
    const double position = (uncutPhase != nullptr ? PhaseToPosition(style, factor, *uncutPhase) : 0.0) +
                            Distance(uncut.GetStart(), piece.GetStart());
    KXLinePhase& phase = piece.EnsurePhase();
    PositionToPhase(style, factor, position, phase);
    if (uncutPhase != nullptr) {
        phase.directionIndex = uncutPhase->directionIndex;
        phase.directionFlags = uncutPhase->directionFlags;
        if (swapped)
            phase.directionFlags ^= KXLinePhase::kMajorIncreases | KXLinePhase::kMinorIncreases;
    }
}
