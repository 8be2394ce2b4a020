#include "text/CKXTextLine.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "BigEndian.h"
#include "CKXDoc.h"
#include "CKXLine.h"
#include "geom/KXAngleTable.h"
#include "geom/KXTrunc.h"
#include "render/CKXConverter.h"
#include "render/CKXDocRenderer.h"
#include "render/KXEntityDraw.h"
#include "text/CKXFont.h"

namespace {
// An angle brought into [0, 2 pi).
double NormalAngle(double angle) {
    double a = std::fmod(angle, kxangle::kTwoPi);
    if (a < 0.0) a += kxangle::kTwoPi;
    if (a >= kxangle::kTwoPi) a -= kxangle::kTwoPi;
    return a;
}

// R(angle) * S(sx, sy): scale first, then rotate.
CTransf2D ScaledRotation(double sx, double sy, double angle) {
    CTransf2D xf;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    xf.m[0] = sx * c;
    xf.m[1] = -sy * s;
    xf.m[3] = sx * s;
    xf.m[4] = sy * c;
    xf.RecomputeFlags();
    return xf;
}

CFltPoint Centre(const CFltExtents& box) {
    return {(box.xmin + box.xmax) / 2, (box.ymin + box.ymax) / 2};
}

std::vector<CFltPoint> Moved(const std::vector<CFltPoint>& points, double dx, double dy) {
    std::vector<CFltPoint> out(points);
    for (CFltPoint& p : out) p = {p.x + dx, p.y + dy};
    return out;
}

// The private copy of instance index under xf, made once for all the
// characters of one line that use it (made maps instances to their copies).
int PrivateCopy(CKXGlyphStore& store, std::map<int, int>& made, int index, const CKXGlyph& glyph, const CTransf2D& xf) {
    auto found = made.find(index);
    if (found == made.end()) {
        std::unique_ptr<CKXGlyph> own = glyph.Clone();
        own->Transform(xf);
        found = made.emplace(index, store.AddPrivate(std::move(own))).first;
    }
    return found->second;
}

// The points of a clipped piece of a stroke (a polyline or a line).
bool PiecePoints(const IKXEnt& piece, std::vector<CFltPoint>& out) {
    if (piece.GetType() == KXENT_POLYLINE) {
        out = static_cast<const CKXPolyline&>(piece).GetPoints();
        return true;
    }
    if (piece.GetType() == KXENT_LINE) {
        const auto& line = static_cast<const CKXLine&>(piece);
        out = {line.GetStart(), line.GetEnd()};
        return true;
    }
    return false;
}
}  // namespace

void CKXTextLine::LayOut(const CKXFont& font, std::string_view text, const Layout& layout) {
    const double h = layout.height;
    const double w = layout.charWidth > 0.0 ? layout.charWidth : h;
    const double angle = NormalAngle(layout.angle);
    const CTransf2D shape = ScaledRotation(w, h, angle);
    const double y0 = layout.start.y;
    double pen = layout.start.x;
    m_chars.clear();
    m_text.clear();
    m_chars.reserve(text.size());
    m_text.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<std::uint8_t>(text[i]);
        const CKXGlyph* glyph = font.Glyph(code);
        if (glyph == nullptr) {
            pen += CKXFont::kMissingAdvance * w;
            continue;
        }
        const int instance = m_store ? m_store->InstanceFor({code, w, h, angle}, *glyph, shape) : 0;
        pen -= font.LeftEdge(code, i == 0) * w;
        CKXChar c;
        c.code = code;
        c.instance = instance;
        c.position = {pen, y0};
        AddChar(c);
        pen += font.Right(code) * w;
    }
    m_height = h;
    m_segmentStart = {layout.start.x, y0 + h / 2};
    m_segmentEnd = {layout.start.x + font.TextWidth(text, w), y0 + h / 2};
    if (angle != 0.0) {
        CTransf2D turn = ScaledRotation(1.0, 1.0, angle);
        turn.m[2] = layout.start.x - (turn.m[0] * layout.start.x + turn.m[1] * y0);
        turn.m[5] = y0 - (turn.m[3] * layout.start.x + turn.m[4] * y0);
        turn.RecomputeFlags();
        for (CKXChar& c : m_chars) c.position = turn.Apply(c.position);
        m_segmentStart = turn.Apply(m_segmentStart);
        m_segmentEnd = turn.Apply(m_segmentEnd);
    }
    Update();
}

