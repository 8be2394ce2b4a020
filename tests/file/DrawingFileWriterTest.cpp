// The drawing file as written through the exports: record sequence, the
// array groups, pools, ids and names, checked against the validator and
// the layout rules directly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "BigEndian.h"
#include "file/CKXArrayGroupWriter.h"
#include "CKXAttribTable.h"
#include "file/CKXDrawingFileWriter.h"
#include "file/CKXFileInfoRecord.h"
#include "file/CKXRecordList.h"
#include "file/CKXTableWriter.h"
#include "FileTestSupport.h"

using namespace kxtest;

namespace {

std::uint32_t RecordOffset(const std::vector<std::uint8_t>& bytes, std::size_t i) {
    return kxbe::LoadU32(bytes.data() + 78 + 8 * i);
}

// The bytes of the first record with the given label.
std::vector<std::uint8_t> RecordBytes(const std::vector<std::uint8_t>& file, const KXPdbSummary& summary,
                                      const std::string& label) {
    for (const KXPdbRecordInfo& r : summary.records) {
        if (r.label == label) {
            return std::vector<std::uint8_t>(file.begin() + r.offset, file.begin() + r.offset + r.length);
        }
    }
    ADD_FAILURE() << "no " << label << " record";
    return {};
}

// The table of contents the write left in the document places every record
// where the file's record list does: start counts from the first record.
void ExpectContentsMatchFile(const CKXDoc& doc, const std::vector<std::uint8_t>& file) {
    const std::vector<CPDBOffset>& contents = doc.Contents();
    ASSERT_GE(file.size(), 78u);
    const std::size_t n = kxbe::LoadU16(file.data() + 76);
    ASSERT_EQ(contents.size(), n);
    const std::size_t first = 80 + 8 * n;
    for (std::size_t i = 0; i < n; ++i) {
        EXPECT_EQ(RecordOffset(file, i), first + static_cast<std::size_t>(contents[i].start)) << i;
        const std::size_t end = i + 1 < n ? RecordOffset(file, i + 1) : file.size();
        EXPECT_EQ(end - RecordOffset(file, i), static_cast<std::size_t>(contents[i].length)) << i;
    }
}

// Appends a big-endian value the way the file stores it.
void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}
void PutI32(std::vector<std::uint8_t>& out, std::int32_t v) {
    std::uint8_t b[4];
    kxbe::StoreI32(b, v);
    out.insert(out.end(), b, b + 4);
}
void PutF64(std::vector<std::uint8_t>& out, double v) {
    std::uint8_t b[8];
    kxbe::StoreF64(b, v);
    out.insert(out.end(), b, b + 8);
}

// The bytes of the record labelled label inside array group g (0 attribute
// records ... 4 glyphs); the groups follow DrawingInfo in that order.
std::vector<std::uint8_t> GroupRecordBytes(const std::vector<std::uint8_t>& file, const KXPdbSummary& summary,
                                           int g, const std::string& label) {
    std::size_t i = 2;
    for (int group = 0; group <= g && i < summary.records.size(); ++group) {
        const std::size_t first = i++;
        if (summary.records[first].label != "ArrayTOC_Empty") {
            while (i < summary.records.size() && summary.records[i].label != "ArrayRecord_Last") ++i;
            ++i;
        }
        if (group < g) continue;
        for (std::size_t r = first; r < i && r < summary.records.size(); ++r) {
            const KXPdbRecordInfo& info = summary.records[r];
            if (info.label == label) {
                return std::vector<std::uint8_t>(file.begin() + info.offset, file.begin() + info.offset + info.length);
            }
        }
    }
    ADD_FAILURE() << "group " << g << " has no " << label << " record";
    return {};
}

}  // namespace

