// What one draw changes while it walks the entity stream: the attributes in
// force (with the states saved by block references) and the pens it made.
// Owned by the draw, or by a view for all of its draws, so that two draws of
// one document never share it; the document's tables are only read.
#pragma once

#include <kxplatform/wintypes.h>

#include "CKXAttribTable.h"

class CKXAttribSet;

class CKXDrawState {
public:
    CKXDrawState() = default;
    // Follows another cursor instead of its own (a finishing pass that walks
    // the stream as drawing does, with the document's own state).
    explicit CKXDrawState(CKXAttribCursor& cursor) : m_cursor(&cursor) {}
    CKXDrawState(const CKXDrawState&) = delete;
    CKXDrawState& operator=(const CKXDrawState&) = delete;
    ~CKXDrawState() = default;

    // Starts a pass over the tables' stream: default attributes, nothing
    // saved, the context's own pen.
    void Begin(CKXAttribTable& tables);
    // Ends a pass: reselects the pen that was in the context before the pass
    // and deletes the last one made.
    void End(HDC dc);

    // Applies an attribute set; with a device context a pen is made when
    // colour or weight changed (weightScale converts literal weights to
    // pixels). layerState as CKXAttribTable::Apply. Returns true when the
    // line style field was applied.
    bool Apply(const CKXAttribSet& set, HDC dc, double weightScale, int* layerState);
    void PushState();
    void PopState();

    const CKXAttribute& Current() const { return m_cursor->current.attrib; }
    double CurrentScale() const { return m_cursor->current.scale; }
    // The tables of the running pass, null before Begin.
    const CKXAttribTable* Tables() const { return m_tables; }

private:
    void SelectPen(HDC dc, double weightScale);

    CKXAttribTable* m_tables = nullptr;
    CKXAttribCursor m_own;
    CKXAttribCursor* m_cursor = &m_own;
    HPEN m_previousPen = nullptr;
    HPEN m_currentPen = nullptr;
};
