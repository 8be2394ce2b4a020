#include "CKXPdbValidator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "CKXPdbReader.h"

namespace {

constexpr std::size_t kHeaderSize = 78;
constexpr std::size_t kRecordEntrySize = 8;
constexpr std::size_t kNameField = 32;
constexpr std::size_t kDrawingInfoSize = 82;
constexpr std::size_t kEmptyTocSize = 26;
constexpr std::size_t kFixedTocSlot = 16;
constexpr std::size_t kVariableTocSlot = 32;
constexpr std::size_t kDirectionEntries = 513;
constexpr std::size_t kCosSinSteps = 200;
// LSCache and CosSin follow the array groups and count as table records.
constexpr int kFixedTableRecords = 2;
constexpr double kAngleStep = 0.031415926535897934;
constexpr double kCosSinScale = 8192.0;
constexpr std::size_t kTileMapEntries = 1280;
constexpr int kCellSlotsPerLevel = 256;
constexpr int kLevels = 5;
constexpr std::uint16_t kPoolSwitch = 0xC000;
constexpr std::uint16_t kPoolSwitchMask = 0xE000;
constexpr std::uint16_t kEndOfRecord = 0xE000;
constexpr std::uint16_t kFlagBits = 0xE0;
constexpr std::size_t kSizeFieldWidth = 8;
constexpr int kCoordinateSlack = 1;

const char* const kFileInfoStart = "\nFILE PROPERTIES:\nFile Name: ";
const char* const kFileSizeLabel = "\nFile Size: ";

const char* const kGroupNames[5] = {"attribute records", "colours", "line styles", "layers",
                                    "glyphs"};
// Element sizes of the fixed-size groups; 0 marks a variable-size group.
constexpr std::uint32_t kGroupElementSize[5] = {16, 4, 0, 0, 0};
constexpr std::size_t kGlyphGroup = 4;

enum Kind : std::uint16_t {
    kNoRecord = 0,
    kLine = 1,
    kPolyline = 2,
    kBlock = 3,
    kBlockRef = 4,
    kAttribSet = 6,
    kStyledLine = 7,
    kCircle = 8,
    kEllipse = 9,
    kTextLine = 10,
    kMarkerOpen = 11,
    kMarkerClose = 12,
};

// trunc toward zero into 32 bits, saturating as the writer does.
std::int32_t Trunc32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

std::string Hex(std::uint32_t v) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s = "0x";
    bool started = false;
    for (int shift = 28; shift >= 0; shift -= 4) {
        const unsigned d = (v >> shift) & 0xF;
        if (d != 0 || started || shift == 0) {
            s += digits[d];
            started = true;
        }
    }
    return s;
}

}  // namespace

KXPdbResult CKXPdbValidator::ValidateFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        KXPdbResult result;
        result.error = "cannot open " + path;
        return result;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) {
        KXPdbResult result;
        result.error = "cannot read " + path;
        return result;
    }
    return CKXPdbValidator(std::move(bytes)).Validate();
}

KXPdbResult CKXPdbValidator::Validate() {
    KXPdbResult result;
    m_summary = KXPdbSummary();
    m_poolRecords.clear();
    m_boxes.clear();
    try {
        m_summary.fileSize = m_bytes.size();
        CheckHeader();
        CheckRecordList();
        CheckFileInfo();
        CheckDrawingInfo();
        std::size_t record = 2;
        int tableRecords = 0;
        for (int group = 0; group < 5; ++group) {
            const std::size_t next = CheckArrayGroup(record, group);
            tableRecords += static_cast<int>(next - record);
            record = next;
        }
        CheckDirectionCache(record++);
        CheckCosSin(record++);
        tableRecords += kFixedTableRecords;
        if (tableRecords != m_summary.tableRecords) {
            Fail("DrawingInfo: table record count is " + std::to_string(m_summary.tableRecords) +
                 " but the tables (array groups, LSCache, CosSin) hold " + std::to_string(tableRecords) +
                 " records");
        }
        record = CheckEntityPools(record);
        CheckTiles(record);
        result.ok = true;
    } catch (const KXPdbViolation& violation) {
        result.error = violation.what();
    }
    result.summary = std::move(m_summary);
    return result;
}

void CKXPdbValidator::Fail(const std::string& message) const { throw KXPdbViolation(message); }

CKXPdbReader CKXPdbValidator::RecordReader(std::size_t record) const {
    if (record >= m_summary.records.size()) {
        Fail("record " + std::to_string(record) + " is missing: the file has only " +
             std::to_string(m_summary.records.size()) + " records");
    }
    const KXPdbRecordInfo& info = m_summary.records[record];
    return CKXPdbReader(m_bytes.data(), info.offset, std::size_t{info.offset} + info.length,
                        "record " + std::to_string(record) +
                            (info.label.empty() ? std::string() : " (" + info.label + ")"));
}

