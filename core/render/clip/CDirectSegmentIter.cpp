#include "CDirectSegmentIter.h"

#include "CKXPolyline.h"

std::size_t CDirectSegmentIter::Used(std::size_t c) const {
    const std::size_t n = (*m_contours)[c]->GetPoints().size();
    return n >= 2 ? n - 1 : 0;
}

const CFltPoint* CDirectSegmentIter::At(std::size_t c, std::size_t v) const {
    return &(*m_contours)[c]->GetPoints()[v];
}

const CFltPoint* CDirectSegmentIter::Settle() {
    if (m_contours == nullptr) return nullptr;
    while (m_contour < m_contours->size() && m_vertex >= Used(m_contour)) {
        ++m_contour;
        m_vertex = 0;
    }
    return m_contour < m_contours->size() ? At(m_contour, m_vertex) : nullptr;
}

const CFltPoint* CDirectSegmentIter::Reset() {
    m_contour = 0;
    m_vertex = 0;
    return Settle();
}

const CFltPoint* CDirectSegmentIter::Next() {
    if (m_contours == nullptr || m_contour >= m_contours->size()) return nullptr;
    ++m_vertex;
    return Settle();
}

const CFltPoint* CDirectSegmentIter::Previous() const {
    if (m_contours == nullptr || m_contour >= m_contours->size()) return nullptr;
    const std::size_t used = Used(m_contour);
    return At(m_contour, m_vertex == 0 ? used - 1 : m_vertex - 1);
}

const CFltPoint* CDirectSegmentIter::Following() const {
    if (m_contours == nullptr || m_contour >= m_contours->size()) return nullptr;
    const std::size_t used = Used(m_contour);
    return At(m_contour, m_vertex + 1 == used ? 0 : m_vertex + 1);
}
