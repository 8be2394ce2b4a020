#include "KXPdbTables.h"

#include <cstdlib>
#include <functional>

#include "CKXPdbFile.h"

namespace {

constexpr std::size_t kAttributeSize = 16;
constexpr std::size_t kColourSize = 4;
constexpr std::size_t kFixedTocSlot = 16;
constexpr std::size_t kVariableTocSlot = 32;

using ElementReader = std::function<void(CKXPdbReader&)>;

struct GroupShape {
    bool empty = true;
    std::size_t perRecord = 0;
    std::size_t lastCount = 0;
    std::size_t records = 0;  // data records, k

    std::size_t CountIn(std::size_t dataRecord) const { return dataRecord + 1 == records ? lastCount : perRecord; }
};

GroupShape ReadToc(CKXPdbReader& toc, std::size_t slot) {
    GroupShape shape;
    const std::int32_t perRecord = toc.I32("elements per record");
    const std::int32_t lastCount = toc.I32("elements in the last record");
    const std::uint16_t records = toc.U16("data record count");
    if (records == 0) {
        if (perRecord != 0 || lastCount != 0) toc.Fail("an empty group counts elements");
        return shape;
    }
    if (perRecord < 1 || lastCount < 1 || lastCount > perRecord) {
        toc.Fail("element counts " + std::to_string(perRecord) + " per record, " + std::to_string(lastCount) +
                 " in the last, do not describe a group");
    }
    toc.Bytes(slot * records, "table of contents slots");
    shape.empty = false;
    shape.perRecord = static_cast<std::size_t>(perRecord);
    shape.lastCount = static_cast<std::size_t>(lastCount);
    shape.records = records;
    return shape;
}

// A group of elements of one size: TOC, then the data records.
std::size_t ReadFixedGroup(const CKXPdbFile& file, std::size_t first, std::size_t size, const char* what,
                           const ElementReader& element) {
    CKXPdbReader toc = file.Record(first, what);
    const GroupShape shape = ReadToc(toc, kFixedTocSlot);
    if (shape.empty) return first + 1;
    for (std::size_t d = 0; d < shape.records; ++d) {
        CKXPdbReader data = file.Record(first + 1 + d, what);
        const std::size_t count = shape.CountIn(d);
        if (data.Remaining() != count * size) {
            data.Fail("holds " + std::to_string(data.Remaining()) + " bytes, not " + std::to_string(count) +
                      " elements of " + std::to_string(size));
        }
        for (std::size_t i = 0; i < count; ++i) element(data);
    }
    return first + 1 + shape.records;
}

// A group of elements of varying size: TOC, k index records of element
// offsets, then the k data records.
std::size_t ReadVariableGroup(const CKXPdbFile& file, std::size_t first, const char* what,
                              const ElementReader& element) {
    CKXPdbReader toc = file.Record(first, what);
    const GroupShape shape = ReadToc(toc, kVariableTocSlot);
    if (shape.empty) return first + 1;
    for (std::size_t d = 0; d < shape.records; ++d) {
        CKXPdbReader index = file.Record(first + 1 + d, what);
        const std::size_t dataRecord = first + 1 + shape.records + d;
        const std::size_t count = shape.CountIn(d);
        if (index.Remaining() != 4 * count) {
            index.Fail("index of " + std::to_string(index.Remaining()) + " bytes for " + std::to_string(count) +
                       " elements");
        }
        const std::size_t dataBegin = file.RecordOffset(dataRecord);
        const std::size_t dataLength = file.RecordLength(dataRecord);
        std::size_t begin = index.U32("element offset");
        if (begin != 0) index.Fail("the first element does not start the data record");
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t end = i + 1 < count ? index.U32("element offset") : dataLength;
            if (end < begin || end > dataLength) {
                index.Fail("element " + std::to_string(i) + " ends at " + std::to_string(end) +
                           ", outside its data record of " + std::to_string(dataLength) + " bytes");
            }
            CKXPdbReader data(
                file.Data(), dataBegin + begin, dataBegin + end,
                std::string(what) + " element " + std::to_string(i) + " of record " + std::to_string(dataRecord));
            element(data);
            if (!data.AtEnd()) data.Fail("element is longer than its content");
            begin = end;
        }
    }
    return first + 1 + 2 * shape.records;
}

