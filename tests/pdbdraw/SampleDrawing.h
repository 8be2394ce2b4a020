// A small document with every kind of record the writer stores: lines,
// polylines and dots, circles, arcs, ellipses, elliptic arcs, text, a
// dashed line style, colours, weights, a hidden layer and an exploded block
// reference; written to a drawing file.
#pragma once

#include <korvex/kxcore.h>

#include <cmath>
#include <string>

namespace pdbdrawtest {

inline void SampleContent(KXDOC doc) {
    const double pi = 3.141592653589793;
    tagKXLayer shown{"walls", 1, 0, KXAttribColor(doc, RGB(200, 0, 0)), KX_CONTINUOUS, 1, 0};
    tagKXLayer hidden{"hidden", 0, 0, KXAttribColor(doc, RGB(0, 0, 200)), KX_CONTINUOUS, 1, 0};
    const int walls = KXAttribLayer(doc, &shown);
    const int secret = KXAttribLayer(doc, &hidden);
    const double dashes[] = {4.0, -2.0, 0.0, -2.0};
    const tagKXLineStyle dashed{1, 4, dashes};
    const int style = KXAttribLineStyle(doc, &dashed);

    tagKXAttrib a{walls, KX_BYLAYER, KX_CONTINUOUS, 1, 0};
    KXAttribSet(doc, &a);
    for (int i = 0; i < 10; ++i) {
        const double s[2] = {0.0, i * 10.0}, e[2] = {200.0, i * 10.0 + 5.0};
        KXAddLine(doc, s, e, nullptr, nullptr);
    }
    const KXPoint zigzag[] = {{0, 120}, {20, 140}, {40, 120}, {60, 140}, {80, 120}};
    KXAddPolyline(doc, zigzag, 5, nullptr, nullptr);
    const KXPoint dot[] = {{90, 130}};
    KXAddPolyline(doc, dot, 1, nullptr, nullptr);

    tagKXAttrib blue{0, KXAttribColor(doc, RGB(0, 0, 255)), 0, -100 - 30, 0};
    KXAttribSet(doc, &blue);
    const double c1[2] = {150, 150}, c2[2] = {40, 180};
    KXAddCircle(doc, c1, 40.0, nullptr, nullptr);
    KXAddCircle(doc, c2, 1.5, nullptr, nullptr);
    KXAddArc(doc, c2, 20.0, 0.3, 2.5, nullptr, nullptr);
    KXAddArc(doc, c1, 25.0, 5.5, 0.5, nullptr, nullptr);
    const double axis[2] = {30.0, 10.0};
    KXAddEllipse(doc, c1, axis, 0.4, nullptr, nullptr);
    KXAddEllipticArc(doc, c2, axis, 0.5, 1.0, 4.0, nullptr, nullptr);

    tagKXAttrib dashedAttrib{0, 0, style, 1, 0};
    KXAttribSet(doc, &dashedAttrib);
    for (int i = 0; i < 4; ++i) {
        const double s[2] = {0.0, 200.0 + i * 8.0}, e[2] = {180.0, 230.0 + i * 8.0};
        KXAddLine(doc, s, e, nullptr, nullptr);
    }
    const double dc[2] = {60, 60};
    KXAddCircle(doc, dc, 30.0, nullptr, nullptr);

    tagKXAttrib solid{0, 0, KX_CONTINUOUS, 1, 0};
    KXAttribSet(doc, &solid);
    tagKXText text{};
    text.height = 8.0;
    text.widthFactor = 0.8;
    text.x = 10.0;
    text.y = 250.0;
    KXAddText(doc, "Korvex 0123 ABC xyz", &text);
    text.angle = pi / 6.0;
    text.y = 270.0;
    KXAddText(doc, "turned", &text);

    tagKXBlockDef def{};
    std::snprintf(def.name, sizeof def.name, "%s", "door");
    KXStartBlock(doc, &def);
    const double b0[2] = {0, 0}, b1[2] = {10, 0}, bc[2] = {0, 0};
    KXAddLine(doc, b0, b1, nullptr, nullptr);
    KXAddArc(doc, bc, 10.0, 0.0, pi / 2.0, nullptr, nullptr);
    KXEndBlock(doc);
    for (int i = 0; i < 3; ++i) {
        const tagKXInsert at{220.0, 20.0 + 40.0 * i, i * pi / 4.0, 1.5, 1.5};
        KXInsertBlockStr(doc, "door", &at, nullptr);
    }

    tagKXAttrib hiddenAttrib{secret, KX_BYLAYER, 0, 0, 0};
    KXAttribSet(doc, &hiddenAttrib);
    const double h0[2] = {0, 0}, h1[2] = {250, 280};
    KXAddLine(doc, h0, h1, nullptr, nullptr);
    tagKXAttrib back{walls, 0, 0, 0, 0};
    KXAttribSet(doc, &back);
    const double v0[2] = {250, 0}, v1[2] = {250, 280};
    KXAddLine(doc, v0, v1, nullptr, nullptr);
}

// Builds, finishes and writes the sample; the document stays open for
// drawing. Null when any step fails.
inline KXDOC WriteSample(const std::string& path) {
    KXDOC doc = KXCreateDocInstance();
    if (doc == nullptr) return nullptr;
    SampleContent(doc);
    if (KXClose(doc, 0) == 0 || KXWrite(doc, path.c_str()) == 0) {
        KXDeleteDocInstance(doc);
        return nullptr;
    }
    return doc;
}

}  // namespace pdbdrawtest
