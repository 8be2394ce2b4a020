#include "CDirectSegmentIter.h"

#include "CKXPolyline.h"

const CKXPolyline& CDirectSegmentIter::Contour() const { return *(*m_lists[m_list])[m_contour]; }

std::size_t CDirectSegmentIter::Used() const {
    const std::size_t n = Contour().GetPoints().size();
    return n >= 2 ? n - 1 : 0;
}

const CFltPoint* CDirectSegmentIter::At(std::size_t v) const { return &Contour().GetPoints()[v]; }

const CFltPoint* CDirectSegmentIter::Settle() {
    while (!AtEnd()) {
        if (m_contour < m_lists[m_list]->size()) {
            if (m_vertex < Used()) return At(m_vertex);
            ++m_contour;
        } else {
            ++m_list;
            m_contour = 0;
        }
        m_vertex = 0;
    }
    return nullptr;
}

const CFltPoint* CDirectSegmentIter::Reset() {
    m_list = 0;
    m_contour = 0;
    m_vertex = 0;
    return Settle();
}

const CFltPoint* CDirectSegmentIter::Next() {
    if (AtEnd()) return nullptr;
    ++m_vertex;
    return Settle();
}

const CFltPoint* CDirectSegmentIter::Previous() const {
    if (AtEnd()) return nullptr;
    return At(m_vertex == 0 ? Used() - 1 : m_vertex - 1);
}

const CFltPoint* CDirectSegmentIter::Following() const {
    if (AtEnd()) return nullptr;
    return At(m_vertex + 1 == Used() ? 0 : m_vertex + 1);
}
