// One drawn character of a text line: its code, the glyph instance it is
// drawn with (an index into the document's glyph store; -1 or an index
// beyond the store draws nothing) and the origin of its character box.
#pragma once

#include <cstdint>

#include "geom/CFltPoint.h"

struct CKXChar {
    std::uint32_t code = 0;
    std::int32_t instance = -1;
    CFltPoint position;
    std::int32_t qx = 0;  // quantised position
    std::int32_t qy = 0;
};
