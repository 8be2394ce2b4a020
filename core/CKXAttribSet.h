// An attribute change in the entity stream: refers by id to a de-duplicated
// attribute record of the document's attribute tables, with the scale that
// applies to its line style's pattern.
#pragma once

#include "IKXEnt.h"

class CKXAttribSet : public IKXEnt {
public:
    CKXAttribSet(int id, double scale) : m_id(id), m_scale(scale) {}

    int GetId() const { return m_id; }
    void SetId(int id) { m_id = id; }
    double GetScale() const { return m_scale; }
    void SetScale(double scale) { m_scale = scale; }

    // Drawing is provided by the renderer.
    void Draw(HDC dc, CKXConverter& rc) override;
    CFltExtents& GetExtents(CFltExtents& out) const override;
    int Write(std::uint8_t* buffer) const override;
    int Read(CKXArchive* archive, int extra) override;
    int GetType() const override { return KXENT_ATTRIBSET; }
    std::uint16_t GetRecordKind() const override { return KXREC_ATTRIBSET; }
    void Quantise(double, const CFltPoint&) override {}
    KXEntPtr CloneTransformed(const CTransf2D& xf) const override;
    int IsDuplicate(KXKeyMap&, double) override { return 1; }
    void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) override;

private:
    int m_id;
    double m_scale;
};
