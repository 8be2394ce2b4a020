// A point in drawing units.
#pragma once

struct CFltPoint {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const CFltPoint& a, const CFltPoint& b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(const CFltPoint& a, const CFltPoint& b) { return !(a == b); }
};
