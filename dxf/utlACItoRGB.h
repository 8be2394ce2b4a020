// The AutoCAD colour index palette.
#ifndef KXDXF_UTLACITORGB_H
#define KXDXF_UTLACITORGB_H

#include <kxplatform/wintypes.h>

namespace kxdxf {

// 0x00BBGGRR value of a colour index 1..255 (other indices give black).
COLORREF utlACItoRGB(int aci);

}  // namespace kxdxf

#endif