std::vector<KXPdbIntPoint> ReadPoints(CKXPdbReader& r) {
    const std::uint16_t n = r.U16("point count");
    if (std::size_t{n} * 8 > r.Remaining()) r.Fail("point count " + std::to_string(n) + " runs past the element");
    std::vector<KXPdbIntPoint> points(n);
    for (KXPdbIntPoint& p : points) {
        p.x = r.I32("x");
        p.y = r.I32("y");
    }
    return points;
}

}  // namespace

std::size_t KXPdbTables::Read(const CKXPdbFile& file, std::size_t record) {
    record = ReadFixedGroup(file, record, kAttributeSize, "attribute records", [&](CKXPdbReader& r) {
        KXPdbAttribute a;
        a.layer = r.I32("layer");
        a.colour = r.I32("colour");
        a.lineStyle = r.I32("line style");
        a.weight = r.I32("line weight");
        attributes.push_back(a);
    });
    record = ReadFixedGroup(file, record, kColourSize, "colours",
                            [&](CKXPdbReader& r) { colours.push_back(r.U32("colour")); });
    record = ReadVariableGroup(file, record, "line styles", [&](CKXPdbReader& r) {
        KXPdbLineStyle style;
        const std::uint16_t n = r.U16("element count");
        style.total = r.I32("pattern length");
        r.Bytes(10, "reserved fields");
        if (std::size_t{n} * 8 != r.Remaining()) r.Fail("element count " + std::to_string(n) + " does not fit");
        style.elements.resize(n);
        for (std::int32_t& e : style.elements) e = r.I32("element");
        r.Bytes(4 * std::size_t{n}, "reserved elements");
        lineStyles.push_back(std::move(style));
    });
    record = ReadVariableGroup(file, record, "layers", [&](CKXPdbReader& r) {
        KXPdbLayer layer;
        layer.state = r.U16("state");
        r.U16("state copy");
        r.I32("reserved");
        layer.colour = r.I32("colour");
        layer.lineStyle = r.I32("line style");
        layer.weight = r.I32("line weight");
        const std::uint16_t length = r.U16("name length");
        if (length == 0) r.Fail("name length 0 leaves no terminator");
        const std::uint8_t* name = r.Bytes(length, "name");
        layer.name.assign(reinterpret_cast<const char*>(name), length - 1u);
        if (r.Remaining() == 1) r.U8("pad byte");
        layers.push_back(std::move(layer));
    });
    record = ReadVariableGroup(file, record, "glyphs", [&](CKXPdbReader& r) {
        KXPdbGlyph glyph;
        const std::uint16_t slots = r.U16("stroke slots");
        while (!r.AtEnd()) {
            if (glyph.strokes.size() >= slots)
                r.Fail("more strokes than the glyph's " + std::to_string(slots) + " slots");
            glyph.strokes.push_back(ReadPoints(r));
        }
        glyphs.push_back(std::move(glyph));
    });

    CKXPdbReader cache = file.Record(record++, "LSCache");
    for (KXPdbIntPoint& d : directions) {
        d.x = cache.I32("direction ratio");
        d.y = cache.I32("direction factor");
    }
    CKXPdbReader table = file.Record(record++, "CosSin");
    for (std::size_t k = 0; k < kSteps; ++k) {
        KXPdbCosSin& step = cosSin[k];
        step.cos = table.I32("cos");
        step.sin = table.I32("sin");
        if (table.U8("cos sign") != 0) step.cos = -step.cos;
        if (table.U8("sin sign") != 0) step.sin = -step.sin;
        if (std::abs(step.cos) > 8192 || std::abs(step.sin) > 8192) {
            table.Fail("step " + std::to_string(k) + " holds a cosine or sine beyond 1");
        }
    }
    return record;
}

const KXPdbAttribute* KXPdbTables::Attribute(std::int32_t id) const {
    if (id < 1 || static_cast<std::size_t>(id) > attributes.size()) return nullptr;
    return &attributes[static_cast<std::size_t>(id) - 1];
}

const KXPdbLayer* KXPdbTables::Layer(std::int32_t index) const {
    if (index < 1 || static_cast<std::size_t>(index) > layers.size()) return nullptr;
    return &layers[static_cast<std::size_t>(index) - 1];
}

const KXPdbLineStyle* KXPdbTables::LineStyle(std::int32_t index) const {
    if (index < 1 || static_cast<std::size_t>(index) > lineStyles.size()) return nullptr;
    return &lineStyles[static_cast<std::size_t>(index) - 1];
}
