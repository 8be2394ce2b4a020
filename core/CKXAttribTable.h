// The document's attribute tables: colours, line styles, layers and the
// de-duplicated attribute records that attribute-set entities refer to, plus
// the attribute state that follows the entity stream while the document is
// finished (a draw keeps its own, see render/CKXDrawState.h).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include <korvex/kxtypes.h>
#include <kxplatform/wintypes.h>

#include "CKXAttribute.h"
#include "KXLineStyleExt.h"

class CKXAttribSet;

// The attributes in force at one point of an entity stream, with the states
// saved by the block references being walked. The finishing passes follow
// the table's own; each draw follows one of its own.
struct CKXAttribCursor {
    CKXAttributeState current;
    std::vector<CKXAttributeState> stack;
};

// A layer as the tables keep it: the caller's record with a private copy of
// the name (stable in memory, since names are handed out to callers).
struct KXLayerEntry {
    std::unique_ptr<char[]> name;
    int state = 0;
    int reserved1 = 0;
    int color = 0;
    int lineStyle = 0;
    int lineWeight = 0;
    int reserved2 = 0;

    const char* Name() const { return name ? name.get() : ""; }
};

class CKXAttribTable {
public:
    // Colours beyond this are mapped to the nearest one already held.
    static constexpr int kMaxColors = 245;
    // Sentinel distance of the nearest-colour search (above any real one).
    static constexpr int kColorDistanceBound = 10000;
    static constexpr std::uint32_t kPackedWeightTag = 0x7F000000u;
    static constexpr COLORREF kBlack = 0x000000;
    static constexpr COLORREF kWhite = 0xFFFFFF;

    CKXAttribTable() = default;
    CKXAttribTable(const CKXAttribTable&) = delete;
    CKXAttribTable& operator=(const CKXAttribTable&) = delete;
    ~CKXAttribTable();

    // --- Construction-time tables -------------------------------------------

    // 1-based colour index; beyond the table limit the nearest colour's index.
    int AddColor(COLORREF color);
    // 1-based line style index, or KX_CONTINUOUS when fewer than 2 elements
    // (or none) are given.
    int AddLineStyle(int kind, int count, const double* elements);
    // 1-based layer index.
    int AddLayer(const tagKXLayer& layer);
    // 1-based attribute id of the record, appended when new.
    int FindOrAddRecord(const CKXAttribute& record);

    // The attribute delta of SetAttrib: compares the requested record with a
    // container's current state, updates that state and returns the id of the
    // record of changed fields, or 0 when nothing changes.
    int Delta(CKXAttributeState& current, const CKXAttribute& requested, double scale);

    // Packed fractional line weights (top byte 0x7F).
    static std::int32_t PackWeight(float weight);
    static float DecodeWeight(std::int32_t packed);
    // Signed: only words whose top byte is 0x7F qualify.
    static bool IsPackedWeight(std::int32_t weight) { return weight > 0x7EFFFFFF; }
    // Non-zero fields of a win, the others come from b.
    static CKXAttribute Merge(const CKXAttribute& a, const CKXAttribute& b);

    // --- Attribute state along the stream ------------------------------------

    // Black or white, whichever contrasts with the background colour.
    COLORREF ContrastColor() const;
    // Layer 0, the contrast colour, solid, weight 1.
    CKXAttribute DefaultRecord();
    // Makes the default record current with scale 1 and forgets saved states
    // (start of a pass over the stream).
    void ResetToDefault(CKXAttribCursor& cursor);
    void ResetToDefault() { ResetToDefault(m_cursor); }

    // Applies an attribute set to a cursor. layerState, when given, receives
    // the state word of a newly current layer; penChanged, when given, is set
    // when colour or weight changed. Returns true when the line style field
    // of the set's record was applied.
    bool Apply(CKXAttribCursor& cursor, const CKXAttribSet& set, int* layerState,
               bool* penChanged = nullptr) const;
    bool Apply(const CKXAttribSet& set) { return Apply(m_cursor, set, nullptr); }
    // Pen width in device pixels for a record's weight.
    int PenWidth(const CKXAttribute& current, double weightScale) const;
    // Colour a pen for the record uses.
    COLORREF PenColor(const CKXAttribute& current) const;
    // The current layer of a record, null when it names none.
    const KXLayerEntry* CurrentLayer(const CKXAttribute& current) const;

