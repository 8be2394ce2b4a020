#include "CKXArrayGroupWriter.h"

#include <algorithm>
#include <vector>

#include "BigEndian.h"

namespace {
// Zero bytes per data record in the TOC, for fixed and variable groups.
constexpr int kFixedTocSlot = 16;
constexpr int kVariableTocSlot = 32;
constexpr int kEmptyTocZeros = 16;
}  // namespace

CKXArrayGroupWriter::Shape CKXArrayGroupWriter::ShapeFor(int count, int largest) {
    Shape shape;
    if (count <= 0) return shape;
    const int fit = largest > 0 ? std::max(1, kRecordBudget / largest) : kRecordBudget;
    shape.perRecord = std::min(fit, count);
    shape.records = (count + shape.perRecord - 1) / shape.perRecord;
    shape.lastCount = count - shape.perRecord * (shape.records - 1);
    return shape;
}

int CKXArrayGroupWriter::WriteEmpty() {
    std::vector<std::uint8_t> toc(10 + kEmptyTocZeros, 0);
    return m_records.Record("ArrayTOC_Empty", toc) ? 1 : 0;
}

bool CKXArrayGroupWriter::WriteToc(const Shape& shape, int slotBytes) {
    std::vector<std::uint8_t> toc(10 + static_cast<std::size_t>(slotBytes) * static_cast<std::size_t>(shape.records), 0);
    KXBEWriter w(toc.data());
    w.I32(shape.perRecord).I32(shape.lastCount).U16(static_cast<std::uint16_t>(shape.records));
    return m_records.Record("ArrayTOC", toc);
}

int CKXArrayGroupWriter::WriteFixed(int elementSize, int count, const ElementWriter& element) {
    if (count <= 0) return WriteEmpty();
    const Shape shape = ShapeFor(count, elementSize);
    if (shape.records > 0xFFFF || !WriteToc(shape, kFixedTocSlot)) return 0;
    std::vector<std::uint8_t> data;
    int next = 0;
    for (int r = 0; r < shape.records; ++r) {
        const bool last = r + 1 == shape.records;
        const int n = last ? shape.lastCount : shape.perRecord;
        data.assign(static_cast<std::size_t>(n) * static_cast<std::size_t>(elementSize), 0);
        for (int e = 0; e < n; ++e, ++next) {
            element(next, data.data() + static_cast<std::size_t>(e) * static_cast<std::size_t>(elementSize));
        }
        if (!m_records.Record(DataLabel(last), data)) return 0;
    }
    return shape.records + 1;
}

int CKXArrayGroupWriter::WriteVariable(int count, const ElementWriter& element) {
    if (count <= 0) return WriteEmpty();
    std::vector<int> sizes(static_cast<std::size_t>(count));
    int largest = 0;
    for (int e = 0; e < count; ++e) {
        sizes[static_cast<std::size_t>(e)] = element(e, nullptr);
        largest = std::max(largest, sizes[static_cast<std::size_t>(e)]);
    }
    const Shape shape = ShapeFor(count, largest);
    if (shape.records > 0xFFFF || !WriteToc(shape, kVariableTocSlot)) return 0;
    const auto countIn = [&](int r) { return r + 1 == shape.records ? shape.lastCount : shape.perRecord; };

    std::vector<std::uint8_t> record;
    for (int r = 0, first = 0; r < shape.records; first += countIn(r), ++r) {
        record.assign(static_cast<std::size_t>(countIn(r)) * 4, 0);
        KXBEWriter w(record.data());
        std::int64_t offset = 0;
        for (int e = first; e < first + countIn(r); ++e) {
            if (offset > 0x7FFFFFFF) return 0;
            w.I32(static_cast<std::int32_t>(offset));
            offset += sizes[static_cast<std::size_t>(e)];
        }
        const bool last = r + 1 == shape.records;
        if (!m_records.Record(last ? "ArrayIndexRecord_Last" : "ArrayIndexRecord", record)) return 0;
    }
    for (int r = 0, first = 0; r < shape.records; first += countIn(r), ++r) {
        std::size_t bytes = 0;
        for (int e = first; e < first + countIn(r); ++e) bytes += static_cast<std::size_t>(sizes[static_cast<std::size_t>(e)]);
        record.assign(bytes, 0);
        std::size_t at = 0;
        for (int e = first; e < first + countIn(r); ++e) {
            element(e, record.data() + at);
            at += static_cast<std::size_t>(sizes[static_cast<std::size_t>(e)]);
        }
        if (!m_records.Record(DataLabel(r + 1 == shape.records), record)) return 0;
    }
    return 2 * shape.records + 1;
}
