#include "CKXPattern.h"

#include <algorithm>
#include <cmath>

#include "geom/CTransf2D.h"

CKXPattern::CKXPattern(const KXPatternRecord& record) : m_record(record) {
    const double length = std::hypot(record.dirX, record.dirY);
    const double norm = length > 0.0 ? length : 1.0;
    m_offset = {record.spacing * -record.dirY / norm, record.spacing * record.dirX / norm};
}

CKXPattern::CKXPattern(const CKXPattern& other)
    : m_record(other.m_record),
      m_offset(other.m_offset),
      m_lineStyleScale(other.m_lineStyleScale),
      m_lineStyle(other.m_lineStyle),
      m_filling(other.m_filling),
      m_firstLine(other.m_firstLine ? std::make_unique<CKXLine>(*other.m_firstLine) : nullptr),
      m_firstT(other.m_firstT),
      m_lineCount(other.m_lineCount) {}

CKXPattern::~CKXPattern() = default;

CKXPattern CKXPattern::Transformed(const CTransf2D& xf) const {
    const double k = xf.ScaleFactor();
    const CFltPoint zero = xf.Apply(CFltPoint{});
    const auto linear = [&](const CFltPoint& v) {
        const CFltPoint moved = xf.Apply(v);
        return CFltPoint{moved.x - zero.x, moved.y - zero.y};
    };
    CKXPattern copy(*this);
    const CFltPoint base = xf.Apply(Base());
    const CFltPoint direction = linear(Direction());
    copy.m_record.baseX = base.x;
    copy.m_record.baseY = base.y;
    copy.m_record.dirX = direction.x;
    copy.m_record.dirY = direction.y;
    copy.m_record.shift *= k;
    copy.m_record.spacing *= k;
    copy.m_offset = linear(m_offset);
    copy.m_lineStyleScale = m_lineStyleScale * k;
    if (!(copy.m_lineStyleScale > 0.0)) copy.m_lineStyleScale = 1.0;
    return copy;
}

namespace {
double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }
}  // namespace

bool CKXPattern::SetUpLines(const CFltExtents& extents, double f) {
    m_firstLine.reset();
    m_lineCount = 0.0;
    m_filling = extents;
    if (extents.IsEmpty() || !(Spacing() != 0.0) || !(f > 0.0) || !std::isfinite(f)) return false;
    const CFltPoint dir = Direction();
    const double dirLength = std::hypot(dir.x, dir.y);
    const CFltPoint o = m_offset;
    if (!(dirLength > 0.0) || (o.x == 0.0 && o.y == 0.0)) return false;
    const CFltPoint u{dir.x / dirLength, dir.y / dirLength};
    const double det = Cross(f * u.x, f * u.y, o.x, o.y);
    if (det == 0.0 || !std::isfinite(det)) return false;

    // The extents' box in pattern space.
    const CFltPoint base = Base();
    double sMin = HUGE_VAL, sMax = -HUGE_VAL, tMin = HUGE_VAL, tMax = -HUGE_VAL;
    const CFltPoint corners[4] = {{extents.xmin, extents.ymin},
                                  {extents.xmin, extents.ymax},
                                  {extents.xmax, extents.ymax},
                                  {extents.xmax, extents.ymin}};
    for (const CFltPoint& c : corners) {
        const double px = c.x - base.x, py = c.y - base.y;
        const double s = Cross(px, py, o.x, o.y) / det;
        const double t = Cross(f * u.x, f * u.y, px, py) / det;
        sMin = std::min(sMin, s);
        sMax = std::max(sMax, s);
        tMin = std::min(tMin, t);
        tMax = std::max(tMax, t);
    }
    const double tFirst = std::trunc(tMin), tLast = std::trunc(tMax);
    const double count = tLast - tFirst + 1.0;
    if (!std::isfinite(count) || count < 1.0) return false;
    const double s0 = std::trunc(sMin) - 1.0, s1 = std::trunc(sMax) + 1.0;
    const CFltPoint first{base.x + s0 * f * u.x + tFirst * o.x, base.y + s0 * f * u.y + tFirst * o.y};
    m_firstLine = std::make_unique<CKXLine>(first, CFltPoint{first.x + (s1 - s0) * f * u.x,
                                                             first.y + (s1 - s0) * f * u.y});
    m_firstT = tFirst;
    m_lineCount = count;
    return true;
}

CKXLine CKXPattern::LineAt(double i) const {
    if (!m_firstLine) return CKXLine(CFltPoint{}, CFltPoint{});
    const CFltPoint a = m_firstLine->GetStart(), b = m_firstLine->GetEnd();
    const CFltPoint shift{i * m_offset.x, i * m_offset.y};
    return CKXLine({a.x + shift.x, a.y + shift.y}, {b.x + shift.x, b.y + shift.y});
}

void CKXPattern::Quantise(double scale, const CFltPoint& origin) {
    if (m_firstLine) m_firstLine->Quantise(scale, origin);
}
