#include "CKXDrawingFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>

#include <kxplatform/fileapi.h>

#include "BigEndian.h"
#include "CKXAsyncOutStream.h"
#include "CKXEntityPoolWriter.h"
#include "CKXFileInfoRecord.h"
#include "CKXFileOutStream.h"
#include "CKXPdbAssembler.h"
#include "CKXRecordList.h"
#include "text/CKXGlyphStore.h"
#include "CKXTableWriter.h"
#include "CKXTileMapBuilder.h"
#include "KXCurrentResolution.h"
#include "geom/KXTrunc.h"

namespace {
constexpr std::size_t kTileEntrySize = 8;
constexpr std::size_t kTileChunkWords = 32768;
constexpr int kMaxU16 = 0xFFFF;

// Something other than a file or a folder at the path: a device such as
// /dev/full, or a pipe.
bool IsDevice(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE) != 0;
}

// Removes a file this writer created; never anything but a regular file, so
// a device given as the output path is left alone.
void RemoveRegularFile(const std::string& path) {
    if (path.empty()) return;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_DIRECTORY)) == 0)
        DeleteFileA(path.c_str());
}

// A failed file operation, with the system's reason when it gave one.
KXStatus FileFailure(std::string what) {
    if (errno != 0) what += std::string(": ") + std::strerror(errno);
    return KXStatus::Failure(std::move(what));
}

KXStatus RecordsNotWritten() { return KXStatus::Failure("the drawing's records could not be written"); }

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of(std::string("/") + KX_PATH_SEPARATOR);
}

// The directory part of a path, "." when it has none.
std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    if (slash == std::string::npos) return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}
}  // namespace

CKXDrawingFileWriter::CKXDrawingFileWriter(CKXDoc& doc)
    : CKXDrawingFileWriter(doc, [](const std::string& path) { return CKXFileOutStream::Open(path); }) {}

CKXDrawingFileWriter::CKXDrawingFileWriter(CKXDoc& doc, KXStreamOpener opener)
    : m_doc(doc), m_opener(std::move(opener)) {}

