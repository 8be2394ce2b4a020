// The clip regions in force, in levels: the document owns the base level;
// clip stacks push and pop levels above it, clip sets add and remove
// regions on the innermost one. Geometry is clipped by every region of
// every level in turn, so regions of one level and of nested levels
// intersect.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "CDirectSegmentIntIter.h"
#include "CDirectSegmentIter.h"
#include "CKXClip.h"
#include "IKXEnt.h"
#include "geom/CFltExtents.h"
#include "geom/CTransf2D.h"

class CKXClipRgn;
class CKXDoc;

class CKXClipRgnSet {
public:
    // Flags of a clip set.
    enum SetFlags : int {
        kReplace = 1,  // remove all regions of the level, then add
        kAdd = 2,
        kRemove = 4,
        kAtDrawTime = 8,
    };
    // Levels deeper than this are not pushed (a pop still matches each push).
    static constexpr int kMaxLevels = 4096;

    explicit CKXClipRgnSet(CKXDoc& doc);
    CKXClipRgnSet(const CKXClipRgnSet&) = delete;
    CKXClipRgnSet& operator=(const CKXClipRgnSet&) = delete;
    virtual ~CKXClipRgnSet();

    // The document's set, made when first needed.
    static CKXClipRgnSet& Of(CKXDoc& doc);

    // --- On the base level ------------------------------------------------
    // Pops every level above the base and removes every region.
    void Reset();
    void Push();
    // Popping the base level does nothing.
    void Pop();
    int Depth() const;
    // Region id > 0 on the innermost level; false for an unknown id.
    bool AddRegion(int id);
    // By id on the innermost level; 0 removes all.
    void RemoveRegion(int id);
    // Applies a clip set's flags for a region (add wins over replace,
    // replace over remove); a transform other than the identity clips with
    // a transformed copy of the region.
    void Apply(int id, int flags, const CTransf2D& xf);

    // Segment iterators by number (0 or 1; anything else is 0) over every
    // contour of every active region of this level, in order; a walk starts
    // with Reset. Regions added or removed afterwards are seen by the
    // iterators asked for next.
    CDirectSegmentIter& SegmentIter(int which);
    CDirectSegmentIntIter& IntSegmentIter(int which);

    // Merged extents of this level's regions and of all deeper levels.
    const CFltExtents& GetExtents();
    // No region on this level nor on any deeper one.
    bool IsEmpty() const;
    // Sets the grid of every active region (and of transformed copies).
    void Quantise(double scale, const CFltPoint& origin);
    double GetGridScale() const { return m_scale; }
    const CFltPoint& GetGridOrigin() const { return m_origin; }

    // Whether clipping a block reference gives the clipped pieces of its
    // content (set) or, when any of it is inside, the reference whole.
    bool FlattensReferences() const { return m_flattenReferences; }
    void SetFlattenReferences(bool flatten) { m_flattenReferences = flatten; }

    // Appends the pieces of a line or polyline inside every active region.
    // Without regions the entity is copied.
    template <class T>
    void ClipThrough(const T& entity, KXEntList& out);

private:
    CKXClipRgnSet(CKXDoc& doc, CKXClipRgnSet* previous);
    CKXClipRgnSet& Top() { return *m_top; }
    CKXClipRgn* Lookup(int id, const CTransf2D& xf);
    void Changed();

    CKXDoc& m_doc;
    std::vector<std::pair<int, CKXClipRgn*>> m_active;
    CFltExtents m_extents;
    std::unique_ptr<CKXClipRgnSet> m_next;
    CKXClipRgnSet* m_previous = nullptr;
    CKXClipRgnSet* m_top = this;
    double m_scale = 0.0;
    CFltPoint m_origin;
    // Transformed region copies, one per region and transform met (block
    // references place their clip sets with a transform); kept on the base
    // level for as long as the document lives, so that a drawing redrawn
    // again and again does not make new ones.
    std::map<std::pair<int, std::array<double, 6>>, std::unique_ptr<CKXClipRgn>> m_copies;
    int m_pushedBeyond = 0;
    bool m_flattenReferences = false;
    CDirectSegmentIter m_iters[2];
    CDirectSegmentIntIter m_intIters[2];
};

template <class T>
void CKXClipRgnSet::ClipThrough(const T& entity, KXEntList& out) {
    std::vector<std::unique_ptr<T>> batch, next;
    bool clipped = false;
    for (CKXClipRgnSet* level = this; level != nullptr; level = level->m_next.get()) {
        for (const auto& active : level->m_active) {
            CKXClip clip(*active.second);
            next.clear();
            if (!clipped) {
                clip.Clip(entity, next);
            } else {
                for (const auto& piece : batch) clip.Clip(*piece, next);
            }
            batch.swap(next);
            clipped = true;
            if (batch.empty()) return;
        }
    }
    if (!clipped) {
        auto copy = std::make_unique<T>(entity);
        out.push_back(std::move(copy));
        return;
    }
    for (auto& piece : batch) out.push_back(std::move(piece));
}
