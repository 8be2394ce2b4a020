#include "rdDrEntMline.h"

#include <cmath>
#include <vector>

#include "clsTranslator.h"
#include "clssENTITY.h"
#include "clssTABLES.h"
#include "utlEntityKeys.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr double kVertical = 1e-13;
constexpr int kMlineClosed = 2;
const std::string kUnitScale = "1.0";
const std::string kByLayer = "BYLAYER";

struct Vector {
    double x;
    double y;
};

struct MlineVertex {
    Vector position;
    Vector segment;
    Vector mitre;
};

// One real of vertex i; every one of the nine is required.
double vertexValue(clsTranslator& tr, const clssENTITY& entity, const char* code, long i)
{
    const std::string* text = entity.find(utlIndexedKey(code, i).view());
    if (!text)
        utlSkipEntity(tr, "rdDrEntMLINE:\tNo value for Group Code <%s>, i=<%ld>\n", code, i);
    return utlAtof(text->c_str());
}

MlineVertex readVertex(clsTranslator& tr, const clssENTITY& entity, long i)
{
    MlineVertex v{};
    v.position = {vertexValue(tr, entity, "11", i), vertexValue(tr, entity, "21", i)};
    vertexValue(tr, entity, "31", i);
    v.segment = {vertexValue(tr, entity, "12", i), vertexValue(tr, entity, "22", i)};
    vertexValue(tr, entity, "32", i);
    v.mitre = {vertexValue(tr, entity, "13", i), vertexValue(tr, entity, "23", i)};
    vertexValue(tr, entity, "33", i);
    return v;
}

// The attributes of element e: colour and linetype from the style, layer
// and lineweight from the entity.
void setElementAttribs(clsTranslator& tr, const clssENTITY& entity, const std::string& style, int e)
{
    clssMLINE& styles = tr.mlineStyles();
    tagKXAttrib attrib{};
    attrib.layer = tr.tables().GetLayerInd(tr, entity.layerName());
    const std::string* aci = styles.GetStyle(tr, style, utlIndexedKey("62", e + 1L).view());
    attrib.color = aci ? tr.utlColorACItoKXColor(utlAtoi(aci->c_str())) : KX_BYLAYER;
    const std::string* linetype = styles.GetStyle(tr, style, utlIndexedKey("6", e).view());
    const std::string* scale = entity.find("48.0");
    attrib.lineStyle =
        tr.tables().GetLinetypeIndWithScale(tr, linetype ? *linetype : kByLayer, scale ? *scale : kUnitScale);
    const std::string* lineweight = entity.find("370.0");
    attrib.lineWeight = lineweight ? utlLineweightToWidth(utlAtol(lineweight->c_str())) : KX_BYLAYER;
    attrib.flags = 0;
    tr.currentAttrib() = attrib;
    tr.api().AttribSet(tr.doc(), &attrib);
}

// The path of an element diff away from element 0.
void offsetPath(
    clsTranslator& tr, const std::vector<MlineVertex>& vertices, double diff, std::vector<KXPoint>& path)
{
    const MlineVertex& v0 = vertices.front();
    const double k = -(v0.segment.x * v0.mitre.x + v0.segment.y * v0.mitre.y);
    double q = std::sqrt(1.0 - k * k);
    if (!(q > 0.0))
        q = 1.0;  // a mitre along the segment: taken as square to it
    path.front() = KXPoint{v0.position.x + diff * v0.mitre.x / q, v0.position.y + diff * v0.mitre.y / q};
    for (std::size_t j = 1; j < vertices.size(); ++j) {
        const MlineVertex& previous = vertices[j - 1];
        const MlineVertex& v = vertices[j];
        double x = 0.0;
        double y = 0.0;
        utlCalcIntersection(tr, path[j - 1].x, path[j - 1].y, previous.position.x - v.position.x,
            previous.position.y - v.position.y, v.position.x, v.position.y, v.mitre.x, v.mitre.y, x, y);
        if (!std::isfinite(x) || !std::isfinite(y)) {
            // A segment along its own mitre: the vertex moved by the offset.
            x = v.position.x + diff * v.mitre.x;
            y = v.position.y + diff * v.mitre.y;
        }
        path[j] = KXPoint{x, y};
    }
}

}  // namespace

