// The reader's curves: table steps as the engine draws them, and in fine
// mode chords within half a device unit at every radius.
#include <gtest/gtest.h>

#include <kxplatform/GdiRecording.h>
#include <kxplatform/dc.h>

#include <cmath>

#include "CKXPdbDrawing.h"
#include "KXPdbCurves.h"

namespace {

using kxplatform::GdiOp;

constexpr double kPi = 3.141592653589793;

struct DevicePoint {
    double x, y;
};

// A full circle of radius r integer units about the origin, drawn one unit
// per device unit on a 3r x 3r device centred on it.
std::vector<DevicePoint> DrawFullCircle(std::int32_t r, bool fine) {
    KXPdbDrawingInfo info;
    info.resolution = 1.0;
    KXPdbDeviceMap map;
    const auto side = static_cast<LONG>(3 * r);
    EXPECT_TRUE(map.Fit(info, RECT{0, 0, side, side}, -1.5 * r, -1.5 * r, 1.5 * r, 1.5 * r));
    KXPdbEntity circle;
    circle.kind = kPdbCircle;
    const std::int32_t q[7] = {0, 0, r, 0, r, 0, r};
    std::copy(q, q + 7, circle.q);
    circle.a = 1;
    circle.b = 198;
    KXPdbTables tables;
    for (std::size_t k = 0; k < KXPdbTables::kSteps; ++k) {
        tables.cosSin[k].cos = static_cast<std::int32_t>(std::cos(static_cast<double>(k) * kPi / 100) * 8192);
        tables.cosSin[k].sin = static_cast<std::int32_t>(std::sin(static_cast<double>(k) * kPi / 100) * 8192);
    }
    HDC dc = KXCreateRecordingDC();
    CKXPdbDevicePath path(dc);
    kxpdbcurves::DrawCircle(circle, tables, map, fine, path);
    std::vector<DevicePoint> points;
    for (const auto& call : kxplatform::RecordedCalls(dc))
        if (call.op == GdiOp::MoveTo || call.op == GdiOp::LineTo) points.push_back({double(call.x), double(call.y)});
    DeleteDC(dc);
    return points;
}

TEST(PdbCurves, FineCirclesStayWithinHalfAUnit) {
    for (std::int32_t r : {10, 1000, 100000}) {
        SCOPED_TRACE(r);
        const auto points = DrawFullCircle(r, true);
        const double chords = static_cast<double>(points.size() - 1);
        EXPECT_EQ(points.size() - 1, static_cast<std::size_t>(kxpdbcurves::FineChordCount(r, 2 * kPi)));
        EXPECT_LE(r * (1.0 - std::cos(kPi / chords)), 0.5);
        for (const DevicePoint& p : points) EXPECT_NEAR(std::hypot(p.x - 1.5 * r, p.y - 1.5 * r), r, 1.5);
    }
}

TEST(PdbCurves, TableCirclesKeepTheirChordCounts) {
    // Every 10th step below 20 units of radius, every 5th above: the
    // start, the steps, step 198 and the end.
    EXPECT_EQ(DrawFullCircle(10, false).size(), 1u + 20u + 2u);
    EXPECT_EQ(DrawFullCircle(1000, false).size(), 1u + 40u + 2u);
    EXPECT_EQ(DrawFullCircle(100000, false).size(), 1u + 40u + 2u);
    EXPECT_EQ(kxpdbcurves::ChordIncrement(4.9), 20);
}

}  // namespace
