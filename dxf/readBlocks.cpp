#include "readBlocks.h"

#include <cstring>

#include "clsEntitySection.h"
#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlEntityKeys.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr int kMaxBlocks = 500000;
constexpr int kMaxBlockEntities = 500000;

// Pairs that no block definition holds: the end of the section or of the
// file, or the next section. A block or section that reaches one of them
// was cut short.
bool endsSection(std::string_view value)
{
    return value == "ENDSEC" || value == "SECTION" || value == "EOF";
}

// The entities of a definition the engine did not open (or whose BLOCK
// entity could not be read): consumed up to the ENDBLK, not drawn.
void skipBlockBody(clsTranslator& tr, clssENTITY& entity)
{
    clsDxfStream& in = tr.input();
    const std::size_t most = tr.utlSectionBound(kMaxBlockEntities);
    for (std::size_t count = 0; count < most; ++count) {
        const std::size_t before = in.tell();
        std::string_view code;
        std::string_view value;
        tr.utlReadGrpCodeValue(code, value);
        if (value == "BLOCK" || endsSection(value)) {
            in.seek(before);
            return;
        }
        const bool last = value == "ENDBLK";
        entity.readMKey(tr);
        if (last)
            return;
    }
}

// The name of the next entity, whose "0" pair starts at before; any other
// code aborts the read with the reader's message.
std::string_view readEntityName(clsTranslator& tr, const char* reader, std::size_t& before)
{
    before = tr.input().tell();
    std::string_view code;
    std::string_view value;
    tr.utlReadGrpCodeValue(code, value);
    if (code != "0")
        tr.utlFatal("%s:\tUnexpected Group Code <%.*s>, should be <0>", reader, static_cast<int>(code.size()),
            code.data());
    return value;
}

}  // namespace

int readBlock(clsTranslator& tr)
{
    tr.utlLogMsg("<readBlock>:\t\tentered");
    clssENTITY entity;
    entity.readMKey(tr);
    const std::string* name = entity.find("2.0");
    const char* fault = !name ? "readBlock:\tNo value for Grp Code <2.0> (Block Name)"
        : !entity.has("10.0") ? "readBlock:\tNo value for Grp Code <10.0> (Origin X)"
        : !entity.has("20.0") ? "readBlock:\tNo value for Grp Code <20.0> (Origin Y)"
                              : nullptr;
    tagKXBlockDef definition{};
    if (!fault) {
        if (name->size() >= sizeof definition.name)
            fault = "readBlock:\tBlock Name longer than 263 characters";
        else
            std::memcpy(definition.name, name->c_str(), name->size() + 1);
    }
    if (fault) {
        // A definition that cannot be named or placed is left out whole.
        tr.logs().errMsg("%s", fault);
        skipBlockBody(tr, entity);
        return 0;
    }
    const std::string blockName = *name;
    definition.baseX = utlKeyReal(entity, "10.0", 0.0);
    definition.baseY = utlKeyReal(entity, "20.0", 0.0);
    if (tr.api().StartBlock(tr.doc(), &definition) == 0) {
        // Its entities would land in the drawing itself.
        tr.logs().errMsg("readBlock:\tBlock <%s> not accepted, its entities are skipped", blockName.c_str());
        skipBlockBody(tr, entity);
        return 0;
    }
    // Whatever way the definition ends, the insertions read from now on
    // belong to no block.
    tr.blockGraph().startBlock(blockName);
    struct EndOfDefinition {
        clsBlockGraph& graph;
        ~EndOfDefinition() { graph.endBlock(); }
    } endOfDefinition{tr.blockGraph()};

    clsDxfStream& in = tr.input();
    const std::size_t most = tr.utlSectionBound(kMaxBlockEntities);
    for (std::size_t count = 0; count < most; ++count) {
        std::size_t before = 0;
        const std::string_view value = readEntityName(tr, "readBlock", before);
        if (value == "ENDBLK") {
            entity.readMKey(tr);
            tr.api().EndBlock(tr.doc());
            tr.logs().logMsg("<readBlock>:\t\tnormal exit: <%s>", blockName.c_str());
            return 1;
        }
        if (value == "BLOCK" || endsSection(value)) {
            // No ENDBLK: the block ends where the next one or the end of
            // the section begins, which is read next.
            in.seek(before);
            tr.logs().errMsg("readBlock:\tNo ENDBLK for Block <%s>", blockName.c_str());
            tr.api().EndBlock(tr.doc());
            return 0;
        }
        if (value == "ATTDEF")
            entity.readSKey(tr);  // the definitions of attributes are not drawn
        else
            clsEntitySection::readEntity(tr, entity, value, clsEntitySection::Where::Block);
    }
    tr.logs().errMsg("<readBlock>:\t\tNumber of ENTITIES in a BLOCK exceeded <%d>",
        utlClampToInt(static_cast<double>(most)));
    return 0;
}

int readBlocks(clsTranslator& tr)
{
    tr.utlLogMsg("<readBlocks>:\t\tentered");
    tr.setCurrentSection(kSectionBlocks);
    clsDxfStream& in = tr.input();
    const std::size_t most = tr.utlSectionBound(kMaxBlocks);
    for (std::size_t count = 0; count < most; ++count) {
        std::size_t before = 0;
        const std::string_view value = readEntityName(tr, "readBlocks", before);
        if (value == "ENDSEC") {
            tr.utlLogMsg("<readBlocks>:\t\tnormal exit");
            tr.setCurrentSection(kSectionNone);
            return 1;
        }
        if (value == "BLOCK") {
            readBlock(tr);
            continue;
        }
        if (endsSection(value)) {
            // No ENDSEC: what follows is read as the file's next section.
            in.seek(before);
            tr.logs().errMsg("readBlocks:\tBLOCKS section ends without <ENDSEC> at <%.*s>",
                static_cast<int>(value.size()), value.data());
            tr.setCurrentSection(kSectionNone);
            return 0;
        }
        tr.utlFatal("readBlocks:\tUnexpected Value <%.*s>, should be <BLOCK> or <ENDSEC>",
            static_cast<int>(value.size()), value.data());
    }
    tr.logs().errMsg("<readBlocks>:\t\tNumber of blocks in the BLOCKS SECTION exceeded <%d>",
        utlClampToInt(static_cast<double>(most)));
    tr.setCurrentSection(kSectionNone);
    return 0;
}

}  // namespace kxdxf
