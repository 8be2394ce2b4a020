// kxrender INPUT OUTPUT.(png|svg) [options]: what the engine made of a
// drawing, as a picture.
#include <korvex/kxcore.h>
#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "CKXDoc.h"
#include "CKXRenderOptions.h"

namespace {

// Room around the drawing so that strokes on its edges stay in the picture.
constexpr double kMarginFraction = 0.01;

enum ExitCode { kOk = 0, kUsage = 1, kReadFailed = 2, kWriteFailed = 3 };

CFltExtents WithMargin(const CFltExtents& box) {
    const double margin = std::max(box.Width(), box.Height()) * kMarginFraction;
    return {box.xmin - margin, box.ymin - margin, box.xmax + margin, box.ymax + margin};
}

// The picture size that fits the window into side x side pixels.
void FitSize(const CFltExtents& window, int side, int& width, int& height) {
    const double w = window.Width(), h = window.Height();
    width = height = side;
    if (!(w > 0.0) || !(h > 0.0) || !std::isfinite(w / h)) return;
    if (w >= h)
        height = std::max(1, static_cast<int>(std::lround(side * h / w)));
    else
        width = std::max(1, static_cast<int>(std::lround(side * w / h)));
}

int Render(const CKXRenderOptions& options) {
    KXDOC handle = KXCreateDocInstance();
    if (handle == nullptr) {
        std::cerr << "kxrender: out of memory\n";
        return kReadFailed;
    }
    CKXDoc& doc = *static_cast<CKXDoc*>(handle);
    if (options.layout >= 0) KXSetCurrentLayout(handle, options.layout);
    if (KXRead(handle, options.input.c_str(), nullptr) == 0) {
        if (doc.GetCount() == 0) {
            std::cerr << "kxrender: cannot read " << options.input
                      << " (unknown extension, missing translator or unreadable file)\n";
            KXDeleteDocInstance(handle);
            return kReadFailed;
        }
        std::cerr << "kxrender: warning: the translator stopped early; drawing what was read\n";
    }
    KXClose(handle, 0);
    KXSetDisplayMode(handle, options.displayMode);
    KXSetBgColor(handle, options.background);

    CFltExtents window = WithMargin(doc.GetExtents());
    if (options.window) {
        const auto& w = *options.window;
        window = CFltExtents(w[0], w[1], w[2], w[3]);
    }
    if (doc.GetCount() == 0) std::cerr << "kxrender: warning: the drawing is empty\n";

    int width = options.width, height = options.height;
    if (width == 0 || height == 0) FitSize(window, options.side, width, height);
    HDC dc = options.format == CKXRenderOptions::Format::Png
                 ? KXCreateRasterDC(width, height, options.background)
                 : KXCreateSvgDC(width, height, options.background);
    if (dc == nullptr) {
        std::cerr << "kxrender: cannot make a " << width << " x " << height << " picture\n";
        KXDeleteDocInstance(handle);
        return kWriteFailed;
    }
    const KXDrawRequest request{0, RECT{0, 0, width, height}, window.xmin, window.ymin,
                                window.xmax, window.ymax, dc};
    KXDraw(handle, &request);
    const bool saved = KXSaveDC(dc, options.output.c_str()) != 0;
    DeleteDC(dc);
    const int entities = doc.GetCount();
    KXDeleteDocInstance(handle);
    if (!saved) {
        std::cerr << "kxrender: cannot write " << options.output << "\n";
        return kWriteFailed;
    }
    std::cout << options.input << " -> " << options.output << " (" << width << " x " << height
              << " px, " << entities << " entities)\n";
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    CKXRenderOptions options;
    std::string error;
    if (!options.Parse(argc, argv, error)) {
        std::cerr << "kxrender: " << error << "\n" << CKXRenderOptions::Usage();
        return kUsage;
    }
    if (options.versionRequested) {
        std::cout << "kxrender (Korvex) 1.0\n";
        return kOk;
    }
    if (options.helpRequested) {
        std::cout << CKXRenderOptions::Usage();
        return kOk;
    }
    return Render(options);
}
