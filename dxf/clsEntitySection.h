// The ENTITIES section: entity recognition, key-map filling, the space and
// visibility filter and the dispatch to the entity readers.
#ifndef KXDXF_CLSENTITYSECTION_H
#define KXDXF_CLSENTITYSECTION_H

#include <string_view>

namespace kxdxf {

class clsTranslator;
class clssENTITY;

class clsEntitySection {
public:
    // Reads up to the pair whose value is "ENDSEC": 1, or 0 when the
    // entity limit ended it first.
    static int readEntities(clsTranslator& tr);

    // Reads the entity whose "0"/name pair was just read and draws it when
    // it belongs to the read space and is visible (also used by block
    // definitions).
    static void readEntity(clsTranslator& tr, clssENTITY& entity, std::string_view name);
};

}  // namespace kxdxf

#endif
