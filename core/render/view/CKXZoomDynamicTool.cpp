#include "CKXZoomDynamicTool.h"

#include <algorithm>

#include "CKXView.h"

namespace {

// The smallest factor a drag may zoom by.
constexpr double kMinFactor = 0.001;

}  // namespace

void CKXZoomDynamicTool::Act() {
    const double factor = 1.0 - static_cast<double>(m_current.y - m_previous.y) * kZoomPerUnit;
    m_view.Zoom(std::max(factor, kMinFactor));
}
