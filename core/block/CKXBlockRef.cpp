#include "block/CKXBlockRef.h"

#include <cmath>

#include "BigEndian.h"
#include "CKXArchive.h"
#include "CKXDoc.h"
#include "block/CKXBlock.h"
#include "block/CKXBlockExploder.h"
#include "block/CKXBlockWalker.h"
#include "geom/KXTrunc.h"
#include "render/CKXConverter.h"
#include "render/clip/CKXClipRgnSet.h"
#include "render/KXEntityDraw.h"

namespace {

// The box of the four corners of a box under a transform.
CFltExtents TransformedBox(const CFltExtents& box, const CTransf2D& xf) {
    CFltExtents out;
    if (!box.IsValid()) return out;
    for (const CFltPoint& corner : {CFltPoint{box.xmin, box.ymin}, CFltPoint{box.xmax, box.ymin},
                                    CFltPoint{box.xmax, box.ymax}, CFltPoint{box.xmin, box.ymax}})
        out.Merge(xf.Apply(corner));
    return out;
}

// Extents of what a reference places, nested references walked on the
// insertion stack.
CFltExtents PlacedExtents(const CKXBlockRef& ref, CKXBlockWalker& walker) {
    CFltExtents extents;
    CKXBlock* block = ref.Resolve();
    if (!block || !walker.Enter(*block)) return extents;
    const CTransf2D placement = ref.Placement();
    for (const KXEntPtr& ent : block->Entities()) {
        CFltExtents box;
        if (ent->GetType() == KXENT_BLOCKREF)
            box = PlacedExtents(static_cast<const CKXBlockRef&>(*ent), walker);
        else
            ent->GetExtents(box);
        if (box.IsValid()) extents.Merge(TransformedBox(box, placement));
    }
    walker.Leave();
    return extents;
}

void DrawPlaced(const CKXBlockRef& ref, HDC dc, CKXConverter& rc, CKXBlockWalker& walker) {
    CKXBlock* block = ref.Resolve();
    if (!block || rc.GetDoc() == nullptr || !walker.Enter(*block)) return;
    // Drawing maps block points as the explosion does (base point and
    // projection included), so a drawing looks the same before and after
    // it is finished.
    kxdraw::DrawPlaced(block->Entities(), ref.ExplosionTransform(*block), rc, [&](IKXEnt& ent, CKXConverter& placed) {
        if (ent.GetType() == KXENT_BLOCKREF)
            DrawPlaced(static_cast<const CKXBlockRef&>(ent), dc, placed, walker);
        else
            ent.Draw(dc, placed);
    });
    walker.Leave();
}

}  // namespace

CKXBlockRef::CKXBlockRef(CKXDoc* doc, CKXBlock* block, int number, std::string name)
    : m_doc(doc), m_name(std::move(name)), m_block(block), m_number(block ? number : 0) {}

void CKXBlockRef::Place(const CFltPoint& insertion, double rotation, double scaleX, double scaleY) {
    m_insertion = insertion;
    m_rotation = rotation;
    m_scaleX = scaleX;
    m_scaleY = scaleY;
}

void CKXBlockRef::SetProjection(const CTransf3D& system, double elevation) {
    m_projection = std::make_unique<CTransf3D>(system);
    m_elevation = elevation;
}

CKXBlock* CKXBlockRef::Resolve() const {
    if (m_block || !m_doc || m_name.empty()) return m_block;
    const auto found = m_doc->BlockNames().find(m_name);
    if (found == m_doc->BlockNames().end()) return nullptr;
    const int number = found->second;
    if (number < 1 || number > static_cast<int>(m_doc->Blocks().size())) return nullptr;
    m_number = number - 1;
    m_block = m_doc->Blocks()[static_cast<std::size_t>(m_number)].get();
    return m_block;
}

CTransf2D CKXBlockRef::Placement() const {
    CTransf2D m;
    m.SetRotation(m_rotation);
    m.Scale(m_scaleX, m_scaleY);
    m.Translate(m_insertion.x, m_insertion.y);
    return m;
}

