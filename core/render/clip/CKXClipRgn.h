// A clip region: closed contours (owned polylines) and the integer grid the
// crossing arithmetic runs on. Inside means an odd number of boundary
// crossings (even-odd rule), so holes, islands and self-intersecting
// contours need no special handling.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "CDirectSegmentIntIter.h"
#include "CDirectSegmentIter.h"
#include "CPointIntCross.h"
#include "geom/CFltExtents.h"

class CKXPolyline;
class CTransf2D;

class CKXClipRgn {
public:
    using Contours = CDirectSegmentIter::Contours;
    // Grid span used when a region is clipped through before any grid was
    // given to it (see EnsureGrid).
    static constexpr double kOwnGridSpan = 200000.0;

    CKXClipRgn();
    CKXClipRgn(const CKXClipRgn&) = delete;
    CKXClipRgn& operator=(const CKXClipRgn&) = delete;
    virtual ~CKXClipRgn();

    // Segment iterators by number (0 or 1; anything else is 0).
    CDirectSegmentIter& SegmentIter(int which);
    CDirectSegmentIntIter& IntSegmentIter(int which);
    // Merged extents of all contours; recomputed from them when found empty.
    const CFltExtents& GetExtents();
    bool IsEmpty() const { return m_contours.empty(); }

    // Adds a contour of at least two points (updated here); false otherwise.
    bool AddContour(std::unique_ptr<CKXPolyline> contour);
    const Contours& GetContours() const { return m_contours; }
    // The quantised contours the crossing search walks (see m_grid).
    const CDirectSegmentIntIter::Contours& GetGridContours() const { return m_grid; }
    // Vertices used by the crossing search, over all contours.
    std::size_t GridVertexCount() const;

    // Sets the grid and quantises every contour onto it.
    void Quantise(double scale, const CFltPoint& origin);
    bool HasGrid() const { return m_scale > 0.0; }
    // A region clipped through before it was quantised gets a grid of its
    // own over its extents.
    void EnsureGrid();
    double GetGridScale() const { return m_scale; }
    const CFltPoint& GetGridOrigin() const { return m_origin; }
    // trunc(scale x (p - origin)), saturated to 32 bits.
    KXGridPoint ToGrid(const CFltPoint& p) const;
    // value / scale + origin; (0, 0) without a grid.
    CFltPoint FromGrid(const KXGridPoint& g) const;
    // The point's grid coordinates need no saturation.
    bool FitsGrid(const CFltPoint& p) const;
    // The part of a -> b within the box of the grid contours widened by a
    // few steps, as parameters 0 <= t0 <= t1 <= 1 along it; false when the
    // segment misses that box (it then lies outside the region).
    bool SpanInGridBox(const CFltPoint& a, const CFltPoint& b, double& t0, double& t1) const;

    // Every contour transformed, quantised on this region's grid.
    std::unique_ptr<CKXClipRgn> CloneTransformed(const CTransf2D& xf) const;

    // Appends the crossings of the grid segment a->b with the boundary
    // (neither end point itself), in boundary order. An overlap with a run
    // of collinear edges gives both its ends, an end beyond the segment at
    // the segment's end point.
    void Crossings(const KXGridPoint& a, const KXGridPoint& b, std::vector<CPointIntCross>& out) const;
    // Even-odd inside test of a grid point by a horizontal probe from the
    // left of the region; probe is scratch space.
    bool IsInside(const KXGridPoint& p, std::vector<CPointIntCross>& probe) const;
    // Even-odd inside test of the exact point a + (b - a) * along / 2^kAlongBits
    // of a grid segment (0 <= along <= 2^kAlongBits): 1 inside, 0 outside,
    // -1 when the point lies on a boundary edge the segment runs along (the
    // test cannot tell). A point where the segment meets the boundary
    // otherwise (a vertex it touches) is judged just beyond it towards b.
    static constexpr int kAlongBits = 24;
    int IsInsideAlong(const KXGridPoint& a, const KXGridPoint& b, std::int64_t along) const;

    // Number of state flips a sorted run of records makes: each ordinary
    // record flips, a pair of overlap ends flips once, touch ends never.
    static int Flips(const std::vector<CPointIntCross>& records, std::size_t first);

private:
    // The crossing search in W arithmetic (64 or 128 bits).
    template <class W>
    void CrossingsIn(const KXGridPoint& a, const KXGridPoint& b, std::vector<CPointIntCross>& out) const;

    Contours m_contours;
    CFltExtents m_extents;
    double m_scale = 0.0;
    CFltPoint m_origin;
    // Per contour its distinct grid vertices, the first repeated at the
    // end; contours that collapse to one grid point are left out.
    CDirectSegmentIntIter::Contours m_grid;
    // The grid box of each of those contours.
    struct GridBox {
        KXGridPoint low;
        KXGridPoint high;
    };
    std::vector<GridBox> m_gridBoxes;
    KXGridPoint m_gridMin;
    KXGridPoint m_gridMax;
    bool m_narrowGrid = true;
    CDirectSegmentIter m_iters[2];
    CDirectSegmentIntIter m_intIters[2];
};
