// The document behind a document handle. It owns the top-level entity
// stream and everything the entities refer to (blocks, attribute tables,
// clip regions, patterns, paths, glyphs), the layouts and properties a
// translator reports, and the indexes built when the document is finished
// and written (quadtree, pool slots, table of contents).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include <kxplatform/wintypes.h>

#include "geom/CFltExtents.h"
#include "CKXAttribTable.h"
#include "CKXAttribute.h"
#include "CKXLine.h"
#include "CKXPieceStore.h"
#include "CKXTree.h"
#include "geom/CTransf3D.h"
#include "IKXContainer.h"
#include "IKXEnt.h"
#include "KXOwned.h"

class CKXBlock;
class CKXClipRgn;
class CKXClipRgnSet;
class CKXPattern;
class CKXPath;
class CKXGlyphStore;

// A name/value pair reported by a translator.
struct tagKXProperty {
    std::string name;
    std::string value;
};

// Entity pool slot of one written entity.
struct CEntInfo {
    std::int32_t offset = 0;  // bytes from the start of its pool record
    std::int32_t size = 0;    // record bytes
    std::int32_t pool = 0;    // pool record number, 0-based
    std::int32_t index = 0;   // position within the pool, 0-based
};

// Table-of-contents entry of one record of the last write.
struct CPDBOffset {
    std::int32_t start = 0;   // offset in the body file
    std::int32_t length = 0;  // bytes
    std::string label;        // record kind, not written
};

class CKXDoc : public IKXContainer {
public:
    static constexpr int kDirectionCacheSize = 513;
    static constexpr COLORREF kDefaultBackground = 0xFFFFFF;

    CKXDoc();
    ~CKXDoc() override;

    // --- Container ----------------------------------------------------------
    /* 0 */ int AddEnt(KXEntPtr ent, bool growExtents, IKXContainer* target) override;
    /* 1 */ KXEntList& GetEntList() override { return m_entities; }
    /* 2 */ IKXEnt* GetEnt(int index) override;
    /* 3 */ int GetCount() const override { return static_cast<int>(m_entities.size()); }
    /* 4 */ void ResetExtents() override { m_extents.SetEmpty(); }
    /* 5 */ int SetAttrib(CKXAttribTable* tables, const CKXAttribute* requested) override;
    /* 6 */ int GetAttrib(CKXAttribute* out) const override;
    // Like AddEnt, but while clip regions are active the entity is replaced
    // by its pieces inside them.
    /* 8 */ virtual int AddEntClipped(KXEntPtr ent, bool growExtents, IKXContainer* target);
    // Extents become the union of the (clipped) extents of every entity.
    /* 9 */ virtual void RecalcExtents();
    // Grows the extents by one entity's (clipped) extents, as RecalcExtents
    // measures each entity.
    void MergeExtentsOf(const IKXEnt& ent, CKXClipRgnSet* clip);

    const KXEntList& GetEntList() const { return m_entities; }
    const CKXAttributeState& GetAttribState() const { return m_attribState; }
    CKXAttributeState& GetAttribState() { return m_attribState; }

    // --- Holdings -----------------------------------------------------------
    KXOwnedList<CKXBlock>& Blocks() { return m_blocks; }
    const KXOwnedList<CKXBlock>& Blocks() const { return m_blocks; }
    std::unordered_map<std::string, int>& BlockNames() { return m_blockNames; }

    KXOwnedList<CKXClipRgn>& ClipRegions() { return m_clipRegions; }
    const KXOwnedList<CKXClipRgn>& ClipRegions() const { return m_clipRegions; }
    // The clip-region set is made by the clip-region code when first needed.
    KXOwned<CKXClipRgnSet>& ClipRgnSetOwner() { return m_clipRgnSet; }
    CKXClipRgnSet* GetClipRgnSet() const { return m_clipRgnSet.get(); }
    // Set by the clip-region code whenever the set gains or loses its regions.
    bool IsClipActive() const { return m_clipActive && m_clipRgnSet != nullptr; }
    // The set that clips while active; null otherwise.
    CKXClipRgnSet* ActiveClip() const { return IsClipActive() ? m_clipRgnSet.get() : nullptr; }
    void SetClipActive(bool active) { m_clipActive = active; }

    KXOwnedList<CKXPattern>& Patterns() { return m_patterns; }
    const KXOwnedList<CKXPattern>& Patterns() const { return m_patterns; }
    // Hatch lines laid so far over the whole document, and whether their
    // bound has been reported (the hatch fill keeps both).
    struct HatchLineTally {
        double laid = 0.0;
        bool reported = false;
    };
    HatchLineTally& HatchLines() { return m_hatchLines; }
    KXOwnedList<CKXPath>& Paths() { return m_paths; }
    const KXOwnedList<CKXPath>& Paths() const { return m_paths; }
    // The glyph instance store is made by the text code when first needed.
    KXOwned<CKXGlyphStore>& GlyphStoreOwner() { return m_glyphStore; }
    CKXGlyphStore* GetGlyphStore() const { return m_glyphStore.get(); }

    std::vector<KXDirectionEntry>& DirectionCache() { return m_directionCache; }
    const std::vector<KXDirectionEntry>& DirectionCache() const { return m_directionCache; }
    // Where the line pieces of exploded line styles are made.
    CKXPieceStore& Pieces() { return m_pieces; }

