// Construction calls fed with hostile numbers must either add finite
// geometry or be refused: never a crash and never a NaN in the document.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <korvex/kxcore.h>

#include "CKXDoc.h"

namespace {

double Hostile(std::mt19937_64& rng) {
    static const double kSpecial[] = {0.0,
                                      -0.0,
                                      1.0,
                                      -1.0,
                                      1e-320,
                                      1e308,
                                      -1e308,
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::quiet_NaN(),
                                      6.283185307179586,
                                      3.141592653589793};
    std::uniform_int_distribution<int> pick(0, 15);
    const int k = pick(rng);
    if (k < 12) return kSpecial[k];
    return std::uniform_real_distribution<double>(-1e3, 1e3)(rng);
}

TEST(RandomInput, DocumentHoldsOnlyFiniteGeometry) {
    std::mt19937_64 rng(7);
    KXDOC doc = KXCreateDocInstance();
    CKXDoc& d = *static_cast<CKXDoc*>(doc);
    for (int round = 0; round < 3000; ++round) {
        const double c[2] = {Hostile(rng), Hostile(rng)};
        const double e[2] = {Hostile(rng), Hostile(rng)};
        const double z = Hostile(rng);
        const double* zp = (round % 3 == 0) ? &z : nullptr;
        if (round % 50 == 0) {
            double axes[9];
            for (double& a : axes) a = Hostile(rng);
            KXPushCoordSys3D(doc, axes);
        }
        KXAddLine(doc, c, e, nullptr, zp);
        KXAddCircle(doc, c, Hostile(rng), nullptr, zp);
        KXAddArc(doc, c, Hostile(rng), Hostile(rng), Hostile(rng), nullptr, zp);
        KXAddEllipse(doc, c, e, Hostile(rng), nullptr, zp);
        KXAddEllipticArc(doc, c, e, Hostile(rng), Hostile(rng), Hostile(rng), nullptr, zp);
        KXPoint pts[3] = {{c[0], c[1]}, {e[0], e[1]}, {Hostile(rng), Hostile(rng)}};
        KXAddPolyline(doc, pts, 3, nullptr, zp);
        double knots[6] = {0, 0, 0, Hostile(rng), 1, 1};
        double weights[3] = {Hostile(rng), 1, 1};
        KXAddSpline(doc, 2, pts, 3, knots, 6, (round % 2) ? weights : nullptr, 0, nullptr, zp);
    }
    ASSERT_GT(d.GetCount(), 0);
    for (const auto& ent : d.GetEntList()) {
        CFltExtents box;
        ent->GetExtents(box);
        if (box.IsEmpty()) continue;
        EXPECT_TRUE(std::isfinite(box.xmin) && std::isfinite(box.ymin) && std::isfinite(box.xmax) &&
                    std::isfinite(box.ymax))
            << "type " << ent->GetType() << " box " << box.xmin << " " << box.ymin << " " << box.xmax << " "
            << box.ymax;
    }
    const CFltExtents& all = d.GetExtents();
    EXPECT_FALSE(std::isnan(all.xmin) || std::isnan(all.xmax) || std::isnan(all.ymin) || std::isnan(all.ymax));
    for (const CTransf3D& system : d.CoordSystems()) {
        for (double v : system.m) EXPECT_TRUE(std::isfinite(v));
    }
    KXDeleteDocInstance(doc);
}

}  // namespace
