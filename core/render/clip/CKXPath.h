// A boundary path: polyline, circle-arc, elliptic-arc and spline pieces
// that are chained end to end into one closed contour of a clip region.
// A closed piece (a closed polyline, full circle or ellipse, closed spline)
// is accepted only as the first piece and then makes up the whole path.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "IKXEnt.h"
#include "KXStatus.h"

class CKXDoc;
class CKXPolyline;

class CKXPath {
public:
    CKXPath();
    CKXPath(const CKXPath&) = delete;
    CKXPath& operator=(const CKXPath&) = delete;
    virtual ~CKXPath();

    // Each Add checks its geometry (a failure keeps its reason) and projects
    // it through the document's 3D coordinate system when an elevation is
    // given; a piece the path cannot take is dropped and is no failure.
    KXStatus AddPolyline(CKXDoc& doc, std::vector<CFltPoint> points, const double* z);
    KXStatus AddCircleArc(CKXDoc& doc, const CFltPoint& centre, double radius, double start, double end,
                          bool full, const double* z);
    KXStatus AddEllipticArc(CKXDoc& doc, const CFltPoint& centre, const CFltPoint& axis, double ratio,
                            double start, double end, bool full, const double* z);
    KXStatus AddSpline(CKXDoc& doc, int degree, std::vector<CFltPoint> controls, std::vector<double> knots,
                       std::vector<double> weights, int flags, const double* z);

    std::size_t PieceCount() const { return m_pieces.size(); }
    bool IsClosed() const { return m_closed != 0; }
    // The pieces as the polylines they are chained with.
    const std::vector<std::unique_ptr<CKXPolyline>>& PiecePolylines() const { return m_polylines; }

    // Integer coordinates of every piece and of its polyline, as the
    // document's other stored geometry gets them when it is finished.
    void Quantise(double scale, const CFltPoint& origin);

    // One contour: the pieces chained from the first by nearest ends
    // (reversing a piece whose end is nearer than its start), closed by a
    // copy of the first point unless a closed piece makes up the path.
    // Null without pieces.
    std::unique_ptr<CKXPolyline> ToContour() const;

private:
    // Takes the piece, or drops it by the piece rules.
    void Accept(KXEntPtr piece, std::unique_ptr<CKXPolyline> polyline, bool closedPiece);

    KXEntList m_pieces;
    std::uint8_t m_closed = 0;
    // Fixed at creation: close the result, order pieces by nearest ends,
    // append a closing point.
    std::uint8_t m_closeResult = 1;
    std::uint8_t m_orderByNearest = 1;
    std::uint8_t m_appendClosing = 1;
    std::vector<std::unique_ptr<CKXPolyline>> m_polylines;
};