    // Resolves by-layer and by-block values of a set against the render
    // state (block reference explosion); a new set with the changed fields,
    // or null when nothing changes. A by-layer value without a current layer
    // ends the set there, as in drawing: the fields changed before it are
    // still returned, with the scale left as it was.
    std::unique_ptr<CKXAttribSet> Resolve(const CKXAttribSet& set);
    void PushState();
    // Restores the state saved by PushState; with emit, returns the set that
    // restores it in the entity stream (null when nothing differs).
    std::unique_ptr<CKXAttribSet> PopState(bool emit);

    // Id of a record equal to the set's with its line style scaled by the
    // set's scale (a scaled copy of the style is made once per style and scale).
    int ScaledLineStyleId(const CKXAttribSet& set);

    // --- Access -------------------------------------------------------------

    const CKXAttribute& Current() const { return m_cursor.current.attrib; }
    double CurrentScale() const { return m_cursor.current.scale; }
    const std::vector<CKXAttributeState>& Stack() const { return m_cursor.stack; }
    // The finishing passes' cursor.
    CKXAttribCursor& Cursor() { return m_cursor; }

    int RecordCount() const { return static_cast<int>(m_records.size()); }
    // 1-based; null when out of range.
    const CKXAttribute* Record(int id) const;
    const std::vector<CKXAttribute>& Records() const { return m_records; }

    int ColorCount() const { return static_cast<int>(m_colors.size()); }
    // 1-based; 0 when out of range.
    COLORREF Color(int index) const;
    const std::vector<COLORREF>& Colors() const { return m_colors; }
    // Replaces an entry (1-based; out of range does nothing). Lookups of the
    // old colour no longer find this index; the new colour finds it unless it
    // was already held elsewhere.
    void SetColor(int index, COLORREF color);

    int LineStyleCount() const { return static_cast<int>(m_lineStyles.size()); }
    // 1-based; null when out of range.
    KXLineStyleExt* LineStyle(int index);
    const KXLineStyleExt* LineStyle(int index) const;
    const std::vector<std::unique_ptr<KXLineStyleExt>>& LineStyles() const { return m_lineStyles; }

    int LayerCount() const { return static_cast<int>(m_layers.size()); }
    // 1-based; null when out of range.
    KXLayerEntry* Layer(int index);
    const KXLayerEntry* Layer(int index) const;
    const std::vector<KXLayerEntry>& Layers() const { return m_layers; }
    // 1-based; false when out of range.
    bool InitialLayerState(int index, int& state) const;

    int GetLineWeightsEnabled() const { return m_weightsEnabled; }
    void SetLineWeightsEnabled(int enabled) { m_weightsEnabled = enabled; }
    COLORREF GetBackground() const { return m_background; }
    void SetBackground(COLORREF color) { m_background = color; }
    bool GetMonochrome() const { return m_monochrome != 0; }
    void SetMonochrome(bool on) { m_monochrome = on ? 1 : 0; }

private:
    // Field i of the current layer's record (1 colour, 2 line style, 3 weight);
    // false when there is no valid current layer.
    bool LayerField(const CKXAttribute& current, int field, std::int32_t& value) const;
    std::unique_ptr<CKXAttribSet> MakeSet(const CKXAttribute& delta, double scale);

    CKXAttribCursor m_cursor;
    std::vector<CKXAttribute> m_records;
    std::unordered_map<CKXAttribute, int, CKXAttributeHash> m_recordIds;
    std::vector<COLORREF> m_colors;
    std::map<COLORREF, int> m_colorIds;
    // Held by pointer: the renderer keeps the style in force while more are added.
    std::vector<std::unique_ptr<KXLineStyleExt>> m_lineStyles;
    std::map<std::pair<int, double>, int> m_scaledStyles;
    std::vector<KXLayerEntry> m_layers;
    std::vector<int> m_initialLayerStates;
    int m_defaultColor = 0;
    int m_weightsEnabled = 1;
    COLORREF m_background = kWhite;
    std::uint8_t m_monochrome = 0;
};
