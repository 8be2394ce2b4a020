// The C interface: Blocks and block references (kxbuild.h).
#include <korvex/kxcore.h>

#include "CKXDoc.h"
#include "block/KXBlockBuild.h"
#include "exports/KXExportSupport.h"

using namespace kxexport;

namespace {

int NumberOf(const KXResult<int>& result) {
    if (result) return result.Value();
    ReportFailure(result.Status().Reason().c_str());
    return 0;
}

}  // namespace

extern "C" {

int KXStartBlock(KXDOC doc, const tagKXBlockDef* block) {
    if (!doc || !block) return 0;
    return Guarded([&] { return NumberOf(kxblock::StartBlock(*DocOf(doc), *block)); });
}

int KXEndBlock(KXDOC doc) {
    if (!doc) return 0;
    return Guarded([&] { return NumberOf(kxblock::EndBlock(*DocOf(doc))); });
}

int KXInsertBlock(KXDOC doc, int block, const tagKXInsert* insert, const double* z) {
    if (!doc || !insert || block < 1) return 0;
    return Guarded([&] { return ResultOf(kxblock::InsertBlock(*DocOf(doc), block, nullptr, *insert, z)); });
}

int KXInsertBlockStr(KXDOC doc, const char* name, const tagKXInsert* insert, const double* z) {
    if (!doc || !name || !insert) return 0;
    return Guarded([&] { return ResultOf(kxblock::InsertBlock(*DocOf(doc), 0, name, *insert, z)); });
}

}  // extern "C"
