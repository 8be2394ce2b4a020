#include "clssTABLES.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "clsLineRing.h"
#include "clsTranslator.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr int kMaxPairsPerTable = 10000;
constexpr int kMaxPairsPerRecord = 1000;
constexpr int kDefaultLayerACI = 7;
constexpr int kDefaultLayerWidth = 1;
constexpr int kLayerVisible = 1;
constexpr int kLayerHidden = 0;
constexpr int kSolidLineStyleKind = 1;
constexpr const char* kDefaultLineStyleKey = "DEFAULT_CONTINUOUS";
constexpr const char* kLayerIndexKey = "KXLayerInd";
// Layer flags (group 70) that hide a layer: frozen, frozen in new
// viewports, locked.
constexpr int kHidingLayerFlags = 1 | 2 | 4;
// Lineweight factor: hundredths of a millimetre to pixels.
constexpr double kLineweightToPixels = 0.1574803149063;
constexpr long kLineweightByLayer = -1;
constexpr long kLineweightByBlock = -2;
constexpr long kLineweightDefault = -3;

std::string upperCase(const std::string& text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string decimal(long value)
{
    return std::to_string(value);
}

}  // namespace

int utlLineweightToWidth(long lineweight)
{
    switch (lineweight) {
    case kLineweightByLayer: return KX_BYLAYER;
    case kLineweightByBlock: return KX_BYBLOCK;
    case 0: return 1;
    case kLineweightDefault: return static_cast<int>(std::ceil(1.574803149063));
    default: return utlClampToInt(std::ceil(static_cast<double>(lineweight) * kLineweightToPixels));
    }
}

void clssTABLES::clear()
{
    layers_.clear();
    linetypes_.clear();
    lineStyleCache_.clear();
}

void clssTABLES::readTables(clsTranslator& tr)
{
    tr.utlLogMsg("<readTables>:\t\tentered");
    clsLineRing ring;
    std::string_view line;
    while (tr.utlReadLine(line)) {
        ring.push(line);
        if (ring.is("0", "TABLE", "2", "LAYER"))
            readSectionTABLES_LAYER(tr);
        else if (ring.is("0", "TABLE", "2", "LTYPE"))
            readSectionTABLES_LTYPE(tr);
        else if (ring.newest() == "ENDSEC" && ring.previous() == "0") {
            tr.utlLogMsg("<readTables>:\t\texitting (ENDSEC)");
            return;
        }
    }
}

int clssTABLES::readTable(clsTranslator& tr, std::string_view recordName,
                          void (clssTABLES::*readRecord)(clsTranslator&))
{
    for (int pair = 0; pair < kMaxPairsPerTable; ++pair) {
        std::string_view code;
        std::string_view value;
        tr.utlReadGrpCodeValue(code, value);
        if (code != "0")
            continue;
        if (value == "ENDTAB")
            return 1;
        if (value == recordName)
            (this->*readRecord)(tr);
    }
    return 0;
}

int clssTABLES::readSectionTABLES_LAYER(clsTranslator& tr)
{
    tr.utlLogMsg("<readSectionTABLES_LAYER>:\t\tentered");
    if (readTable(tr, "LAYER", &clssTABLES::readLAYER) == 0) {
        tr.logs().errMsg("<readSectionTABLES_LAYER>:\t\tnumber of individual layers in the TABLE section exceeded <%d>",
                         kMaxPairsPerTable);
        return 0;
    }
    tr.utlLogMsg("<readSectionTABLES_LAYER>:\t\tnormal exit");
    return 1;
}

int clssTABLES::readSectionTABLES_LTYPE(clsTranslator& tr)
{
    tr.utlLogMsg("<readSectionTABLES_LTYPE>:\t\tentered");
    if (readTable(tr, "LTYPE", &clssTABLES::readLTYPE) == 0)
        return 0;
    tr.utlLogMsg("<readSectionTABLES_LTYPE>:\t\tnormal exit");
    return 1;
}

int clssTABLES::readTableRecord(clsTranslator& tr, std::string_view recordName, clsKeyMap& record,
                                RecordKeys keys)
{
    clsDxfStream& in = tr.input();
    int stored = 0;
    while (stored < kMaxPairsPerRecord) {
        const std::size_t before = in.tell();
        std::string_view code;
        std::string_view value;
        tr.utlReadGrpCodeValue(code, value);
        if (code == "0" && (value == recordName || value == "ENDTAB")) {
            in.seek(before);
            break;
        }
        if (keys == RecordKeys::Single)
            record.set(code, value);
        else
            record.addOccurrence(code, value);
        ++stored;
    }
    return stored;
}

