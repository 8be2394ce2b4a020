#include "CKXLineStyleWalker.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "CKXLine.h"
#include "KXDeviceMath.h"
#include "KXLineStyleExt.h"

namespace {

constexpr int kDirectionCacheLast = 512;

double Length(const KXDevPoint& a, const KXDevPoint& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

KXDevPoint RoundedPoint(double x, double y) {
    return {KXRoundHalfToZero(x), KXRoundHalfToZero(y)};
}

// A dot is one device unit long when the pattern is laid out on the device.
double LaidOutLength(double element) {
    return element == 0.0 ? 1.0 : std::fabs(element);
}

}  // namespace

// Stepping forced by a direction-cache entry, so that every line of one
// hatch family steps identically whatever its own rounding.
struct CKXLineStyleWalker::Direction {
    bool xMajor = true;
    int dir = 1;
    double slope = 0.0;
    double factor = 1.0;
    // Period ends are re-anchored at round(k * period) after every period.
    bool reanchor = false;
};

// The walk of one device segment: integer steps along the major axis with
// the element end table, the minor coordinate re-derived from the segment
// origin after every period so that no rounding drift accumulates.
class CKXLineStyleWalker::SegmentWalk {
public:
    SegmentWalk(const KXLineStyleExt& style, std::vector<std::int64_t>& table)
        : m_elements(style.scaledElements), m_scaledLength(style.scaledLength), m_table(table) {}

    void Run(CKXDevicePath& path, const KXDevPoint& p, const KXDevPoint& q, Phase& phase,
             const Direction* forced) {
        const double dx = q.x - p.x;
        const double dy = q.y - p.y;
        if (dx == 0.0 && dy == 0.0) return;
        Direction d = forced != nullptr ? *forced : FromEndPoints(dx, dy);
        if (!BuildTable(d.factor)) {
            if (forced == nullptr) {
                path.LineTo(q);
                return;
            }
            d = FromEndPoints(dx, dy);
            if (!BuildTable(d.factor)) {
                path.LineTo(q);
                return;
            }
        }
        Walk(path, p, q, phase, d);
    }

private:
    static Direction FromEndPoints(double dx, double dy) {
        Direction d;
        d.xMajor = std::fabs(dy) < std::fabs(dx);
        const double major = d.xMajor ? dx : dy;
        const double minor = d.xMajor ? dy : dx;
        d.dir = major >= 1.0 ? 1 : -1;
        d.slope = minor / major;
        d.factor = major / std::hypot(dx, dy);
        return d;
    }

    // Running sums of the laid-out elements in major-axis steps; the last
    // entry is the exact period so that a period ends where it should.
    bool BuildTable(double factor) {
        const std::size_t n = m_elements.size();
        m_table.assign(n, 0);
        double sum = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            sum += LaidOutLength(m_elements[i]);
            m_table[i] = static_cast<std::int64_t>(KXRoundHalfToZero(sum * factor));
        }
        m_table[n - 1] = static_cast<std::int64_t>(KXRoundHalfToZero(factor * m_scaledLength));
        return std::isfinite(factor) && m_table[n - 1] != 0;
    }

