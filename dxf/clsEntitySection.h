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

    // Where an entity is read: the ENTITIES section draws only what belongs
    // to the read space and is visible, a block definition everything.
    enum class Where { Entities, Block };

    // Reads the entity whose "0"/name pair was just read and draws it. An
    // entity whose reader finds it malformed is left out (the reader names
    // the fault in the error log); the reading goes on.
    static void readEntity(clsTranslator& tr, clssENTITY& entity, std::string_view name,
                           Where where = Where::Entities);

    // Consumes the entities named follower that come next, and the SEQEND
    // that ends them (single keys, not drawn); stops before anything else.
    static void consumeFollowers(clsTranslator& tr, clssENTITY& entity, std::string_view follower);
};

}  // namespace kxdxf

#endif
