// The LAYER and LTYPE tables: layer records registered with the engine,
// linetype records turned into engine line styles per scale on demand.
#ifndef KXDXF_CLSSTABLES_H
#define KXDXF_CLSSTABLES_H

#include <string>
#include <string_view>
#include <unordered_map>

#include "clsKeyMap.h"

namespace kxdxf {

class clsTranslator;

// Line width of a DXF lineweight (hundredths of a millimetre, group 370).
int utlLineweightToWidth(long lineweight);

class clssTABLES {
public:
    // Reads the TABLES section up to "0"/"ENDSEC" (or the end of the file).
    void readTables(clsTranslator& tr);

    int GetLayerInd(clsTranslator& tr, const std::string& name);
    int GetLayerACI(clsTranslator& tr, const std::string& name) const;
    int GetLineweight(clsTranslator& tr, const std::string& name) const;
    int GetLinetypeIndDefault(clsTranslator& tr);
    int GetLinetypeIndWithScale(clsTranslator& tr, const std::string& name, const std::string& scale);

    void SetLAYER(clsTranslator& tr, const std::string& name, clsKeyMap record);
    int SetLAYERWithDefaultValues(clsTranslator& tr, const std::string& name);

    void clear();

private:
    enum class RecordKeys { Single, Multi };

    // One table up to "0"/"ENDTAB", each "0"/recordName pair's record read
    // by readRecord: 1 at ENDTAB, 0 when the pair limit ended it.
    int readTable(clsTranslator& tr, std::string_view recordName,
                  void (clssTABLES::*readRecord)(clsTranslator&));
    // The pairs of one record up to the next record or the end of the
    // table (left to be read again) or the pair limit; how many were stored.
    static int readTableRecord(clsTranslator& tr, std::string_view recordName, clsKeyMap& record,
                               RecordKeys keys);
    int readSectionTABLES_LAYER(clsTranslator& tr);
    int readSectionTABLES_LTYPE(clsTranslator& tr);
    void readLAYER(clsTranslator& tr);
    void readLTYPE(clsTranslator& tr);
    int registerLayer(clsTranslator& tr, const std::string& name, clsKeyMap& record,
                      int state, int color, int lineStyle, int width);
    const clsKeyMap* findLayer(const std::string& name) const;

    std::unordered_map<std::string, clsKeyMap> layers_;
    std::unordered_map<std::string, clsKeyMap> linetypes_;
    std::unordered_map<std::string, std::string> lineStyleCache_;
    std::string cacheKey_;
};

}  // namespace kxdxf

#endif