    void Walk(CKXDevicePath& path, const KXDevPoint& p, const KXDevPoint& q, Phase& phase,
              const Direction& d) {
        const auto n = static_cast<int>(m_elements.size());
        const auto start = [&](bool major) { return (d.xMajor == major) ? p.x : p.y; };
        const auto end = [&](bool major) { return (d.xMajor == major) ? q.x : q.y; };
        const double startMajor = start(true), startMinor = start(false);
        const double endMajor = end(true), endMinor = end(false);
        const auto at = [&](double major, double minor) {
            return d.xMajor ? KXDevPoint{major, minor} : KXDevPoint{minor, major};
        };
        const auto draw = [&](int element, const KXDevPoint& target) {
            if (m_elements[element] >= 0.0)
                path.LineTo(target);
            else
                path.MoveTo(target);
        };

        int index = std::clamp(phase.index, 0, n - 1);
        double phaseSteps = KXRoundHalfToZero(phase.offset * d.factor) +
                            (index > 0 ? static_cast<double>(m_table[index - 1]) : 0.0);
        double currentMajor = startMajor, currentMinor = startMinor;
        const double period = m_scaledLength * d.factor;
        double periodsDone = 0.0, periodSum = 0.0;
        // Each period advances at least one step, so this bounds the loop
        // even for inconsistent direction data.
        const double maxPeriods = std::fabs(endMajor - startMajor) + 2.0;

        for (double guard = 0.0; guard <= maxPeriods; guard += 1.0) {
            double lastMajor = currentMajor;
            for (int i = index; i < n; ++i) {
                const double step = static_cast<double>(m_table[i]) - phaseSteps;
                const double targetMajor = currentMajor + step;
                const double targetMinor = currentMinor + KXRoundHalfToZero(step * d.slope);
                const bool reached = d.dir > 0 ? targetMajor >= endMajor : targetMajor <= endMajor;
                if (reached) {
                    const double elementStart = currentMajor - phaseSteps +
                                                (i > 0 ? static_cast<double>(m_table[i - 1]) : 0.0);
                    phase.index = i;
                    phase.offset = KXRoundHalfToZero(std::fabs(endMajor - elementStart) /
                                                     std::fabs(d.factor));
                    draw(i, at(endMajor, endMinor));
                    return;
                }
                draw(i, at(targetMajor, targetMinor));
                lastMajor = targetMajor;
            }
            phaseSteps = 0.0;
            index = 0;
            currentMajor = lastMajor;
            currentMinor = KXRoundHalfToZero((currentMajor - startMajor) * d.slope) + startMinor;
            path.MoveTo(at(currentMajor, currentMinor));
            if (d.reanchor) {
                periodsDone += 1.0;
                periodSum += static_cast<double>(m_table[n - 1]);
                const double next = KXRoundHalfToZero((periodsDone + 1.0) * period) - periodSum;
                if (next != 0.0) m_table[n - 1] = static_cast<std::int64_t>(next);
            }
        }
        // Only reached with inconsistent data: finish the segment solid.
        path.LineTo(q);
        phase = Phase{};
    }

    const std::vector<double>& m_elements;
    double m_scaledLength;
    std::vector<std::int64_t>& m_table;
};

CKXLineStyleWalker::CKXLineStyleWalker(const CKXLineStyleWalker& other)
    : m_style(other.m_style), m_factor(other.m_factor), m_rect(other.m_rect) {}

CKXLineStyleWalker& CKXLineStyleWalker::operator=(const CKXLineStyleWalker& other) {
    m_style = other.m_style;
    m_factor = other.m_factor;
    m_rect = other.m_rect;
    return *this;
}

void CKXLineStyleWalker::SetLineStyle(KXLineStyleExt* style, double factor) {
    m_style = style;
    Rescale(factor);
}

void CKXLineStyleWalker::Rescale(double factor) {
    m_factor = factor;
    if (m_style != nullptr) Rescale(*m_style, factor);
}

void CKXLineStyleWalker::EnsureScaled() {
    if (m_style != nullptr) Rescale(*m_style, m_factor);
}

void CKXLineStyleWalker::Rescale(KXLineStyleExt& style, double factor) {
    if (!(style.patternLength > 0.0) || !std::isfinite(style.patternLength)) return;
    if (factor == 0.0) factor = kDefaultPeriod / style.patternLength;
    if (std::fabs(style.cachedFactor - factor) < kFactorTolerance) return;
    style.scaledElements.clear();
    style.scaledLength = 0.0;
    // The dropped list is cached for this factor too: keeping the old factor
    // would let its return find the list "built" and draw solid.
    style.cachedFactor = factor;
    if (!(factor > 0.0) || !std::isfinite(factor)) return;
    double length = 0.0;
    double widestGap = 0.0;
    for (double element : style.elements) {
        const double scaled = std::fabs(element) * factor;
        length += scaled;
        if (element < 0.0) widestGap = std::max(widestGap, scaled);
    }
    style.scaledLength = length;
    // Invisible patterns (gaps under a unit, tiny periods) and periods too
    // long to walk are drawn solid.
    if (!(widestGap > kMinGap) || std::trunc(length) < kMinPeriod || !(length <= kMaxPeriod)) return;
    style.scaledElements.reserve(style.elements.size());
    for (double element : style.elements) style.scaledElements.push_back(element * factor);
}

bool CKXLineStyleWalker::HasPattern() const {
    return m_style != nullptr && m_style->scaledElements.size() >= 2;
}

double CKXLineStyleWalker::PeriodWithDots() const {
    double period = 0.0;
    for (double element : m_style->scaledElements) period += LaidOutLength(element);
    return period;
}

