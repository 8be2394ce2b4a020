// One family of parallel hatch lines: where the first line passes, its
// direction, the distance between lines, how the dash pattern shifts from
// one line to the next, and the attributes the lines are drawn with.
#pragma once

#include <korvex/kxtypes.h>

#include "geom/CFltPoint.h"

class CTransf2D;
struct KXLineStyleExt;

class CKXPattern {
public:
    explicit CKXPattern(const KXPatternRecord& record);
    virtual ~CKXPattern() = default;

    const KXPatternRecord& Record() const { return m_record; }
    CFltPoint Base() const { return {m_record.baseX, m_record.baseY}; }
    CFltPoint Direction() const { return {m_record.dirX, m_record.dirY}; }
    // spacing x (-dy, dx) / |d|; not normalised when |d| is 0 (then zero).
    const CFltPoint& Offset() const { return m_offset; }
    double Shift() const { return m_record.shift; }
    double Spacing() const { return m_record.spacing; }
    double LineStyleScale() const { return m_lineStyleScale; }

    // The line style the lines are walked with (null: solid), which the
    // pattern takes from its attributes the first time it is exploded.
    KXLineStyleExt* GetLineStyle() const { return m_lineStyle; }
    void SetLineStyle(KXLineStyleExt* style) { m_lineStyle = style; }

    // The pattern placed by xf (k its scale factor): base point moved,
    // direction and offset through the linear part, shift, spacing and
    // line-style scale times k (a non-positive scale becomes 1).
    CKXPattern Transformed(const CTransf2D& xf) const;

private:
    KXPatternRecord m_record;
    CFltPoint m_offset;
    double m_lineStyleScale = 1.0;
    KXLineStyleExt* m_lineStyle = nullptr;
};
