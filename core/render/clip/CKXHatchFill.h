// Explodes a hatch when its document is finished: for each of its patterns
// the attributes of the pattern are made current, parallel lines are laid
// over the region's extents, clipped to the region (each line starts
// outside it), phased along the pattern's line style, and either kept for
// the draw-time walker or cut into solid dashes; then the attributes are
// restored. A hatch without patterns (a solid fill) shows the outline of
// its region instead, so that a user still sees where the fill is.
//
// The lines of one hatch are bounded: a spacing far below the drawing's
// integer resolution would otherwise ask for billions of lines. Beyond the
// bound every n-th line is laid (the fill looks the same at that
// resolution) and the thinning is reported to the debug output.
//
// The lines of all hatches of a document are bounded too, so that a file
// of many such hatches still converts in bounded time and memory: once the
// document's lines are spent, a hatch gets only what is left (thinned) and
// then only its outline; this is reported once per document.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "CKXLine.h"
#include "IKXEnt.h"
#include "KXStatus.h"

class CKXClip;
class CKXClipRgn;
class CKXDoc;
class CKXHatch;
class CKXPattern;
struct KXLineStyleExt;

class CKXHatchFill {
public:
    // Lines laid for one hatch at least may always be this many; beyond it
    // one line per integer step of the region's grid across the region.
    static constexpr double kMinLineBudget = 100000.0;
    // Lines all hatches of one document may lay together: some fourteen
    // hatches at the bound of one, hundreds of times what real drawings lay.
    static constexpr double kDocumentLineBudget = 4.0e6;
    // Pieces one hatch may make at most (a region of millions of edges
    // could cut every line into millions of pieces).
    static constexpr std::size_t kMaxPieces = std::size_t{1} << 24;
    // Patterns of a line style longer than this share of the document's
    // smaller side are cut into solid dashes.
    static constexpr double kDashCutShare = 0.1;

    explicit CKXHatchFill(CKXDoc& doc) : m_doc(doc) {}

    // Appends the attribute sets and pieces that replace the hatch. A
    // failure tells why lines were left out (the pieces made are still
    // appended); the reason has gone to the debug output.
    KXStatus Explode(const CKXHatch& hatch, KXEntList& out);

    std::size_t LinesLaid() const { return m_lines; }
    std::size_t PiecesMade() const { return m_pieces; }
    // Most lines the hatch may lay over a region of this diagonal on a grid
    // of this scale.
    static double LineBudget(double diagonal, double gridScale);

private:
    void Outline(CKXClipRgn& region, KXEntList& out) const;
    // The document's bound is reached: its reason, told once per document.
    void DocumentBoundReached();
    // False when the pattern asked for more lines than the budget left.
    bool LayPattern(CKXPattern& pattern, CKXClipRgn& region, double k, KXEntList& out);
    // Clipped, phased and finished pieces of one line.
    void Pieces(CKXLine& line, CKXClip& clip, const KXLineStyleExt* style, double factor, bool cut,
                KXEntList& out);

    CKXDoc& m_doc;
    double m_budget = 0.0;
    // The hatch's own budget was cut to what the document had left, and
    // that thinned a pattern.
    bool m_documentBound = false;
    bool m_thinnedByDocument = false;
    std::size_t m_lines = 0;
    std::size_t m_pieces = 0;
    std::string m_reason;
    // The pieces of the line being clipped (kept allocated from line to line).
    std::vector<std::unique_ptr<CKXLine>> m_scratch;
};
