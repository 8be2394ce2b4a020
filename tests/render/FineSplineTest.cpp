// Splines under the fine-curves display mode: drawn from the spline itself
// with as many segments as keep every chord within half a device unit;
// without the mode, and in the drawing file, the stored polyline.
#include <gtest/gtest.h>

#include <korvex/kxcore.h>

#include <cmath>
#include <memory>

#include "CKXNURBS.h"
#include "CKXSplinePolyline.h"
#include "geom/CTransf2D.h"
#include "render/KXCurveDraw.h"
#include "RenderTestSupport.h"

namespace {

using namespace rendertest;

// A cubic wave over (0, 0)..(10, 4) with sharp turns.
std::shared_ptr<const CKXNURBS> Wave() {
    std::vector<CFltPoint> controls{{0, 0}, {1, 4}, {2, -2}, {4, 4}, {6, 0}, {7, 3}, {8, -1}, {10, 2}};
    std::vector<double> knots{0, 0, 0, 0, 1, 2, 3, 4, 5, 5, 5, 5};
    return std::make_shared<const CKXNURBS>(3, std::move(controls), std::move(knots), std::vector<double>{}, 0);
}

double ChordDistance(const CFltPoint& a, const CFltPoint& b, const CFltPoint& m) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length == 0.0) return std::hypot(m.x - a.x, m.y - a.y);
    return std::fabs(dx * (m.y - a.y) - dy * (m.x - a.x)) / length;
}

// The largest distance, in device units, between the curve and the chord
// of the segment it belongs to, sampled 16 times per segment.
double LargestChordError(const CKXNURBS& spline, const std::vector<CFltPoint>& points, double scale) {
    const std::size_t n = points.size() - 1;
    const double t0 = spline.GetT0(), t1 = spline.GetT1();
    double worst = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        for (int k = 1; k < 16; ++k) {
            const double t = t0 + (t1 - t0) * (static_cast<double>(i) + k / 16.0) / static_cast<double>(n);
            worst = std::fmax(worst, ChordDistance(points[i], points[i + 1], spline.EvaluateDeBoor(t)));
        }
    }
    return worst * scale;
}

std::vector<GdiCall> StrokesOf(Scene& scene, LONG side, int mode) {
    scene.doc.SetDisplayMode(mode);
    std::vector<GdiCall> strokes;
    for (const GdiCall& call : scene.Draw(RECT{0, 0, side, side}, CFltExtents(0, -5, 10, 5)))
        if (call.op == GdiOp::MoveTo || call.op == GdiOp::LineTo) strokes.push_back(call);
    return strokes;
}

}  // namespace

TEST(FineSpline, ChordsStayWithinHalfADeviceUnitAtEveryScale) {
    const auto spline = Wave();
    std::size_t previous = 0;
    // Device units per drawing unit: the wave 10, 1,000 and 100,000 units wide.
    for (const double scale : {1.0, 100.0, 10000.0}) {
        const std::vector<CFltPoint> points = kxdraw::FineSplinePoints(*spline, CTransf2D(), scale);
        ASSERT_GE(points.size(), static_cast<std::size_t>(CKXNURBS::kTessellationPoints)) << scale;
        EXPECT_LE(LargestChordError(*spline, points, scale), 0.5) << scale << ": " << points.size() << " points";
        EXPECT_GE(points.size(), previous) << scale;
        previous = points.size();
        // The ends are the spline's own.
        EXPECT_EQ(points.front(), spline->EvaluateDeBoor(spline->GetT0()));
        EXPECT_EQ(points.back(), spline->EvaluateDeBoor(spline->GetT1()));
    }
    EXPECT_GT(previous, 1000u);
    // A placed spline is measured where it lands: twice the size, the
    // same bound.
    CTransf2D twice;
    twice.m[0] = 2.0;
    twice.m[4] = 2.0;
    twice.RecomputeFlags();
    const std::vector<CFltPoint> placed = kxdraw::FineSplinePoints(*spline, twice, 100.0);
    std::vector<CFltPoint> back;
    for (const CFltPoint& p : placed) back.push_back({p.x / 2.0, p.y / 2.0});
    EXPECT_LE(LargestChordError(*spline, back, 200.0), 0.5);
}