void CKXPdbValidator::Label(std::size_t record, const char* label) {
    if (record < m_summary.records.size()) m_summary.records[record].label = label;
}

// --- Container -----------------------------------------------------------------

void CKXPdbValidator::CheckHeader() {
    if (m_bytes.size() < kHeaderSize + 2) {
        Fail("file of " + std::to_string(m_bytes.size()) + " bytes is too short for a header");
    }
    CKXPdbReader r(m_bytes.data(), 0, kHeaderSize, "header");
    const std::uint8_t* name = r.Bytes(kNameField, "name");
    const void* zero = std::memchr(name, 0, kNameField);
    if (zero == nullptr) r.Fail("name is not terminated within 32 bytes");
    const std::size_t nameLength = static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - name);
    for (std::size_t i = nameLength; i < kNameField; ++i) {
        if (name[i] != 0) r.Fail("name field is not zero-filled after the name");
    }
    m_summary.name.assign(reinterpret_cast<const char*>(name), nameLength);
    if (r.U16("attributes") != 0) r.Fail("attributes are not 0");
    if (r.U16("version") != 0) r.Fail("version is not 0");
    m_summary.creationDate = r.U32("creation date");
    if (r.U32("modification date") != m_summary.creationDate) {
        r.Fail("modification date differs from the creation date");
    }
    if (r.U32("last backup date") != 0) r.Fail("last backup date is not 0");
    if (r.U32("modification number") != 0) r.Fail("modification number is not 0");
    if (r.U32("application info") != 0) r.Fail("application info is not 0");
    if (r.U32("sort info") != 0) r.Fail("sort info is not 0");
    if (std::memcmp(r.Bytes(4, "type"), "DRAW", 4) != 0) r.Fail("type is not \"DRAW\"");
    if (std::memcmp(r.Bytes(4, "creator"), "PCA!", 4) != 0) r.Fail("creator is not \"PCA!\"");
    if (r.U32("unique ID seed") != 0) r.Fail("unique ID seed is not 0");
    if (r.U32("next record list") != 0) r.Fail("next record list is not 0");
    const std::uint16_t count = r.U16("record count");
    m_summary.records.resize(count);
}

void CKXPdbValidator::CheckRecordList() {
    const std::size_t n = m_summary.records.size();
    if (n == 0) Fail("header: the file has no records");
    const std::size_t listEnd = kHeaderSize + kRecordEntrySize * n;
    if (m_bytes.size() < listEnd + 2) {
        Fail("record list of " + std::to_string(n) + " entries runs past the end of the file");
    }
    CKXPdbReader r(m_bytes.data(), kHeaderSize, listEnd + 2, "record list");
    for (std::size_t i = 0; i < n; ++i) {
        KXPdbRecordInfo& info = m_summary.records[i];
        info.offset = r.U32("record offset");
        info.attributes = r.U8("record attributes");
        for (auto& b : info.uniqueId) b = r.U8("unique ID");
        const std::string entry = "record list entry " + std::to_string(i);
        if (info.attributes != 0) Fail(entry + ": attributes are not 0");
        const auto low = static_cast<std::uint8_t>((0x63 + i) & 0xFF);
        if (info.uniqueId[0] != 0x61 || info.uniqueId[1] != 0x62 || info.uniqueId[2] != low) {
            Fail(entry + ": unique ID is " + Hex(info.uniqueId[0]) + " " + Hex(info.uniqueId[1]) +
                 " " + Hex(info.uniqueId[2]) + ", expected 0x61 0x62 " + Hex(low));
        }
    }
    if (r.U16("gap after the record list") != 0) {
        Fail("record list: the two bytes after the list are not 0");
    }
    // Records follow the list and each other without gaps: each one ends
    // where the next begins, the last at the end of the file.
    if (m_summary.records[0].offset != listEnd + 2) {
        Fail("record list entry 0: offset " + std::to_string(m_summary.records[0].offset) +
             ", expected " + std::to_string(listEnd + 2));
    }
    for (std::size_t i = 0; i < n; ++i) {
        KXPdbRecordInfo& info = m_summary.records[i];
        const std::uint64_t end = i + 1 < n ? m_summary.records[i + 1].offset : m_bytes.size();
        if (end <= info.offset || end > m_bytes.size()) {
            Fail("record list entry " + std::to_string(i) + ": record at " +
                 std::to_string(info.offset) + " has no bytes before " + std::to_string(end) +
                 " (offsets must increase and stay within the file of " +
                 std::to_string(m_bytes.size()) + " bytes)");
        }
        info.length = static_cast<std::uint32_t>(end - info.offset);
    }
}

