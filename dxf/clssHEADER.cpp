#include "clssHEADER.h"

#include "clsTranslator.h"
#include "utlDates.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr int kMaxHeaderPairs = 10000;

struct VersionName {
    const char* version;
    const char* text;
};

constexpr VersionName kVersionTexts[] = {
    {"AC1018", "AutoCAD 2004 DXF"},
    {"AC1015", "AutoCAD 2000 DXF"},
    {"AC1014", "AutoCAD R14/LT98/LT97 DXF"},
    {"AC1012", "AutoCAD R13/LT95 DXF"},
    {"AC1009", "AutoCAD R12/R11/LT2 DXF"},
    {"AC1006", "AutoCAD R10 DXF"},
};

}  // namespace

int clssHEADER::Read(clsTranslator& tr)
{
    tr.utlLogMsg("<clssHEADER.Read>:\t\tentered");
    vars_.clear();
    std::string variable;
    std::string key;
    for (int pair = 0; pair < kMaxHeaderPairs; ++pair) {
        std::string_view code;
        std::string_view value;
        tr.utlReadGrpCodeValue(code, value);
        if (code == "0" && value == "ENDSEC") {
            tr.utlLogMsg("<clssHEADER.Read>:\t\tnormal exit");
            return 1;
        }
        if (code == "9") {
            variable.assign(value);
            continue;
        }
        key.assign(variable).append(".").append(code);
        vars_[key].assign(value);
    }
    tr.utlLogMsg("<readSectionHEADER>:\t\tabnormal exit");
    return 0;
}

const std::string* clssHEADER::find(const std::string& key) const
{
    const auto it = vars_.find(key);
    return it == vars_.end() ? nullptr : &it->second;
}

const char* clssHEADER::versionText(const std::string& version, std::string& unknownText)
{
    for (const VersionName& entry : kVersionTexts) {
        if (version == entry.version)
            return entry.text;
    }
    if (version.empty())
        return "Version not specified under Group Code 1, $ACADVER variable";
    unknownText = "Unknown version <" + version + ">";
    return unknownText.c_str();
}

int clssHEADER::getDXFProperty(clsTranslator& tr, std::string& version) const
{
    const clsEngineApi& api = tr.api();
    KXDOC doc = tr.doc();
    tr.utlLogMsg("<getDXFProperty>:\t\tentered");
    api.AddProperty(doc, "DXF DRAWING PROPERTIES", "");

    const std::string* acadver = find("$ACADVER.1");
    if (!acadver)
        tr.logs().errMsg("TranslatorRead:\tNo value for <$ACADVER.1> (DXF version number)\n");
    version = acadver ? *acadver : std::string();
    std::string unknownText;
    const char* text = versionText(version, unknownText);
    tr.logs().logMsg("DXF VERSION: \t<%s> (%s)", version.c_str(), text);
    api.AddProperty(doc, "DXF Version", text);

    std::string out;
    if (const std::string* created = find("$TDCREATE.40"); created && utlJulianToText(*created, out))
        api.AddProperty(doc, "Local date/time of drawing creation (MM/DD/YYYY HH24:MI:SS)",
                        out.c_str());
    if (const std::string* updated = find("$TDUPDATE.40"); updated && utlJulianToText(*updated, out))
        api.AddProperty(doc, "Local date/time of last drawing update (MM/DD/YYYY HH24:MI:SS)",
                        out.c_str());
    if (const std::string* editing = find("$TDINDWG.40"); editing && utlDaysToText(*editing, out))
        api.AddProperty(doc, "Cumulative editing time for this drawing", out.c_str());
    if (const std::string* units = find("$MEASUREMENT.70")) {
        const int measurement = utlAtoi(units->c_str());
        if (measurement == 0)
            api.AddProperty(doc, "Drawing units", "English");
        else if (measurement == 1)
            api.AddProperty(doc, "Drawing units", "Metric");
    }
    tr.utlLogMsg("<getDXFProperty>:\texitting");
    return 1;
}

}  // namespace kxdxf