double CKXLineStyleWalker::FirstElementHalf() const {
    return KXRoundHalfToZero(std::fabs(m_style->scaledElements.front()) / 2.0);
}

CKXLineStyleWalker::Phase CKXLineStyleWalker::Advance(const Phase& phase, double distance) const {
    if (!HasPattern()) return Phase{};
    const std::vector<double>& elements = m_style->scaledElements;
    const int n = static_cast<int>(elements.size());
    const double period = PeriodWithDots();
    const int index = std::clamp(phase.index, 0, n - 1);
    double position = phase.offset + distance;
    for (int i = 0; i < index; ++i) position += LaidOutLength(elements[i]);
    if (!std::isfinite(position) || !(period > 0.0)) return Phase{};
    position = std::fmod(position, period);
    if (position < 0.0) position += period;
    for (int i = 0; i < n; ++i) {
        const double length = LaidOutLength(elements[i]);
        if (position < length || i == n - 1) return Phase{i, position};
        position -= length;
    }
    return Phase{};
}

void CKXLineStyleWalker::WalkSegment(CKXDevicePath& path, const KXDevPoint& p, const KXDevPoint& q,
                                     Phase& phase) {
    if (!HasPattern()) {
        if (!path.IsAt(p)) path.MoveTo(p);
        path.LineTo(q);
        return;
    }
    WalkClipped(path, p, q, phase, nullptr);
}

// Only the part of a segment near the device rectangle is walked element by
// element; the parts beyond move the phase on by their length, so the
// visible dashes stand where a full walk would have put them and a walk
// never costs more than the rectangle's size, however long the segment.
void CKXLineStyleWalker::WalkClipped(CKXDevicePath& path, const KXDevPoint& p, const KXDevPoint& q,
                                     Phase& phase, const Direction* direction) {
    phase = Advance(phase, 0.0);
    const double left = m_rect.left - kWalkMargin, right = m_rect.right + kWalkMargin;
    const double top = m_rect.top - kWalkMargin, bottom = m_rect.bottom + kWalkMargin;
    const auto inside = [&](const KXDevPoint& v) {
        return v.x >= left && v.x <= right && v.y >= top && v.y <= bottom;
    };
    SegmentWalk walk(*m_style, m_table);
    if (inside(p) && inside(q)) {
        if (!path.IsAt(p)) path.MoveTo(p);
        walk.Run(path, p, q, phase, direction);
        return;
    }
    const double dx = q.x - p.x, dy = q.y - p.y;
    KXSegmentSpan span;
    if (!KXClipSegment(p.x, p.y, dx, dy, left, top, right, bottom, span)) {
        phase = Advance(phase, Length(p, q));
        path.MoveTo(q);
        return;
    }
    const KXDevPoint a = span.t0 > 0.0 ? RoundedPoint(p.x + span.t0 * dx, p.y + span.t0 * dy) : p;
    const KXDevPoint b = span.t1 < 1.0 ? RoundedPoint(p.x + span.t1 * dx, p.y + span.t1 * dy) : q;
    if (a != p) phase = Advance(phase, Length(p, a));
    if (!path.IsAt(a)) path.MoveTo(a);
    if (a != b) walk.Run(path, a, b, phase, direction);
    if (b != q) {
        phase = Advance(phase, Length(b, q));
        path.MoveTo(q);
    }
}

void CKXLineStyleWalker::WalkCentred(CKXDevicePath& path, const KXDevPoint& p, const KXDevPoint& q) {
    const double length = Length(p, q);
    const double periods = std::trunc(length / m_style->scaledLength);
    if (periods < 1.0) {
        path.LineTo(q);
        return;
    }
    const double leftover = (length - periods * m_style->scaledLength) / 2.0;
    const double ux = (q.x - p.x) / length, uy = (q.y - p.y) / length;
    const KXDevPoint a = RoundedPoint(p.x + ux * leftover, p.y + uy * leftover);
    const KXDevPoint b = RoundedPoint(q.x - ux * leftover, q.y - uy * leftover);
    path.LineTo(a);
    Phase phase{0, FirstElementHalf()};
    if (a != b) WalkClipped(path, a, b, phase, nullptr);
    path.MoveTo(b);
    path.LineTo(q);
}

