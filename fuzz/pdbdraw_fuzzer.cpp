// libFuzzer target for the drawing file reader: any bytes are either
// refused with a message or loaded and drawn, in both curve modes, without
// a read outside the input.
#include <korvex/kxtypes.h>
#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CKXPdbDrawing.h"
#include "CKXPdbPainter.h"

namespace {

constexpr int kSide = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const std::unique_ptr<CKXPdbDrawing> drawing =
        CKXPdbDrawing::FromBytes(std::vector<std::uint8_t>(data, data + size), error);
    if (!drawing) return 0;
    const KXPdbDrawingInfo& info = drawing->Info();
    HDC dc = KXCreateRasterDC(kSide, kSide, 0xFFFFFF);
    for (int mode : {0, KX_DISPLAY_FINE_CURVES}) {
        CKXPdbPainter painter(*drawing);
        painter.SetDisplayMode(mode);
        painter.Draw(dc, RECT{0, 0, kSide, kSide}, info.minX, info.minY, info.maxX, info.maxY);
    }
    DeleteDC(dc);
    return 0;
}