void clssTABLES::readLAYER(clsTranslator& tr)
{
    clsKeyMap record;
    const int stored = readTableRecord(tr, "LAYER", record, RecordKeys::Single);
    const std::string* name = record.find("2");
    if (!name)
        tr.utlFatal("readTableLAYER:\tNo value for mrkr <2> (LAYER NAME)\n");
    const std::string layerName = *name;
    SetLAYER(tr, layerName, std::move(record));
    if (stored == kMaxPairsPerRecord)
        tr.logs().errMsg("<readLAYER>:\t\tnumber of individual entries in a LAYER exceeded <%d>",
                         kMaxPairsPerRecord);
    tr.utlLogMsg("<readLAYER>:\t\tnormal exit");
}

void clssTABLES::readLTYPE(clsTranslator& tr)
{
    tr.utlLogMsg("<readLTYPE>:\t\tentered");
    clsKeyMap record;
    record.set("MKEY", "");
    readTableRecord(tr, "LTYPE", record, RecordKeys::Multi);
    const std::string* name = record.find("2.0");
    if (!name)
        tr.utlFatal("readTableLTYPE:\tNo value for mrkr <2.0> (LAYER NAME)\n");
    const std::string linetypeName = *name;
    linetypes_[linetypeName] = std::move(record);
    tr.utlLogMsg("<readLTYPE>:\t\tnormal exit");
}

const clsKeyMap* clssTABLES::findLayer(const std::string& name) const
{
    const auto it = layers_.find(name);
    return it == layers_.end() ? nullptr : &it->second;
}

int clssTABLES::registerLayer(clsTranslator& tr, const std::string& name, clsKeyMap& record,
                              int state, int color, int lineStyle, int width)
{
    const tagKXLayer layer{name.c_str(), state, 0, color, lineStyle, width, 0};
    const int index = tr.api().AttribLayer(tr.doc(), &layer);
    record.set(kLayerIndexKey, decimal(index));
    return index;
}

void clssTABLES::SetLAYER(clsTranslator& tr, const std::string& name, clsKeyMap record)
{
    tr.utlLogMsg("<clssTABLES.SetLAYER>:\t\tentered");
    clsKeyMap& stored = layers_[name] = std::move(record);

    const std::string* linetype = stored.find("6");
    const int lineStyle = linetype ? GetLinetypeIndWithScale(tr, *linetype, "1.0")
                                   : GetLinetypeIndDefault(tr);
    const int aci = GetLayerACI(tr, name);
    const int color = tr.utlColorACItoKXColor(aci);
    const int width = GetLineweight(tr, name);
    const std::string* flagsText = stored.find("70");
    const int flags = flagsText ? utlAtoi(flagsText->c_str()) : 0;
    const int state = (aci < 0 || (flags & kHidingLayerFlags) != 0) ? kLayerHidden : kLayerVisible;

    registerLayer(tr, name, stored, state, color, lineStyle, width);
    tr.utlLogMsg("<clssTABLES.SetLAYER>:\t\tnormal exit");
}

int clssTABLES::SetLAYERWithDefaultValues(clsTranslator& tr, const std::string& name)
{
    tr.utlLogMsg("<clssTABLES.SetLAYERWithDefaultValues>:\t\tentered");
    tr.logs().errMsg("Layer <%s> referred to but not defined in TABLES section, assigns default values",
                     name.c_str());
    clsKeyMap& record = layers_[name] = clsKeyMap();
    const int lineStyle = GetLinetypeIndDefault(tr);
    const int color = tr.utlColorACItoKXColor(kDefaultLayerACI);
    const int index = registerLayer(tr, name, record, kLayerVisible, color, lineStyle, kDefaultLayerWidth);
    tr.utlLogMsg("<clssTABLES.SetLAYERWithDefaultValues>:\t\tnormal exit");
    return index;
}

int clssTABLES::GetLayerInd(clsTranslator& tr, const std::string& name)
{
    if (const clsKeyMap* layer = findLayer(name)) {
        const std::string* index = layer->find(kLayerIndexKey);
        return index ? static_cast<int>(utlAtol(index->c_str())) : 0;
    }
    return SetLAYERWithDefaultValues(tr, name);
}