std::string CKXDrawingFileWriter::BaseName(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

KXStatus CKXDrawingFileWriter::Write(const std::string& path) {
    m_doc.PoolSlots().clear();
    m_doc.Contents().clear();
    m_head.clear();
    m_tileMap.clear();
    if (path.empty()) return KXStatus::Failure("no output path");
    // An empty document has no tile list to write, and an unfinished one has
    // no integer coordinates: neither makes a valid file.
    if (!m_doc.IsClosed()) return KXStatus::Failure("the document is not finished");
    if (m_doc.GetCount() == 0) return KXStatus::Failure("the drawing holds no entities");
    // Entities added after finishing have no cell and no integer coordinates.
    if (m_doc.Tree().Size() != static_cast<std::size_t>(m_doc.GetCount()))
        return KXStatus::Failure("entities were added after the document was finished");
    m_name = BaseName(path);

    const CFltExtents savedExtents = m_doc.GetExtents();
    CKXRecordList records(m_doc.Contents());
    CKXEntityPoolWriter pools(m_doc.GetEntList(), m_doc.PoolSlots());
    KXStatus status = LayOut(records, pools);
    if (status) status = WriteFile(path, records, pools);
    m_doc.SetExtents(savedExtents);
    return status;
}

std::vector<std::uint8_t> CKXDrawingFileWriter::DrawingInfo() const {
    const CFltExtents& e = m_doc.GetExtents();
    const double s = m_doc.GetResolution();
    const double* detail = m_doc.DetailThresholds();
    // Glyph strokes are written relative to the store's origin.
    const CKXGlyphStore* glyphs = m_doc.GetGlyphStore();
    const std::int32_t glyphOriginX = glyphs ? KXTrunc32(s * glyphs->GetOrigin().x) : 0;
    const std::int32_t glyphOriginY = glyphs ? KXTrunc32(s * glyphs->GetOrigin().y) : 0;
    std::vector<std::uint8_t> record(kDrawingInfoSize, 0);
    KXBEWriter w(record.data());
    w.I32(0).I32(0).I32(KXTrunc32((e.xmax - e.xmin) * s)).I32(KXTrunc32((e.ymax - e.ymin) * s));
    w.U16(0).U16(0).U16(0);  // pool, tile pool and table record counts, known once all is laid out
    w.F32(static_cast<float>(detail[0])).F32(static_cast<float>(detail[1])).F32(static_cast<float>(detail[2]));
    w.I32(glyphOriginX).I32(glyphOriginY);
    w.F64(e.xmin).F64(e.ymin).F64(e.xmax).F64(e.ymax).F64(s);
    return record;
}

KXStatus CKXDrawingFileWriter::LayOut(CKXRecordList& records, CKXEntityPoolWriter& pools) {
    const CKXFileInfoRecord fileInfo(m_name, m_doc.Properties());
    std::vector<std::uint8_t> drawingInfo = DrawingInfo();
    if (!records.Record("FileInfo", fileInfo.Bytes()) || !records.Record("DrawingInfo", drawingInfo))
        return RecordsNotWritten();

    CKXTableWriter tables(m_doc, records, m_doc.GetResolution(), KXGetCurrentResolution());
    const int tableRecords = tables.WriteTables();
    if (tableRecords < 0) return KXStatus::Failure("the drawing's tables could not be written");

    const KXResult<int> laidOut = pools.Layout();
    if (!laidOut) return laidOut.Status();
    const int poolCount = laidOut.Value();
    for (const std::uint32_t length : pools.PoolLengths()) {
        if (!records.Reserve("EntPool", length)) return RecordsNotWritten();
    }

    CKXTree& tree = m_doc.Tree();
    if (!CKXTileMapBuilder::Build(tree, m_doc.PoolSlots()))
        return KXStatus::Failure("the drawing's tile map does not fit a drawing file");
    m_tileMap.assign(CKXTree::kTileMapEntries * kTileEntrySize, 0);
    KXBEWriter mapWriter(m_tileMap.data());
    for (const KXTileEntry& entry : tree.TileMap()) mapWriter.U16(entry.record).U16(entry.offset).I32(entry.words);
    if (!records.Reserve("TileMap", m_tileMap.size())) return RecordsNotWritten();
    // The tile pool words go out as one block that the descriptors divide,
    // one record after another.
    std::uint64_t tileBytes = 0;
    for (const CPoolInfo& pool : tree.TilePools()) {
        if (pool.length <= 0 || static_cast<std::uint64_t>(pool.offset) != tileBytes ||
            !records.Reserve("TilePoolRecord", static_cast<std::uint64_t>(pool.length)))
            return RecordsNotWritten();
        tileBytes += static_cast<std::uint64_t>(pool.length);
    }
    if (tileBytes != 2 * tree.TileWords().size()) return RecordsNotWritten();

    const auto tilePoolCount = static_cast<int>(tree.TilePools().size());
    if (poolCount > kMaxU16 || tilePoolCount > kMaxU16 || tableRecords > kMaxU16)
        return KXStatus::Failure("the drawing needs more records than a drawing file counts");
    KXBEWriter(drawingInfo.data() + kDrawingInfoCountsOffset)
        .U16(static_cast<std::uint16_t>(poolCount))
        .U16(static_cast<std::uint16_t>(tilePoolCount))
        .U16(static_cast<std::uint16_t>(tableRecords));
    if (!records.Replace(1, std::move(drawingInfo))) return RecordsNotWritten();

    // The size field is filled in last: a number longer than the field makes
    // FileInfo, and so the file, longer.
    m_fileSize = CKXFileInfoRecord::SettleFileSize(CKXPdbAssembler::FileSize(m_doc.Contents()));
    std::vector<std::uint8_t> sizedFileInfo = fileInfo.WithSize(m_fileSize);
    if (sizedFileInfo.empty() || !records.Replace(0, std::move(sizedFileInfo))) return RecordsNotWritten();
    if (CKXPdbAssembler::FileSize(m_doc.Contents()) != m_fileSize) return RecordsNotWritten();

    const CKXPdbAssembler assembler(m_name, CKXPdbAssembler::DateFromUnix(static_cast<std::int64_t>(std::time(nullptr))));
    m_head = assembler.Head(m_doc.Contents());
    if (m_head.empty()) return KXStatus::Failure("the drawing needs more records than a drawing file counts");
    return {};
}

KXStatus CKXDrawingFileWriter::WriteFile(const std::string& path, const CKXRecordList& records,
                                         const CKXEntityPoolWriter& pools) {
    // The file is made beside its destination and renamed over it once
    // complete: an existing output is replaced only by a whole new one, and
    // a failure leaves nothing behind. A device at the path is written in
    // place and never removed.
    const bool inPlace = IsDevice(path);
    errno = 0;
    std::string target = path;
    if (!inPlace) {
        char temporary[MAX_PATH];
        if (GetTempFileNameA(DirectoryOf(path).c_str(), kOutputPrefix, 0, temporary) == 0)
            return FileFailure("cannot make a file in " + DirectoryOf(path));
        target = temporary;
    }
    std::unique_ptr<IKXOutStream> out = m_opener(target);
    if (!out) {
        if (!inPlace) RemoveRegularFile(target);
        return FileFailure("cannot open " + target);
    }
    KXResult<bool> written(false);
    bool ok = false;
    {
        // The records are made while a second thread writes the ones made.
        CKXAsyncOutStream writer(*out);
        written = WriteRecords(writer, records, pools);
        ok = writer.Close() && written && written.Value();
    }
    ok = out->Close() && ok;
    if (!written || !ok) {
        KXStatus failure = written ? FileFailure("writing " + target + " failed") : written.Status();
        RemoveRegularFile(target);
        return failure;
    }
    if (!inPlace && MoveFileExA(target.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) == FALSE) {
        KXStatus failure = FileFailure("cannot put the new file in place of " + path);
        RemoveRegularFile(target);
        return failure;
    }
    return {};
}

KXResult<bool> CKXDrawingFileWriter::WriteRecords(IKXOutStream& out, const CKXRecordList& records,
                                                  const CKXEntityPoolWriter& pools) const {
    if (!out.Write(m_head.data(), m_head.size())) return false;
    for (const std::vector<std::uint8_t>& record : records.Kept()) {
        if (!out.Write(record.data(), record.size())) return false;
    }
    // Each pool is made into the same buffer and handed to the stream.
    std::vector<std::uint8_t> pool;
    pool.reserve(2 * CKXEntityPoolWriter::kPoolLimit);
    const auto poolCount = static_cast<int>(pools.PoolLengths().size());
    for (int p = 0; p < poolCount; ++p) {
        if (KXStatus made = pools.MakePool(p, pool); !made) return made;
        if (!out.Write(pool.data(), pool.size())) return false;
    }
    if (!out.Write(m_tileMap.data(), m_tileMap.size())) return false;
    const std::vector<std::uint16_t>& words = m_doc.Tree().TileWords();
    std::vector<std::uint8_t> chunk;
    for (std::size_t at = 0; at < words.size(); at += kTileChunkWords) {
        const std::size_t n = std::min(kTileChunkWords, words.size() - at);
        chunk.resize(2 * n);
        for (std::size_t i = 0; i < n; ++i) kxbe::StoreU16(chunk.data() + 2 * i, words[at + i]);
        if (!out.Write(chunk.data(), chunk.size())) return false;
    }
    // Every record came out at the length the layout gave it.
    if (out.Size() != m_fileSize) return RecordsNotWritten();
    return true;
}
