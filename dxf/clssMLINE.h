// The multiline styles of the OBJECTS section (MLINESTYLE objects), found
// by a scan of the file the first time an MLINE asks for one.
#ifndef KXDXF_CLSSMLINE_H
#define KXDXF_CLSSMLINE_H

#include <map>
#include <string>
#include <string_view>

#include "clsKeyMap.h"

namespace kxdxf {

class clsTranslator;

class clssMLINE {
public:
    // Scans the OBJECTS section for MLINESTYLE objects and leaves the input
    // where it was.
    void SetMLStyles(clsTranslator& tr);
    // Reads one MLINESTYLE object (its "0"/"MLINESTYLE" lines were just
    // read): 1 when stored, 0 when it has no name.
    int ReadMLStyle(clsTranslator& tr);
    // The value of a key of a style (multi keys: "71.0", "49.1"...), or
    // null. Scans the file on first use.
    const std::string* GetStyle(clsTranslator& tr, const std::string& name, std::string_view key);
    // Writes every style to the trace log.
    void dbgShowMLSTYLE(clsTranslator& tr) const;

    void clear();

private:
    // Ordered: the trace dump lists styles by name.
    std::map<std::string, clsKeyMap> styles_;
    // The scan is made once per read, whether or not it found styles.
    bool scanned_ = false;
};

}  // namespace kxdxf

#endif
