// A line style: the caller's dash pattern (dashes > 0, gaps < 0, dots 0, in
// drawing units) plus what the renderer caches for walking it on the device.
#pragma once

#include <cstdint>
#include <vector>

struct KXLineStyleExt {
    // Kind bits given by the caller.
    enum Kind : int {
        kDashPattern = 0x1,      // the scaled element list is built only with this bit
        kCentrePolyline = 0x2,   // open polylines are centred as a whole
        kCentreSegments = 0x4,   // every segment is centred by itself
    };

    int kind = 0;
    int count = 0;
    std::vector<double> elements;
    // Elements times the cached factor, in device units; empty = draw solid.
    std::vector<double> scaledElements;
    double scaledLength = 0.0;
    double cachedFactor = 0.0;
    // Sum of |element| in drawing units.
    double patternLength = 0.0;
    // 1 on construction; the hatch explosion clears it for patterns it does
    // not cut into dashes.
    int phaseTracking = 1;
    // 1 for styles defined by a caller through KXAttribLineStyle.
    std::uint8_t defined = 0;
    // The drawing resolution the file writer last stored the style for.
    double resolution = 0.0;

    static double SumOfMagnitudes(const std::vector<double>& values);
};