TEST(DrawingFileWriter, OneLineDocumentHasTheMinimalRecordList) {
    ScopedTempDir dir;
    Doc doc;
    doc.Line(1.0, 2.0, 11.0, 7.0);
    const KXPdbResult result = CloseWriteValidate(doc, dir.File("one.pdb"));
    ASSERT_TRUE(result.ok);
    // Every table group is empty; a document that holds a default colour
    // writes it as a one-record group.
    const bool colours = doc.Get().Attribs().ColorCount() > 0;
    std::vector<std::string> expected = {"FileInfo", "DrawingInfo", "ArrayTOC_Empty"};
    if (colours) {
        expected.insert(expected.end(), {"ArrayTOC", "ArrayRecord_Last"});
    } else {
        expected.push_back("ArrayTOC_Empty");
    }
    expected.insert(expected.end(), {"ArrayTOC_Empty", "ArrayTOC_Empty", "ArrayTOC_Empty", "LSCache", "CosSin",
                                     "EntPool", "TileMap", "TilePoolRecord"});
    EXPECT_EQ(Labels(result.summary), expected);
    EXPECT_EQ(result.summary.pools, 1);
    EXPECT_EQ(result.summary.tilePools, 1);
    // The line record and the terminator.
    ASSERT_EQ(result.summary.poolLengths.size(), 1u);
    EXPECT_EQ(result.summary.poolLengths[0], 18u + 2u);
    EXPECT_EQ(result.summary.entityCountsByKind.at(1), 1);
    // The single pool-switch + index list of the cell holding the line.
    EXPECT_EQ(result.summary.tileWords, 2u);
    const std::vector<std::uint8_t> bytes = ReadAll(dir.File("one.pdb"));
    // DrawingInfo's counts, read from the bytes: P, T, and the records of
    // all seven tables between DrawingInfo and the pools (the five groups,
    // LSCache and CosSin).
    const std::uint8_t* counts = bytes.data() + RecordOffset(bytes, 1) + 16;
    EXPECT_EQ(kxbe::LoadU16(counts), 1);
    EXPECT_EQ(kxbe::LoadU16(counts + 2), 1);
    EXPECT_EQ(kxbe::LoadU16(counts + 4), colours ? 8 : 7);
    EXPECT_EQ(result.summary.tableRecords, colours ? 8 : 7);
    // Coordinates span the integer box from the minimum corner.
    const KXPdbEntityInfo& line = result.summary.entities[0];
    const std::int32_t x1 = kxbe::LoadI32(bytes.data() + line.fileOffset + 10);
    EXPECT_EQ(kxbe::LoadI32(bytes.data() + line.fileOffset + 2), 0);
    EXPECT_EQ(x1, result.summary.width);
    EXPECT_EQ(result.summary.minX, 1.0);
    EXPECT_EQ(result.summary.maxY, 7.0);
    // The table-of-contents of the write stays in the document.
    EXPECT_EQ(doc.Get().Contents().size(), expected.size());
    EXPECT_EQ(doc.Get().PoolSlots().size(), 2u);
    EXPECT_EQ(doc.Get().PoolSlots()[1].offset, 20);  // the terminator slot holds its end
}

TEST(DrawingFileWriter, FileSizeAndNamesAreFilledIn) {
    ScopedTempDir dir;
    Doc doc;
    doc.Line(0, 0, 5, 5);
    KXAddProperty(doc.Handle(), "Author", "someone");
    KXAddProperty(doc.Handle(), "Empty", "");
    const std::string name = "a_forty_character_drawing_name_abcdefghi";  // 40 characters
    ASSERT_EQ(name.size(), 40u);
    const std::string path = dir.File(name + ".pdb");
    const KXPdbResult result = CloseWriteValidate(doc, path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.summary.name, name.substr(0, 31));
    EXPECT_EQ(result.summary.statedFileSize, std::filesystem::file_size(path));
    const std::string& text = result.summary.fileInfoText;
    EXPECT_NE(text.find("\nFile Name: " + name + "\nFile Size: "), std::string::npos);
    // The document's own heading is renamed; empty values get a blank line.
    EXPECT_NE(text.find("\n\nORIGINAL FILE PROPERTIES: "), std::string::npos);
    EXPECT_NE(text.find("\nAuthor: someone"), std::string::npos);
    EXPECT_NE(text.find("\n\nEmpty: "), std::string::npos);
    // Header dates are seconds since 1904.
    const auto now1904 = static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::time(nullptr)) + 2082844800u);
    EXPECT_LE(now1904 - result.summary.creationDate, 60u);
}

TEST(DrawingFileWriter, ThreeThousandAttributeRecordsMakeTwoDataRecords) {
    ScopedTempDir dir;
    Doc doc;
    for (int i = 1; i <= 3000; ++i) doc.Get().Attribs().FindOrAddRecord(CKXAttribute{i, 0, 0, 0});
    doc.Line(0, 0, 1, 1);
    const KXPdbResult result = CloseWriteValidate(doc, dir.File("attribs.pdb"));
    ASSERT_TRUE(result.ok);
    const KXPdbGroupInfo& group = result.summary.groups[0];
    EXPECT_EQ(group.perRecord, 2048);
    EXPECT_EQ(group.dataRecords, 2);
    EXPECT_EQ(group.lastCount, 952);
    EXPECT_EQ(group.records, 3);
    EXPECT_EQ(result.summary.records[2].label, "ArrayTOC");
    EXPECT_EQ(result.summary.records[3].label, "ArrayRecord");
    EXPECT_EQ(result.summary.records[4].label, "ArrayRecord_Last");
    ASSERT_GE(result.summary.attributeRecords.size(), 3000u * 4);
    EXPECT_EQ(result.summary.attributeRecords[4 * 2999], 3000);
}

