#include "CKXDocFinisher.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <future>
#include <map>
#include <optional>
#include <utility>

#include <korvex/kxtypes.h>
#include <kxplatform/fileapi.h>

#include "CKXAttribSet.h"
#include "block/CKXBlock.h"
#include "block/CKXBlockExploder.h"
#include "CKXAttribTable.h"
#include "CKXPagePrefetcher.h"
#include "KXCurrentResolution.h"
#include "geom/KXAngleTable.h"
#include "KXBeside.h"
#include "geom/KXTrunc.h"
#include "render/CKXStyleExploder.h"
#include "text/CKXGlyphStore.h"
#include "render/clip/CKXClipRgnSet.h"
#include "render/clip/KXClipRegions.h"

namespace {
const char* const kPropertiesHeading = "FILE PROPERTIES";
const char* const kFileNameProperty = "File name";
const char* const kFileSizeProperty = "File size";
const char* const kModificationProperty = "Modification time";
// FILETIME ticks (100 ns since 1601) at the Unix epoch.
constexpr std::uint64_t kFileTimeUnixEpoch = 116444736000000000ull;
constexpr std::uint64_t kFileTimeTicksPerSecond = 10000000ull;

// Size and modification time of a file, when it can be examined.
struct FileFacts {
    std::uint64_t size = 0;
    std::time_t modified = 0;
};

bool Examine(const std::string& path, FileFacts& facts) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    facts.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    const std::uint64_t ticks = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                data.ftLastWriteTime.dwLowDateTime;
    facts.modified = static_cast<std::time_t>(
        ticks >= kFileTimeUnixEpoch ? (ticks - kFileTimeUnixEpoch) / kFileTimeTicksPerSecond : 0);
    return true;
}
}  // namespace

void CKXDocFinisher::Finish() {
    FlattenAndMeasure();
    FixClipResolution();
    ExplodeStyledAndSplit();
    if (StreamClips()) {
        ClipStream();
        m_doc.RecalcExtents();
    } else {
        // Regions that only hatch fills use leave the stream as it is: it is
        // followed and measured as without regions, from none on, as
        // ClipStream would leave it.
        if (CKXClipRgnSet* regions = m_doc.GetClipRgnSet()) regions->Reset();
        FollowAndMeasureStream();
    }
    // Nothing measurable left (only attribute changes, or nothing at all):
    // the zero box keeps the header's numbers finite.
    if (m_doc.GetExtents().IsEmpty()) m_doc.SetExtents(CFltExtents(0.0, 0.0, 0.0, 0.0));
    PrefixProperties();
    m_doc.SetClosed(true);
    IndexAndQuantise();
}

// --- Flattening and measuring ------------------------------------------------------

void CKXDocFinisher::FlattenAndMeasure() {
    // Sets are resolved against the attributes in force, as the stream left
    // them; resetting to the drawing defaults would add the default colour
    // to the document's colour table.
    CKXAttribTable& tables = m_doc.Attribs();
    // The expansion limit counts the stream's entities, so it is set first.
    CKXBlockExploder exploder(m_doc);
    KXEntList input = std::move(m_doc.GetEntList());
    KXEntList output;
    output.reserve(input.size());
    m_working.SetEmpty();
    for (KXEntPtr& ent : input) {
        // A block reference gives way to what it places (already resolved
        // against the attributes in force); one that cannot be resolved
        // places nothing.
        const std::size_t placedFrom = output.size();
        if (ent->FlattenInto(output, exploder)) {
            for (std::size_t i = placedFrom; i < output.size(); ++i) {
                if (!output[i]->GrowsExtents()) continue;
                CFltExtents box;
                output[i]->GetExtents(box);
                m_working.Merge(box);
            }
            continue;
        }
        if (ent->GetType() == KXENT_ATTRIBSET) {
            if (std::unique_ptr<CKXAttribSet> resolved = tables.Resolve(static_cast<const CKXAttribSet&>(*ent))) {
                output.push_back(std::move(resolved));
            }
            continue;
        }
        if (ent->GrowsExtents()) {
            CFltExtents box;
            ent->GetExtents(box);
            m_working.Merge(box);
        }
        output.push_back(std::move(ent));
    }
    m_doc.GetEntList() = std::move(output);
}

// --- Clip resolution ---------------------------------------------------------------