// --- FileInfo and DrawingInfo ------------------------------------------------------

void CKXPdbValidator::CheckFileInfo() {
    Label(0, "FileInfo");
    CKXPdbReader r = RecordReader(0);
    const std::uint16_t length = r.U16("text length");
    const char* text = reinterpret_cast<const char*>(r.Bytes(length, "text"));
    if (r.U8("terminator") != 0) r.Fail("text is not followed by a zero byte");
    if (!r.AtEnd()) r.Fail("record is longer than its text (" + std::to_string(r.Remaining()) + " bytes left)");
    m_summary.fileInfoText.assign(text, length);
    const std::string& t = m_summary.fileInfoText;

    const std::string start = kFileInfoStart;
    if (t.compare(0, start.size(), start) != 0) r.Fail("text does not begin with the file properties title and file name");
    const std::size_t sizeLabel = t.find(kFileSizeLabel, start.size());
    if (sizeLabel == std::string::npos) r.Fail("text has no \"File Size\" field");
    const std::string fileName = t.substr(start.size(), sizeLabel - start.size());
    const std::size_t cut = std::min<std::size_t>(fileName.size(), kNameField - 1);
    if (m_summary.name != fileName.substr(0, cut)) {
        r.Fail("header name \"" + m_summary.name + "\" is not the file name \"" + fileName +
               "\" cut to 31 characters");
    }
    std::size_t p = sizeLabel + std::strlen(kFileSizeLabel);
    const std::size_t digitsBegin = p;
    std::uint64_t stated = 0;
    while (p < t.size() && t[p] >= '0' && t[p] <= '9' && p - digitsBegin < 20) {
        stated = stated * 10 + static_cast<std::uint64_t>(t[p] - '0');
        ++p;
    }
    const std::size_t digits = p - digitsBegin;
    if (digits == 0) r.Fail("\"File Size\" field holds no number");
    for (std::size_t blank = digits; blank < kSizeFieldWidth; ++blank, ++p) {
        if (p >= t.size() || t[p] != ' ') r.Fail("\"File Size\" field is not padded with blanks to 8 characters");
    }
    m_summary.statedFileSize = stated;
    if (stated != m_bytes.size()) {
        r.Fail("\"File Size\" says " + std::to_string(stated) + " but the file has " +
               std::to_string(m_bytes.size()) + " bytes");
    }
}

void CKXPdbValidator::CheckDrawingInfo() {
    Label(1, "DrawingInfo");
    CKXPdbReader r = RecordReader(1);
    if (m_summary.records[1].length != kDrawingInfoSize) {
        r.Fail("length " + std::to_string(m_summary.records[1].length) + ", expected 82");
    }
    if (r.I32("first field") != 0 || r.I32("second field") != 0) r.Fail("the two leading fields are not 0");
    m_summary.width = r.I32("width");
    m_summary.height = r.I32("height");
    m_summary.pools = r.U16("entity pool count");
    m_summary.tilePools = r.U16("tile pool count");
    m_summary.tableRecords = r.U16("table record count");
    for (float& d : m_summary.detail) d = r.F32("detail threshold");
    m_summary.glyphOriginX = r.I32("glyph origin x");
    m_summary.glyphOriginY = r.I32("glyph origin y");
    m_summary.minX = r.F64("min x");
    m_summary.minY = r.F64("min y");
    m_summary.maxX = r.F64("max x");
    m_summary.maxY = r.F64("max y");
    m_summary.resolution = r.F64("resolution");
    const double s = m_summary.resolution;
    if (!std::isfinite(s) || s <= 0) r.Fail("resolution " + std::to_string(s) + " is not a positive number");
    if (!(m_summary.maxX >= m_summary.minX) || !(m_summary.maxY >= m_summary.minY)) {
        r.Fail("extents are not a valid box");
    }
    if (m_summary.width != Trunc32((m_summary.maxX - m_summary.minX) * s) ||
        m_summary.height != Trunc32((m_summary.maxY - m_summary.minY) * s)) {
        r.Fail("width and height " + std::to_string(m_summary.width) + " x " +
               std::to_string(m_summary.height) + " do not match the extents at the resolution");
    }
    if (m_summary.pools < 1) r.Fail("entity pool count is 0");
    if (m_summary.tilePools < 1) r.Fail("tile pool count is 0");
}

// --- Array groups ------------------------------------------------------------------

