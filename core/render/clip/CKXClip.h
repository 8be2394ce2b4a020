// Clipping of one line or polyline against one clip region: the crossings
// of each segment with the boundary are found on the region's integer grid,
// sorted along the segment, and the spans inside the region are kept.
// A clip is reused for many segments (its scratch arrays stay allocated).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "CDirectSegmentIntIter.h"
#include "CPointIntCross.h"
#include "geom/CFltPoint.h"

class CKXClipRgn;
class CKXLine;
class CKXPolyline;

class CKXClip {
public:
    // Report flags of ClipSegment: where the first and the last kept span
    // lie against the segment's own ends, and whether the spans run from
    // its end back to its start (the way its crossings sort).
    enum Report : int {
        kFirstAtStart = 1,
        kFirstAtEnd = 2,
        kLastAtStart = 4,
        kLastAtEnd = 8,
        kBackward = 16,
    };

    // startsOutside: the caller guarantees that the first point of every
    // clipped segment lies outside the region (the inside test is skipped).
    explicit CKXClip(CKXClipRgn& region, bool startsOutside = false);
    virtual ~CKXClip() = default;

    CKXClipRgn& Region() const { return m_region; }
    // Some clipped segment crossed the boundary.
    bool Crossed() const { return m_crossed != 0; }
    bool StartsOutside() const { return m_startsOutside != 0; }

    // Appends the kept spans of a -> b to spans (two points each, in order
    // along the sorted crossings: see kBackward) and returns the report flags.
    int ClipSegment(const CFltPoint& a, const CFltPoint& b, std::vector<CFltPoint>& spans);

    // Pieces of a line inside the region; they keep the line's flags, and a
    // solid dash piece stays one. An empty region copies the line.
    void Clip(const CKXLine& line, std::vector<std::unique_ptr<CKXLine>>& out);
    // Pieces of a polyline inside the region, chained where consecutive
    // segments meet inside it.
    void Clip(const CKXPolyline& polyline, std::vector<std::unique_ptr<CKXPolyline>>& out);

private:
    // ClipSegment for ends whose grid coordinates fit in 32 bits.
    int ClipOnGrid(const CFltPoint& a, const CFltPoint& b, std::vector<CFltPoint>& spans);
    CFltPoint Back(const KXGridPoint& g, const CFltPoint& a, const CFltPoint& b) const;

    CKXClipRgn& m_region;
    std::uint8_t m_crossed = 0;
    std::uint8_t m_startsOutside = 0;
    std::vector<CPointIntCross> m_records;
    std::vector<CPointIntCross> m_probe;
    std::vector<CFltPoint> m_spans;
};
