#include "CKXNURBS.h"

#include <algorithm>
#include <cmath>

#include "CKXPolyline.h"

namespace {

// Evaluation costs grow with the square of the degree; real drawings stay far
// below this, and a larger degree is treated as a corrupt definition.
constexpr int kMaxDegree = 32;

bool AllFinite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

bool CKXNURBS::IsValidDefinition(int degree, const std::vector<CFltPoint>& controls,
                                 const std::vector<double>& knots, const std::vector<double>& weights) {
    if (degree <= 0 || degree > kMaxDegree) return false;
    if (controls.size() <= 1 || knots.size() <= 3) return false;
    if (static_cast<std::size_t>(degree) + controls.size() + 1 != knots.size()) return false;
    if (weights.size() != controls.size()) return false;
    if (!AllFinite(knots) || !std::is_sorted(knots.begin(), knots.end())) return false;
    for (const CFltPoint& p : controls) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    }
    for (double w : weights) {
        if (!std::isfinite(w) || !(w > 0.0)) return false;
    }
    const double t0 = knots[static_cast<std::size_t>(degree)];
    const double t1 = knots[knots.size() - static_cast<std::size_t>(degree) - 1];
    return t0 < t1;
}

CKXNURBS::CKXNURBS(int degree, std::vector<CFltPoint> controls, std::vector<double> knots,
                   std::vector<double> weights, int flags)
    : m_degree(degree), m_controls(std::move(controls)), m_knots(std::move(knots)), m_weights(std::move(weights)) {
    if (m_weights.empty()) m_weights.assign(m_controls.size(), 1.0);
    const bool valid = IsValidDefinition(m_degree, m_controls, m_knots, m_weights);
    m_state = valid ? flags : kStateUnusable;
    if (valid) {
        m_t0 = m_knots[static_cast<std::size_t>(m_degree)];
        m_t1 = m_knots[m_knots.size() - static_cast<std::size_t>(m_degree) - 1];
    }
}

int CKXNURBS::FindSpan(double t) const {
    const int n = static_cast<int>(m_knots.size());
    const int p = m_degree;
    if (t >= m_knots[static_cast<std::size_t>(n - p - 1)]) return n - p - 2;
    // The first knot above t closes the span: knots[i-1] <= t < knots[i].
    const auto above = std::upper_bound(m_knots.begin(), m_knots.end(), t);
    const int i = static_cast<int>(above - m_knots.begin());
    if (i < 1 || i > n - 1) return -1;
    return i - 1;
}

// N(j, q, t) by the Cox-de Boor recursion, built bottom-up so the cost is
// quadratic in the degree rather than exponential.
double CKXNURBS::Basis(int j, int q, double t) const {
    const int n = static_cast<int>(m_knots.size());
    const int p = m_degree;
    const auto k = [&](int i) { return m_knots[static_cast<std::size_t>(i)]; };
    std::vector<double> level(static_cast<std::size_t>(q) + 1);
    for (int i = 0; i <= q; ++i) {
        const int jj = j + i;
        const bool inSpan = jj + 1 < n && k(jj) <= t && t < k(jj + 1);
        const bool lastSpanAtEnd = t == m_t1 && jj == n - p - 2;
        level[static_cast<std::size_t>(i)] = (inSpan || lastSpanAtEnd) ? 1.0 : 0.0;
    }
    for (int d = 1; d <= q; ++d) {
        for (int i = 0; i + d <= q; ++i) {
            const int jj = j + i;
            double value = 0.0;
            const double left = k(jj + d) - k(jj);
            if (left > 0.0) value += (t - k(jj)) / left * level[static_cast<std::size_t>(i)];
            const double right = k(jj + d + 1) - k(jj + 1);
            if (right > 0.0) value += (k(jj + d + 1) - t) / right * level[static_cast<std::size_t>(i) + 1];
            level[static_cast<std::size_t>(i)] = value;
        }
    }
    return level[0];
}

CFltPoint CKXNURBS::Evaluate(double t) const {
    if (!CanEvaluate()) return {};
    const int span = FindSpan(t);
    if (span < 0) return {};
    double sx = 0.0, sy = 0.0, sw = 0.0;
    for (int j = span - m_degree; j <= span; ++j) {
        const auto jj = static_cast<std::size_t>(j);
        const double b = Basis(j, m_degree, t) * m_weights[jj];
        sx += b * m_controls[jj].x;
        sy += b * m_controls[jj].y;
        sw += b;
    }
    if (sw == 0.0) return {sx, sy};
    return {sx / sw, sy / sw};
}

CFltPoint CKXNURBS::EvaluateDeBoor(double t) const {
    if (!CanEvaluate()) return {};
    const int p = m_degree;
    const int span = FindSpan(t);
    if (span < 0) return {};
    struct H {
        double x, y, w;
    };
    std::vector<H> d(static_cast<std::size_t>(p) + 1);
    for (int j = 0; j <= p; ++j) {
        const auto i = static_cast<std::size_t>(j + span - p);
        const double w = m_weights[i];
        d[static_cast<std::size_t>(j)] = {m_controls[i].x * w, m_controls[i].y * w, w};
    }
    const auto k = [&](int i) { return m_knots[static_cast<std::size_t>(i)]; };
    for (int r = 1; r <= p; ++r) {
        for (int j = p; j >= r; --j) {
            const double denom = k(j + 1 + span - r) - k(j + span - p);
            const double alpha = denom > 0.0 ? (t - k(j + span - p)) / denom : 0.0;
            H& cur = d[static_cast<std::size_t>(j)];
            const H& prev = d[static_cast<std::size_t>(j) - 1];
            cur = {(1.0 - alpha) * prev.x + alpha * cur.x, (1.0 - alpha) * prev.y + alpha * cur.y,
                   (1.0 - alpha) * prev.w + alpha * cur.w};
        }
    }
    const H& r = d[static_cast<std::size_t>(p)];
    if (r.w == 0.0) return {r.x, r.y};
    return {r.x / r.w, r.y / r.w};
}

std::unique_ptr<CKXPolyline> CKXNURBS::Tessellate(int n) const {
    if (!CanEvaluate() || n < 2) return nullptr;
    std::vector<CFltPoint> points;
    points.reserve(static_cast<std::size_t>(n));
    const double step = (m_t1 - m_t0) / (n - 1);
    for (int i = 0; i < n - 1; ++i) points.push_back(Evaluate(i * step + m_t0));
    points.push_back(EvaluateDeBoor(m_t1));
    for (const CFltPoint& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return nullptr;
    }
    return std::make_unique<CKXPolyline>(std::move(points));
}

CFltExtents& CKXNURBS::GetExtents(CFltExtents& out) const {
    out.SetEmpty();
    for (const CFltPoint& p : m_controls) out.Merge(p);
    return out;
}
