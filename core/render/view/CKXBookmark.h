// A named drawing area of a view.
#pragma once

#include <string>

#include "geom/CFltExtents.h"

struct CKXBookmark {
    std::string name;
    CFltExtents extents;
};
