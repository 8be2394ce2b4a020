// The append-only conversion log, convlog.txt beside the program. Each
// entry opens, appends and closes the file, so the log is complete whatever
// happens later in the run; a log that cannot be opened is skipped.
#pragma once

#include <string>
#include <utility>

class ConversionLog {
public:
    static constexpr const char* kFileName = "convlog.txt";

    explicit ConversionLog(std::string path) : path_(std::move(path)) {}

    // A line end, the local date and time ("%c"), a line end.
    void WriteTimeStamp() const;
    // "  " input "->" output path.
    void WriteConversion(const std::string& input, const std::string& outputPath) const;

    const std::string& path() const { return path_; }

private:
    void Append(const std::string& text) const;

    std::string path_;
};
