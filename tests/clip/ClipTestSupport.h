// Regions and documents for the clip tests, and ways to look at pieces.
#pragma once

#include <korvex/kxcore.h>

#include <cmath>
#include <memory>
#include <vector>

#include "CKXDoc.h"
#include "CKXLine.h"
#include "CKXPolyline.h"
#include "render/clip/CKXClip.h"
#include "render/clip/CKXClipRgn.h"

namespace cliptest {

inline std::unique_ptr<CKXClipRgn> Region(std::vector<std::vector<CFltPoint>> contours, double scale = 1000.0) {
    auto region = std::make_unique<CKXClipRgn>();
    for (auto& c : contours) region->AddContour(std::make_unique<CKXPolyline>(std::move(c)));
    region->Quantise(scale, {-100.0, -100.0});
    return region;
}

inline std::vector<CFltPoint> Square(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};
}

struct Piece {
    CFltPoint a, b;
};

inline std::vector<Piece> ClipLine(CKXClipRgn& region, CFltPoint a, CFltPoint b, bool startsOutside = false) {
    CKXClip clip(region, startsOutside);
    std::vector<std::unique_ptr<CKXLine>> out;
    clip.Clip(CKXLine(a, b), out);
    std::vector<Piece> pieces;
    for (const auto& l : out) pieces.push_back({l->GetStart(), l->GetEnd()});
    return pieces;
}

inline double Length(const Piece& p) { return std::hypot(p.b.x - p.a.x, p.b.y - p.a.y); }

inline double TotalLength(const std::vector<Piece>& pieces) {
    double total = 0.0;
    for (const Piece& p : pieces) total += Length(p);
    return total;
}

// A document handle that is deleted with the test.
struct Doc {
    KXDOC handle = KXCreateDocInstance();
    ~Doc() { KXDeleteDocInstance(handle); }
    CKXDoc& operator*() const { return *static_cast<CKXDoc*>(handle); }
    operator KXDOC() const { return handle; }
};

inline int RegionOf(KXDOC doc, const std::vector<std::vector<CFltPoint>>& contours) {
    const int id = KXClipRgnCreate(doc);
    for (const auto& c : contours) {
        std::vector<KXPoint> pts;
        for (const CFltPoint& p : c) pts.push_back({p.x, p.y});
        KXClipRgnAdd(doc, id, pts.data(), static_cast<int>(pts.size()));
    }
    return id;
}

// Lines of the document's stream.
inline std::vector<const CKXLine*> Lines(const CKXDoc& doc) {
    std::vector<const CKXLine*> out;
    for (const KXEntPtr& e : doc.GetEntList())
        if (e->GetType() == KXENT_LINE) out.push_back(static_cast<const CKXLine*>(e.get()));
    return out;
}

inline int CountOfType(const CKXDoc& doc, int type) {
    int n = 0;
    for (const KXEntPtr& e : doc.GetEntList())
        if (e->GetType() == type) ++n;
    return n;
}

}  // namespace cliptest
