#include "text/CKXFont.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include <kxplatform/debugapi.h>
#include <kxplatform/dynlib.h>
#include <kxplatform/fileapi.h>
#include <kxplatform/pathsep.h>

namespace {
const char* const kResourceFolder = "Resources";
const char* const kFontFile = "font.dat";

// Little-endian reader over the font's bytes that refuses to pass the end.
class LEReader {
public:
    LEReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t Remaining() const { return m_size - m_at; }

    bool I32(std::int32_t& out) {
        if (Remaining() < 4) return false;
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | m_data[m_at + static_cast<std::size_t>(i)];
        m_at += 4;
        out = static_cast<std::int32_t>(v);
        return true;
    }

    bool F64(double& out) {
        if (Remaining() < 8) return false;
        std::uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | m_data[m_at + static_cast<std::size_t>(i)];
        m_at += 8;
        std::memcpy(&out, &v, sizeof out);
        return true;
    }

    // A count read from the file: non-negative and, at itemBytes a piece,
    // no more than the bytes left.
    bool Count(std::int32_t& out, std::size_t itemBytes) {
        return I32(out) && out >= 0 && static_cast<std::size_t>(out) <= Remaining() / itemBytes;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

constexpr std::size_t kGlyphHeadBytes = 20;  // left, right, stroke count
constexpr std::size_t kStrokeHeadBytes = 4;
constexpr std::size_t kPointBytes = 16;
// Coordinates of a character box stay small; anything beyond is not a font.
constexpr double kMaxBoxCoordinate = 1000.0;

bool Plausible(double v) {
    return std::isfinite(v) && std::fabs(v) <= kMaxBoxCoordinate;
}

KXStatus Corrupt(const char* what) {
    return KXStatus::Failure(std::string("font file: ") + what);
}
}  // namespace

const CKXFont& CKXFont::Process() {
    static const CKXFont font = [] {
        CKXFont loaded;
        const KXStatus status = loaded.Load(DefaultPath());
        if (!status) {
            // Once per process: every text is left out from now on.
            const std::string line = "kxcore: no text: " + status.Reason() + "\n";
            OutputDebugStringA(line.c_str());
        }
        return loaded;
    }();
    return font;
}

namespace {
// The folder of a module's file, with its final separator; "" when unknown.
std::string FolderOfModule(HMODULE module) {
    std::vector<char> buffer(PATH_MAX + 1);
    const DWORD length = GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};
    std::string path(buffer.data(), length);
    const auto cut = path.rfind(KX_PATH_SEPARATOR);
    path.erase(cut == std::string::npos ? 0 : cut + 1);
    return path;
}
}  // namespace

std::vector<std::string> CKXFont::CandidatePaths() {
    const std::string tail = std::string(kResourceFolder) + KX_PATH_SEPARATOR + kFontFile;
    std::vector<std::string> paths;
    // Beside the running program first: the build tree, and programs
    // shipped beside the engine.
    const std::string program = FolderOfModule(nullptr);
    if (!program.empty()) paths.push_back(program + tail);
    // Then from the engine library's own place, for any host process: beside
    // it, or in the installed data folder next to the library folder.
    HMODULE engine = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<const void*>(&CKXFont::CandidatePaths), &engine)) {
        const std::string library = FolderOfModule(engine);
        if (!library.empty() && library != program) {
            paths.push_back(library + tail);
            paths.push_back(library + ".." + KX_PATH_SEPARATOR + "share" + KX_PATH_SEPARATOR + "korvex" +
                            KX_PATH_SEPARATOR + tail);
        }
    }
    return paths;
}

std::string CKXFont::DefaultPath() {
    const std::vector<std::string> paths = CandidatePaths();
    for (const std::string& path : paths) {
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
    }
    return paths.empty() ? std::string() : paths.front();
}

KXStatus CKXFont::Load(const std::string& path) {
    *this = CKXFont();
    if (path.empty()) return Corrupt("no path");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return KXStatus::Failure("cannot open the font file " + path);
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) {
        if (bytes.size() + got > kMaxFileBytes) return Corrupt("too large");
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get())) return KXStatus::Failure("cannot read the font file " + path);
    return Parse(bytes.data(), bytes.size());
}

KXStatus CKXFont::Parse(const std::uint8_t* data, std::size_t size) {
    *this = CKXFont();
    CKXFont font;
    LEReader in(data, data ? size : 0);
    std::int32_t count = 0;
    if (!in.Count(count, kGlyphHeadBytes)) return Corrupt("bad glyph count");
    font.m_glyphs.resize(static_cast<std::size_t>(count));
    font.m_left.assign(static_cast<std::size_t>(count), 0.0);
    font.m_right.assign(static_cast<std::size_t>(count), 0.0);
    for (std::size_t code = 0; code < static_cast<std::size_t>(count); ++code) {
        double left = 0.0, right = 0.0;
        std::int32_t strokes = 0;
        if (!in.F64(left) || !in.F64(right) || !in.Count(strokes, kStrokeHeadBytes))
            return Corrupt("truncated glyph record");
        if (strokes == 0) continue;
        if (!Plausible(left) || !Plausible(right)) return Corrupt("offsets out of range");
        font.m_left[code] = left;
        font.m_right[code] = right;
        auto glyph = std::make_unique<CKXGlyph>(static_cast<std::uint8_t>(code));
        for (std::int32_t s = 0; s < strokes; ++s) {
            std::int32_t points = 0;
            if (!in.Count(points, kPointBytes)) return Corrupt("bad point count");
            if (points == 0) {
                glyph->AddStroke(nullptr);
                continue;
            }
            std::vector<CFltPoint> stroke(static_cast<std::size_t>(points));
            for (CFltPoint& p : stroke) {
                if (!in.F64(p.x) || !in.F64(p.y)) return Corrupt("truncated stroke");
                if (!Plausible(p.x) || !Plausible(p.y)) return Corrupt("point out of range");
            }
            glyph->AddStroke(std::make_unique<CKXPolyline>(std::move(stroke)));
        }
        font.m_glyphs[code] = std::move(glyph);
    }
    font.m_loaded = true;
    *this = std::move(font);
    return {};
}

double CKXFont::Advance(std::uint8_t code, double w) const {
    if (Glyph(code) == nullptr) return kMissingAdvance * w;
    return (Right(code) - Left(code)) * w;
}

double CKXFont::LeftEdge(std::uint8_t code, bool first) const {
    const CKXGlyph* glyph = Glyph(code);
    if (glyph == nullptr) return 0.0;
    if (first && glyph->GetBox().IsValid()) return glyph->GetBox().xmin;
    return Left(code);
}

double CKXFont::TextWidth(std::string_view text, double w) const {
    double pen = 0.0;
    double start = 0.0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<std::uint8_t>(text[i]);
        const CKXGlyph* glyph = Glyph(code);
        if (glyph == nullptr) {
            pen += kMissingAdvance * w;
            continue;
        }
        pen -= LeftEdge(code, i == 0) * w;
        if (i == 0) start = pen;
        const bool last = i + 1 == text.size();
        pen += (last && glyph->GetBox().IsValid() ? glyph->GetBox().xmax : Right(code)) * w;
    }
    return std::fabs(pen - start);
}
