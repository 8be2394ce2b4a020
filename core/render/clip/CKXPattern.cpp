#include "CKXPattern.h"

#include <cmath>

#include "geom/CTransf2D.h"

CKXPattern::CKXPattern(const KXPatternRecord& record) : m_record(record) {
    const double length = std::hypot(record.dirX, record.dirY);
    const double norm = length > 0.0 ? length : 1.0;
    m_offset = {record.spacing * -record.dirY / norm, record.spacing * record.dirX / norm};
}

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
