// Circles, arcs, ellipses and elliptic arcs drawn as device polylines
// through the 200-step angle table, with fewer chords for small curves; or,
// under the fine-curves display mode, evaluated directly with as many
// chords as keep the curve within half a device unit.
#pragma once

#include <kxplatform/wintypes.h>

class CKXCircle;
class CKXEllipse;
class CKXConverter;

namespace kxdraw {

// Table steps skipped between chords for a curve of the given device
// radius: 20, 10 or 5 (10, 20 or 40 chords per turn).
int ChordIncrement(double deviceRadius);
// Chords for a sweep (radians) of a curve of the given device radius so
// that no chord strays more than half a device unit from the curve.
int FineChordCount(double deviceRadius, double sweep);

void DrawCircle(const CKXCircle& circle, HDC dc, CKXConverter& rc);
void DrawEllipse(const CKXEllipse& ellipse, HDC dc, CKXConverter& rc);

}  // namespace kxdraw