void utlCalcIntersection(clsTranslator& tr, double x1, double y1, double dx1, double dy1, double x2,
    double y2, double dx2, double dy2, double& x, double& y)
{
    tr.utlLogMsg("<utlCalcIntersection>:\t\tentered");
    const double l = dy2 / dx2;
    if (std::fabs(dx1) < kVertical) {
        x = x1;
        y = y2 + (x1 - x2) * l;
    } else {
        const double t = dy1 / dx1;
        if (std::fabs(dx2) < kVertical) {
            x = x2;
            y = y1 + (x2 - x1) * t;
        } else {
            x = (y2 - x2 * l - (y1 - x1 * t)) / (t - l);
            y = y1 - x1 * t + t * x;
        }
    }
    tr.utlLogMsg("<utlCalcIntersection>:\t\tnormal exit");
}

int rdDrEntMLINE(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntMLINE>:\t\tentered");
    const long count = utlAtoi(utlRequiredKey(
        tr, entity, "11", "rdDrEntMLINE:\tNo value for Group Code <11> number of vertices read\n")
                                   .c_str());
    const int declared = utlAtoi(utlRequiredKey(
        tr, entity, "72.0", "rdDrEntMLINE:\tNo value for Group Code <72.0> number of vertices\n")
                                     .c_str());
    if (count != declared)
        utlSkipEntity(tr,
            "rdDrEntMLINE:\tNumber of verticies read <%ld> not equals that specified under Group Code "
            "72 <%d>)\n",
            count, declared);
    std::vector<MlineVertex> vertices;
    for (long i = 0; i < count; ++i)
        vertices.push_back(readVertex(tr, entity, i));
    const int flags = utlAtoi(utlRequiredKey(tr, entity, "71.0",
        "rdDrEntMLINE:\tNo value for Group Code <71.0> (Bit-coded flag: if "
        "line closed etc)\n")
                                  .c_str());
    if ((flags & kMlineClosed) != 0 && !vertices.empty())
        vertices.push_back(vertices.front());

    const std::string& style = utlRequiredKey(
        tr, entity, "2.0", "rdDrEntMLINE:\tNo value for Group Code <2.0> (Mline Style Name)\n");
    tr.logs().logMsg("<rdDrEntMLINE>\tczMLineStyleNm:\t<%s>", style.c_str());
    clssMLINE& styles = tr.mlineStyles();
    const std::string* elementsText = styles.GetStyle(tr, style, "71.0");
    if (!elementsText)
        utlSkipEntity(tr,
            "rdDrEntMLINE:\tNo value for mrkr <71.0> returned (Number of elements, "
            "mstsMlinestyle)\n");
    const int elements = utlAtoi(elementsText->c_str());
    styles.dbgShowMLSTYLE(tr);
    const int entityElements = utlAtoi(utlRequiredKey(
        tr, entity, "73.0", "rdDrEntMLINE:\tNo value for Group Code <73.0> (Number of elements, MLINE)\n")
                                           .c_str());
    if (elements != entityElements)
        utlSkipEntity(tr,
            "rdDrEntMLINE:\tNumber of elemest defined in mstsMlinestyle (%d) != that in MLINE (%d)\n",
            elements, entityElements);
    tr.logs().logMsg("<rdDrEntMLINE>\tiNumOfElements:\t<%d>", elements);

    // Every offset is looked up before anything is drawn, so that an
    // MLINE left out for a missing one leaves nothing behind.
    std::vector<double> offsets;
    for (int e = 0; e < elements; ++e) {
        const utlIndexedKey key("49", e);
        const std::string* offset = styles.GetStyle(tr, style, key.view());
        if (!offset)
            utlSkipEntity(
                tr, "rdDrEntMLINE:\tNo value for mrkr <%s> returned (offset <%d>)\n", key.c_str(), e);
        offsets.push_back(utlAtof(offset->c_str()));
    }

    std::vector<KXPoint> path;
    for (const MlineVertex& v : vertices)
        path.push_back(KXPoint{v.position.x, v.position.y});
    const int pathCount = static_cast<int>(path.size());
    for (int e = 0; e < elements && !vertices.empty(); ++e) {
        if (e > 0)
            offsetPath(tr, vertices, offsets[static_cast<std::size_t>(e)] - offsets[0], path);
        setElementAttribs(tr, entity, style, e);
        tr.api().AddPolyline(tr.doc(), path.data(), pathCount, nullptr, nullptr);
    }
    tr.utlLogMsg("<rdDrEntMLINE>:\t\texitting");
    return 1;
}

}  // namespace kxdxf
