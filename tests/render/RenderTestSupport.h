// A small document built entity by entity, finished just enough to be drawn
// (extents and quadtree), and drawn into a recording context.
#pragma once

#include <korvex/kxtypes.h>
#include <kxplatform/GdiRecording.h>
#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CKXAttribSet.h"
#include "CKXDoc.h"
#include "render/CKXDocRenderer.h"

namespace rendertest {

using kxplatform::GdiCall;
using kxplatform::GdiOp;

struct Scene {
    CKXDoc doc;

    template <class T, class... Args>
    T& Add(Args&&... args) {
        auto entity = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *entity;
        doc.AddEnt(std::move(entity), true, nullptr);
        return ref;
    }

    int Layer(int state) {
        tagKXLayer layer{"layer", state, 0, 0, 0, 0, 0};
        return doc.Attribs().AddLayer(layer);
    }

    int Style(int kind, std::vector<double> elements) {
        return doc.Attribs().AddLineStyle(kind, static_cast<int>(elements.size()), elements.data());
    }

    void Attrib(int layer, int color, int lineStyle, int weight, double scale = 1.0) {
        const int id = doc.Attribs().FindOrAddRecord(CKXAttribute{layer, color, lineStyle, weight});
        doc.AddEnt(std::make_unique<CKXAttribSet>(id, scale), false, nullptr);
    }

    void Finish(const CFltExtents& extents) {
        doc.SetExtents(extents);
        doc.BuildTree();
        doc.SetClosed(true);
    }

    std::vector<GdiCall> Draw(const RECT& rect, const CFltExtents& window) {
        HDC dc = KXCreateRecordingDC();
        KXDrawRequest request{0, rect, window.xmin, window.ymin, window.xmax, window.ymax, dc};
        CKXDocRenderer(doc).DrawRequest(request);
        std::vector<GdiCall> calls = kxplatform::RecordedCalls(dc);
        DeleteDC(dc);
        return calls;
    }

    // 100 x 100 device units showing 0..100 in both axes: one unit each.
    std::vector<GdiCall> DrawUnit() {
        return Draw(RECT{0, 0, 100, 100}, CFltExtents(0, 0, 100, 100));
    }
};

inline std::vector<GdiCall> Only(const std::vector<GdiCall>& calls, GdiOp op) {
    std::vector<GdiCall> out;
    for (const GdiCall& c : calls)
        if (c.op == op) out.push_back(c);
    return out;
}

// The drawing calls as "M x y" / "L x y" text, for readable comparisons.
inline std::vector<std::string> Strokes(const std::vector<GdiCall>& calls) {
    std::vector<std::string> out;
    for (const GdiCall& c : calls) {
        if (c.op == GdiOp::MoveTo)
            out.push_back("M " + std::to_string(c.x) + " " + std::to_string(c.y));
        else if (c.op == GdiOp::LineTo)
            out.push_back("L " + std::to_string(c.x) + " " + std::to_string(c.y));
    }
    return out;
}

}  // namespace rendertest
