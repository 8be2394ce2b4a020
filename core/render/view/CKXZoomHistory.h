// Where a view has been: a ring of the extents it showed before each zoom,
// walked backward and forward. The oldest entry is dropped once the ring is
// full; a zoom made after going back discards the entries ahead.
#pragma once

#include <array>
#include <optional>

#include "geom/CFltExtents.h"

class CKXZoomHistory {
public:
    static constexpr int kCapacity = 100;

    // Stores the extents shown before a zoom; a pending top is set.
    void Record(const CFltExtents& present);
    // The extents one step back. When a zoom was recorded since the last
    // navigation, the present extents are first stored on top (without
    // moving), so that forward can return to them. Empty when unavailable.
    std::optional<CFltExtents> Backward(const CFltExtents& present);
    std::optional<CFltExtents> Forward();
    bool BackwardAvailable() const { return m_current != m_oldest; }
    bool ForwardAvailable() const { return m_current != m_newest && Next(m_current) != m_newest; }
    bool Pending() const { return m_pending; }

private:
    static int Next(int i) { return i + 1 == kCapacity ? 0 : i + 1; }
    static int Prev(int i) { return i == 0 ? kCapacity - 1 : i - 1; }
    // Stores at the top and moves the top, dropping the oldest when full.
    void Push(const CFltExtents& extents);

    int m_oldest = 0;
    int m_newest = 0;
    int m_current = 0;
    bool m_pending = false;
    std::array<CFltExtents, kCapacity> m_slots{};
};
