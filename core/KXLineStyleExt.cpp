#include "KXLineStyleExt.h"

#include <cmath>

double KXLineStyleExt::SumOfMagnitudes(const std::vector<double>& values) {
    double total = 0.0;
    for (double v : values) total += std::fabs(v);
    return total;
}