std::size_t CKXPdbValidator::CheckArrayGroup(std::size_t first, int group) {
    KXPdbGroupInfo& info = m_summary.groups[static_cast<std::size_t>(group)];
    info.name = kGroupNames[group];
    const std::uint32_t elementSize = kGroupElementSize[group];
    const bool variable = elementSize == 0;
    CKXPdbReader toc = RecordReader(first);
    const std::string where = std::string("table of ") + info.name + ": ";
    const std::int32_t perRecord = toc.I32("elements per record");
    const std::int32_t lastCount = toc.I32("elements in the last record");
    const std::uint16_t k = toc.U16("data record count");
    if (perRecord == 0) {
        Label(first, "ArrayTOC_Empty");
        if (m_summary.records[first].length != kEmptyTocSize) toc.Fail(where + "empty TOC is not 26 bytes");
        const std::uint8_t* zeros = toc.Bytes(16, "empty TOC tail");
        if (lastCount != 0 || k != 0 || std::any_of(zeros, zeros + 16, [](std::uint8_t b) { return b != 0; })) {
            toc.Fail(where + "empty TOC holds non-zero values");
        }
        info.records = 1;
        return first + 1;
    }
    Label(first, "ArrayTOC");
    if (perRecord < 0 || lastCount < 1 || lastCount > perRecord || k < 1) {
        toc.Fail(where + "TOC counts c=" + std::to_string(perRecord) + ", last=" +
                 std::to_string(lastCount) + ", k=" + std::to_string(k) + " are inconsistent");
    }
    const std::size_t slot = variable ? kVariableTocSlot : kFixedTocSlot;
    if (m_summary.records[first].length != 10 + slot * k) {
        toc.Fail(where + "TOC length " + std::to_string(m_summary.records[first].length) +
                 ", expected " + std::to_string(10 + slot * k));
    }
    const std::uint8_t* tail = toc.Bytes(slot * k, "TOC slots");
    if (std::any_of(tail, tail + slot * k, [](std::uint8_t b) { return b != 0; })) {
        toc.Fail(where + "TOC slots are not zero");
    }
    info.empty = false;
    info.perRecord = perRecord;
    info.lastCount = lastCount;
    info.dataRecords = k;
    const std::int64_t elements = std::int64_t{perRecord} * (k - 1) + lastCount;
    if (elements > std::numeric_limits<int>::max()) toc.Fail(where + "element count overflows");
    info.elementCount = static_cast<int>(elements);
    const auto countIn = [&](int d) { return d + 1 < k ? perRecord : lastCount; };
    const auto dataLabel = [&](int d) { return d + 1 < k ? "ArrayRecord" : "ArrayRecord_Last"; };

    if (!variable) {
        const auto c = static_cast<std::int32_t>(std::min<std::uint32_t>(32768 / elementSize, 0x7FFFFFFF));
        if (k > 1 ? perRecord != c : perRecord != lastCount || perRecord > c) {
            toc.Fail(where + "elements per record " + std::to_string(perRecord) +
                     " is not min(32768 / " + std::to_string(elementSize) + ", N)");
        }
        for (int d = 0; d < k; ++d) {
            const std::size_t record = first + 1 + static_cast<std::size_t>(d);
            Label(record, dataLabel(d));
            CKXPdbReader data = RecordReader(record);
            const std::uint64_t want = std::uint64_t{elementSize} * static_cast<std::uint64_t>(countIn(d));
            if (m_summary.records[record].length != want) {
                data.Fail(where + "data record length " + std::to_string(m_summary.records[record].length) +
                          ", expected " + std::to_string(want));
            }
            CheckFixedElements(group, record, countIn(d), elementSize);
        }
        info.records = k + 1;
        return first + 1 + k;
    }

    // Variable-size group: k index records, then k data records.
    std::uint32_t largest = 0;
    for (int d = 0; d < k; ++d) {
        const std::size_t indexRecord = first + 1 + static_cast<std::size_t>(d);
        const std::size_t dataRecord = indexRecord + k;
        Label(indexRecord, d + 1 < k ? "ArrayIndexRecord" : "ArrayIndexRecord_Last");
        Label(dataRecord, dataLabel(d));
        CKXPdbReader index = RecordReader(indexRecord);
        const auto count = static_cast<std::size_t>(countIn(d));
        if (m_summary.records[indexRecord].length != 4 * count) {
            index.Fail(where + "index record length " + std::to_string(m_summary.records[indexRecord].length) +
                       ", expected " + std::to_string(4 * count));
        }
        CKXPdbReader data = RecordReader(dataRecord);
        const std::uint32_t dataLength = m_summary.records[dataRecord].length;
        std::vector<std::uint32_t> offsets(count);
        for (auto& o : offsets) o = index.U32("element offset");
        if (offsets[0] != 0) index.Fail(where + "first element offset is not 0");
        for (std::size_t e = 0; e < count; ++e) {
            const std::uint32_t end = e + 1 < count ? offsets[e + 1] : dataLength;
            if (end <= offsets[e] || end > dataLength) {
                index.Fail(where + "element " + std::to_string(e) + " offsets do not increase within the data record");
            }
            info.elementSizes.push_back(end - offsets[e]);
            largest = std::max(largest, end - offsets[e]);
            const std::size_t base = m_summary.records[dataRecord].offset;
            CheckVariableElement(group, m_bytes.data(), base + offsets[e], base + end,
                                 where + "element " + std::to_string(e) + " of data record " +
                                     std::to_string(dataRecord));
        }
    }
    const std::int32_t c = std::max<std::int32_t>(1, static_cast<std::int32_t>(32768 / largest));
    if (k > 1 ? perRecord != c : perRecord != lastCount || perRecord > c) {
        toc.Fail(where + "elements per record " + std::to_string(perRecord) + " is not min(32768 / " +
                 std::to_string(largest) + ", N)");
    }
    info.records = 2 * k + 1;
    return first + 1 + 2 * static_cast<std::size_t>(k);
}

