// A non-uniform rational B-spline. Splines are not stored in a document:
// KXAddSpline tessellates one into a polyline; paths keep them as pieces.
#pragma once

#include <memory>
#include <vector>

#include "IKXEnt.h"

class CKXPolyline;

class CKXNURBS : public IKXEnt {
public:
    static constexpr int kStateUnusable = 0x1;
    // Number of points a spline is tessellated into when it is added.
    static constexpr int kTessellationPoints = 100;

    // Null weights mean 1.0 for every control point. An invalid definition
    // (see IsValid) sets the unusable state bit.
    CKXNURBS(int degree, std::vector<CFltPoint> controls, std::vector<double> knots,
             std::vector<double> weights, int flags);

    int GetDegree() const { return m_degree; }
    const std::vector<CFltPoint>& GetControls() const { return m_controls; }
    const std::vector<double>& GetKnots() const { return m_knots; }
    const std::vector<double>& GetWeights() const { return m_weights; }
    int GetState() const { return m_state; }
    double GetT0() const { return m_t0; }
    double GetT1() const { return m_t1; }

    // The definition the evaluation needs: degree > 0, at least 2 control
    // points, at least 4 knots, knots = degree + controls + 1, finite and
    // non-decreasing knots with t0 < t1, finite points, finite positive
    // weights.
    static bool IsValidDefinition(int degree, const std::vector<CFltPoint>& controls,
                                  const std::vector<double>& knots,
                                  const std::vector<double>& weights);
    bool CanEvaluate() const { return (m_state & kStateUnusable) == 0; }

    // Rational evaluation (Cox-de Boor basis).
    CFltPoint Evaluate(double t) const;
    // The curve point by de Boor's recursion (used for the exact end point).
    CFltPoint EvaluateDeBoor(double t) const;
    // n points from t0 to t1, the last one exactly the curve's end; null when
    // the spline cannot be evaluated or n < 2.
    std::unique_ptr<CKXPolyline> Tessellate(int n) const;

    void Draw(HDC, CKXConverter&) override {}
    CFltExtents& GetExtents(CFltExtents& out) const override;
    int Read(CKXArchive*, int) override { return 0; }
    int GetType() const override { return KXENT_NURBS; }
    void Quantise(double, const CFltPoint&) override {}
    int IsDuplicate(KXKeyMap&, double) override { return 0; }

private:
    int FindSpan(double t) const;
    double Basis(int j, int q, double t) const;

    int m_degree;
    std::vector<CFltPoint> m_controls;
    std::vector<double> m_knots;
    std::vector<double> m_weights;
    int m_state;
    double m_t0 = 0.0;
    double m_t1 = 0.0;
};
