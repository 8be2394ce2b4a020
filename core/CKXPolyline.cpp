#include "CKXPolyline.h"

#include <algorithm>

#include "BigEndian.h"
#include "CKXArchive.h"
#include "KXSegmentKey.h"
#include "geom/KXTrunc.h"
#include "render/KXEntityDraw.h"

void CKXPolyline::Draw(HDC dc, CKXConverter& rc) { kxdraw::DrawPolyline(*this, dc, rc); }

bool CKXPolyline::SplitForStorage(KXEntList& out) const {
    if (GetCount() <= kMaxStoredPoints) return false;
    const std::size_t step = kMaxStoredPoints - 1;
    for (std::size_t first = 0; first + 1 < m_points.size(); first += step) {
        const std::size_t last = std::min(first + step, m_points.size() - 1);
        auto piece = std::make_unique<CKXPolyline>(
            std::vector<CFltPoint>(m_points.begin() + static_cast<std::ptrdiff_t>(first),
                                   m_points.begin() + static_cast<std::ptrdiff_t>(last) + 1));
        piece->SetFlags(GetFlags());
        piece->Update();
        out.push_back(std::move(piece));
    }
    return true;
}

CFltExtents& CKXPolyline::GetExtents(CFltExtents& out) const {
    out = m_extents;
    return out;
}

CFltExtents& CKXPolyline::GetExtentsXf(CFltExtents& out, const CTransf2D* xf, CKXClipRgnSet*, int) const {
    if (!xf) return GetExtents(out);
    out.SetEmpty();
    for (const CFltPoint& p : m_points) out.Merge(xf->Apply(p));
    return out;
}

void CKXPolyline::Update() {
    if (m_points.empty()) return;
    m_extents.SetEmpty();
    for (const CFltPoint& p : m_points) m_extents.Merge(p);
}

int CKXPolyline::WritePoints(std::uint8_t* buffer) const {
    const int count = GetCount();
    // The count is a 16-bit field: refuse rather than write a truncated count.
    if (count > kMaxWritablePoints) return 0;
    KXBEWriter w(buffer);
    w.U16(static_cast<std::uint16_t>(count));
    const bool quantised = m_quantised.size() == m_points.size() * 2;
    for (int i = 0; i < count * 2; ++i) w.I32(quantised ? m_quantised[static_cast<std::size_t>(i)] : 0);
    return w.SizeInt();
}

int CKXPolyline::Write(std::uint8_t* buffer) const {
    if (GetCount() > kMaxWritablePoints) return 0;
    KXBEWriter w(buffer);
    w.U16(static_cast<std::uint16_t>(GetRecordKind() | GetFlags()));
    const int head = w.SizeInt();
    return head + WritePoints(buffer ? buffer + head : nullptr);
}

int CKXPolyline::Read(CKXArchive* archive, int) {
    if (!archive) return 0;
    std::uint16_t count = 0;
    if (!archive->ReadU16(count)) return 0;
    // Each point takes 8 bytes: a count the archive cannot hold is corrupt.
    if (std::size_t{count} * 8 > archive->Remaining()) return 0;
    std::vector<std::int32_t> q(std::size_t{count} * 2);
    for (std::int32_t& v : q) {
        if (!archive->ReadI32(v)) return 0;
    }
    std::vector<CFltPoint> points(count);
    for (std::size_t i = 0; i < count; ++i) points[i] = {double(q[2 * i]), double(q[2 * i + 1])};
    m_points = std::move(points);
    m_quantised = std::move(q);
    Update();
    return 1;
}

void CKXPolyline::Quantise(double scale, const CFltPoint& origin) {
    m_quantised.resize(m_points.size() * 2);
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        m_quantised[2 * i] = KXQuantiseCoord(m_points[i].x, origin.x, scale);
        m_quantised[2 * i + 1] = KXQuantiseCoord(m_points[i].y, origin.y, scale);
    }
}

KXEntPtr CKXPolyline::CloneTransformed(const CTransf2D& xf) const {
    std::vector<CFltPoint> points;
    points.reserve(m_points.size());
    for (const CFltPoint& p : m_points) points.push_back(xf.Apply(p));
    auto copy = std::make_unique<CKXPolyline>(std::move(points));
    copy->SetFlags(GetFlags());
    copy->Update();
    return copy;
}

int CKXPolyline::IsDuplicate(KXKeyMap& keys, double scale) {
    if (m_points.size() < 2) return 1;
    if (m_quantised.size() != m_points.size() * 2) Quantise(1.0, CFltPoint{});
    bool allPresent = true;
    for (std::size_t i = 0; i + 1 < m_points.size(); ++i) {
        const std::int32_t* a = &m_quantised[2 * i];
        if (keys.insert(KXSegmentKey(a[0], a[1], a[2], a[3], scale)).second) allPresent = false;
    }
    return allPresent ? 1 : 0;
}

void CKXPolyline::Clip(CKXClipRgnSet&, KXEntList&, CKXDoc&, const CTransf2D*) {
    // Clipping is provided by the clip-region code.
}
