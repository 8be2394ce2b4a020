#include "CKXPdbDashWalker.h"

#include <cmath>

#include "KXPdbTables.h"

namespace {

constexpr double kMinGap = 1.0;
constexpr double kMinPeriod = 3.0;
constexpr double kMaxPeriod = 1073741824.0;
// Segments longer than this many periods are drawn solid rather than
// walked dash by dash (they reach far beyond any device).
constexpr double kMaxPeriodsWalked = 1e6;

}  // namespace

void CKXPdbDashWalker::SetStyle(const KXPdbLineStyle* style, double unitScale) {
    m_elements.clear();
    m_unit = unitScale;
    m_index = 0;
    m_offset = 0.0;
    if (style == nullptr || style->elements.size() < 2) return;
    double period = 0.0, widestGap = 0.0;
    for (std::int32_t e : style->elements) {
        const double device = e * unitScale;
        period += std::fabs(device);
        if (device < 0.0) widestGap = std::fmax(widestGap, -device);
        m_elements.push_back(device);
    }
    if (widestGap <= kMinGap || period < kMinPeriod || period > kMaxPeriod || !std::isfinite(period))
        m_elements.clear();
    m_period = period;
}

void CKXPdbDashWalker::StartAt(std::uint32_t element, std::int32_t offset) {
    if (m_elements.empty()) return;
    m_index = element % m_elements.size();
    m_offset = std::fmax(0.0, offset * m_unit);
}

void CKXPdbDashWalker::Walk(CKXPdbDevicePath& path, const KXPdbDevPoint& p, const KXPdbDevPoint& q) {
    const double length = std::hypot(q.x - p.x, q.y - p.y);
    const auto at = [&](double d) {
        const double t = length > 0.0 ? d / length : 0.0;
        return KXPdbDevPoint{std::trunc(p.x + t * (q.x - p.x)), std::trunc(p.y + t * (q.y - p.y))};
    };
    if (m_elements.empty() || !std::isfinite(length) || length > m_period * kMaxPeriodsWalked) {
        path.MoveTo(p);
        path.LineTo(q);
        return;
    }
    double done = 0.0;
    // Every element advances by at least its length or ends the walk; a
    // zero-length period (dots only) was refused when the style was set.
    while (done < length) {
        const double element = m_elements[m_index];
        const double left = std::fabs(element) - m_offset;
        const double upto = std::fmin(length, done + left);
        if (element > 0.0) {
            path.MoveTo(at(done));
            path.LineTo(at(upto));
        } else if (element == 0.0 && m_offset == 0.0) {
            path.Dot(at(done));
        }
        if (done + left > length) {
            m_offset += length - done;
            return;
        }
        done += left;
        m_offset = 0.0;
        m_index = (m_index + 1) % m_elements.size();
    }
}
