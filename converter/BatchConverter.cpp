#include "BatchConverter.h"

#include "ConsoleText.h"

#include <kxplatform/fileapi.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace {

// A list file is read through a buffer of this size: a longer line arrives
// in pieces, each taken as a name.
constexpr int kListLineBufferSize = 260;
const char* const kScannedExtensions[] = {"dxf", "dwf"};

const char* EnabledText(bool on) {
    return on ? "enabled" : "disabled";
}

// Deletes the document however its pass ends.
class DocumentGuard {
public:
    DocumentGuard(const EngineApi& engine, KXDOC doc) : engine_(engine), doc_(doc) {}
    ~DocumentGuard() {
        if (doc_ != nullptr) engine_.deleteDocInstance(doc_);
    }
    DocumentGuard(const DocumentGuard&) = delete;
    DocumentGuard& operator=(const DocumentGuard&) = delete;

private:
    const EngineApi& engine_;
    KXDOC doc_;
};

// Removes one final line end; a list written with CR LF line ends loses its
// carriage return too, as a text-mode read on Windows would.
bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool HasDxfExtension(const std::string& path) {
    const std::string name = OutputNaming::FileNameOf(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.size() - dot != 4) return false;
    std::string extension = name.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "dxf";
}

void RemoveFinalLineEnd(std::string& line) {
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
        if (!line.empty() && line.back() == '\r') line.pop_back();
    }
}

}  // namespace

BatchConverter::BatchConverter(const EngineApi& engine, const ConverterSettings& settings,
                               const ConversionLog& log, std::ostream& out,
                               OutputNaming::FileExists exists)
    : engine_(engine), settings_(settings), log_(log), out_(out), exists_(std::move(exists)) {}

void BatchConverter::Run(const CCommandLineInfoExt& commandLine) {
    if (commandLine.directoryMode) ConvertDirectory(commandLine.directory);
    if (commandLine.listMode) ConvertList(commandLine.listFile);
    if (!commandLine.fileName.empty()) ConvertSingleFile(commandLine.fileName);
    if (commandLine.WantsHelp()) ConsoleText::PrintHelp(out_);
    out_.flush();
}

void BatchConverter::PrintSettingsSummary() {
    out_ << "Destination directory: " << settings_.destinationDirectory() << "\n"
         << "Unique names generation: " << EnabledText(settings_.uniqueNames()) << "\n"
         << "Convert all pages: " << EnabledText(settings_.allPages()) << "\n"
         << "\n";
}

void BatchConverter::ConvertDirectory(const std::string& directory) {
    out_ << "Convert files from the directory: " << directory << "\n";
    PrintSettingsSummary();
    log_.WriteTimeStamp();
    if (directory.empty()) {
        out_ << "Invalid directory name\n";
        Fail("-d: needs a directory name");
        return;
    }
    if (!IsDirectory(directory)) Fail(directory + ": no such directory");
    std::string withSeparator = directory;
    if (withSeparator.back() != KX_PATH_SEPARATOR) withSeparator += KX_PATH_SEPARATOR;
    for (const char* extension : kScannedExtensions) ConvertMatches(withSeparator, extension);
}

void BatchConverter::ConvertMatches(const std::string& directory, const char* extension) {
    const std::string pattern = directory + "*." + extension;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        out_ << "No " << extension << " files found in " << directory << "\n";
        return;
    }
    std::unique_ptr<void, BOOL (*)(HANDLE)> closer(search, FindClose);
    do {
        ConvertFile(directory + found.cFileName);
    } while (FindNextFileA(search, &found));
}

void BatchConverter::ConvertList(const std::string& listFile) {
    out_ << "Convert files from the list file: " << listFile << "\n";
    PrintSettingsSummary();
    log_.WriteTimeStamp();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> list(nullptr, std::fclose);
    // A directory opens for reading here but yields no lines; it is no list.
    const DWORD attributes = GetFileAttributesA(listFile.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        list.reset(std::fopen(listFile.c_str(), "r"));
    }
    if (!list) {
        out_ << "Can not open file: " << listFile << "\n";
        Fail(listFile + ": cannot open the list file");
        return;
    }
    char buffer[kListLineBufferSize];
    while (std::fgets(buffer, kListLineBufferSize, list.get()) != nullptr) {
        std::string name(buffer);
        RemoveFinalLineEnd(name);
        ConvertFile(name);
    }
}

void BatchConverter::ConvertSingleFile(const std::string& fileName) {
    log_.WriteTimeStamp();
    PrintSettingsSummary();
    ConvertFile(fileName);
}

void BatchConverter::Fail(const std::string& reason) {
    ++failures_;
    if (err_ != nullptr) *err_ << "korvexcmd: " << reason << std::endl;
}

void BatchConverter::ConvertFile(const std::string& input) {
    for (int layout = 0;; ++layout) {
        const int layoutCount = ConvertLayout(input, layout);
        if (layout + 1 >= layoutCount) break;
    }
}

int BatchConverter::ConvertLayout(const std::string& input, int layout) {
    const KXDOC doc = engine_.createDocInstance();
    if (doc == nullptr) return 0;
    DocumentGuard guard(engine_, doc);
    try {
        engine_.setCurrentLayout(doc, layout);
        if (engine_.read(doc, input.c_str(), nullptr) != 0) {
            // Finishing and writing report their limits and failures in
            // the engine's own words.
            const EngineReasons reasons;
            engine_.close(doc, 0);
            WriteOutput(doc, input, settings_.allPages() ? layout : OutputNaming::kNoPage, reasons);
        } else if (GetFileAttributesA(input.c_str()) == INVALID_FILE_ATTRIBUTES) {
            Fail(input + ": no such file");
        } else if (IsDirectory(input)) {
            Fail(input + ": is a directory, not a drawing");
        } else if (!HasDxfExtension(input)) {
            Fail(input + ": not a DXF file");
        } else {
            Fail(input + ": the translator could not read it; its reasons are in "
                         "TranslatorRead.err in the temporary directory");
        }
    } catch (...) {
        // One layout's failure must not end the batch.
        Fail(input + ": the conversion stopped on an internal error");
    }
    return settings_.allPages() ? engine_.getNumLayouts(doc) : 0;
}

void BatchConverter::Warn(const std::string& input, const EngineReasons& reasons) {
    if (err_ == nullptr) return;
    for (const std::string& line : reasons.Lines()) *err_ << "korvexcmd: " << input << ": " << line << std::endl;
}

void BatchConverter::WriteOutput(KXDOC doc, const std::string& input, int page, const EngineReasons& reasons) {
    const auto path = OutputNaming::OutputPath(settings_.destinationDirectory(), input, page,
                                               settings_.uniqueNames(), exists_);
    if (!path) {
        Fail(input + ": no free output name in " + settings_.destinationDirectory());
        return;
    }
    errno = 0;
    if (engine_.write(doc, path->c_str()) == 0) {
        const int reason = errno;
        out_ << "Failed to convert " << input << "\n";
        // The engine's last word says why.
        std::string why = !reasons.Lines().empty() ? reasons.Lines().back()
                          : reason != 0            ? std::strerror(reason)
                                                   : "the drawing file was not written";
        if (!IsDirectory(settings_.destinationDirectory())) why = "no such directory";
        Fail("cannot write " + *path + ": " + why);
        return;
    }
    out_ << OutputNaming::FileNameOf(input) << " -> " << OutputNaming::FileNameOf(*path) << "\n";
    log_.WriteConversion(input, *path);
    Warn(input, reasons);
}
