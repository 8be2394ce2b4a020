#include "block/KXBlockBuild.h"

#include <cstring>
#include <string>

#include "CKXDoc.h"
#include "block/CKXBlock.h"
#include "block/CKXBlockRef.h"

namespace kxblock {

KXResult<int> StartBlock(CKXDoc& doc, const tagKXBlockDef& def) {
    if (doc.GetCurrentContainer() != &doc) return KXStatus::Failure("a block is being defined already");
    // The name is a fixed array: never read past it, terminated or not.
    const std::string name(def.name, strnlen(def.name, sizeof def.name));
    auto owned = KXMakeOwned<CKXBlock>(name, CFltPoint{def.baseX, def.baseY});
    CKXBlock* block = owned.get();
    doc.Blocks().push_back(std::move(owned));
    const int number = static_cast<int>(doc.Blocks().size());
    // A later block of the same name takes the name over; both stay.
    doc.BlockNames()[name] = number;
    doc.SetCurrentContainer(block);
    return number;
}

KXResult<int> EndBlock(CKXDoc& doc) {
    if (doc.GetCurrentContainer() == &doc) return KXStatus::Failure("no block is being defined");
    doc.SetCurrentContainer(&doc);
    return static_cast<int>(doc.Blocks().size());
}

KXStatus InsertBlock(CKXDoc& doc, int number, const char* name, const tagKXInsert& insert, const double* z) {
    IKXContainer* container = doc.GetCurrentContainer();
    if (!container) return KXStatus::Failure("no current container");
    std::unique_ptr<CKXBlockRef> ref;
    if (number != 0) {
        if (number < 1 || number > static_cast<int>(doc.Blocks().size()))
            return KXStatus::Failure("no block number " + std::to_string(number));
        ref = std::make_unique<CKXBlockRef>(&doc, doc.Blocks()[static_cast<std::size_t>(number - 1)].get(), number - 1,
                                            std::string());
    } else {
        if (!name || !*name) return KXStatus::Failure("a reference needs a block name");
        ref = std::make_unique<CKXBlockRef>(&doc, nullptr, 0, name);
    }
    ref->Place({insert.x, insert.y}, insert.rotation, insert.scaleX, insert.scaleY);
    const auto& systems = doc.CoordSystems();
    if (z && !systems.empty() && !systems.back().IsIdentity()) ref->SetProjection(systems.back(), *z);
    container->AddEnt(std::move(ref), true, nullptr);
    return {};
}

}  // namespace kxblock
