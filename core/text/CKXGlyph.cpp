#include "text/CKXGlyph.h"

#include <algorithm>

#include "BigEndian.h"

void CKXGlyph::AddStroke(std::unique_ptr<CKXPolyline> stroke) {
    if (stroke) {
        stroke->Update();
        m_box.Merge(stroke->GetCachedExtents());
    }
    m_strokes.push_back(std::move(stroke));
}

std::unique_ptr<CKXGlyph> CKXGlyph::Clone() const {
    auto copy = std::make_unique<CKXGlyph>(m_code);
    copy->SetKey(m_width, m_height, m_angle);
    copy->m_private = m_private;
    copy->m_strokes.reserve(m_strokes.size());
    for (const auto& stroke : m_strokes)
        copy->m_strokes.push_back(stroke ? std::make_unique<CKXPolyline>(stroke->GetPoints()) : nullptr);
    for (const auto& stroke : copy->m_strokes)
        if (stroke) stroke->Update();
    copy->m_box = m_box;
    return copy;
}

void CKXGlyph::Transform(const CTransf2D& xf) {
    for (const auto& stroke : m_strokes) {
        if (!stroke) continue;
        for (CFltPoint& p : stroke->GetPoints()) p = xf.Apply(p);
        stroke->Update();
    }
    UpdateBox();
}

void CKXGlyph::UpdateBox() {
    m_box.SetEmpty();
    for (const auto& stroke : m_strokes)
        if (stroke && stroke->GetCount() > 0) m_box.Merge(stroke->GetCachedExtents());
}

void CKXGlyph::Quantise(double scale, const CFltPoint& origin) {
    for (const auto& stroke : m_strokes)
        if (stroke) stroke->Quantise(scale, origin);
}

int CKXGlyph::Write(std::uint8_t* buffer) const {
    const std::size_t slots = std::min(m_strokes.size(), kMaxWrittenStrokes);
    KXBEWriter w(buffer);
    w.U16(static_cast<std::uint16_t>(slots));
    int size = w.SizeInt();
    for (std::size_t i = 0; i < slots; ++i) {
        if (m_strokes[i]) size += m_strokes[i]->WritePoints(buffer ? buffer + size : nullptr);
    }
    return size;
}

void CKXGlyph::Draw(HDC dc, CKXConverter& rc) const {
    for (const auto& stroke : m_strokes)
        if (stroke) stroke->Draw(dc, rc);
}
