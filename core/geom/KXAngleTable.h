// The 200-step angle table shared by circles and ellipses: normalisation of
// arc angles and the first/last table steps an arc passes through.
#pragma once

#include <vector>

namespace kxangle {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr int kSteps = 200;
constexpr double kStep = 0.031415926535897934;      // 2*pi / 200
constexpr double kHalfStep = 0.015707963267948967;
// Arcs sweeping at most two steps are drawn as a chord.
constexpr double kChordSweep = 0.06283185307179587;

// Step indexes of an arc not yet computed / drawn as a chord.
constexpr int kNotComputed = -1;
constexpr int kChord = -2;
// Indexes of a full turn: the first and last steps that are not end points.
constexpr int kFullFirst = 1;
constexpr int kFullLast = 198;

// Brings an angle into [0, 2*pi]; 2*pi itself stays 2*pi. Non-finite input
// yields 0.
double Normalise(double angle);

struct StepRange {
    int first = kNotComputed;
    int last = kNotComputed;
};

// Steps of an arc from start to end (counter-clockwise, through 0 when
// end < start). With degenerateWhenEqual (ellipses), equal start and end
// make a chord too.
StepRange ComputeSteps(double start, double end, bool full, bool degenerateWhenEqual);

// Cosine and sine of step k's angle, k * kStep: exactly std::cos and
// std::sin of it, looked up for the steps 0..kSteps (exploding a styled
// drawing walks millions of circle steps).
struct StepDirection {
    double cos = 1.0;
    double sin = 0.0;
};
StepDirection DirectionOfStep(int k);

// Calls visit(k) for every table step of an arc from range.first to
// range.last, wrapping from the last step to 0 when the arc passes angle 0.
// A chord visits nothing.
template <class Visit>
void ForEachStep(const StepRange& range, Visit&& visit) {
    if (range.first == kChord || range.first < 0 || range.last < 0) return;
    if (range.first > range.last) {
        for (int k = range.first; k < kSteps; ++k) visit(k);
        for (int k = 0; k <= range.last; ++k) visit(k);
    } else {
        for (int k = range.first; k <= range.last; ++k) visit(k);
    }
}

// The outline of an arc as points: its start point, the point of every
// table step it passes (pointAt(DirectionOfStep(k))), its end point. Fills
// points, a vector the caller keeps so that it stops allocating once grown.
template <class Point, class PointAt>
void ArcPoints(const StepRange& range, const Point& start, const Point& end, PointAt&& pointAt,
               std::vector<Point>& points) {
    points.clear();
    points.push_back(start);
    ForEachStep(range, [&](int k) { points.push_back(pointAt(DirectionOfStep(k))); });
    points.push_back(end);
}

}  // namespace kxangle