void CKXTextLine::AddChar(const CKXChar& c) {
    m_chars.push_back(c);
    m_text.push_back(static_cast<char>(c.code));
}

double CKXTextLine::GetSegmentLength() const {
    return std::hypot(m_segmentEnd.x - m_segmentStart.x, m_segmentEnd.y - m_segmentStart.y);
}

CFltExtents CKXTextLine::BoxOf(const CKXChar& c) const {
    CFltExtents box;
    if (const CKXGlyph* glyph = InstanceOf(c); glyph && glyph->GetBox().IsValid()) {
        const CFltExtents& g = glyph->GetBox();
        box = CFltExtents(g.xmin + c.position.x, g.ymin + c.position.y, g.xmax + c.position.x, g.ymax + c.position.y);
    }
    return box;
}

void CKXTextLine::Draw(HDC dc, CKXConverter& rc) {
    const CKXDoc* doc = rc.GetDoc();
    if (doc == nullptr || (doc->GetDisplayMode() & CKXDocRenderer::kDisplayNoText) != 0) return;
    // Letters are drawn solid: a dashed layer's pattern would cut them up
    // past reading.
    if (rc.HasLineStyle()) {
        CKXConverter solid(rc);
        solid.SetLineStyle(nullptr, 1.0);
        Draw(dc, solid);
        return;
    }
    // Clip regions are in drawing units: clipped strokes are drawn at their
    // place instead of through a moved transform.
    const bool clipped = kxdraw::HasActiveClip(rc);
    CTransf2D& xf = rc.Transform();
    const CTransf2D saved = xf;
    for (const CKXChar& c : m_chars) {
        const CKXGlyph* glyph = InstanceOf(c);
        if (glyph == nullptr) continue;
        if (clipped) {
            for (const auto& stroke : glyph->Strokes()) {
                if (!stroke) continue;
                CKXPolyline placed(Moved(stroke->GetPoints(), c.position.x, c.position.y));
                placed.Update();
                placed.Draw(dc, rc);
            }
            continue;
        }
        // The character's box origin, in the coordinates the context maps.
        xf = saved;
        xf.m[2] += saved.m[0] * c.position.x + saved.m[1] * c.position.y;
        xf.m[5] += saved.m[3] * c.position.x + saved.m[4] * c.position.y;
        xf.RecomputeFlags();
        glyph->Draw(dc, rc);
    }
    xf = saved;
}

void CKXTextLine::Update() {
    m_extents.SetEmpty();
    for (const CKXChar& c : m_chars) m_extents.Merge(BoxOf(c));
}

CFltExtents& CKXTextLine::GetExtents(CFltExtents& out) const {
    out = m_extents;
    return out;
}

CFltExtents& CKXTextLine::GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet*, int) const {
    GetExtents(out);
    if (xf != nullptr && out.IsValid()) out.Transform(*xf);
    return out;
}