void CKXPdbValidator::CheckFixedElements(int group, std::size_t record, int count, std::uint32_t) {
    CKXPdbReader r = RecordReader(record);
    for (int e = 0; e < count; ++e) {
        if (group == 0) {
            for (int f = 0; f < 4; ++f) m_summary.attributeRecords.push_back(r.I32("attribute field"));
        } else {
            m_summary.colours.push_back(r.I32("colour"));
        }
    }
}

void CKXPdbValidator::CheckVariableElement(int group, const std::uint8_t* data, std::size_t begin,
                                           std::size_t end, const std::string& context) {
    CKXPdbReader r(data, begin, end, context);
    if (group == 2) {  // line style
        const std::uint16_t n = r.U16("element count");
        r.I32("pattern length");
        if (r.U16("reserved") != 0 || r.I32("reserved") != 0 || r.I32("reserved") != 0) {
            r.Fail("reserved fields are not 0");
        }
        for (std::uint16_t i = 0; i < n; ++i) r.I32("element length");
        for (std::uint16_t i = 0; i < n; ++i) {
            if (r.I32("element slot") != 0) r.Fail("element slots are not 0");
        }
    } else if (group == 3) {  // layer
        const std::uint16_t state = r.U16("state");
        if (r.U16("state copy") != state) r.Fail("the two state words differ");
        r.I32("reserved");
        const std::int32_t colour = r.I32("colour");
        r.I32("line style");
        r.I32("line weight");
        m_summary.layerStates.push_back(state);
        m_summary.layerColours.push_back(colour);
        const std::uint16_t nameLength = r.U16("name length");
        if (nameLength < 1) r.Fail("name length does not count the terminator");
        const auto* name = reinterpret_cast<const char*>(r.Bytes(nameLength, "name"));
        if (name[nameLength - 1] != 0) r.Fail("name is not zero-terminated");
        m_summary.layerNames.emplace_back(name);
        if ((nameLength - 1) % 2 == 0 && r.U8("pad") != 0) r.Fail("pad byte is not 0");
    } else {  // glyph: stroke slots, then the point lists of the non-null strokes
        const std::uint16_t slots = r.U16("stroke slots");
        std::uint32_t lists = 0;
        while (!r.AtEnd()) {
            // Strokes are written relative to the glyph origin of DrawingInfo,
            // the lowest corner of all of them.
            const std::uint16_t points = r.U16("point count");
            for (std::uint16_t p = 0; p < points; ++p) {
                const std::int32_t x = r.I32("x");
                const std::int32_t y = r.I32("y");
                if (x < -kCoordinateSlack || y < -kCoordinateSlack)
                    r.Fail("stroke point (" + std::to_string(x) + ", " + std::to_string(y) + ") lies below the glyph origin");
            }
            ++lists;
        }
        if (lists > slots) r.Fail("more point lists than stroke slots");
    }
    if (!r.AtEnd()) r.Fail("element is longer than its content (" + std::to_string(r.Remaining()) + " bytes left)");
}

// --- Fixed tables ------------------------------------------------------------------

void CKXPdbValidator::CheckDirectionCache(std::size_t record) {
    Label(record, "LSCache");
    CKXPdbReader r = RecordReader(record);
    if (m_summary.records[record].length != kDirectionEntries * 8) {
        r.Fail("length " + std::to_string(m_summary.records[record].length) + ", expected 4104");
    }
}

