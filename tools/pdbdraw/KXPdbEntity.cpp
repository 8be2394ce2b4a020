#include "KXPdbEntity.h"

#include <string>

#include "CKXPdbReader.h"
#include "KXPdbTables.h"

namespace {

// n fields of q from the next 4n bytes, checked at once.
void ReadInts(CKXPdbReader& r, KXPdbEntity& e, int n, const char* field) {
    const std::uint8_t* p = r.Bytes(4 * static_cast<std::size_t>(n), field);
    for (int i = 0; i < n; ++i) e.q[i] = KXPdbI32At(p + 4 * i);
}

void ReadSteps(CKXPdbReader& r, KXPdbEntity& e) {
    e.a = r.U16("first step");
    e.b = r.U16("last step");
    const auto valid = [](std::uint16_t s) { return s < KXPdbTables::kSteps; };
    const bool chord = e.a == KXPdbEntity::kChordStep;
    if (!chord && (!valid(e.a) || !valid(e.b))) {
        r.Fail("angle-table steps " + std::to_string(e.a) + " to " + std::to_string(e.b) + " are outside the table");
    }
}

const std::uint8_t* ReadList(CKXPdbReader& r, std::size_t count, std::size_t size, const char* what) {
    if (count > r.Remaining() / size) {
        r.Fail(std::string(what) + " count " + std::to_string(count) + " runs past the pool");
    }
    return r.Bytes(count * size, what);
}

}  // namespace

KXPdbEntity KXPdbDecodeEntity(CKXPdbReader& r, const KXPdbTables& tables) {
    KXPdbEntity e;
    const std::uint16_t word = r.U16("record kind");
    e.flags = word & KXPdbEntity::kFlagBits;
    e.kind = static_cast<std::uint16_t>(word & ~KXPdbEntity::kFlagBits);
    switch (e.kind) {
        case kPdbClipControl:
        case kPdbMarkerOpen:
        case kPdbMarkerClose:
            break;
        case kPdbLine:
            ReadInts(r, e, 4, "line point");
            break;
        case kPdbStyledLine:
            ReadInts(r, e, 4, "line point");
            e.a = r.U16("pattern element");
            e.phase = r.I32("pattern offset");
            e.b = r.U16("direction index");
            e.direction = r.U16("direction flags");
            if (e.b >= KXPdbTables::kDirectionEntries) {
                r.Fail("direction index " + std::to_string(e.b) + " is outside the direction cache");
            }
            break;
        case kPdbPolyline:
            e.count = r.U16("point count");
            if (e.count == 0) r.Fail("polyline without points");
            e.list = ReadList(r, e.count, KXPdbEntity::kPointSize, "polyline point");
            break;
        case kPdbAttribSet:
            e.a = r.U16("attribute id");
            if (tables.Attribute(e.a) == nullptr) {
                r.Fail("attribute id " + std::to_string(e.a) + " is outside the table of " +
                       std::to_string(tables.attributes.size()));
            }
            break;
        case kPdbCircle:
            ReadInts(r, e, 7, "circle field");
            ReadSteps(r, e);
            if (e.q[6] < 0) r.Fail("negative circle radius");
            break;
        case kPdbEllipse: {
            ReadInts(r, e, 6, "ellipse point");
            ReadSteps(r, e);
            for (int i = 6; i < 10; ++i) {
                e.q[i] = r.I32("ellipse axis");
                if (e.q[i] < 0) r.Fail("ellipse axis magnitude is negative");
            }
            for (int i = 6; i < 10; ++i)
                if (r.U8("axis sign") != 0) e.q[i] = -e.q[i];
            break;
        }
        case kPdbTextLine: {
            ReadInts(r, e, 5, "text line field");
            const std::int32_t n = r.I32("character count");
            if (n < 0) r.Fail("negative character count");
            e.count = static_cast<std::uint32_t>(n);
            e.list = ReadList(r, e.count, KXPdbEntity::kCharSize, "character");
            for (std::uint32_t c = 0; c < e.count; ++c) {
                const std::int32_t glyph = KXPdbI32At(e.list + c * KXPdbEntity::kCharSize);
                if (glyph < -1 || (glyph >= 0 && static_cast<std::size_t>(glyph) >= tables.glyphs.size())) {
                    r.Fail("character " + std::to_string(c) + " names glyph " + std::to_string(glyph) +
                           " of a table of " + std::to_string(tables.glyphs.size()));
                }
            }
            break;
        }
        case kPdbBlockRef:
            e.a = r.U16("block number");
            ReadInts(r, e, 2, "insertion point");
            e.count = 4;
            e.list = r.Bytes(e.count * KXPdbEntity::kPlacementSize, "placement");
            break;
        default:
            r.Fail("unknown record kind " + std::to_string(e.kind) + " at offset " + std::to_string(r.Offset() - 2));
    }
    return e;
}
