// The entity interface. Every drawable thing in a document derives from it;
// containers own entities through it. The slot order below is the order the
// rest of the engine relies on when it talks about "slot n".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include <kxplatform/wintypes.h>

#include "geom/CFltExtents.h"
#include "geom/CFltPoint.h"
#include "geom/CTransf2D.h"

class CKXConverter;   // render context
class CKXClipRgnSet;  // clip context: the document's active clip regions
class CKXDoc;
class CKXArchive;     // big-endian record reader
class CKXBlockExploder;
class IKXEnt;

// Ends an entity's life the way the entity was made: most are deleted, but
// the pieces a document is exploded into live in storage of the document's
// own and are only destroyed (IKXEnt::Dispose).
struct KXEntDeleter {
    KXEntDeleter() noexcept = default;
    // Owners made with std::make_unique hand their entities over unchanged.
    template <class T>
    KXEntDeleter(const std::default_delete<T>&) noexcept {}
    void operator()(IKXEnt* ent) const;
};

using KXEntPtr = std::unique_ptr<IKXEnt, KXEntDeleter>;
using KXEntList = std::vector<KXEntPtr>;
// Keys of segments already written, for duplicate suppression.
using KXKeyMap = std::unordered_set<std::string>;

// Entity type codes (GetType).
enum KXEntType : int {
    KXENT_NONE = 0,
    KXENT_LINE = 1,
    KXENT_POLYLINE = 2,
    KXENT_BLOCK = 3,
    KXENT_BLOCKREF = 4,
    KXENT_CLIPSET = 7,
    KXENT_CLIPSTACK = 8,
    KXENT_HATCH = 9,
    KXENT_ATTRIBSET = 10,
    KXENT_CIRCLE = 11,
    KXENT_ELLIPSE = 12,
    KXENT_TEXTLINE = 13,
    KXENT_NURBS = 14,
    KXENT_MARKER = 15,
};

// Record kinds of the drawing file (GetRecordKind).
enum KXRecordKind : std::uint16_t {
    KXREC_NONE = 0,
    KXREC_LINE = 1,
    KXREC_POLYLINE = 2,
    KXREC_BLOCK = 3,
    KXREC_BLOCKREF = 4,
    KXREC_ATTRIBSET = 6,
    KXREC_STYLEDLINE = 7,
    KXREC_CIRCLE = 8,
    KXREC_ELLIPSE = 9,
    KXREC_TEXTLINE = 10,
    KXREC_MARKER_OPEN = 11,
    KXREC_MARKER_CLOSE = 12,
};

// Finishing a big document measures and quantises its entities on two
// threads at once, each thread its own entities: GetExtents, GetExtentsXf
// (without a clip) and Quantise of an entity read and change nothing but
// that entity (and constant tables).
class IKXEnt {
public:
    static constexpr int kFlagMask = 0xE0;

    IKXEnt() = default;
    IKXEnt(const IKXEnt&) = default;
    IKXEnt& operator=(const IKXEnt&) = default;

    /* 0 */ virtual ~IKXEnt() = default;
    /* 1 */ virtual int GetFlags() const { return m_flags & kFlagMask; }
    /* 2 */ virtual void SetFlags(int value) { m_flags = static_cast<std::uint8_t>(value & kFlagMask); }
    /* 3 */ virtual void Draw(HDC dc, CKXConverter& rc) = 0;
    /* 4 */ virtual CFltExtents& GetExtents(CFltExtents& out) const = 0;
    /* 5 */ virtual CFltExtents& GetExtentsXf(CFltExtents& out, const CTransf2D* xf,
                                              CKXClipRgnSet* clip, int extra) const;
    /* 6 */ virtual void Update() {}
    // Writes the big-endian record (kind word first) into buffer, or only
    // measures it when buffer is null; returns the byte count.
    /* 7 */ virtual int Write(std::uint8_t* buffer) const;
    /* 8 */ virtual int Read(CKXArchive* archive, int extra);
    /* 9 */ virtual int GetType() const { return KXENT_NONE; }
    /* 10 */ virtual std::uint16_t GetRecordKind() const { return KXREC_NONE; }
    // Stores trunc((coordinate - origin) * scale) integer copies of the geometry.
    /* 11 */ virtual void Quantise(double scale, const CFltPoint& origin) = 0;
    /* 12 */ virtual KXEntPtr CloneTransformed(const CTransf2D& xf) const;
    /* 13 */ virtual int IsDuplicate(KXKeyMap& keys, double scale) = 0;
    // Appends the pieces of the entity inside the clip regions as new entities.
    /* 14 */ virtual void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf);
    /* 15 */ virtual void DrawClipped(HDC dc, CKXConverter& rc);
    /* 16 */ virtual int WritePoints(std::uint8_t* buffer) const;

    // Not a numbered slot: how an owner ends the entity (KXEntDeleter).
    // Deletes it, unless the entity lives in storage it does not own.
    virtual void Dispose();

    // Questions the finishing step asks of every entity (not numbered
    // slots). Each kind answers for itself, so a new kind takes part in
    // finishing without the finisher knowing its type.
    //
    // Whether the entity's box counts towards the drawing's extents while
    // the stream is flattened (drawn geometry does; attribute changes,
    // markers and clip entities do not).
    virtual bool GrowsExtents() const { return false; }
    // Whether a line style in force is exploded over the entity (dashes
    // become line pieces).
    virtual bool IsStyledGeometry() const { return false; }
    // The most entities the entity can become when a line style is
    // exploded over it: one, unless it is styled geometry.
    virtual std::size_t MostStyledPieces() const { return 1; }
    // Appends the pieces the entity is stored as when it is too large for
    // one record of the drawing file and returns true; false (nothing
    // appended) when it is stored whole.
    virtual bool SplitForStorage(KXEntList& /*out*/) const { return false; }
    // A document finished under the fine-curves display mode: a curve kept
    // as a polyline (a spline) takes as many points as keep it within half
    // a unit at the given integer units per drawing unit.
    virtual void RefineCurve(double /*resolution*/) {}
    // Appends what the entity places in a finished document in its stead
    // and returns true (block references); false when it stays itself.
    virtual bool FlattenInto(KXEntList& /*out*/, CKXBlockExploder& /*exploder*/) { return false; }
    // A fill (a hatch) appends the attribute sets and pieces that replace
    // it and returns true; other entities return false and stay.
    virtual bool ExplodeFill(CKXDoc& doc, KXEntList& out) const;
    // Whether the entity changes the clip regions in force (clip sets and
    // stacks) rather than being clipped by them: its Clip then applies it
    // or keeps a copy for drawing.
    virtual bool ChangesClip() const { return false; }

protected:
    std::uint8_t m_flags = 0;
};
