// A placement of a block: insertion point, rotation and two scales. A
// reference made by name finds its block when it is first needed, so it may
// come before the block is defined.
#pragma once

#include <memory>
#include <string>

#include "IKXEnt.h"
#include "geom/CTransf2D.h"
#include "geom/CTransf3D.h"

class CKXBlock;
class CKXBlockExploder;

class CKXBlockRef : public IKXEnt {
public:
    // A reference to a block of the document, by pointer (number 0-based)
    // or, with a null block, by name.
    CKXBlockRef(CKXDoc* doc, CKXBlock* block, int number, std::string name);

    void Place(const CFltPoint& insertion, double rotation, double scaleX, double scaleY);
    // The coordinate system in force when the reference was made, and the
    // elevation it applies to.
    void SetProjection(const CTransf3D& system, double elevation);

    const std::string& GetBlockName() const { return m_name; }
    const CFltPoint& GetInsertion() const { return m_insertion; }
    double GetRotation() const { return m_rotation; }
    double GetScaleX() const { return m_scaleX; }
    double GetScaleY() const { return m_scaleY; }
    int GetBlockNumber() const { return m_number; }
    const CTransf3D* GetProjection() const { return m_projection.get(); }
    double GetElevation() const { return m_elevation; }

    // The block, found by pointer or else by name; null when there is none.
    CKXBlock* Resolve() const;
    // M = T(insertion) * R(rotation) * S(scale x, scale y).
    CTransf2D Placement() const;
    // Where a block point p lands in the explosion: P * M * T(-base), P the
    // projection system at the stored elevation.
    CTransf2D ExplosionTransform(const CKXBlock& block) const;

    // --- Entity ---------------------------------------------------------------
    void Draw(HDC dc, CKXConverter& rc) override;
    CFltExtents& GetExtents(CFltExtents& out) const override;
    CFltExtents& GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet* clip, int extra) const override;
    void Update() override;
    // 44 bytes: kind, block number (16 bits), quantised insertion, cos and
    // sin of the rotation, the two scales.
    int Write(std::uint8_t* buffer) const override;
    int Read(CKXArchive* archive, int extra) override;
    int GetType() const override { return KXENT_BLOCKREF; }
    std::uint16_t GetRecordKind() const override { return KXREC_BLOCKREF; }
    void Quantise(double scale, const CFltPoint& origin) override;
    int IsDuplicate(KXKeyMap&, double) override { return 0; }
    // Appends a copy of the reference when any of its block is inside.
    void Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) override;
    // A finished document holds what the reference places, not the reference.
    bool FlattenInto(KXEntList& out, CKXBlockExploder& exploder) override;

private:
    CKXDoc* m_doc = nullptr;
    std::string m_name;
    mutable CKXBlock* m_block = nullptr;
    mutable int m_number = 0;
    CFltPoint m_insertion;
    std::int32_t m_quantised[2] = {0, 0};
    double m_rotation = 0.0;
    double m_scaleX = 0.0;
    double m_scaleY = 0.0;
    CFltExtents m_extents;
    std::unique_ptr<CTransf3D> m_projection;
    double m_elevation = 0.0;
};