void CKXPdbValidator::CheckCosSin(std::size_t record) {
    Label(record, "CosSin");
    CKXPdbReader r = RecordReader(record);
    if (m_summary.records[record].length != kCosSinSteps * 10) {
        r.Fail("length " + std::to_string(m_summary.records[record].length) + ", expected 2000");
    }
    for (std::size_t k = 0; k < kCosSinSteps; ++k) {
        const double theta = static_cast<double>(k) * kAngleStep;
        const double c = std::max(-1.0, std::min(1.0, std::cos(theta)));
        const double s = std::max(-1.0, std::min(1.0, std::sin(theta)));
        const std::int32_t wc = Trunc32(std::fabs(c) * kCosSinScale);
        const std::int32_t ws = Trunc32(std::fabs(s) * kCosSinScale);
        if (r.I32("cos") != wc || r.I32("sin") != ws ||
            r.U8("cos sign") != (c < 0 ? 0xFF : 0) || r.U8("sin sign") != (s < 0 ? 0xFF : 0)) {
            r.Fail("entry " + std::to_string(k) + " does not hold the cosine and sine of its step");
        }
    }
}

// --- Entity pools ------------------------------------------------------------------

std::uint32_t CKXPdbValidator::EntityRecord(CKXPdbReader& r, int pool, int index) {
    KXPdbEntityInfo entity;
    entity.pool = pool;
    entity.index = index;
    entity.fileOffset = static_cast<std::uint32_t>(r.Position());
    const std::uint16_t word = r.U16("record kind");
    entity.flags = word & kFlagBits;
    entity.kind = static_cast<std::uint16_t>(word & ~kFlagBits);
    std::size_t body = 0;
    switch (entity.kind) {
    case kNoRecord:
    case kMarkerOpen:
    case kMarkerClose: body = 0; break;
    case kLine: body = 16; break;
    case kStyledLine: body = 26; break;
    case kPolyline: {
        const std::uint16_t n = r.U16("point count");
        body = 8 * std::size_t{n};
        if (n == 0) r.Fail("polyline at offset " + std::to_string(r.Offset() - 4) + " has no points");
        r.Bytes(body, "polyline points");
        body = 0;
        break;
    }
    case kBlockRef: body = 42; break;
    case kAttribSet: body = 2; break;
    case kCircle: body = 32; break;
    case kEllipse: body = 48; break;
    case kTextLine: {
        r.Bytes(20, "text line segment");
        const std::int32_t n = r.I32("character count");
        if (n < 0 || static_cast<std::size_t>(n) > r.Remaining() / 12) {
            r.Fail("text line character count " + std::to_string(n) + " does not fit the pool");
        }
        // Each character names a glyph of the glyph table (-1: none).
        const int glyphs = m_summary.groups[kGlyphGroup].elementCount;
        for (std::int32_t c = 0; c < n; ++c) {
            const std::int32_t instance = r.I32("glyph instance");
            if (instance < -1 || instance >= glyphs) {
                r.Fail("text line character " + std::to_string(c) + " names glyph " + std::to_string(instance) +
                       " of a table of " + std::to_string(glyphs));
            }
            r.Bytes(8, "character position");
        }
        break;
    }
    default:
        r.Fail("unknown record kind " + std::to_string(entity.kind) + " at offset " +
               std::to_string(r.Offset() - 2));
    }
    r.Bytes(body, "entity record");
    entity.size = static_cast<std::uint32_t>(r.Position() - entity.fileOffset);
    m_summary.entities.push_back(entity);
    m_boxes.emplace_back();
    ++m_summary.entityCountsByKind[entity.kind];
    CheckEntityGeometry(m_summary.entities.back());
    return entity.size;
}

void CKXPdbValidator::CheckEntityGeometry(const KXPdbEntityInfo& entity) {
    // Line and polyline coordinates are quantised against the document
    // extents, so they lie in the drawing box.
    if (entity.kind != kLine && entity.kind != kStyledLine && entity.kind != kPolyline) return;
    CKXPdbReader r(m_bytes.data(), entity.fileOffset + 2, std::size_t{entity.fileOffset} + entity.size,
                   "entity " + std::to_string(m_summary.entities.size() - 1) + " (pool " +
                       std::to_string(entity.pool) + ", index " + std::to_string(entity.index) + ")");
    const std::size_t points = entity.kind == kPolyline ? r.U16("point count") : 2;
    Box& box = m_boxes[m_summary.entities.size() - 1];
    for (std::size_t i = 0; i < points; ++i) {
        const std::int32_t x = r.I32("x");
        const std::int32_t y = r.I32("y");
        if (!box.known) {
            box = Box{true, x, y, x, y};
        } else {
            box.xmin = std::min(box.xmin, x);
            box.ymin = std::min(box.ymin, y);
            box.xmax = std::max(box.xmax, x);
            box.ymax = std::max(box.ymax, y);
        }
        if (x < -kCoordinateSlack || y < -kCoordinateSlack ||
            x > m_summary.width + kCoordinateSlack || y > m_summary.height + kCoordinateSlack) {
            r.Fail("point (" + std::to_string(x) + ", " + std::to_string(y) +
                   ") lies outside the drawing box " + std::to_string(m_summary.width) + " x " +
                   std::to_string(m_summary.height));
        }
    }
}

