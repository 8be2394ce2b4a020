// One family of parallel hatch lines: where the first line passes, its
// direction, the distance between lines, how the dash pattern shifts from
// one line to the next, and the attributes the lines are drawn with.
#pragma once

#include <korvex/kxtypes.h>

#include <memory>

#include "CKXLine.h"
#include "geom/CFltExtents.h"
#include "geom/CFltPoint.h"

class CTransf2D;
struct KXLineStyleExt;

class CKXPattern {
public:
    explicit CKXPattern(const KXPatternRecord& record);
    CKXPattern(const CKXPattern& other);
    CKXPattern& operator=(const CKXPattern&) = delete;
    virtual ~CKXPattern();

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

    // Lays the lines over the extents: with u the unit direction and f the
    // base length, pattern space maps (s, t) to base + s f u + t o; the
    // lines run at every whole t across the extents' box in pattern space,
    // each from before the box to beyond it. False (and no lines) for empty
    // extents, a zero direction, offset or spacing, or an unusable f.
    bool SetUpLines(const CFltExtents& extents, double f);
    double LineCount() const { return m_lineCount; }
    // t of the first line (lines are t, t + 1, ...).
    double FirstT() const { return m_firstT; }
    const CFltExtents& Filling() const { return m_filling; }
    // The first line, the template every line is shifted from.
    const CKXLine* FirstLine() const { return m_firstLine.get(); }
    // Line i (0-based): the first line shifted by i offsets.
    CKXLine LineAt(double i) const;

    // The template's integer coordinates, as the document's other stored
    // geometry gets them when it is finished.
    void Quantise(double scale, const CFltPoint& origin);

private:
    KXPatternRecord m_record;
    CFltPoint m_offset;
    double m_lineStyleScale = 1.0;
    KXLineStyleExt* m_lineStyle = nullptr;
    CFltExtents m_filling;
    std::unique_ptr<CKXLine> m_firstLine;
    double m_firstT = 0.0;
    double m_lineCount = 0.0;
};
