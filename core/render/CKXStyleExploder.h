// Finishing-time explosion of line-styled geometry: lines, polylines,
// circles and ellipses under a dash pattern become CKXLine pieces that carry
// their position in the pattern (a phase), so that the drawing file holds
// plain lines and a reader walks every piece from the right place. Also the
// dash cutting and piece phasing used for hatch lines, and the direction
// cache that makes parallel pieces step identically.
#pragma once

#include <vector>

#include "CKXConverter.h"
#include "CKXDrawState.h"
#include "IKXEnt.h"

class CKXAttribSet;
class CKXDoc;
class CKXLine;
struct KXLinePhase;
struct KXLineStyleExt;

class CKXStyleExploder {
public:
    // Direction-cache buckets: a piece's bucket is |major / length| x this.
    static constexpr int kDirectionBuckets = 512;

    // Starts from the document's default attributes (solid).
    explicit CKXStyleExploder(CKXDoc& doc);

    // Follows an attribute set of the stream as drawing would, without a
    // device: installs or removes the line style in force.
    void ApplyAttribSet(const CKXAttribSet& set);
    // A line style with a scaled pattern is in force.
    bool HasStyle() const { return m_rc.HasLineStyle(); }

    // Explodes a line, polyline, circle or ellipse under the style in force.
    // True when pieces replace the entity (they are appended to out); false
    // when it stays as it is: no style in force, another kind of entity, or
    // every piece would be solid.
    bool Explode(const IKXEnt& entity, KXEntList& out);

    // Cuts a phased line into solid dash pieces (hatch patterns too coarse
    // for the draw-time walker); factor is the line-style scale.
    static KXEntList ExplodeDashes(const CKXLine& line, const KXLineStyleExt& style, double factor);
    // Gives a piece cut from uncut its own phase so the pattern continues
    // across the cut (the piece may be reversed to run as the uncut line).
    static void PhasePiece(const CKXLine& uncut, CKXLine& piece, const KXLineStyleExt& style,
                           double factor);
    // The phase (element and offset) of a pattern position; factor is the
    // line-style scale.
    static void PhaseAt(const KXLineStyleExt& style, double factor, double position, KXLinePhase& phase);
    // Fills the document's direction cache for a phased, non-solid line and
    // records the bucket and direction flags in its phase.
    static void FillDirection(CKXLine& line, CKXDoc& doc);
    // The same for a line whose length is known (exactly Distance(start, end)).
    static void FillDirection(CKXLine& line, CKXDoc& doc, double length);

private:
    void ExplodeLine(const CKXLine& line, KXEntList& pieces);
    // closed: the outline returns to its start, so no leftover is centred.
    void ExplodePolyline(const std::vector<CFltPoint>& points, bool closed, KXEntList& pieces);
    void ExplodeCentred(const CFltPoint& a, const CFltPoint& b, KXEntList& pieces);
    // Phased piece a..b whose pattern position at a is position (length:
    // the distance from a to b, when it is known already), made in the
    // document's piece store.
    void AddPhased(const CFltPoint& a, const CFltPoint& b, double position, KXEntList& pieces);
    void AddPhased(const CFltPoint& a, const CFltPoint& b, double position, double length, KXEntList& pieces);
    // Solid piece a..b in the document's piece store.
    void AddStoredSolid(const CFltPoint& a, const CFltPoint& b, KXEntList& pieces);
    // Solid piece a..b on the heap (dash explosion, which has no document).
    static void AddSolid(const CFltPoint& a, const CFltPoint& b, KXEntList& pieces);
    // Appends a finished piece, giving it the exploded entity's flags.
    void Adopt(CKXLine& line, KXEntPtr owner, KXEntList& pieces);
    double PatternLength() const;
    double HalfFirstElement() const;

    CKXDoc& m_doc;
    // Follows the stream on the document's own attribute state, which the
    // finishing passes after this one continue from.
    CKXDrawState m_state;
    CKXConverter m_rc;
    // Outline of the circle or ellipse being exploded and the lengths of the
    // polyline segments being exploded, kept to be reused by the next one.
    std::vector<CFltPoint> m_points;
    std::vector<double> m_lengths;
    // Flags of the entity being exploded, and whether all its pieces so far
    // are solid.
    int m_flags = 0;
    bool m_allSolid = true;
};