void CKXTextLine::Quantise(double scale, const CFltPoint& origin) {
    if (!m_chars.empty()) {
        const auto boxOf = [&](const CKXChar& c) {
            CFltExtents box = BoxOf(c);
            if (box.IsEmpty()) box = CFltExtents(c.position.x, c.position.y, c.position.x, c.position.y);
            return box;
        };
        if (m_chars.size() == 1) {
            const CFltExtents box = boxOf(m_chars.front());
            const double mid = (box.ymin + box.ymax) / 2;
            m_segmentStart = {box.xmin, mid};
            m_segmentEnd = {box.xmax, mid};
        } else {
            m_segmentStart = Centre(boxOf(m_chars.front()));
            m_segmentEnd = Centre(boxOf(m_chars.back()));
        }
    }
    m_qHeight = KXTrunc32(m_height * scale);
    m_qSegment[0] = KXQuantiseCoord(m_segmentStart.x, origin.x, scale);
    m_qSegment[1] = KXQuantiseCoord(m_segmentStart.y, origin.y, scale);
    m_qSegment[2] = KXQuantiseCoord(m_segmentEnd.x, origin.x, scale);
    m_qSegment[3] = KXQuantiseCoord(m_segmentEnd.y, origin.y, scale);
    for (CKXChar& c : m_chars) {
        c.qx = KXQuantiseCoord(c.position.x, origin.x, scale);
        c.qy = KXQuantiseCoord(c.position.y, origin.y, scale);
    }
}

int CKXTextLine::Write(std::uint8_t* buffer) const {
    KXBEWriter w(buffer);
    w.U16(static_cast<std::uint16_t>(GetRecordKind() | GetFlags()));
    w.I32(m_qHeight).I32(m_qSegment[0]).I32(m_qSegment[1]).I32(m_qSegment[2]).I32(m_qSegment[3]);
    w.I32(static_cast<std::int32_t>(m_chars.size()));
    for (const CKXChar& c : m_chars) w.I32(c.instance).I32(c.qx).I32(c.qy);
    return w.SizeInt();
}

std::unique_ptr<CKXTextLine> CKXTextLine::EmptyCopy() const {
    auto copy = std::make_unique<CKXTextLine>(m_store);
    copy->SetFlags(GetFlags());
    copy->m_segmentStart = m_segmentStart;
    copy->m_segmentEnd = m_segmentEnd;
    copy->m_height = m_height;
    return copy;
}

KXEntPtr CKXTextLine::CloneTransformed(const CTransf2D& xf) const {
    std::unique_ptr<CKXTextLine> copy = EmptyCopy();
    copy->m_text = m_text;
    copy->m_chars = m_chars;
    copy->m_extents = m_extents;
    if (xf.IsIdentity()) return copy;
    copy->m_segmentStart = xf.Apply(m_segmentStart);
    copy->m_segmentEnd = xf.Apply(m_segmentEnd);
    for (CKXChar& c : copy->m_chars) c.position = xf.Apply(c.position);
    if (xf.IsGeneral()) {
        // Axes that are no longer perpendicular cannot be a key of size and
        // angle: each instance gets a private copy under the transform's
        // linear part (the positions carry its translation), one per
        // instance of this line.
        CTransf2D linear = xf;
        linear.m[2] = 0.0;
        linear.m[5] = 0.0;
        linear.RecomputeFlags();
        std::map<int, int> made;
        for (CKXChar& c : copy->m_chars) {
            const CKXGlyph* glyph = InstanceOf(c);
            if (glyph == nullptr) continue;
            c.instance = PrivateCopy(*m_store, made, c.instance, *glyph, linear);
        }
        copy->m_height = m_height * xf.ScaleFactor();
        copy->Update();
        return copy;
    }
    const CFltPoint o = xf.Apply(CFltPoint{0.0, 0.0});
    const CFltPoint ex = xf.Apply(CFltPoint{1.0, 0.0});
    const CFltPoint ey = xf.Apply(CFltPoint{0.0, 1.0});
    const double sx = std::hypot(ex.x - o.x, ex.y - o.y);
    const double sy = std::hypot(ey.x - o.x, ey.y - o.y);
    double rotation = 0.0;
    if (sx > 0.0) {
        rotation = std::acos(std::clamp((ex.x - o.x) / sx, -1.0, 1.0));
        if (ex.y - o.y < 0.0) rotation = kxangle::kTwoPi - rotation;
        rotation = std::clamp(rotation, 0.0, kxangle::kTwoPi);
    }
    // A mirroring transform mirrors the glyphs too (their height turns
    // negative), as the drawing shows them: turning them instead would set
    // them upside down.
    const bool mirrored = xf.Mirrors();
    const double sySigned = mirrored ? -sy : sy;
    const CTransf2D shape = ScaledRotation(sx, sySigned, rotation);
    std::map<int, int> privates;
    for (CKXChar& c : copy->m_chars) {
        const CKXGlyph* glyph = InstanceOf(c);
        if (glyph == nullptr) continue;
        if (glyph->IsPrivate()) {
            // A clipped shape is this line's own: it stays private.
            c.instance = PrivateCopy(*m_store, privates, c.instance, *glyph, shape);
            continue;
        }
        const double angle = mirrored ? rotation - glyph->GetAngle() : rotation + glyph->GetAngle();
        const CKXGlyphStore::Key key{glyph->GetCode(), sx * glyph->GetWidth(), sySigned * glyph->GetHeight(),
                                     NormalAngle(angle)};
        c.instance = m_store->InstanceFor(key, *glyph, shape);
    }
    copy->m_height = m_height * sx;
    copy->Update();
    return copy;
}