TEST(DrawingFileWriter, EntityRunOfFortyThousandBytesMakesTwoPools) {
    ScopedTempDir dir;
    Doc doc;
    // 2223 lines of 18 bytes = 40014 bytes; the 1821st line crosses 32768.
    for (int i = 0; i < 2223; ++i) doc.Line(i, 0, i + 0.5, 1);
    const KXPdbResult result = CloseWriteValidate(doc, dir.File("pools.pdb"));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.summary.pools, 2);
    ASSERT_EQ(result.summary.poolLengths.size(), 2u);
    EXPECT_EQ(result.summary.poolLengths[0], 1821u * 18);
    EXPECT_EQ(result.summary.poolLengths[1], (2223u - 1821) * 18 + 2);
    const std::vector<CEntInfo>& slots = doc.Get().PoolSlots();
    ASSERT_EQ(slots.size(), 2224u);
    EXPECT_EQ(slots[1820].pool, 0);
    EXPECT_EQ(slots[1821].pool, 1);
    EXPECT_EQ(slots[1821].index, 0);
    EXPECT_EQ(slots[1821].offset, 0);
    EXPECT_EQ(slots.back().size, 2);
    EXPECT_EQ(slots.back().offset, static_cast<std::int32_t>((2223 - 1821) * 18 + 2));
    ExpectContentsMatchFile(doc.Get(), ReadAll(dir.File("pools.pdb")));
}

TEST(DrawingFileWriter, RecordListLaysRecordsOutBackToBack) {
    std::vector<CPDBOffset> contents;
    CKXRecordList records(contents);
    ASSERT_TRUE(records.Record("FileInfo", std::vector<std::uint8_t>(10, 1)));
    ASSERT_TRUE(records.Record("DrawingInfo", std::vector<std::uint8_t>(82, 2)));
    ASSERT_TRUE(records.Reserve("EntPool", 40000));
    ASSERT_TRUE(records.Reserve("TileMap", 10240));
    EXPECT_EQ(contents[2].start, 92);
    EXPECT_EQ(contents[3].start, 40092);
    // A grown first record moves every later one along.
    ASSERT_TRUE(records.Replace(0, std::vector<std::uint8_t>(12, 3)));
    EXPECT_EQ(contents[0].length, 12);
    EXPECT_EQ(contents[1].start, 12);
    EXPECT_EQ(contents[3].start, 40094);
    EXPECT_EQ(records.Position(), 50334u);
    EXPECT_EQ(records.Kept()[0], std::vector<std::uint8_t>(12, 3));
    EXPECT_EQ(records.Kept().size(), 2u);
    // Kept records are the front of the file only; a reserved record cannot
    // be replaced; offsets stay within 32 bits.
    EXPECT_FALSE(records.Record("TileMap", std::vector<std::uint8_t>(4, 0)));
    EXPECT_FALSE(records.Good());
    std::vector<CPDBOffset> more;
    CKXRecordList big(more);
    EXPECT_FALSE(big.Replace(0, {}));
    CKXRecordList huge(more);
    ASSERT_TRUE(huge.Reserve("EntPool", 0x7FFFFFF0));
    EXPECT_FALSE(huge.Reserve("EntPool", 0x10));
    EXPECT_EQ(more.size(), 1u);
}

TEST(DrawingFileWriter, UniqueIdsWrapAfterRecord157) {
    ScopedTempDir dir;
    Doc doc;
    // About 160 entity pools of 1821 lines each.
    for (int i = 0; i < 160 * 1821; ++i) doc.Line(i % 1000, i / 1000, i % 1000 + 0.5, i / 1000 + 0.5);
    const std::string path = dir.File("many.pdb");
    const KXPdbResult result = CloseWriteValidate(doc, path);
    ASSERT_TRUE(result.ok);
    ASSERT_GT(result.summary.records.size(), 158u);
    const auto& r156 = result.summary.records[156].uniqueId;
    const auto& r157 = result.summary.records[157].uniqueId;
    EXPECT_EQ(r156[0], 0x61);
    EXPECT_EQ(r156[1], 0x62);
    EXPECT_EQ(r156[2], 0xFF);
    EXPECT_EQ(r157[2], 0x00);
    // Offsets in the record list are absolute and contiguous.
    const std::vector<std::uint8_t> bytes = ReadAll(path);
    const std::size_t n = result.summary.records.size();
    EXPECT_EQ(RecordOffset(bytes, 0), 80 + 8 * n);
    EXPECT_GT(result.summary.tilePools, 1);
}

