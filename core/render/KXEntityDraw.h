// What each entity class draws: the bodies behind the entities' Draw and
// DrawClipped operations.
#pragma once

#include <functional>
#include <kxplatform/wintypes.h>
#include <vector>

#include "IKXEnt.h"

class CKXLine;
class CKXPolyline;
class CKXAttribSet;
class CKXConverter;
struct KXDevPoint;

namespace kxdraw {

void DrawLine(CKXLine& line, HDC dc, CKXConverter& rc);
void DrawPolyline(CKXPolyline& polyline, HDC dc, CKXConverter& rc);
// Device points drawn as a polyline is: walked by the line style in force,
// a single point as a dot.
void DrawDevicePoints(const std::vector<KXDevPoint>& device, HDC dc, CKXConverter& rc);
// Applies the set to the document's render attributes: layer visibility,
// pen, line style.
void ApplyAttribSet(const CKXAttribSet& set, HDC dc, CKXConverter& rc);
// Clips the entity through the context's clip stack and draws the pieces.
void DrawClipped(IKXEnt& entity, HDC dc, CKXConverter& rc);
// The context holds a clip stack with active regions.
bool HasActiveClip(const CKXConverter& rc);
// Draws entities placed by a transform (block content under a reference,
// glyph outlines at a character position): the current attributes are
// saved on the block attribute stack, the entities are drawn through a copy
// of the context whose transform applies placement first, and the
// attributes come back afterwards.
void DrawPlaced(const KXEntList& entities, const CTransf2D& placement, HDC dc, CKXConverter& rc);
// The same, each entity drawn by drawOne with the placed context (a block
// reference walks nested references on its insertion stack).
void DrawPlaced(const KXEntList& entities, const CTransf2D& placement, CKXConverter& rc,
                const std::function<void(IKXEnt&, CKXConverter&)>& drawOne);

}  // namespace kxdraw
