#include "CKXTableWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "BigEndian.h"
#include "CKXArrayGroupWriter.h"
#include "CKXAttribTable.h"
#include "geom/KXAngleTable.h"
#include "geom/KXTrunc.h"
#include "text/CKXGlyphStore.h"

namespace {
constexpr std::int32_t kLiteralWeightBase = -100;
// Signed: only a top byte of 0x7F marks a packed weight; negative values are
// by-layer, by-block or literal weights.
constexpr std::int32_t kPackedWeightFloor = 0x7EFFFFFF;
constexpr double kDirectionScale = 32768.0;
constexpr double kCosSinScale = 8192.0;
constexpr std::uint8_t kNegative = 0xFF;
constexpr int kMaxU16 = 0xFFFF;

std::int32_t KXClamp32(std::int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(v);
}
}  // namespace

std::int32_t CKXTableWriter::FileWeight(std::int32_t weight, double currentResolution) {
    if (weight < kLiteralWeightBase) {
        const std::int64_t w = static_cast<std::int64_t>(kLiteralWeightBase) - weight;
        return KXClamp32(kLiteralWeightBase - static_cast<std::int64_t>(KXTrunc32(static_cast<double>(w) * currentResolution)));
    }
    if (weight > kPackedWeightFloor) {
        const double w = CKXAttribTable::DecodeWeight(weight);
        const std::int32_t b = KXTrunc32(w * currentResolution);
        return b <= 0 ? 0 : KXClamp32(kLiteralWeightBase - static_cast<std::int64_t>(b));
    }
    return weight;
}

int CKXTableWriter::WriteTables() {
    const int groupRecords = WriteArrayGroups();
    if (groupRecords < 0 || !WriteDirectionCache() || !WriteCosSin()) return -1;
    return groupRecords + kFixedTableRecords;
}

int CKXTableWriter::WriteArrayGroups() {
    int total = 0;
    for (int (CKXTableWriter::*group)() : {&CKXTableWriter::WriteAttributeRecords, &CKXTableWriter::WriteColours,
                                           &CKXTableWriter::WriteLineStyles, &CKXTableWriter::WriteLayers,
                                           &CKXTableWriter::WriteGlyphs}) {
        const int records = (this->*group)();
        if (records <= 0) return -1;
        total += records;
    }
    return total;
}

int CKXTableWriter::WriteAttributeRecords() {
    const std::vector<CKXAttribute>& records = m_doc.Attribs().Records();
    CKXArrayGroupWriter group(m_records);
    return group.WriteFixed(kAttributeRecordSize, static_cast<int>(records.size()),
                            [&](int i, std::uint8_t* buffer) {
                                const CKXAttribute& a = records[static_cast<std::size_t>(i)];
                                KXBEWriter(buffer).I32(a.layer).I32(a.color).I32(a.lineStyle).I32(FileWeight(a.weight, m_r));
                                return kAttributeRecordSize;
                            });
}

int CKXTableWriter::WriteColours() {
    const std::vector<COLORREF>& colours = m_doc.Attribs().Colors();
    CKXArrayGroupWriter group(m_records);
    return group.WriteFixed(kColourSize, static_cast<int>(colours.size()), [&](int i, std::uint8_t* buffer) {
        KXBEWriter(buffer).U32(colours[static_cast<std::size_t>(i)]);
        return kColourSize;
    });
}

int CKXTableWriter::WriteLineStyles() {
    CKXAttribTable& tables = m_doc.Attribs();
    const int count = tables.LineStyleCount();
    for (int i = 1; i <= count; ++i) tables.LineStyle(i)->resolution = m_s;
    CKXArrayGroupWriter group(m_records);
    return group.WriteVariable(count, [&](int i, std::uint8_t* buffer) {
        const KXLineStyleExt& style = *tables.LineStyle(i + 1);
        const int n = std::min<int>(kMaxU16, static_cast<int>(style.elements.size()));
        KXBEWriter w(buffer);
        w.U16(static_cast<std::uint16_t>(n)).I32(KXTrunc32(style.patternLength * m_s)).U16(0).I32(0).I32(0);
        for (int e = 0; e < n; ++e) w.I32(KXTrunc32(style.elements[static_cast<std::size_t>(e)] * m_s));
        w.Zeros(4 * static_cast<std::size_t>(n));
        return w.SizeInt();
    });
}

int CKXTableWriter::WriteLayers() {
    const std::vector<KXLayerEntry>& layers = m_doc.Attribs().Layers();
    CKXArrayGroupWriter group(m_records);
    return group.WriteVariable(static_cast<int>(layers.size()), [&](int i, std::uint8_t* buffer) {
        const KXLayerEntry& layer = layers[static_cast<std::size_t>(i)];
        // The name length is a 16-bit count that includes the terminator.
        const std::size_t nameLength = std::min<std::size_t>(std::strlen(layer.Name()), kMaxU16 - 2);
        const auto state = static_cast<std::uint16_t>(layer.state);
        KXBEWriter w(buffer);
        w.U16(state).U16(state).I32(layer.reserved1).I32(layer.color).I32(layer.lineStyle).I32(layer.lineWeight);
        w.U16(static_cast<std::uint16_t>(nameLength + 1)).Bytes(layer.Name(), nameLength).U8(0);
        if (nameLength % 2 == 0) w.U8(0);  // keeps the element length even
        return w.SizeInt();
    });
}

int CKXTableWriter::WriteGlyphs() {
    const CKXGlyphStore* glyphs = m_doc.GetGlyphStore();
    CKXArrayGroupWriter group(m_records);
    return group.WriteVariable(glyphs ? glyphs->GetCount() : 0,
                               [&](int i, std::uint8_t* buffer) { return glyphs->WriteElement(i, buffer); });
}

bool CKXTableWriter::WriteDirectionCache() {
    const std::vector<KXDirectionEntry>& cache = m_doc.DirectionCache();
    std::vector<std::uint8_t> record(static_cast<std::size_t>(CKXDoc::kDirectionCacheSize) * 8, 0);
    KXBEWriter w(record.data());
    for (std::size_t i = 0; i < static_cast<std::size_t>(CKXDoc::kDirectionCacheSize); ++i) {
        const KXDirectionEntry entry = i < cache.size() ? cache[i] : KXDirectionEntry{};
        w.I32(KXTrunc32(entry.ratio * kDirectionScale)).I32(KXTrunc32(entry.factor * kDirectionScale));
    }
    return m_records.Record("LSCache", record);
}

std::vector<std::uint8_t> CKXTableWriter::CosSinRecord() {
    std::vector<std::uint8_t> record(static_cast<std::size_t>(kxangle::kSteps) * 10, 0);
    KXBEWriter w(record.data());
    for (int k = 0; k < kxangle::kSteps; ++k) {
        const double theta = k * kxangle::kStep;
        const double c = std::clamp(std::cos(theta), -1.0, 1.0);
        const double s = std::clamp(std::sin(theta), -1.0, 1.0);
        w.I32(KXTrunc32(std::fabs(c) * kCosSinScale)).I32(KXTrunc32(std::fabs(s) * kCosSinScale));
        w.U8(c < 0 ? kNegative : 0).U8(s < 0 ? kNegative : 0);
    }
    return record;
}

bool CKXTableWriter::WriteCosSin() { return m_records.Record("CosSin", CosSinRecord()); }