TEST(DrawingFileWriter, TablesAreWrittenAsArrayGroups) {
    ScopedTempDir dir;
    Doc doc;
    KXAttribColor(doc.Handle(), 0x0000FF);
    KXAttribColor(doc.Handle(), 0x00FF00);
    const double dash[3] = {2.0, -1.0, 0.0};
    const tagKXLineStyle style{1, 3, dash};
    const int styleId = KXAttribLineStyle(doc.Handle(), &style);
    ASSERT_GT(styleId, 0);
    const tagKXLayer even{"WALLS_", 1, 0, 1, styleId, 2, 0};  // 6 characters: padded
    const tagKXLayer odd{"DOORS", 1, 0, 2, -4, 2, 0};
    KXAttribLayer(doc.Handle(), &even);
    KXAttribLayer(doc.Handle(), &odd);
    tagKXAttrib attrib{1, 1, styleId, 3, 0};
    KXAttribSet(doc.Handle(), &attrib);
    doc.Line(0, 0, 100, 50);
    const std::string path = dir.File("tables.pdb");
    const KXPdbResult result = CloseWriteValidate(doc, path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.summary.groups[1].elementCount, doc.Get().Attribs().ColorCount());
    EXPECT_EQ(result.summary.groups[2].elementCount, 1);
    ASSERT_EQ(result.summary.groups[2].elementSizes.size(), 1u);
    EXPECT_EQ(result.summary.groups[2].elementSizes[0], 16u + 8 * 3);
    ASSERT_EQ(result.summary.layerNames.size(), 2u);
    EXPECT_EQ(result.summary.layerNames[0], "WALLS_");
    EXPECT_EQ(result.summary.groups[3].elementSizes[0], 23u + 6 + 1);
    EXPECT_EQ(result.summary.groups[3].elementSizes[1], 23u + 5);
    // Line style elements are in drawing units times s.
    const double s = result.summary.resolution;
    EXPECT_EQ(doc.Get().Attribs().LineStyle(styleId)->resolution, s);

    // The elements byte for byte: the line style (count, scaled total,
    // reserved words, scaled elements, zero slots) and the two layers (state
    // twice, the four fields in order, name length with terminator, name,
    // and the pad byte that keeps an even-named element even).
    const std::vector<std::uint8_t> file = ReadAll(path);
    std::vector<std::uint8_t> lineStyle;
    PutU16(lineStyle, 3);
    PutI32(lineStyle, static_cast<std::int32_t>(3.0 * s));
    PutU16(lineStyle, 0);
    PutI32(lineStyle, 0);
    PutI32(lineStyle, 0);
    for (double e : dash) PutI32(lineStyle, static_cast<std::int32_t>(e * s));
    lineStyle.insert(lineStyle.end(), 3 * 4, 0);
    EXPECT_EQ(GroupRecordBytes(file, result.summary, 2, "ArrayRecord_Last"), lineStyle);
    std::vector<std::uint8_t> layers;
    const auto putLayer = [&](const tagKXLayer& layer) {
        PutU16(layers, static_cast<std::uint16_t>(layer.state));
        PutU16(layers, static_cast<std::uint16_t>(layer.state));
        for (int field : {layer.reserved1, layer.color, layer.lineStyle, layer.lineWeight}) PutI32(layers, field);
        const std::size_t n = std::strlen(layer.name);
        PutU16(layers, static_cast<std::uint16_t>(n + 1));
        layers.insert(layers.end(), layer.name, layer.name + n + 1);
        if (n % 2 == 0) layers.push_back(0);
    };
    putLayer(even);
    putLayer(odd);
    EXPECT_EQ(GroupRecordBytes(file, result.summary, 3, "ArrayRecord_Last"), layers);
    std::vector<std::uint8_t> layerOffsets;
    PutI32(layerOffsets, 0);
    PutI32(layerOffsets, 23 + 6 + 1);
    EXPECT_EQ(GroupRecordBytes(file, result.summary, 3, "ArrayIndexRecord_Last"), layerOffsets);
    // A variable group's TOC: c, last count, k, then 32 zero bytes per data record.
    std::vector<std::uint8_t> layerToc;
    PutI32(layerToc, 2);
    PutI32(layerToc, 2);
    PutU16(layerToc, 1);
    layerToc.insert(layerToc.end(), 32, 0);
    EXPECT_EQ(GroupRecordBytes(file, result.summary, 3, "ArrayTOC"), layerToc);
    EXPECT_GE(result.summary.entityCountsByKind.at(6), 1);
}

