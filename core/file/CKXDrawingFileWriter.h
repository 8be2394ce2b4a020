// Writes a finished document as a drawing file: the records go into a
// temporary body file first (each registered in the table of contents),
// then the container is assembled from the body. A failed write leaves
// neither a partial output file nor the body file behind.
#pragma once

#include <cstdint>
#include <string>

#include "CKXDoc.h"
#include "IKXOutStream.h"
#include "KXStatus.h"

class CKXDrawingFileWriter {
public:
    static constexpr int kDrawingInfoSize = 82;
    // Offset of the pool, tile pool and table record counts in DrawingInfo.
    static constexpr int kDrawingInfoCountsOffset = 16;
    static constexpr const char* kBodyPrefix = "kx_";
    // The output is written under this prefix beside its destination.
    static constexpr const char* kOutputPrefix = "kxw";

    // Streams come from opener (files by default; tests inject failures).
    explicit CKXDrawingFileWriter(CKXDoc& doc);
    CKXDrawingFileWriter(CKXDoc& doc, KXStreamOpener opener);

    // Writes the file, or says why it was not written (nothing is left at
    // the path then, and an existing file there is kept).
    KXStatus Write(const std::string& path);

    // The output's name without directory and extension.
    static std::string BaseName(const std::string& path);
    // The body file of the last Write (removed again by then).
    const std::string& BodyPath() const { return m_bodyPath; }

private:
    KXStatus WriteBody(IKXOutStream& body);
    bool WriteDrawingInfo(class CKXBodyWriter& body);
    KXStatus AssembleOutput(const std::string& path);
    void RemoveBody();

    CKXDoc& m_doc;
    KXStreamOpener m_opener;
    std::string m_name;
    std::string m_bodyPath;
    // FileInfo grown to hold a size of more than 8 digits, replacing the body's.
    std::vector<std::uint8_t> m_grownFileInfo;
    std::uint64_t m_fileSize = 0;
};
