// Finishes a document for drawing and writing (KXClose): flattens block
// references and resolves attribute sets, fixes the extents and the clip
// resolution, explodes styled geometry and splits long polylines, applies
// the clip regions placed in the stream, prefixes the file properties, and
// builds the quadtree while quantising everything at the drawing resolution.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "CKXDoc.h"

class CKXAttribSet;

class CKXDocFinisher {
public:
    // Both resolutions aim at this many integer units across the drawing.
    static constexpr double kGridSpan = 200000.0;
    // Resolution of a document without any measurable extents.
    static constexpr double kFallbackResolution = 1000.0;
    // Line-style patterns may reach this many pattern lengths past the extents.
    static constexpr double kPatternAllowance = 2.1;
    // Documents of at least this many entities are indexed and quantised in
    // two halves at once.
    static constexpr std::size_t kTwoThreadIndexing = 65536;
    // Entities the exploded stream reserves room for at most before it is
    // made (32 million: a quarter of a gigabyte of addresses).
    static constexpr std::size_t kMostReservedEntities = std::size_t{1} << 25;
    // How far ahead of the exploded list's end its pages are backed.
    static constexpr std::size_t kListAhead = std::size_t{4} << 20;

    explicit CKXDocFinisher(CKXDoc& doc) : m_doc(doc) {}

    // Runs every step in order; the document is then closed.
    void Finish();

    // The clip-grid resolution r of a box: the coarser of the two axes'
    // 200000 / side, truncated; 0 for an empty box.
    static double ClipResolution(const CFltExtents& box);
    // The drawing resolution s for the extents and the longest pattern.
    static double DrawingResolution(const CFltExtents& extents, double longestPattern);

private:
    void FlattenAndMeasure();
    void FixClipResolution();
    void ExplodeStyledAndSplit();
    // The most entities the stream can become when it is exploded.
    static std::size_t MostExplodedEntities(const KXEntList& input, bool styled);
    void ClipStream();
    // Whether clipping can change the stream: regions exist and are active,
    // or an entity of the stream changes them.
    bool StreamClips() const;
    // ClipStream and RecalcExtents for a stream that nothing clips.
    void FollowAndMeasureStream();
    void PrefixProperties();
    // Builds the quadtree and quantises at the drawing resolution.
    void IndexAndQuantise();
    // Enters entities [first, last) into tree and quantises them, except
    // the attribute sets, whose indexes are appended to sets.
    void IndexRange(std::size_t first, std::size_t last, CKXTree& tree, std::vector<std::size_t>& sets,
                    double scale, const CFltPoint& origin) const;
    double LongestPattern() const;
    // A set with a line-style scale other than 1 gets the record of the
    // scaled style instead; scaled remembers the (record, scale) pairs done.
    using ScaledStyles = std::map<std::pair<int, double>, int>;
    void ScaleLineStyle(CKXAttribSet& set, ScaledStyles& scaled);

    CKXDoc& m_doc;
    CFltExtents m_working;
    double m_clipResolution = 0.0;
    // Whether the exploded stream holds an entity that changes the clip
    // (noted while it is made, so millions of pieces are not visited again).
    bool m_streamChangesClip = false;
};