CTransf2D CKXBlockRef::ExplosionTransform(const CKXBlock& block) const {
    CTransf2D e = Placement();
    if (m_projection) {
        const double* a = m_projection->m;  // X axis, Y axis, Z axis
        CTransf2D p;
        p.m[0] = a[0];
        p.m[1] = a[3];
        p.m[2] = a[6] * m_elevation;
        p.m[3] = a[1];
        p.m[4] = a[4];
        p.m[5] = a[7] * m_elevation;
        p.flags = std::fabs(a[0] * a[3] + a[1] * a[4]) > CTransf2D::kTolerance ? 0x1E : 0x0E;
        e = p * e;
    }
    CTransf2D base;
    base.Translate(-block.GetBase().x, -block.GetBase().y);
    return e * base;
}

void CKXBlockRef::Draw(HDC dc, CKXConverter& rc) {
    CKXBlockWalker walker;
    DrawPlaced(*this, dc, rc, walker);
}

CFltExtents& CKXBlockRef::GetExtents(CFltExtents& out) const {
    out = m_extents;
    return out;
}

CFltExtents& CKXBlockRef::GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet*, int) const {
    out = xf ? TransformedBox(m_extents, *xf) : m_extents;
    return out;
}

void CKXBlockRef::Update() {
    CKXBlockWalker walker;
    m_extents = PlacedExtents(*this, walker);
}

int CKXBlockRef::Write(std::uint8_t* buffer) const {
    KXBEWriter w(buffer);
    w.U16(static_cast<std::uint16_t>(GetRecordKind() | GetFlags()));
    w.U16(static_cast<std::uint16_t>(m_number));
    w.I32(m_quantised[0]).I32(m_quantised[1]);
    w.F64(std::cos(m_rotation)).F64(std::sin(m_rotation)).F64(m_scaleX).F64(m_scaleY);
    return w.SizeInt();
}

int CKXBlockRef::Read(CKXArchive* archive, int) {
    if (!archive) return 0;
    std::uint16_t number = 0;
    std::int32_t x = 0, y = 0;
    double c = 0, s = 0, sx = 0, sy = 0;
    if (!archive->ReadU16(number) || !archive->ReadI32(x) || !archive->ReadI32(y) || !archive->ReadF64(c) ||
        !archive->ReadF64(s) || !archive->ReadF64(sx) || !archive->ReadF64(sy))
        return 0;
    m_number = number;
    m_insertion = {double(x), double(y)};
    m_quantised[0] = x;
    m_quantised[1] = y;
    const double clamped = std::fmax(-1.0, std::fmin(1.0, s));
    m_rotation = c < 0 ? M_PI - std::asin(clamped) : std::asin(clamped);
    m_scaleX = sx;
    m_scaleY = sy;
    return 1;
}

void CKXBlockRef::Quantise(double scale, const CFltPoint& origin) {
    m_quantised[0] = KXTrunc32((m_insertion.x - origin.x) * scale);
    m_quantised[1] = KXTrunc32((m_insertion.y - origin.y) * scale);
}

void CKXBlockRef::Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) {
    CKXBlock* block = Resolve();
    if (!block) return;
    CTransf2D placement = ExplosionTransform(*block);
    if (xf) placement = placement * *xf;
    // The switch holds for this reference only: content clipped here is
    // clipped as itself (nested references give no clone).
    const bool flatten = clip.FlattensReferences();
    clip.SetFlattenReferences(false);
    KXEntList inside;
    for (const KXEntPtr& ent : block->Entities()) {
        KXEntPtr clone = ent->CloneTransformed(placement);
        if (clone) clone->Clip(clip, inside, doc, nullptr);
        if (!flatten && !inside.empty()) break;
    }
    clip.SetFlattenReferences(flatten);
    if (inside.empty()) return;
    if (flatten) {
        for (KXEntPtr& piece : inside) out.push_back(std::move(piece));
        return;
    }
    // The reference survives whole when any part of it is inside.
    auto copy = std::make_unique<CKXBlockRef>(m_doc, m_block, m_number, m_name);
    copy->Place(m_insertion, m_rotation, m_scaleX, m_scaleY);
    if (m_projection) copy->SetProjection(*m_projection, m_elevation);
    copy->m_extents = m_extents;
    copy->SetFlags(GetFlags());
    out.push_back(std::move(copy));
}

bool CKXBlockRef::FlattenInto(KXEntList& out, CKXBlockExploder& exploder) {
    exploder.Explode(*this, out);
    return true;
}
