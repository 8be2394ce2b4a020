// Circles, arcs, ellipses and elliptic arcs of a drawing file as device
// polylines: through the file's 200-step cosine/sine table with 10, 20 or 40
// chords per turn by device size, as the engine draws them, or, in fine
// mode, evaluated directly with as many chords as keep every chord within
// half a device unit of the curve.
#pragma once

#include "KXPdbDeviceMap.h"

struct KXPdbEntity;
struct KXPdbTables;

namespace kxpdbcurves {

// Table steps skipped between chords for a curve of the given device
// radius: 20, 10 or 5.
int ChordIncrement(double deviceRadius);
// Chords for a sweep (radians) of a curve of the given device radius so
// that no chord strays more than half a device unit from the curve.
int FineChordCount(double deviceRadius, double sweep);

void DrawCircle(const KXPdbEntity& circle, const KXPdbTables& tables, const KXPdbDeviceMap& map, bool fine,
                CKXPdbDevicePath& path);
void DrawEllipse(const KXPdbEntity& ellipse, const KXPdbTables& tables, const KXPdbDeviceMap& map, bool fine,
                 CKXPdbDevicePath& path);

}  // namespace kxpdbcurves
