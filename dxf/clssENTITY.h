// The group codes of one DXF object, collected before any of them is
// interpreted. One object per section reader, refilled for every entity.
#ifndef KXDXF_CLSSENTITY_H
#define KXDXF_CLSSENTITY_H

#include <string>
#include <string_view>

#include "clsKeyMap.h"

namespace kxdxf {

class clsTranslator;

// Group 67 of an entity.
enum : int { kSpaceModel = 1, kSpacePaper = 2, kSpaceOther = 3 };

class clssENTITY {
public:
    enum class Filling { Single, Multi, Vertex };

    // Each reads the pairs up to the next code "0", leaving that pair to be
    // read again. Single keys: a later code replaces an earlier one. Multi
    // keys: "10" holds the count, "10.0", "10.1"... the values, "MKEY" is
    // present. Per-vertex keys: as multi keys, but 40, 41 and 42 are filed
    // under the index of the last group 10 (from -1).
    void readSKey(clsTranslator& tr);
    void readMKey(clsTranslator& tr);
    void readVKey(clsTranslator& tr);
    void read(clsTranslator& tr, Filling filling);
    // Takes the pairs a reader collected itself (an entity that reads its
    // own pairs, as HATCH does) as multi keys.
    void assignMKey(clsKeyMap keys);

    const std::string* find(std::string_view key) const { return keys_.find(key); }
    bool has(std::string_view key) const { return keys_.has(key); }
    bool isMultiKey() const { return keys_.has("MKEY"); }
    const clsKeyMap& keys() const { return keys_; }

    const std::string& layerName() const { return layerName_; }
    int space() const { return space_; }
    int visible() const { return visible_; }

private:
    void finish(bool multi);

    clsKeyMap keys_;
    std::string layerName_;
    int space_ = 0;
    int visible_ = 1;
};

}  // namespace kxdxf

#endif
