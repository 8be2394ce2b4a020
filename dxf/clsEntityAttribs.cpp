#include "clsEntityAttribs.h"

#include <cstring>
#include <string>

#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

const std::string kUnitScale = "1.0";
// In a block, what is drawn on layer "0" by layer takes the colour of the
// block reference instead.
constexpr const char* kBlockNeutralLayer = "0";

}  // namespace

void clsEntityAttribs::setEntityAttribs(clsTranslator& tr, const clssENTITY& entity)
{
    set(tr, entity, false);
}

void clsEntityAttribs::setEntityAttribsMKey(clsTranslator& tr, const clssENTITY& entity)
{
    set(tr, entity, true);
}

void clsEntityAttribs::set(clsTranslator& tr, const clssENTITY& entity, bool multi)
{
    tagKXAttrib attrib{};
    attrib.layer = tr.tables().GetLayerInd(tr, entity.layerName());

    const std::string* aci = entity.find(multi ? "62.0" : "62");
    attrib.color = aci ? tr.utlColorACItoKXColor(utlAtoi(aci->c_str())) : KX_BYLAYER;
    if (attrib.color == KX_BYLAYER && tr.currentSection() == kSectionBlocks &&
        entity.layerName() == kBlockNeutralLayer)
        attrib.color = KX_BYBLOCK;

    const std::string* scale = entity.find(multi ? "48.0" : "48");
    const std::string* linetype = entity.find(multi ? "6.0" : "6");
    attrib.lineStyle = linetype
                           ? tr.tables().GetLinetypeIndWithScale(tr, *linetype, scale ? *scale : kUnitScale)
                           : KX_BYLAYER;

    const std::string* lineweight = entity.find(multi ? "370.0" : "370");
    attrib.lineWeight = lineweight ? utlLineweightToWidth(utlAtol(lineweight->c_str())) : KX_BYLAYER;
    attrib.flags = 0;

    tr.currentAttrib() = attrib;
    tr.api().AttribSet(tr.doc(), &attrib);
}

void clsEntityAttribs::utlSetLineWidth(clsTranslator& tr, double startWidth, double endWidth)
{
    tr.utlLogMsg("<utlSetLineWidth>:\t\tentered");
    tagKXAttrib attrib = tr.currentAttrib();
    const float width = static_cast<float>((startWidth + endWidth) * 0.5);
    static_assert(sizeof width == sizeof attrib.lineWeight, "weight field carries float bits");
    std::memcpy(&attrib.lineWeight, &width, sizeof width);
    attrib.flags = KXATTRIB_FLOAT_WEIGHT;
    tr.api().AttribSet(tr.doc(), &attrib);
    tr.utlLogMsg("<utlSetLineWidth>:\t\tnormal exit");
}

}  // namespace kxdxf
