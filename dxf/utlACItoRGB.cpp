#include "utlACItoRGB.h"

#include <algorithm>

namespace kxdxf {
namespace {

COLORREF fixedColor(int aci)
{
    switch (aci) {
    case 1: return 0x0000FF;
    case 2: return 0x00FFFF;
    case 3: return 0x00FF00;
    case 4: return 0xFFFF00;
    case 5: return 0xFF0000;
    case 6: return 0xFF00FF;
    case 8: return 0x808080;
    case 9: return 0xC0C0C0;
    case 250: return 0x333333;
    case 251: return 0x5B5B5B;
    case 252: return 0x848484;
    case 253: return 0xADADAD;
    case 254: return 0xD6D6D6;
    case 255: return 0xFFFFFF;
    default: return 0x000000;  // 7 and anything outside the palette
    }
}

// Indices 10..249: groups of ten around the hue circle, each group going
// from bright to dark in pairs of full and pale shades. Single precision
// throughout, as the palette was defined.
COLORREF computedColor(int aci)
{
    const int d = aci % 10;
    const float hue = static_cast<float>(aci - d - 10) * 1.5f;
    static constexpr float kBrightness[10] = {1.0f, 1.0f, 0.8f, 0.8f, 0.6f,
                                              0.6f, 0.5f, 0.5f, 0.3f, 0.3f};
    const float v = kBrightness[d];
    const float pale = (aci % 2 == 0) ? 1.0f : 0.5f;

    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    if (hue <= 120.0f) {
        r = (120.0f - hue) / 60.0f;
        g = hue / 60.0f;
    } else if (hue <= 240.0f) {
        g = (240.0f - hue) / 60.0f;
        b = (hue - 120.0f) / 60.0f;
    } else {
        r = (hue - 240.0f) / 60.0f;
        b = (360.0f - hue) / 60.0f;
    }
    r = std::min(r, 1.0f);
    g = std::min(g, 1.0f);
    b = std::min(b, 1.0f);
    const float m = std::max({r, g, b});
    auto channel = [&](float c) -> COLORREF {
        const float scaled = v * (m - pale * (m - c)) * 255.0f;
        return static_cast<COLORREF>(static_cast<int>(scaled)) & 0xFFu;
    };
    return channel(r) + 256u * channel(g) + 65536u * channel(b);
}

}  // namespace

COLORREF utlACItoRGB(int aci)
{
    if (aci >= 10 && aci <= 249)
        return computedColor(aci);
    return fixedColor(aci);
}

}  // namespace kxdxf
