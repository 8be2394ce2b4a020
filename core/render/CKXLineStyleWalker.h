// Walks a line style's dash pattern along device segments and polylines.
// The pattern is scaled to device units once per style and factor (the
// scaled list lives in the style, shared by every render context), then
// walked in whole device units with precomputed element end tables.
#pragma once

#include <kxplatform/wintypes.h>

#include <cstdint>
#include <vector>

#include "CKXDevicePath.h"

struct KXLineStyleExt;
struct KXLinePhase;
struct KXDirectionEntry;

class CKXLineStyleWalker {
public:
    // Where a walk stands in the pattern: an element and the distance
    // already covered inside it, in device units along the line.
    struct Phase {
        int index = 0;
        double offset = 0.0;
    };

    // Two patterns factors closer than this are the same scaling.
    static constexpr double kFactorTolerance = 1.1920929e-7;
    // A factor of 0 asks for a pattern period of this many device units.
    static constexpr double kDefaultPeriod = 100.0;
    // Patterns are drawn solid when no gap exceeds kMinGap device units or
    // the period is below kMinPeriod.
    static constexpr double kMinGap = 1.0;
    static constexpr int kMinPeriod = 3;
    // Periods longer than this could not be walked in 32-bit device units;
    // such patterns are drawn solid.
    static constexpr double kMaxPeriod = 1073741824.0;
    // Segments are walked only this far outside the device rectangle; the
    // pattern phase is carried over the parts left out.
    static constexpr double kWalkMargin = 256.0;

    CKXLineStyleWalker() = default;
    // A copy shares the style; each walker keeps its own work buffer.
    CKXLineStyleWalker(const CKXLineStyleWalker& other);
    CKXLineStyleWalker& operator=(const CKXLineStyleWalker& other);

    // Installs a style (null: solid) and scales it for factor.
    void SetLineStyle(KXLineStyleExt* style, double factor);
    KXLineStyleExt* GetLineStyle() const { return m_style; }
    // Builds the style's scaled pattern for a new factor, unless it is
    // already built for that factor.
    void Rescale(double factor);
    static void Rescale(KXLineStyleExt& style, double factor);
    // A style is installed and its scaled pattern exists.
    bool HasPattern() const;
    // Makes the shared style's scaled pattern match this walker's factor
    // again (another context may have rescaled it meanwhile); free when it
    // already does.
    void EnsureScaled();

    // Segments far outside this rectangle are not walked element by element.
    void SetDeviceRect(const RECT& rect) { m_rect = rect; }

    // A styled segment p..q (rule set of CKXLine): phased walk when phase is
    // given, centred walk for centred styles, plain walk otherwise. The
    // device position must be at p. cache is the document's direction cache.
    void DrawSegment(CKXDevicePath& path, const KXDevPoint& p, const KXDevPoint& q,
                     KXLinePhase* phase, double scaleX,
                     const std::vector<KXDirectionEntry>* cache);
    // A styled polyline of at least 2 device points.
    void DrawPolyline(CKXDevicePath& path, const std::vector<KXDevPoint>& points);

    // Walks one segment from phase, leaving in phase where the pattern
    // stands at q (exposed for tests and for the explosion code).
    void WalkSegment(CKXDevicePath& path, const KXDevPoint& p, const KXDevPoint& q, Phase& phase);

    // Moves a phase on by distance device units along the pattern.
    Phase Advance(const Phase& phase, double distance) const;

private:
    struct Direction;  // forced stepping from the direction cache
    class SegmentWalk;

    void WalkClipped(CKXDevicePath& path, const KXDevPoint& p, const KXDevPoint& q, Phase& phase,
                     const Direction* direction);
    void WalkCentred(CKXDevicePath& path, const KXDevPoint& p, const KXDevPoint& q);
    double FirstElementHalf() const;
    double PeriodWithDots() const;

    KXLineStyleExt* m_style = nullptr;
    double m_factor = 0.0;
    RECT m_rect{0, 0, 0, 0};
    // Element end table of the segment being walked.
    std::vector<std::int64_t> m_table;
};
