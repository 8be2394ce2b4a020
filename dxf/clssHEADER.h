// The HEADER section's variables and the drawing properties made of them.
#ifndef KXDXF_CLSSHEADER_H
#define KXDXF_CLSSHEADER_H

#include <string>
#include <unordered_map>

namespace kxdxf {

class clsTranslator;

class clssHEADER {
public:
    // Reads the pairs after "2"/"HEADER" up to "0"/"ENDSEC": 1 at ENDSEC,
    // 0 when the pair limit ended it first.
    int Read(clsTranslator& tr);
    // Stores the drawing properties and gives back $ACADVER (empty when absent).
    int getDXFProperty(clsTranslator& tr, std::string& version) const;

    // Value of a variable key such as "$ACADVER.1", or null.
    const std::string* find(const std::string& key) const;
    void clear() { vars_.clear(); }

    // The "DXF Version" property text of a version string.
    static const char* versionText(const std::string& version, std::string& unknownText);

private:
    std::unordered_map<std::string, std::string> vars_;
};

}  // namespace kxdxf

#endif