double CKXDocFinisher::ClipResolution(const CFltExtents& box) {
    if (box.IsEmpty()) return 0.0;
    const std::int32_t rx = KXTrunc32(kGridSpan / box.Width());
    const std::int32_t ry = KXTrunc32(kGridSpan / box.Height());
    return static_cast<double>(std::min(rx, ry));
}

void CKXDocFinisher::FixClipResolution() {
    m_clipResolution = ClipResolution(m_working);
    if (m_clipResolution <= 0.0) {
        // Only the clip regions can still give the document a size.
        m_working = kxclip::RegionExtents(m_doc);
        m_clipResolution = ClipResolution(m_working);
    }
    if (m_clipResolution <= 0.0) {
        m_working = CFltExtents(0.0, 0.0, 0.0, 0.0);
        m_clipResolution = kFallbackResolution;
    }
    kxclip::QuantiseRegions(m_doc, m_clipResolution, {m_working.xmin, m_working.ymin});
    m_doc.SetExtents(m_working);
}

// --- Styled geometry and long polylines --------------------------------------------

std::size_t CKXDocFinisher::MostExplodedEntities(const KXEntList& input, bool styled) {
    if (!styled) return input.size();
    std::size_t most = 0;
    for (const KXEntPtr& ent : input) most += ent->MostStyledPieces();
    return most;
}

void CKXDocFinisher::ExplodeStyledAndSplit() {
    KXEntList input = std::move(m_doc.GetEntList());
    KXEntList output;
    // Room for the most the stream can become, up to a bound: regrowing a
    // list of millions of pieces would copy it again and again, while room
    // reserved and never used costs no memory, only addresses.
    output.reserve(std::min(MostExplodedEntities(input, m_doc.Attribs().LineStyleCount() > 0),
                            std::max(input.size(), kMostReservedEntities)));
    // Without line styles nothing can be styled: the pass then needs no
    // render state at all.
    std::optional<CKXStyleExploder> exploder;
    if (m_doc.Attribs().LineStyleCount() > 0) exploder.emplace(m_doc);
    // Styled drawings explode into millions of pieces: their pages are
    // backed on another thread while the pieces are made.
    struct Prefetching {
        CKXPieceStore& store;
        ~Prefetching() { store.StopPrefetching(); }
    } prefetching{m_doc.Pieces()};
    if (exploder) m_doc.Pieces().StartPrefetching();
    // Hatch patterns switch attributes against those in force where the
    // hatch stands: without an exploder the pass follows them itself.
    const bool followAttribs = !exploder && !m_doc.Patterns().empty();
    if (followAttribs) m_doc.Attribs().ResetToDefault();
    // So are the pages of a long list, a little ahead of its end.
    std::optional<CKXPagePrefetcher> listPrefetcher;
    if (exploder && output.capacity() * sizeof(KXEntPtr) > kListAhead) listPrefetcher.emplace();
    // Finished for fine drawing, splines are stored as finely as the
    // drawing's integer grid can tell.
    const bool fineCurves = (m_doc.GetDisplayMode() & KX_DISPLAY_FINE_CURVES) != 0;
    for (KXEntPtr& ent : input) {
        if (fineCurves) ent->RefineCurve(m_clipResolution);
        if (listPrefetcher) {
            listPrefetcher->KeepAhead(output.data(), output.size() * sizeof(KXEntPtr),
                                      output.capacity() * sizeof(KXEntPtr), kListAhead);
        }
        const int type = ent->GetType();
        if (exploder && type == KXENT_ATTRIBSET) {
            exploder->ApplyAttribSet(static_cast<const CKXAttribSet&>(*ent));
        } else if (followAttribs && type == KXENT_ATTRIBSET) {
            m_doc.Attribs().Apply(static_cast<const CKXAttribSet&>(*ent));
        } else if (exploder && exploder->HasStyle() && ent->IsStyledGeometry()) {
            // Pattern pieces replace the entity unless every piece is solid;
            // they go straight to the end of the list.
            if (exploder->Explode(*ent, output)) continue;
        }
        // Fills (hatches) are replaced by their clipped pattern lines.
        if (ent->ExplodeFill(m_doc, output)) continue;
        if (ent->SplitForStorage(output)) continue;
        // Only entities kept whole can change the clip: pieces, pattern
        // lines and the sets between them never do.
        if (ent->ChangesClip()) m_streamChangesClip = true;
        output.push_back(std::move(ent));
    }
    m_doc.GetEntList() = std::move(output);
}