std::size_t CKXPdbValidator::CheckEntityPools(std::size_t first) {
    const int pools = m_summary.pools;
    for (int p = 0; p < pools; ++p) {
        const std::size_t record = first + static_cast<std::size_t>(p);
        Label(record, "EntPool");
        m_poolRecords.push_back(record);
        CKXPdbReader r = RecordReader(record);
        const bool last = p + 1 == pools;
        const std::uint32_t length = m_summary.records[record].length;
        m_summary.poolLengths.push_back(length);
        if (last && length < 2) r.Fail("last pool has no room for its terminator");
        const std::size_t entitiesEnd = last ? length - 2 : length;
        std::uint32_t total = 0;
        std::uint32_t before = 0;
        int index = 0;
        while (r.Offset() < entitiesEnd) {
            before = total;
            total += EntityRecord(r, p, index++);
            if (r.Offset() > entitiesEnd) r.Fail("entity record runs into the terminator");
        }
        if (index == 0) r.Fail("pool holds no entity");
        if (before > kPoolLimit) {
            r.Fail("pool continued after its byte total " + std::to_string(before) + " exceeded 32768");
        }
        if (!last && total <= kPoolLimit) {
            r.Fail("pool closed at " + std::to_string(total) + " bytes, before exceeding 32768");
        }
        if (last && r.U16("terminator") != 0) r.Fail("last pool does not end with a zero terminator");
    }
    return first + static_cast<std::size_t>(pools);
}

// --- Tile map and tile pools -------------------------------------------------------

