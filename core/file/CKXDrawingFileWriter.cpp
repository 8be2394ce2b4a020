#include "CKXDrawingFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <ctime>

#include <kxplatform/fileapi.h>

#include "BigEndian.h"
#include "CKXAsyncOutStream.h"
#include "CKXBodyWriter.h"
#include "CKXEntityPoolWriter.h"
#include "CKXFileInfoRecord.h"
#include "CKXFileOutStream.h"
#include "CKXPdbAssembler.h"
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

KXStatus BodyNotWritten() { return FileFailure("the drawing's records could not be written"); }

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
    m_grownFileInfo.clear();
    m_bodyPath.clear();
    if (path.empty()) return KXStatus::Failure("no output path");
    // An empty document has no tile list to write, and an unfinished one has
    // no integer coordinates: neither makes a valid file.
    if (!m_doc.IsClosed()) return KXStatus::Failure("the document is not finished");
    if (m_doc.GetCount() == 0) return KXStatus::Failure("the drawing holds no entities");
    // Entities added after finishing have no cell and no integer coordinates.
    if (m_doc.Tree().Size() != static_cast<std::size_t>(m_doc.GetCount()))
        return KXStatus::Failure("entities were added after the document was finished");

    char directory[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, directory);
    if (length == 0 || length >= MAX_PATH) return KXStatus::Failure("no temporary directory");
    char bodyName[MAX_PATH];
    if (GetTempFileNameA(directory, kBodyPrefix, 0, bodyName) == 0)
        return FileFailure(std::string("cannot make a temporary file in ") + directory);
    m_bodyPath = bodyName;
    m_name = BaseName(path);

    const CFltExtents savedExtents = m_doc.GetExtents();
    errno = 0;
    KXStatus status;
    if (std::unique_ptr<IKXOutStream> body = m_opener(m_bodyPath)) {
        // The records are made while a second thread writes the ones made.
        CKXAsyncOutStream writer(*body);
        status = WriteBody(writer);
        const bool closed = writer.Close();
        if (!body->Close() || !closed) {
            if (status) status = BodyNotWritten();
        }
    } else {
        status = FileFailure("cannot open the temporary file " + m_bodyPath);
    }
    if (status) status = AssembleOutput(path);
    m_doc.SetExtents(savedExtents);
    RemoveBody();
    return status;
}

void CKXDrawingFileWriter::RemoveBody() { RemoveRegularFile(m_bodyPath); }

bool CKXDrawingFileWriter::WriteDrawingInfo(CKXBodyWriter& body) {
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
    w.U16(0).U16(0).U16(0);  // pool, tile pool and table record counts, patched at the end
    w.F32(static_cast<float>(detail[0])).F32(static_cast<float>(detail[1])).F32(static_cast<float>(detail[2]));
    w.I32(glyphOriginX).I32(glyphOriginY);
    w.F64(e.xmin).F64(e.ymin).F64(e.xmax).F64(e.ymax).F64(s);
    return body.Record("DrawingInfo", record);
}

