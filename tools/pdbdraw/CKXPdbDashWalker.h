// Walks a line style's dash pattern along device segments: dashes are
// drawn, gaps skipped, dots drawn as single points. Patterns whose gaps are
// all below one device unit, or whose period is below three, are drawn
// solid, as the engine draws them.
#pragma once

#include <cstdint>
#include <vector>

#include "KXPdbDeviceMap.h"

struct KXPdbLineStyle;

class CKXPdbDashWalker {
public:
    // Installs a style scaled by unitScale device units per integer unit
    // (null: solid).
    void SetStyle(const KXPdbLineStyle* style, double unitScale);
    bool HasPattern() const { return !m_elements.empty(); }
    // Starts the pattern at an element and an offset into it (integer units).
    void StartAt(std::uint32_t element, std::int32_t offset);
    // Walks p..q from the current phase; the path need not be at p.
    void Walk(CKXPdbDevicePath& path, const KXPdbDevPoint& p, const KXPdbDevPoint& q);

private:
    std::vector<double> m_elements;  // device units, signed as in the style
    double m_unit = 0.0;
    double m_period = 0.0;
    std::size_t m_index = 0;
    double m_offset = 0.0;
};
