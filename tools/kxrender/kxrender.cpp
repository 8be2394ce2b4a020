// kxrender INPUT OUTPUT.(png|svg) [options]: what the engine made of a
// drawing, or what a drawing file holds, as a picture.
#include <korvex/kxcore.h>
#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "CKXDoc.h"
#include "CKXPdbDrawing.h"
#include "CKXPdbPainter.h"
#include "CKXRenderOptions.h"
#include "KXAntiAlias.h"

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

// The device context of the picture and the window it shows; an
// anti-aliased picture is drawn at scale times its size.
struct Picture {
    HDC dc = nullptr;
    int width = 0;
    int height = 0;
    int scale = 1;
    CFltExtents window;
    RECT DrawRect() const { return RECT{0, 0, width * scale, height * scale}; }
};

bool MakePicture(const CKXRenderOptions& options, const CFltExtents& extents, Picture& picture) {
    picture.window = WithMargin(extents);
    if (options.window) {
        const auto& w = *options.window;
        picture.window = CFltExtents(w[0], w[1], w[2], w[3]);
    }
    picture.width = options.width;
    picture.height = options.height;
    if (picture.width == 0 || picture.height == 0) FitSize(picture.window, options.side, picture.width, picture.height);
    const bool png = options.format == CKXRenderOptions::Format::Png;
    if (png && options.antiAlias) picture.scale = kAntiAliasFactor;
    picture.dc = png ? KXCreateRasterDC(picture.width * picture.scale, picture.height * picture.scale,
                                        options.background)
                     : KXCreateSvgDC(picture.width, picture.height, options.background);
    if (picture.dc == nullptr)
        std::cerr << "kxrender: cannot make a " << picture.width << " x " << picture.height << " picture\n";
    return picture.dc != nullptr;
}

int SavePicture(const CKXRenderOptions& options, Picture& picture, std::size_t entities) {
    if (picture.scale > 1) {
        HDC reduced = KXAntiAliased(picture.dc, picture.width, picture.height, picture.scale, options.background);
        DeleteDC(picture.dc);
        picture.dc = reduced;
    }
    const bool saved = picture.dc != nullptr && KXSaveDC(picture.dc, options.output.c_str()) != 0;
    if (picture.dc != nullptr) DeleteDC(picture.dc);
    if (!saved) {
        std::cerr << "kxrender: cannot write " << options.output << "\n";
        return kWriteFailed;
    }
    std::cout << options.input << " -> " << options.output << " (" << picture.width << " x " << picture.height
              << " px, " << entities << " entities)\n";
    return kOk;
}

int RenderDocument(const CKXRenderOptions& options) {
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
    if (doc.GetCount() == 0) std::cerr << "kxrender: warning: the drawing is empty\n";

    Picture picture;
    if (!MakePicture(options, doc.GetExtents(), picture)) {
        KXDeleteDocInstance(handle);
        return kWriteFailed;
    }
    const CFltExtents& w = picture.window;
    const KXDrawRequest request{0, picture.DrawRect(), w.xmin, w.ymin, w.xmax, w.ymax, picture.dc};
    KXDraw(handle, &request);
    const auto entities = static_cast<std::size_t>(doc.GetCount());
    KXDeleteDocInstance(handle);
    return SavePicture(options, picture, entities);
}

// A drawing file is drawn from its records alone, without the engine.
int RenderDrawingFile(const CKXRenderOptions& options) {
    std::string error;
    // Drawn at once: the file is read in place.
    const std::unique_ptr<CKXPdbDrawing> drawing =
        CKXPdbDrawing::Open(options.input, error, CKXPdbDrawing::Hold::InPlace);
    if (!drawing) {
        std::cerr << "kxrender: cannot read " << options.input << ": " << error << "\n";
        return kReadFailed;
    }
    const KXPdbDrawingInfo& info = drawing->Info();
    Picture picture;
    if (!MakePicture(options, CFltExtents(info.minX, info.minY, info.maxX, info.maxY), picture)) return kWriteFailed;
    CKXPdbPainter painter(*drawing);
    painter.SetDisplayMode(options.displayMode);
    painter.SetBackground(options.background);
    const CFltExtents& w = picture.window;
    try {
        painter.Draw(picture.dc, picture.DrawRect(), w.xmin, w.ymin, w.xmax, w.ymax);
    } catch (const KXPdbViolation& violation) {
        // Records checked on loading no longer read as they did.
        std::cerr << "kxrender: " << options.input << " changed while it was drawn: " << violation.what() << "\n";
        DeleteDC(picture.dc);
        return kReadFailed;
    }
    return SavePicture(options, picture, drawing->EntityCount());
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
    return options.drawingFile ? RenderDrawingFile(options) : RenderDocument(options);
}
