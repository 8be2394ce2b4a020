// A named group of entities defined once and placed by references. While it
// is being defined it is the document's current container, so construction
// calls land in it.
#pragma once

#include <string>

#include "CKXAttribute.h"
#include "IKXContainer.h"
#include "IKXEnt.h"

class CKXBlock : public IKXEnt, public IKXContainer {
public:
    CKXBlock(std::string name, const CFltPoint& base) : m_name(std::move(name)), m_base(base) {}

    const std::string& GetName() const { return m_name; }
    const CFltPoint& GetBase() const { return m_base; }
    const KXEntList& Entities() const { return m_entities; }

    // --- Entity ---------------------------------------------------------------
    // A definition is drawn only through its references.
    void Draw(HDC, CKXConverter&) override {}
    CFltExtents& GetExtents(CFltExtents& out) const override;
    // Recomputes the extents; nested references are updated first.
    void Update() override;
    // The kind word and the records of the block's entities.
    int Write(std::uint8_t* buffer) const override;
    // Reads the entity records that follow the kind word (as Write makes
    // them) up to the archive's end, then updates the extents; 0 without an
    // archive or at a record it cannot read.
    int Read(CKXArchive* archive, int extra) override;
    int GetType() const override { return KXENT_BLOCK; }
    std::uint16_t GetRecordKind() const override { return KXREC_BLOCK; }
    // Block coordinates are quantised from the origin (0, 0).
    void Quantise(double scale, const CFltPoint& origin) override;
    int IsDuplicate(KXKeyMap&, double) override { return 0; }

    // --- Container ------------------------------------------------------------
    int AddEnt(KXEntPtr ent, bool growExtents, IKXContainer* target) override;
    KXEntList& GetEntList() override { return m_entities; }
    IKXEnt* GetEnt(int index) override;
    int GetCount() const override { return static_cast<int>(m_entities.size()); }
    void ResetExtents() override { m_extents.SetEmpty(); }
    int SetAttrib(CKXAttribTable* tables, const CKXAttribute* requested) override;
    int GetAttrib(CKXAttribute* out) const override;

private:
    std::string m_name;
    CFltPoint m_base;
    CFltExtents m_extents;
    KXEntList m_entities;
    CKXAttributeState m_attribState;
};
