// Feeds arbitrary bytes to the whole DXF translator (line-end detection,
// section search, HEADER, TABLES, entity readers) against an engine that
// accepts every call and keeps nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "clsEngineApi.h"
#include "clsTranslator.h"

namespace {

using namespace kxdxf;

int addLayout(KXDOC, const char*) { return 1; }
int getCurrentLayout(KXDOC) { return 0; }
void setCurrentLayout(KXDOC, int) {}
void addProperty(KXDOC, const char*, const char*) {}
int attribColor(KXDOC, COLORREF) { return 1; }
int attribLineStyle(KXDOC, const tagKXLineStyle* style)
{
    // Touch every element so that a bad count shows up under ASan.
    double sum = 0;
    for (int i = 0; i < style->count && style->elements; ++i)
        sum += style->elements[i];
    return sum == 12345.678 ? 2 : 1;
}
int attribLayer(KXDOC, const tagKXLayer*) { return 1; }
int attribSet(KXDOC, tagKXAttrib*) { return 1; }
int addLine(KXDOC, const double*, const double*, const tagKXEntAttrib*, const double*) { return 1; }
int addPolyline(KXDOC, const KXPoint*, int, const tagKXEntAttrib*, const double*) { return 1; }
int addCircle(KXDOC, const double*, double, const tagKXEntAttrib*, const double*) { return 1; }
int addEllipse(KXDOC, const double*, const double*, double, const tagKXEntAttrib*, const double*) { return 1; }
int addArc(KXDOC, const double*, double, double, double, const tagKXEntAttrib*, const double*) { return 1; }
int addEllipticArc(KXDOC, const double*, const double*, double, double, double, const tagKXEntAttrib*,
                   const double*)
{
    return 1;
}
int addSpline(KXDOC, int, KXPoint*, int, const double*, int, const double*, int, const tagKXEntAttrib*,
              const double*)
{
    return 1;
}
int gDepth = 0;
void push(KXDOC, const double*) { ++gDepth; }
void pop(KXDOC)
{
    if (--gDepth < 0)
        std::abort();  // pushes and pops must balance
}

// Paths and hatches: the point and knot arrays are read through, so that
// a bad count shows up under ASan.
double touch(const KXPoint* points, int count)
{
    double sum = 0;
    for (int i = 0; i < count && points; ++i)
        sum += points[i].x + points[i].y;
    return sum;
}
int clipRgnCreate(KXDOC) { return 1; }
int clipRgnAddPath(KXDOC, int, int) { return 1; }
int clipRgnSet(KXDOC, int, int) { return 1; }
int createPath(KXDOC) { return 1; }
int pathAddPolyline(KXDOC, int, const KXPoint* points, int count, const double*)
{
    return touch(points, count) == 12345.678 ? 0 : 1;
}
int pathAddCircleArc(KXDOC, int, const double*, double, double, double, int, const double*) { return 1; }
int pathAddEllipticArc(KXDOC, int, const double*, const double*, double, double, double, int, const double*)
{
    return 1;
}
int pathAddSpline(KXDOC, int, int, KXPoint* controls, int count, const double* knots, int knotCount,
                  const double* weights, int, const double*)
{
    double sum = touch(controls, count);
    for (int i = 0; i < knotCount && knots; ++i)
        sum += knots[i];
    for (int i = 0; i < count && weights; ++i)
        sum += weights[i];
    return sum == 12345.678 ? 0 : 1;
}
int gHatch = 0;
KXHATCH hatchCreate(KXDOC) { return &gHatch; }
int hatchCreatePattern(KXDOC, const KXPatternRecord*) { return 1; }
int hatchAddPattern(KXDOC, KXHATCH, int) { return 1; }
int hatchSetClipRgn(KXDOC, KXHATCH, int) { return 1; }
int gBlockDepth = 0;
// Definitions do not nest: one started inside another is refused.
int startBlock(KXDOC, const tagKXBlockDef*)
{
    if (gBlockDepth > 0)
        return 0;
    gBlockDepth = 1;
    return 1;
}
int endBlock(KXDOC)
{
    const int ended = gBlockDepth;
    gBlockDepth = 0;
    return ended;
}
int insertBlockStr(KXDOC, const char* name, const tagKXInsert*, const double*) { return name ? 1 : 0; }
KXTextExtents addText(KXDOC, const char* text, const tagKXText* params)
{
    const double width = static_cast<double>(std::strlen(text)) * params->height;
    return KXTextExtents{params->x, params->y, params->x + width, params->y + params->height};
}

const clsEngineApi kNullEngine{
    addLayout, getCurrentLayout, setCurrentLayout, addProperty, attribColor, attribLineStyle,
    attribLayer, attribSet, addLine, addPolyline, addCircle, addEllipse, addArc, addEllipticArc,
    addSpline, push, pop,
    clipRgnCreate, clipRgnAddPath, clipRgnSet, createPath, pathAddPolyline, pathAddCircleArc,
    pathAddEllipticArc, pathAddSpline, hatchCreate, hatchCreatePattern, hatchAddPattern, hatchSetClipRgn,
    startBlock, endBlock, insertBlockStr, addText,
};

std::string gInputPath;

void setUpOnce()
{
    if (!gInputPath.empty())
        return;
    char dir[] = "/tmp/dxf-fuzz-XXXXXX";
    if (!::mkdtemp(dir))
        std::abort();
    ::setenv("TMPDIR", dir, 1);
    gInputPath = std::string(dir) + "/input.dxf";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    setUpOnce();
    FILE* file = std::fopen(gInputPath.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    gDepth = 0;
    gBlockDepth = 0;
    clsTranslator translator(kNullEngine, nullptr);
    translator.read(gInputPath.c_str());
    if (gDepth != 0)
        std::abort();
    return 0;
}