// --- Clipping the stream -----------------------------------------------------------

void CKXDocFinisher::ClipStream() {
    CKXAttribTable& tables = m_doc.Attribs();
    CKXClipRgnSet& regions = *m_doc.GetClipRgnSet();
    regions.Reset();
    m_doc.ResetExtents();
    KXEntList input = std::move(m_doc.GetEntList());
    m_doc.GetEntList().clear();
    m_doc.GetEntList().reserve(input.size());
    for (KXEntPtr& ent : input) {
        const int type = ent->GetType();
        if (type == KXENT_ATTRIBSET) {
            tables.Apply(static_cast<const CKXAttribSet&>(*ent));
            m_doc.AddEnt(std::move(ent), false, nullptr);
            continue;
        }
        if (ent->ChangesClip()) {
            // Clip sets and stacks acting at draw time clip to a copy of
            // themselves; the others change the active regions now and
            // leave the stream.
            KXEntList kept;
            ent->Clip(regions, kept, m_doc, nullptr);
            for (KXEntPtr& copy : kept) m_doc.AddEnt(std::move(copy), false, nullptr);
            continue;
        }
        m_doc.AddEntClipped(std::move(ent), true, nullptr);
    }
    // The extents are measured from no region on, as drawing starts.
    regions.Reset();
}

bool CKXDocFinisher::StreamClips() const {
    if (m_doc.GetClipRgnSet() == nullptr) return false;
    return m_doc.IsClipActive() || m_streamChangesClip;
}

void CKXDocFinisher::FollowAndMeasureStream() {
    // Clipping the stream and measuring it again, in the one pass that is
    // left of them when no regions were ever made: every entity stays where
    // it is, the attribute sets are followed as clipping follows them, and
    // the extents come out as RecalcExtents makes them.
    CKXAttribTable& tables = m_doc.Attribs();
    CKXClipRgnSet* const clip = m_doc.ActiveClip();
    m_doc.ResetExtents();
    const KXEntList& entities = m_doc.GetEntList();
    const std::size_t count = entities.size();
    // Boxes merge the same in any order, so without a clip a big stream is
    // measured in two halves at once; the attribute sets of the later half
    // are followed afterwards, in order.
    const std::size_t split = clip == nullptr && count >= kTwoThreadIndexing ? count / 2 : count;
    CFltExtents laterBox;
    laterBox.SetEmpty();
    std::vector<std::size_t> laterSets;
    std::future<void> later;
    if (split < count) {
        later = KXStartBeside([&] {
            for (std::size_t i = split; i < count; ++i) {
                const IKXEnt& ent = *entities[i];
                if (ent.GetType() == KXENT_ATTRIBSET) laterSets.push_back(i);
                CFltExtents box;
                ent.GetExtentsXf(box, nullptr, nullptr, 0);
                if (box.IsValid()) laterBox.Merge(box);
            }
        });
    }
    for (std::size_t i = 0; i < split; ++i) {
        const IKXEnt& ent = *entities[i];
        if (ent.GetType() == KXENT_ATTRIBSET)
            tables.Apply(static_cast<const CKXAttribSet&>(ent));
        m_doc.MergeExtentsOf(ent, clip);
    }
    if (split < count) {
        if (later.valid()) later.get();
        for (const std::size_t i : laterSets)
            tables.Apply(static_cast<const CKXAttribSet&>(*entities[i]));
        CFltExtents extents = m_doc.GetExtents();
        extents.Merge(laterBox);
        m_doc.SetExtents(extents);
    }
}

// --- File properties ---------------------------------------------------------------

void CKXDocFinisher::PrefixProperties() {
    std::vector<tagKXProperty> prefix;
    prefix.push_back({kPropertiesHeading, ""});
    prefix.push_back({kFileNameProperty, m_doc.GetFileName()});
    FileFacts facts;
    if (Examine(m_doc.GetFileName(), facts)) {
        prefix.push_back({kFileSizeProperty, std::to_string(facts.size)});
        char when[64] = "";
        if (ctime_r(&facts.modified, when) != nullptr) prefix.push_back({kModificationProperty, when});
    }
    std::vector<tagKXProperty>& properties = m_doc.Properties();
    properties.insert(properties.begin(), std::make_move_iterator(prefix.begin()),
                      std::make_move_iterator(prefix.end()));
}