TEST(DrawingFileWriter, CosSinTableHoldsTheAngleSteps) {
    const std::vector<std::uint8_t> record = CKXTableWriter::CosSinRecord();
    ASSERT_EQ(record.size(), 2000u);
    EXPECT_EQ(kxbe::LoadI32(record.data()), 8192);
    EXPECT_EQ(kxbe::LoadI32(record.data() + 4), 0);
    // Step 100 is pi: cosine -1 with its sign byte.
    const std::uint8_t* pi = record.data() + 100 * 10;
    EXPECT_EQ(kxbe::LoadI32(pi), 8192);
    EXPECT_EQ(pi[8], 0xFF);
    EXPECT_EQ(kxbe::LoadI32(pi + 4), 0);
    // Step 150 is 3pi/2: sine negative.
    EXPECT_EQ(record[150 * 10 + 9], 0xFF);
}

TEST(DrawingFileWriter, LineWeightsAreScaledByTheCurrentResolution) {
    EXPECT_EQ(CKXTableWriter::FileWeight(-105, 2.0), -110);
    EXPECT_EQ(CKXTableWriter::FileWeight(-2, 2.0), -2);   // by layer stays
    EXPECT_EQ(CKXTableWriter::FileWeight(-3, 2.0), -3);   // by block stays
    EXPECT_EQ(CKXTableWriter::FileWeight(3, 2.0), 3);
    const std::int32_t half = CKXAttribTable::PackWeight(0.5f);
    EXPECT_EQ(CKXTableWriter::FileWeight(half, 4.0), -102);
    EXPECT_EQ(CKXTableWriter::FileWeight(half, 1.0), 0);  // rounds to nothing
    // Absurd resolutions clamp instead of overflowing.
    EXPECT_EQ(CKXTableWriter::FileWeight(-2000000000, 1e9), INT32_MIN);
}

TEST(DrawingFileWriter, ArrayGroupShapes) {
    const auto shape = CKXArrayGroupWriter::ShapeFor(3000, 16);
    EXPECT_EQ(shape.perRecord, 2048);
    EXPECT_EQ(shape.records, 2);
    EXPECT_EQ(shape.lastCount, 952);
    const auto exact = CKXArrayGroupWriter::ShapeFor(4096, 16);
    EXPECT_EQ(exact.records, 2);
    EXPECT_EQ(exact.lastCount, 2048);
    // An element larger than a record still gets a record of its own.
    const auto huge = CKXArrayGroupWriter::ShapeFor(3, 40000);
    EXPECT_EQ(huge.perRecord, 1);
    EXPECT_EQ(huge.records, 3);
    EXPECT_EQ(huge.lastCount, 1);
}

TEST(DrawingFileWriter, SizesBeyondEightDigitsReplaceTheField) {
    const std::vector<tagKXProperty> none;
    const CKXFileInfoRecord info("plan", none);
    const std::size_t field = info.SizeFieldOffset();
    const std::vector<std::uint8_t> small = info.WithSize(1234);
    EXPECT_EQ(std::string(small.begin() + static_cast<std::ptrdiff_t>(field), small.end() - 1), "1234    ");
    EXPECT_EQ(small.size(), info.Bytes().size());
    const std::vector<std::uint8_t> large = info.WithSize(1234567890);
    EXPECT_EQ(large.size(), info.Bytes().size() + 2);
    EXPECT_EQ(std::string(large.begin() + static_cast<std::ptrdiff_t>(field), large.end() - 1), "1234567890");
    EXPECT_EQ(kxbe::LoadU16(large.data()), large.size() - 3);
    // The longer field lengthens the file, which may add a digit again.
    EXPECT_EQ(CKXFileInfoRecord::SettleFileSize(99999999), 99999999u);
    EXPECT_EQ(CKXFileInfoRecord::SettleFileSize(100000000), 100000001u);
    EXPECT_EQ(CKXFileInfoRecord::SettleFileSize(999999999), 1000000001u);
}