void CKXTextLine::Clip(CKXClipRgnSet& clip, KXEntList& out, CKXDoc& doc, const CTransf2D* xf) {
    if (xf != nullptr && !xf->IsIdentity()) {
        // Clipped where it is drawn.
        if (KXEntPtr placed = CloneTransformed(*xf)) placed->Clip(clip, out, doc, nullptr);
        return;
    }
    CKXGlyphStore& store = CKXGlyphStore::Of(doc);
    std::unique_ptr<CKXTextLine> copy = EmptyCopy();
    copy->m_store = &store;
    for (const CKXChar& c : m_chars) {
        const CKXGlyph* glyph = InstanceOf(c);
        if (glyph == nullptr) continue;
        // Each stroke is clipped at its place; a character all of whose
        // strokes come back whole keeps its shared instance.
        auto own = std::make_unique<CKXGlyph>(glyph->GetCode());
        own->SetKey(glyph->GetWidth(), glyph->GetHeight(), glyph->GetAngle());
        bool whole = true;
        for (const auto& stroke : glyph->Strokes()) {
            if (!stroke) continue;
            CKXPolyline placed(Moved(stroke->GetPoints(), c.position.x, c.position.y));
            placed.Update();
            KXEntList pieces;
            placed.Clip(clip, pieces, doc, nullptr);
            std::vector<CFltPoint> points;
            whole = whole && pieces.size() == 1 && PiecePoints(*pieces.front(), points) && points == placed.GetPoints();
            for (const KXEntPtr& piece : pieces) {
                if (piece && PiecePoints(*piece, points))
                    own->AddStroke(std::make_unique<CKXPolyline>(Moved(points, -c.position.x, -c.position.y)));
            }
        }
        if (whole && m_store == &store) {
            copy->AddChar(c);
        } else if (!own->Strokes().empty()) {
            CKXChar kept = c;
            kept.instance = store.AddPrivate(std::move(own));
            copy->AddChar(kept);
        }
    }
    if (copy->m_chars.empty()) return;
    copy->Update();
    out.push_back(std::move(copy));
}

bool CKXTextLine::SplitForStorage(KXEntList& out) const {
    if (m_chars.size() <= kMaxStoredChars) return false;
    for (std::size_t first = 0; first < m_chars.size(); first += kMaxStoredChars) {
        std::unique_ptr<CKXTextLine> piece = EmptyCopy();
        const std::size_t last = std::min(first + kMaxStoredChars, m_chars.size());
        for (std::size_t i = first; i < last; ++i) piece->AddChar(m_chars[i]);
        piece->Update();
        out.push_back(std::move(piece));
    }
    return true;
}