// --- Drawing resolution and integer coordinates ----------------------------------

double CKXDocFinisher::LongestPattern() const {
    double longest = 0.0;
    for (const auto& style : m_doc.Attribs().LineStyles()) {
        if (style && std::isfinite(style->patternLength)) longest = std::max(longest, style->patternLength);
    }
    return longest;
}

double CKXDocFinisher::DrawingResolution(const CFltExtents& extents, double longestPattern) {
    const double w = extents.IsEmpty() ? 0.0 : std::max(extents.Width(), extents.Height());
    const double span = w + kPatternAllowance * longestPattern;
    // A document that is a single point has no scale of its own.
    if (!(span > 0.0) || !std::isfinite(span)) return kFallbackResolution;
    const double s = kGridSpan / span;
    const double whole = std::trunc(s);
    return whole > 0.0 ? whole : s;
}

void CKXDocFinisher::ScaleLineStyle(CKXAttribSet& set, ScaledStyles& scaled) {
    if (set.GetScale() == 1.0) return;
    CKXAttribTable& tables = m_doc.Attribs();
    const CKXAttribute* record = tables.Record(set.GetId());
    const KXLineStyleExt* style = record ? tables.LineStyle(record->lineStyle) : nullptr;
    if (style == nullptr || style->elements.empty()) return;
    const auto key = std::make_pair(set.GetId(), set.GetScale());
    auto found = scaled.find(key);
    if (found == scaled.end()) found = scaled.emplace(key, tables.ScaledLineStyleId(set)).first;
    set.SetId(found->second);
    set.SetScale(1.0);
}

void CKXDocFinisher::IndexRange(std::size_t first, std::size_t last, CKXTree& tree,
                                std::vector<std::size_t>& sets, double scale, const CFltPoint& origin) const {
    const KXEntList& entities = m_doc.GetEntList();
    for (std::size_t i = first; i < last; ++i) {
        IKXEnt& ent = *entities[i];
        CFltExtents box;
        ent.GetExtents(box);
        tree.Insert(static_cast<int>(i), box);
        if (ent.GetType() == KXENT_ATTRIBSET)
            sets.push_back(i);
        else
            ent.Quantise(scale, origin);
    }
}

void CKXDocFinisher::IndexAndQuantise() {
    const CFltExtents& extents = m_doc.GetExtents();
    const double s = DrawingResolution(extents, LongestPattern());
    m_doc.SetResolution(s);
    const CFltPoint origin = extents.IsEmpty() ? CFltPoint{} : CFltPoint{extents.xmin, extents.ymin};
    // Each entity enters the quadtree and is quantised; neither depends on
    // any other entity nor on the line styles, so a big document (millions
    // of exploded pieces) is done in two halves at once, the later half on
    // a second thread into a tree of its own that is then appended. Only
    // the attribute sets, which take their scaled line styles in stream
    // order, are held back and done here, in order.
    CKXTree& tree = m_doc.Tree();
    tree.Setup(extents);
    const std::size_t count = m_doc.GetEntList().size();
    const std::size_t split = count >= kTwoThreadIndexing ? count / 2 : count;
    CKXTree laterTree;
    std::vector<std::size_t> laterSets;
    std::future<void> later;
    if (split < count) {
        laterTree.Setup(extents);
        later = KXStartBeside([&] { IndexRange(split, count, laterTree, laterSets, s, origin); });
    }
    std::vector<std::size_t> sets;
    IndexRange(0, split, tree, sets, s, origin);
    if (split < count) {
        if (later.valid()) later.get();
        tree.Append(laterTree);
        sets.insert(sets.end(), laterSets.begin(), laterSets.end());
    }
    ScaledStyles scaled;
    for (const std::size_t i : sets) {
        auto& set = static_cast<CKXAttribSet&>(*m_doc.GetEntList()[i]);
        ScaleLineStyle(set, scaled);
        set.Quantise(s, origin);
    }
    // Block definitions, paths and pattern lines are quantised from the
    // origin (0, 0).
    for (const auto& block : m_doc.Blocks()) block->Quantise(s, CFltPoint{});
    kxclip::QuantiseStore(m_doc, s);
    // Glyph instances are drawn relative to their characters: only scaled.
    if (CKXGlyphStore* glyphs = m_doc.GetGlyphStore()) glyphs->Quantise(s);
    KXSetCurrentResolution(s);
}
