// Circles, arcs, ellipses and elliptic arcs drawn as device polylines
// through the 200-step angle table, with fewer chords for small curves; or,
// under the fine-curves display mode, evaluated directly with as many
// chords as keep the curve within half a device unit.
#pragma once

#include <kxplatform/wintypes.h>

#include <vector>

#include "geom/CFltPoint.h"

class CKXCircle;
class CKXEllipse;
class CKXConverter;
class CKXNURBS;
class CTransf2D;

namespace kxdraw {

// Table steps skipped between chords for a curve of the given device
// radius: 20, 10 or 5 (10, 20 or 40 chords per turn).
int ChordIncrement(double deviceRadius);
// Chords for a sweep (radians) of a curve of the given device radius so
// that no chord strays more than half a device unit from the curve.
int FineChordCount(double deviceRadius, double sweep);

// Whether the document draws under the fine-curves display mode.
bool FineCurves(const CKXConverter& rc);

// The spline placed by xf as points at equal parameter steps, as many as
// keep every chord within half a device unit of the curve at the given
// device units per drawing unit (at least the steps a spline is stored
// with, at most the bound of fine curves); empty when it cannot be
// evaluated.
std::vector<CFltPoint> FineSplinePoints(const CKXNURBS& spline, const CTransf2D& xf, double deviceScale);

void DrawCircle(const CKXCircle& circle, HDC dc, CKXConverter& rc);
void DrawEllipse(const CKXEllipse& ellipse, HDC dc, CKXConverter& rc);
// The spline through FineSplinePoints, drawn as a polyline is (line styles
// walk along it).
void DrawSpline(const CKXNURBS& spline, HDC dc, CKXConverter& rc);

}  // namespace kxdraw
