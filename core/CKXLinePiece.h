// A line cut from a line-styled entity when a document is finished: phased
// from the start, with its phase record kept inside the piece. Styled
// drawings explode into millions of pieces, and a record of its own for each
// would double the allocations of making and deleting them; the document
// keeps its pieces in a CKXPieceStore for the same reason. A piece never
// owns memory of its own: its phase record always stays inside it.
#pragma once

#include "CKXLine.h"

class CKXPieceStore;

class CKXLinePiece final : public CKXLine {
public:
    // The base only keeps the address of m_phaseRecord, which is initialised
    // right after it, before anything can read it.
    CKXLinePiece(const CFltPoint& start, const CFltPoint& end) : CKXLine(start, end, m_phaseRecord) {}
    // A copy is a plain CKXLine (its record then has a block of its own).
    CKXLinePiece(const CKXLinePiece&) = delete;
    CKXLinePiece& operator=(const CKXLinePiece&) = delete;

    // A stored piece is destroyed in place: its store owns the memory.
    void Dispose() override;


private:
    KXLinePhase* OwnPhaseStorage() override { return &m_phaseRecord; }

    friend class CKXPieceStore;
    struct InStore {};
    CKXLinePiece(const CFltPoint& start, const CFltPoint& end, InStore) : CKXLinePiece(start, end) {
        m_inStore = 1;
    }

    KXLinePhase m_phaseRecord{};
};