TEST(FineSpline, DrawsFromTheSplineOnlyUnderTheMode) {
    Scene scene;
    const auto spline = Wave();
    const std::unique_ptr<CKXPolyline> stored = spline->Tessellate(CKXNURBS::kTessellationPoints);
    scene.Add<CKXSplinePolyline>(stored->GetPoints(), spline).Update();
    scene.Finish(CFltExtents(0, -5, 10, 5));
    // Without the mode: the stored polyline, point for point.
    const auto coarse = StrokesOf(scene, 2000, 0);
    EXPECT_EQ(coarse.size(), static_cast<std::size_t>(CKXNURBS::kTessellationPoints));
    // Under it: more segments at 2,000 units across, every one short.
    const auto fine = StrokesOf(scene, 2000, KX_DISPLAY_FINE_CURVES);
    EXPECT_GT(fine.size(), coarse.size());
    EXPECT_EQ(fine.front().x, coarse.front().x);
    EXPECT_EQ(fine.back().x, coarse.back().x);
    EXPECT_EQ(fine.back().y, coarse.back().y);
}

TEST(FineSpline, StoredAndPlacedAsItsPolyline) {
    const auto spline = Wave();
    const std::unique_ptr<CKXPolyline> plain = spline->Tessellate(CKXNURBS::kTessellationPoints);
    CKXSplinePolyline kept(plain->GetPoints(), spline);
    plain->Quantise(1000.0, {-1, -5});
    kept.Quantise(1000.0, {-1, -5});
    // The drawing file holds the same record either way.
    std::vector<std::uint8_t> a(static_cast<std::size_t>(plain->Write(nullptr)));
    std::vector<std::uint8_t> b(static_cast<std::size_t>(kept.Write(nullptr)));
    ASSERT_EQ(a.size(), b.size());
    plain->Write(a.data());
    kept.Write(b.data());
    EXPECT_EQ(a, b);

    // Placed (as block content is), the spline goes along.
    CTransf2D moved;
    moved.m[2] = 10.0;
    moved.RecomputeFlags();
    KXEntPtr clone = kept.CloneTransformed(moved);
    const auto* placed = dynamic_cast<const CKXSplinePolyline*>(clone.get());
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->GetSpline().GetControls()[3], (CFltPoint{14, 4}));
    EXPECT_EQ(placed->GetPoints().back(), (CFltPoint{20, 2}));
}

TEST(FineSpline, FinishedUnderTheModeTheStoredPointsFollowTheGrid) {
    for (const bool fine : {false, true}) {
        KXDOC doc = KXCreateDocInstance();
        if (fine) KXSetDisplayMode(doc, KX_DISPLAY_FINE_CURVES);
        const auto wave = Wave();
        std::vector<KXPoint> controls;
        for (const CFltPoint& p : wave->GetControls()) controls.push_back({p.x, p.y});
        const std::vector<double>& knots = wave->GetKnots();
        ASSERT_EQ(1, KXAddSpline(doc, 3, controls.data(), static_cast<int>(controls.size()), knots.data(),
                                 static_cast<int>(knots.size()), nullptr, 0, nullptr, nullptr));
        ASSERT_EQ(1, KXClose(doc, 0));
        std::size_t points = 0, polylines = 0;
        for (const KXEntPtr& ent : static_cast<CKXDoc*>(doc)->GetEntList()) {
            if (ent->GetType() != KXENT_POLYLINE) continue;
            ++polylines;
            points += static_cast<const CKXPolyline&>(*ent).GetPoints().size();
        }
        if (fine) {
            // Thousands of points, stored in pieces the record can hold.
            EXPECT_GT(points, 1000u);
            EXPECT_GT(polylines, 1u);
        } else {
            EXPECT_EQ(points, static_cast<std::size_t>(CKXNURBS::kTessellationPoints));
            EXPECT_EQ(polylines, 1u);
        }
        KXDeleteDocInstance(doc);
    }
}