void CKXLineStyleWalker::DrawSegment(CKXDevicePath& path, const KXDevPoint& p, const KXDevPoint& q,
                                     KXLinePhase* linePhase, double scaleX,
                                     const std::vector<KXDirectionEntry>* cache) {
    if (!path.IsAt(p)) path.MoveTo(p);
    if (!HasPattern()) {
        path.LineTo(q);
        return;
    }
    if (p == q) {
        path.Dot(p);
        return;
    }
    if (linePhase != nullptr) {
        // Recomputed at every draw: a cached value would be stale after a zoom.
        linePhase->deviceOffset = static_cast<std::int32_t>(
            std::clamp(KXRoundHalfToZero(scaleX * linePhase->offset), -2147483647.0, 2147483647.0));
        Phase phase{linePhase->elementIndex, static_cast<double>(linePhase->deviceOffset)};
        Direction forced;
        const Direction* direction = nullptr;
        const int slot = linePhase->directionIndex;
        if (cache != nullptr && slot >= 0 && slot <= kDirectionCacheLast &&
            slot < static_cast<int>(cache->size())) {
            const KXDirectionEntry& entry = (*cache)[slot];
            if (entry.factor > 0.0 && std::isfinite(entry.factor) && std::isfinite(entry.ratio)) {
                forced.xMajor = (linePhase->directionFlags & KXLinePhase::kXIsMajor) != 0;
                const double majorStart = forced.xMajor ? p.x : p.y;
                const double majorEnd = forced.xMajor ? q.x : q.y;
                const double minorStart = forced.xMajor ? p.y : p.x;
                const double minorEnd = forced.xMajor ? q.y : q.x;
                forced.dir = majorEnd < majorStart ? -1 : 1;
                forced.slope = (minorEnd < minorStart ? -1.0 : 1.0) * forced.dir * entry.ratio;
                forced.factor = forced.dir * entry.factor;
                forced.reanchor = true;
                direction = &forced;
            }
        }
        WalkClipped(path, p, q, phase, direction);
        return;
    }
    if ((m_style->kind & (KXLineStyleExt::kCentrePolyline | KXLineStyleExt::kCentreSegments)) != 0) {
        WalkCentred(path, p, q);
        return;
    }
    Phase phase;
    WalkClipped(path, p, q, phase, nullptr);
}

void CKXLineStyleWalker::DrawPolyline(CKXDevicePath& path, const std::vector<KXDevPoint>& points) {
    if (points.empty()) return;
    path.MoveTo(points.front());
    const auto drawSolid = [&]() {
        for (std::size_t i = 1; i < points.size(); ++i)
            if (points[i] != points[i - 1]) path.LineTo(points[i]);
    };
    if (points.size() < 2 || !HasPattern()) {
        if (points.size() == 1) path.Dot(points.front());
        drawSolid();
        return;
    }
    const int kind = m_style->kind;
    if ((kind & KXLineStyleExt::kCentreSegments) != 0) {
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            if (!path.IsAt(points[i])) path.MoveTo(points[i]);
            if (points[i] == points[i + 1])
                path.Dot(points[i]);
            else
                WalkCentred(path, points[i], points[i + 1]);
        }
        return;
    }
    const bool closed = points.front() == points.back();
    Phase phase;
    std::size_t first = 0;
    if ((kind & KXLineStyleExt::kCentrePolyline) != 0 && !closed) {
        double total = 0.0;
        for (std::size_t i = 0; i + 1 < points.size(); ++i) total += Length(points[i], points[i + 1]);
        const double periods = std::trunc(total / m_style->scaledLength);
        if (periods < 1.0) {
            drawSolid();
            return;
        }
        const double firstLength = Length(points[0], points[1]);
        const double leftover =
            std::min((total - periods * m_style->scaledLength) / 2.0, firstLength);
        KXDevPoint a = points[0];
        if (firstLength > 0.0) {
            const double t = leftover / firstLength;
            a = RoundedPoint(points[0].x + t * (points[1].x - points[0].x),
                             points[0].y + t * (points[1].y - points[0].y));
        }
        path.LineTo(a);
        phase = Phase{0, FirstElementHalf()};
        if (a != points[1]) WalkClipped(path, a, points[1], phase, nullptr);
        first = 1;
    }
    for (std::size_t i = first; i + 1 < points.size(); ++i) {
        if (points[i] == points[i + 1]) {
            if (!path.IsAt(points[i])) path.MoveTo(points[i]);
            path.Dot(points[i]);
        } else {
            WalkClipped(path, points[i], points[i + 1], phase, nullptr);
        }
    }
}