TEST(DrawingFileWriter, BaseNameDropsDirectoryAndExtension) {
    EXPECT_EQ(CKXDrawingFileWriter::BaseName("/a/b.c/plan.v2.pdb"), "plan.v2");
    EXPECT_EQ(CKXDrawingFileWriter::BaseName("plan"), "plan");
    EXPECT_EQ(CKXDrawingFileWriter::BaseName("dir/.pdb"), "");
}

TEST(DrawingFileWriter, WritingTwiceGivesTheSameRecords) {
    ScopedTempDir dir;
    Doc doc;
    for (int i = 0; i < 50; ++i) doc.Line(i, -i, 2 * i, i);
    std::filesystem::create_directory(dir.File("again"));
    CloseWriteValidate(doc, dir.File("same.pdb"));
    ASSERT_EQ(KXWrite(doc.Handle(), dir.File("again/same.pdb").c_str()), 1);
    std::vector<std::uint8_t> a = ReadAll(dir.File("same.pdb"));
    std::vector<std::uint8_t> b = ReadAll(dir.File("again/same.pdb"));
    ASSERT_EQ(a.size(), b.size());
    // Only the dates may differ.
    std::memset(a.data() + 36, 0, 8);
    std::memset(b.data() + 36, 0, 8);
    EXPECT_TRUE(std::equal(a.begin() + 32, a.end(), b.begin() + 32));
}

// The records of a one-line document, byte for byte as an outside reader
// takes them: the FileInfo text with its size field, every DrawingInfo
// field in its order and type, and the tile map entry and words of the
// cell that holds the line.
TEST(DrawingFileWriter, OneLineRecordsHoldTheirFieldsByteForByte) {
    ScopedTempDir dir;
    Doc doc;
    doc.Line(1.0, 2.0, 11.0, 7.0);  // 10 x 5 units: s = 200000 / 10
    const std::string path = dir.File("one.pdb");
    const KXPdbResult result = CloseWriteValidate(doc, path);
    ASSERT_TRUE(result.ok);
    const std::vector<std::uint8_t> file = ReadAll(path);

    // The finishing step put the (here empty) file name after the heading;
    // both values are empty, so both get a blank line before them.
    std::string size = std::to_string(file.size());
    size.resize(8, ' ');
    const std::string text = "\nFILE PROPERTIES:\nFile Name: one\nFile Size: " + size +
                             "\n\nORIGINAL FILE PROPERTIES: \n\nFile name: ";
    std::vector<std::uint8_t> fileInfo;
    PutU16(fileInfo, static_cast<std::uint16_t>(text.size()));
    fileInfo.insert(fileInfo.end(), text.begin(), text.end());
    fileInfo.push_back(0);
    EXPECT_EQ(RecordBytes(file, result.summary, "FileInfo"), fileInfo);

    const std::uint16_t tables = static_cast<std::uint16_t>(doc.Get().Attribs().ColorCount() > 0 ? 8 : 7);
    std::vector<std::uint8_t> info;
    PutI32(info, 0);
    PutI32(info, 0);
    PutI32(info, 200000);  // width x s
    PutI32(info, 100000);  // height x s
    PutU16(info, 1);       // P
    PutU16(info, 1);       // T
    PutU16(info, tables);  // the seven tables' records
    info.insert(info.end(), 12, 0);  // three f32 detail thresholds of 0.0
    PutI32(info, 0);                 // glyph store origin
    PutI32(info, 0);
    for (double v : {1.0, 2.0, 11.0, 7.0, 20000.0}) PutF64(info, v);
    EXPECT_EQ(RecordBytes(file, result.summary, "DrawingInfo"), info);

    // No styled lines: the direction cache is all zeros.
    const std::vector<std::uint8_t> cache = RecordBytes(file, result.summary, "LSCache");
    EXPECT_EQ(cache, std::vector<std::uint8_t>(4104, 0));

    // The line spans the whole drawing, so the root cell (entry 0) lists
    // it: record 0, offset 0, two words (pool switch to pool 0, index 0).
    const std::vector<std::uint8_t> map = RecordBytes(file, result.summary, "TileMap");
    ASSERT_EQ(map.size(), 10240u);
    EXPECT_EQ(std::vector<std::uint8_t>(map.begin(), map.begin() + 8),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 2}));
    EXPECT_EQ(RecordBytes(file, result.summary, "TilePoolRecord"), (std::vector<std::uint8_t>{0xC0, 0x00, 0x00, 0x00}));
}