    CKXAttribTable& Attribs() { return m_attribs; }
    const CKXAttribTable& Attribs() const { return m_attribs; }

    const CFltExtents& GetExtents() const { return m_extents; }
    void SetExtents(const CFltExtents& extents) { m_extents = extents; }
    double GetResolution() const { return m_resolution; }
    void SetResolution(double resolution) { m_resolution = resolution; }
    bool IsClosed() const { return m_closed != 0; }
    void SetClosed(bool closed) { m_closed = closed ? 1 : 0; }
    const std::string& GetFileName() const { return m_fileName; }
    void SetFileName(std::string name) { m_fileName = std::move(name); }

    CKXTree& Tree() { return m_tree; }
    const CKXTree& Tree() const { return m_tree; }
    // Enters every top-level entity into the quadtree over the document
    // extents. visit, when given, sees each entity right after it is
    // entered: one pass over a large stream instead of two.
    void BuildTree(const std::function<void(IKXEnt&)>& visit = nullptr);
    std::vector<CEntInfo>& PoolSlots() { return m_poolSlots; }
    const std::vector<CEntInfo>& PoolSlots() const { return m_poolSlots; }
    std::vector<CPDBOffset>& Contents() { return m_contents; }
    const std::vector<CPDBOffset>& Contents() const { return m_contents; }

    // The container construction appends to: the document or a block being defined.
    IKXContainer* GetCurrentContainer() const { return m_current; }
    void SetCurrentContainer(IKXContainer* container) { m_current = container ? container : this; }

    double* DetailThresholds() { return m_detail; }
    const double* DetailThresholds() const { return m_detail; }
    // Per entity index: bits 1, 2, 4 skip the entity in scale band 1, 2, 3.
    // Nothing computes them yet: an index without a mask is never skipped.
    std::vector<std::uint32_t>& DetailMasks() { return m_detailMasks; }
    const std::vector<std::uint32_t>& DetailMasks() const { return m_detailMasks; }

    // --- Layouts ------------------------------------------------------------
    int AddLayout(const char* name);
    int GetNumLayouts() const { return static_cast<int>(m_layouts.size()); }
    // Null when out of range.
    const std::string* GetLayout(int index) const;
    const std::vector<std::string>& Layouts() const { return m_layouts; }
    int GetCurrentLayout() const { return m_currentLayout; }
    void SetCurrentLayout(int index) { m_currentLayout = index; }

    HMODULE GetModule() const { return m_module; }
    void SetModule(HMODULE module) { m_module = module; }

    int GetDisplayMode() const { return m_displayMode; }
    void SetDisplayMode(int mode) { m_displayMode = mode; }
    COLORREF GetFgColor() const { return m_fgColor; }
    void SetFgColor(COLORREF color) { m_fgColor = color; }
    COLORREF GetBgColor() const { return m_bgColor; }
    void SetBgColor(COLORREF color) { m_bgColor = color; }

    // --- Properties ---------------------------------------------------------
    void AddProperty(const char* name, const char* value);
    std::vector<tagKXProperty>& Properties() { return m_properties; }
    const std::vector<tagKXProperty>& Properties() const { return m_properties; }

    // --- 3D coordinate systems ----------------------------------------------
    void PushCoordSys(const CTransf3D& system) { m_coordSystems.push_back(system); }
    void PopCoordSys() {
        if (!m_coordSystems.empty()) m_coordSystems.pop_back();
    }
    const std::vector<CTransf3D>& CoordSystems() const { return m_coordSystems; }
    // The system construction projects through: the top of the stack when an
    // elevation is given and the top is not the identity; null otherwise.
    const CTransf3D* ProjectionFor(const double* elevation) const;

private:
    // Declared before the entities: the pieces it holds go before it does.
    CKXPieceStore m_pieces;
    KXEntList m_entities;
    KXOwnedList<CKXBlock> m_blocks;
    KXOwnedList<CKXClipRgn> m_clipRegions;
    KXOwned<CKXClipRgnSet> m_clipRgnSet;
    bool m_clipActive = false;
    KXOwnedList<CKXPattern> m_patterns;
    HatchLineTally m_hatchLines;
    std::vector<KXDirectionEntry> m_directionCache;
    CKXAttribTable m_attribs;
    CKXAttributeState m_attribState;
    KXOwned<CKXGlyphStore> m_glyphStore;
    KXOwnedList<CKXPath> m_paths;
    std::unordered_map<std::string, int> m_blockNames;
    CFltExtents m_extents;
    double m_resolution = 1.0;
    int m_closed = 0;
    std::string m_fileName;
    CKXTree m_tree;
    std::vector<CEntInfo> m_poolSlots;
    std::vector<CPDBOffset> m_contents;
    IKXContainer* m_current;
    double m_detail[3] = {0.0, 0.0, 0.0};
    std::vector<std::uint32_t> m_detailMasks;
    std::vector<std::string> m_layouts;
    int m_currentLayout = -1;
    HMODULE m_module = nullptr;
    int m_displayMode = 0;
    COLORREF m_fgColor = 0x000000;
    COLORREF m_bgColor = kDefaultBackground;
    std::vector<tagKXProperty> m_properties;
    std::vector<CTransf3D> m_coordSystems;
};