KXStatus CKXDrawingFileWriter::WriteBody(IKXOutStream& out) {
    CKXBodyWriter body(out, m_doc.Contents());
    const CKXFileInfoRecord fileInfo(m_name, m_doc.Properties());
    if (!body.Record("FileInfo", fileInfo.Bytes())) return BodyNotWritten();
    const std::uint64_t drawingInfoStart = body.Position();
    if (!WriteDrawingInfo(body)) return BodyNotWritten();

    CKXTableWriter tables(m_doc, body, m_doc.GetResolution(), KXGetCurrentResolution());
    const int tableRecords = tables.WriteTables();
    if (tableRecords < 0) return KXStatus::Failure("the drawing's tables could not be written");

    CKXEntityPoolWriter pools(body, m_doc.PoolSlots());
    const KXResult<int> written = pools.Write(m_doc.GetEntList());
    if (!written) return written.Status();
    const int poolCount = written.Value();

    CKXTree& tree = m_doc.Tree();
    if (!CKXTileMapBuilder::Build(tree, m_doc.PoolSlots()))
        return KXStatus::Failure("the drawing's tile map does not fit a drawing file");
    std::vector<std::uint8_t> map(CKXTree::kTileMapEntries * kTileEntrySize, 0);
    KXBEWriter mapWriter(map.data());
    for (const KXTileEntry& entry : tree.TileMap()) mapWriter.U16(entry.record).U16(entry.offset).I32(entry.words);
    if (!body.Record("TileMap", map)) return BodyNotWritten();

    // The tile pool words go out as one block that the descriptors divide.
    const std::uint64_t tileStart = body.Position();
    const std::vector<std::uint16_t>& words = tree.TileWords();
    std::vector<std::uint8_t> chunk;
    for (std::size_t at = 0; at < words.size(); at += kTileChunkWords) {
        const std::size_t n = std::min(kTileChunkWords, words.size() - at);
        chunk.resize(2 * n);
        for (std::size_t i = 0; i < n; ++i) kxbe::StoreU16(chunk.data() + 2 * i, words[at + i]);
        if (!body.Raw(chunk.data(), chunk.size())) return BodyNotWritten();
    }
    for (const CPoolInfo& pool : tree.TilePools()) {
        if (pool.length <= 0 ||
            !body.AddEntry(tileStart + static_cast<std::uint64_t>(pool.offset), static_cast<std::uint64_t>(pool.length),
                           "TilePoolRecord")) {
            return BodyNotWritten();
        }
    }
    const auto tilePoolCount = static_cast<int>(tree.TilePools().size());
    if (poolCount > kMaxU16 || tilePoolCount > kMaxU16 || tableRecords > kMaxU16)
        return KXStatus::Failure("the drawing needs more records than a drawing file counts");

    std::uint8_t counts[6];
    kxbe::StoreU16(counts, static_cast<std::uint16_t>(poolCount));
    kxbe::StoreU16(counts + 2, static_cast<std::uint16_t>(tilePoolCount));
    kxbe::StoreU16(counts + 4, static_cast<std::uint16_t>(tableRecords));
    if (!body.Patch(drawingInfoStart + kDrawingInfoCountsOffset, counts, sizeof counts)) return BodyNotWritten();

    // The size field is filled in last; a number longer than the field makes
    // FileInfo longer, which the assembly takes from memory.
    std::vector<CPDBOffset>& contents = m_doc.Contents();
    m_fileSize = CKXFileInfoRecord::SettleFileSize(CKXPdbAssembler::FileSize(contents));
    if (CKXFileInfoRecord::Growth(m_fileSize) == 0) {
        const std::string digits = CKXFileInfoRecord::SizeText(m_fileSize);
        const std::uint64_t field = static_cast<std::uint64_t>(contents[0].start) + fileInfo.SizeFieldOffset();
        if (!body.Patch(field, digits.data(), digits.size())) return BodyNotWritten();
    } else {
        m_grownFileInfo = fileInfo.WithSize(m_fileSize);
        if (m_grownFileInfo.empty()) return BodyNotWritten();
        contents[0].length = static_cast<std::int32_t>(m_grownFileInfo.size());
    }
    return body.Good() ? KXStatus() : BodyNotWritten();
}

KXStatus CKXDrawingFileWriter::AssembleOutput(const std::string& path) {
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
    std::FILE* body = std::fopen(m_bodyPath.c_str(), "rb");
    std::unique_ptr<IKXOutStream> out = body != nullptr ? m_opener(target) : nullptr;
    if (!out) {
        if (body != nullptr) std::fclose(body);
        if (!inPlace) RemoveRegularFile(target);
        return FileFailure("cannot open " + target);
    }
    const CKXPdbAssembler assembler(m_name, CKXPdbAssembler::DateFromUnix(static_cast<std::int64_t>(std::time(nullptr))));
    // The body is read while a second thread writes what was read before.
    CKXAsyncOutStream writer(*out);
    bool ok = assembler.Assemble(writer, body, m_doc.Contents(), m_grownFileInfo.empty() ? nullptr : &m_grownFileInfo);
    ok = writer.Close() && ok;
    ok = out->Close() && ok;
    std::fclose(body);
    if (!ok) {
        KXStatus failure = FileFailure("writing " + target + " failed");
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
