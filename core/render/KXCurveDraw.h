// Circles, arcs, ellipses and elliptic arcs drawn as device polylines
// through the 200-step angle table, with fewer chords for small curves.
#pragma once

#include <kxplatform/wintypes.h>

class CKXCircle;
class CKXEllipse;
class CKXConverter;

namespace kxdraw {

// Table steps skipped between chords for a curve of the given device
// radius: 20, 10 or 5 (10, 20 or 40 chords per turn).
int ChordIncrement(double deviceRadius);

void DrawCircle(const CKXCircle& circle, HDC dc, CKXConverter& rc);
void DrawEllipse(const CKXEllipse& ellipse, HDC dc, CKXConverter& rc);

}  // namespace kxdraw