void CKXPdbValidator::CheckTiles(std::size_t tileMapRecord) {
    Label(tileMapRecord, "TileMap");
    CKXPdbReader map = RecordReader(tileMapRecord);
    if (m_summary.records[tileMapRecord].length != kTileMapEntries * 8) {
        map.Fail("length " + std::to_string(m_summary.records[tileMapRecord].length) + ", expected 10240");
    }
    const std::size_t firstTile = tileMapRecord + 1;
    const auto tiles = static_cast<std::size_t>(m_summary.tilePools);
    CheckRecordCount(firstTile + tiles);

    // The tile records divide one block of words; list positions run across them.
    std::vector<std::uint64_t> tileStart(tiles + 1, 0);
    for (std::size_t t = 0; t < tiles; ++t) {
        const std::size_t record = firstTile + t;
        Label(record, "TilePoolRecord");
        const std::uint32_t length = m_summary.records[record].length;
        if (length % 2 != 0) RecordReader(record).Fail("odd length " + std::to_string(length));
        tileStart[t + 1] = tileStart[t] + length;
        if (t + 1 < tiles) {
            CKXPdbReader r = RecordReader(record);
            r.Seek(length - 2, "end of record");
            if (r.U16("end word") != kEndOfRecord) r.Fail("record does not end with the end-of-record word");
            if (length - 2 <= kTileRecordLimit) r.Fail("record closed before exceeding 32768 bytes");
        }
    }
    const std::uint64_t totalBytes = tileStart[tiles];
    m_summary.tileWords = totalBytes / 2;
    const std::size_t tileBase = m_summary.records[firstTile].offset;  // records are contiguous

    // Entities by (pool, index) for lookups.
    std::vector<std::size_t> poolFirstEntity(m_poolRecords.size() + 1, 0);
    for (const KXPdbEntityInfo& e : m_summary.entities) poolFirstEntity[static_cast<std::size_t>(e.pool) + 1]++;
    for (std::size_t p = 1; p < poolFirstEntity.size(); ++p) poolFirstEntity[p] += poolFirstEntity[p - 1];
    std::vector<std::uint8_t> placed(m_summary.entities.size(), 0);

    std::uint64_t wordsListed = 0;
    for (std::size_t slot = 0; slot < kTileMapEntries; ++slot) {
        const std::uint16_t record = map.U16("tile record");
        const std::uint16_t offset = map.U16("tile offset");
        const std::int32_t words = map.I32("tile words");
        const int level = static_cast<int>(slot) / kCellSlotsPerLevel;
        const int cell = static_cast<int>(slot) % kCellSlotsPerLevel;
        const std::string where = "tile map entry " + std::to_string(slot) + " (level " +
                                  std::to_string(level) + ", cell " + std::to_string(cell) + ")";
        const int cellsInLevel = 1 << (2 * level);
        if (level >= kLevels) Fail(where + ": beyond the last level");
        if (cell >= cellsInLevel) {
            if (record != 0 || offset != 0 || words != 0) Fail(where + ": unused slot is not zero");
            continue;
        }
        if (words < 0) Fail(where + ": negative word count");
        if (words == 0) continue;
        if (record >= tiles) Fail(where + ": tile record " + std::to_string(record) + " does not exist");
        const std::uint64_t begin = tileStart[record] + offset;
        if (offset >= tileStart[record + 1] - tileStart[record] ||
            begin + 2 * static_cast<std::uint64_t>(words) > totalBytes) {
            Fail(where + ": list of " + std::to_string(words) + " words at record " +
                 std::to_string(record) + " offset " + std::to_string(offset) + " lies outside the tile pools");
        }
        ++m_summary.usedCells;
        wordsListed += static_cast<std::uint64_t>(words);
        CKXPdbReader list(m_bytes.data(), tileBase + begin, tileBase + begin + 2 * static_cast<std::uint64_t>(words), where);
        int pool = -1;
        while (!list.AtEnd()) {
            const std::uint16_t word = list.U16("tile word");
            if (word == kEndOfRecord) {
                const std::uint64_t at = list.Position() - tileBase;
                if (std::find(tileStart.begin(), tileStart.end(), at) == tileStart.end()) {
                    list.Fail("end-of-record word is not at the end of a tile record");
                }
            } else if ((word & kPoolSwitchMask) == kPoolSwitch) {
                pool = word & ~kPoolSwitchMask;
                if (pool >= static_cast<int>(m_poolRecords.size())) {
                    list.Fail("switch to pool " + std::to_string(pool) + ", but there are " +
                              std::to_string(m_poolRecords.size()));
                }
            } else {
                if (pool < 0) list.Fail("entity index before any pool switch");
                const std::size_t firstOfPool = poolFirstEntity[static_cast<std::size_t>(pool)];
                const std::size_t inPool = poolFirstEntity[static_cast<std::size_t>(pool) + 1] - firstOfPool;
                if (word >= inPool) {
                    list.Fail("entity " + std::to_string(word) + " of pool " + std::to_string(pool) +
                              " does not exist (the pool holds " + std::to_string(inPool) + ")");
                }
                std::uint8_t& mark = placed[firstOfPool + word];
                if (mark) {
                    list.Fail("entity " + std::to_string(word) + " of pool " + std::to_string(pool) +
                              " is placed in more than one cell");
                }
                mark = 1;
                CheckPlacement(firstOfPool + word, level, cell, where);
            }
        }
    }
    if (wordsListed != m_summary.tileWords) {
        Fail("tile pools hold " + std::to_string(m_summary.tileWords) + " words but the cell lists cover " +
             std::to_string(wordsListed));
    }
    for (std::size_t e = 0; e < placed.size(); ++e) {
        if (!placed[e]) {
            const KXPdbEntityInfo& info = m_summary.entities[e];
            Fail("entity " + std::to_string(info.index) + " of pool " + std::to_string(info.pool) +
                 " is in no tile map cell");
        }
    }
}

void CKXPdbValidator::CheckPlacement(std::size_t entity, int level, int cell, const std::string& where) const {
    const Box& box = m_boxes[entity];
    if (!box.known) return;
    // The cell's square in coordinates normalised to the drawing box: the
    // quadrant taken at level i sits in bits 2(i-1) and 2(i-1)+1.
    double x0 = 0.0;
    double y0 = 0.0;
    double size = 1.0;
    for (int i = 1; i <= level; ++i) {
        const int q = (cell >> (2 * (i - 1))) & 3;
        size /= 2.0;
        if (q == 2 || q == 3) x0 += size;
        if (q == 1 || q == 2) y0 += size;
    }
    // One integer unit of slack on each side for the truncation.
    const auto outside = [&](std::int32_t lo, std::int32_t hi, std::int32_t extent, double origin) {
        if (extent <= 0) return false;
        const double slack = 1.0 / extent;
        return lo / static_cast<double>(extent) < origin - slack ||
               hi / static_cast<double>(extent) > origin + size + slack;
    };
    if (outside(box.xmin, box.xmax, m_summary.width, x0) || outside(box.ymin, box.ymax, m_summary.height, y0)) {
        const KXPdbEntityInfo& info = m_summary.entities[entity];
        Fail(where + ": entity " + std::to_string(info.index) + " of pool " + std::to_string(info.pool) +
             " does not lie in the cell's square");
    }
}

void CKXPdbValidator::CheckRecordCount(std::size_t end) {
    if (end != m_summary.records.size()) {
        Fail("the header counts " + std::to_string(m_summary.records.size()) +
             " records but the layout (DrawingInfo pool counts and tables) accounts for " +
             std::to_string(end));
    }
}
