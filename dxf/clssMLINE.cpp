#include "clssMLINE.h"

#include "clsLineRing.h"
#include "clsTranslator.h"

namespace kxdxf {
namespace {

constexpr int kMaxStylePairs = 10000;

}  // namespace

void clssMLINE::SetMLStyles(clsTranslator& tr)
{
    tr.utlLogMsg("<clssMLINE.SetMLStyles>:\t\tentered");
    scanned_ = true;
    clsDxfStream& in = tr.input();
    const std::size_t resume = in.tell();
    in.rewind();
    clsLineRing ring;
    std::string_view line;
    bool inObjects = false;
    while (tr.utlReadLine(line)) {
        ring.push(line);
        if (!inObjects)
            inObjects = ring.is("0", "SECTION", "2", "OBJECTS");
        else if (ring.previous() == "0" && ring.newest() == "MLINESTYLE")
            ReadMLStyle(tr);
    }
    in.seek(resume);
    tr.utlLogMsg("<clssMLINE.SetMLStyles>:\t\tnormal exit");
}

int clssMLINE::ReadMLStyle(clsTranslator& tr)
{
    tr.utlLogMsg("<clssMLINE.ReadMLStyle>:\t\tentered");
    clsKeyMap style;
    style.set("MKEY", "");
    clsDxfStream& in = tr.input();
    // Read line by line: a file that ends inside the OBJECTS section ends
    // the scan, not the read.
    for (int pairs = 0; pairs < kMaxStylePairs; ++pairs) {
        const std::size_t before = in.tell();
        std::string_view code;
        std::string_view value;
        if (!tr.utlReadLine(code))
            break;
        if (code == "0") {
            in.seek(before);
            break;
        }
        if (!tr.utlReadLine(value))
            break;
        style.addOccurrence(code, value);
    }
    const std::string* name = style.find("2.0");
    if (!name) {
        tr.logs().errMsg("clssMLINE::ReadMLStyle:\tNo value for mrkr <2.0> (Mline style name)");
        return 0;
    }
    const std::string key = *name;
    styles_[key] = std::move(style);
    tr.utlLogMsg("<clssMLINE.ReadMLStyle>:\t\tnormal exit");
    return 1;
}

const std::string* clssMLINE::GetStyle(clsTranslator& tr, const std::string& name, std::string_view key)
{
    tr.utlLogMsg("<clssMLINE.GetStyle>:\t\tentered");
    if (!scanned_)
        SetMLStyles(tr);
    const auto style = styles_.find(name);
    if (style == styles_.end())
        return nullptr;
    const std::string* value = style->second.find(key);
    if (value)
        tr.utlLogMsg("<clssMLINE.GetStyle>:\t\tnormal exit");
    return value;
}

void clssMLINE::dbgShowMLSTYLE(clsTranslator& tr) const
{
    tr.utlLogMsg("<clssMLINE.dbgShowMLSTYLE>:\t\tentered");
    for (const auto& [name, style] : styles_) {
        tr.utlLogMsg("========================");
        tr.logs().logMsg("MLSTYLE START:\t\t<%s>", name.c_str());
        utlDumpKeyMap(tr.logs(), style);
        tr.logs().logMsg("MLSTYLE END:\t\t<%s>", name.c_str());
        tr.utlLogMsg("========================");
    }
    tr.utlLogMsg("<clssMLINE.dbgShowMLSTYLE>:\t\tnormal exit");
}

void clssMLINE::clear()
{
    styles_.clear();
    scanned_ = false;
}

}  // namespace kxdxf
