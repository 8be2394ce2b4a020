// Explodes block references for the finished document: the entities a
// reference places, cloned under its transform, framed by markers, with the
// attribute changes of the block resolved and restored. One exploder serves
// a whole finishing pass, so its limit counts every reference's output.
#pragma once

#include <cstddef>
#include <string>

#include "IKXEnt.h"
#include "KXStatus.h"
#include "block/CKXBlockWalker.h"

class CKXBlockRef;

class CKXBlockExploder {
public:
    // Nested references can multiply a small file into billions of
    // entities ("block bombs"); expansion stops at this many.
    static constexpr std::size_t kMostEntities = 50'000'000;
    // Within that, a document places at most this many entities for each
    // entity it holds (in its stream and its blocks), and never fewer than
    // kLeastLimit in all: a placed entity costs a few hundred bytes, so a
    // few hundred bytes of nested references must not take gigabytes.
    static constexpr std::size_t kPlacedPerEntity = 1000;
    static constexpr std::size_t kLeastLimit = 1'000'000;

    // The limit follows from what the document holds (LimitFor).
    explicit CKXBlockExploder(CKXDoc& doc) : CKXBlockExploder(doc, LimitFor(doc)) {}
    CKXBlockExploder(CKXDoc& doc, std::size_t mostEntities) : m_doc(doc), m_most(mostEntities) {}

    static std::size_t LimitFor(const CKXDoc& doc);

    // Appends what the reference places to out; an unresolvable reference
    // places nothing.
    void Explode(const CKXBlockRef& ref, KXEntList& out);

    std::size_t Placed() const { return m_placed; }
    // The first thing that kept a reference from being expanded whole: a
    // block that inserts itself, or the limit.
    const KXStatus& Status() const { return m_status; }

private:
    void ExplodeNested(const CKXBlockRef& ref, const CTransf2D* outer, KXEntList& body, KXEntList& front);
    bool Full();

    CKXDoc& m_doc;
    std::size_t m_most;
    std::size_t m_placed = 0;
    CKXBlockWalker m_walker;
    KXStatus m_status;
};