int clssTABLES::GetLayerACI(clsTranslator& tr, const std::string& name) const
{
    tr.utlLogMsg("<clssTABLES.GetLayerACI>:\t\tentered");
    const clsKeyMap* layer = findLayer(name);
    const std::string* aci = layer ? layer->find("62") : nullptr;
    if (aci) {
        tr.utlLogMsg("<clssTABLES.GetLayerACI>:\t\tnormal exit");
        return utlAtoi(aci->c_str());
    }
    tr.logs().logMsg("Layer <%s> not found, return defaul color", name.c_str());
    return kDefaultLayerACI;
}

int clssTABLES::GetLineweight(clsTranslator& tr, const std::string& name) const
{
    tr.utlLogMsg("<clssTABLES.GetLineweight>:\t\tentered");
    // R12 has no lineweights: every layer gets the default.
    const std::string* version = tr.header().find("$ACADVER.1");
    if (version && *version == "AC1009")
        return utlLineweightToWidth(kLineweightDefault);
    const clsKeyMap* layer = findLayer(name);
    if (!layer) {
        tr.logs().errMsg("Layer <%s> not found in the LAYER list. Lineweight is set to 1 pixel", name.c_str());
        return 1;
    }
    const std::string* weightText = layer->find("370");
    if (!weightText) {
        tr.logs().errMsg("Layer <%s> has no lineweight - group code 370. Lineweight is set to DEFAULT",
                         name.c_str());
        return utlLineweightToWidth(kLineweightDefault);
    }
    const long lineweight = utlAtol(weightText->c_str());
    if (lineweight < 0 && lineweight != kLineweightDefault) {
        tr.logs().errMsg("Layer <%s> has invlild lineweight of <%d>. Lineweight is set to 1 pixel",
                         name.c_str(), static_cast<int>(lineweight));
        return 1;
    }
    const int width = utlLineweightToWidth(lineweight);
    tr.utlLogMsg("<clssTABLES.GetLineweight>:\t\tnormal exit");
    return width;
}

int clssTABLES::GetLinetypeIndDefault(clsTranslator& tr)
{
    tr.utlLogMsg("<clssTABLES.GetLinetypeIndDefault>:\t\tentered");
    int index = 0;
    const auto cached = lineStyleCache_.find(kDefaultLineStyleKey);
    if (cached != lineStyleCache_.end()) {
        index = static_cast<int>(utlAtol(cached->second.c_str()));
    } else {
        const tagKXLineStyle solid{kSolidLineStyleKind, 0, nullptr};
        index = tr.api().AttribLineStyle(tr.doc(), &solid);
        lineStyleCache_[kDefaultLineStyleKey] = decimal(index);
    }
    tr.utlLogMsg("<clssTABLES.GetLinetypeIndDefault>:\t\tnormal exit");
    return index;
}

int clssTABLES::GetLinetypeIndWithScale(clsTranslator& tr, const std::string& name,
                                        const std::string& scale)
{
    tr.utlLogMsg("<clssTABLES.GetLinetypeIndWithScale>:\t\tentered");
    const std::string upper = upperCase(name);
    if (upper == "BYLAYER")
        return KX_BYLAYER;
    if (upper == "BYBLOCK")
        return KX_BYBLOCK;

    cacheKey_.assign(name).append(";").append(scale);
    const auto cached = lineStyleCache_.find(cacheKey_);
    if (cached != lineStyleCache_.end())
        return static_cast<int>(utlAtol(cached->second.c_str()));

    const auto linetype = linetypes_.find(name);
    const std::string* countText =
        linetype == linetypes_.end() ? nullptr : linetype->second.find("73.0");
    if (!countText)
        return GetLinetypeIndDefault(tr);

    // The element count is a byte: an absurd count cannot allocate much.
    const int count = utlAtoi(countText->c_str()) & 0xFF;
    const double factor = utlAtof(scale.c_str());
    std::vector<double> elements(static_cast<std::size_t>(count));
    std::string key;
    for (int i = 0; i < count; ++i) {
        key.assign("49.").append(decimal(i));
        const std::string* element = linetype->second.find(key);
        if (!element)
            return GetLinetypeIndDefault(tr);
        elements[static_cast<std::size_t>(i)] = utlAtof(element->c_str()) * factor;
    }
    const tagKXLineStyle style{kSolidLineStyleKind, count, elements.data()};
    const int index = tr.api().AttribLineStyle(tr.doc(), &style);
    lineStyleCache_[cacheKey_] = decimal(index);
    tr.utlLogMsg("<clssTABLES.GetLinetypeIndWithScale>:\t\tnormal exit");
    return index;
}

}  // namespace kxdxf
