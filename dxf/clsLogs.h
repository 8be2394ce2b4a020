// The translator's trace log and error log, recreated in the temp
// directory at each read. The trace log is buffered and flushed whenever
// the error log is written, at an abort and at the end of the read, so both
// files always end with the same content as if every line were flushed.
#ifndef KXDXF_CLSLOGS_H
#define KXDXF_CLSLOGS_H

#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kxdxf {

class clsLogs {
public:
    clsLogs() = default;
    clsLogs(const clsLogs&) = delete;
    clsLogs& operator=(const clsLogs&) = delete;
    ~clsLogs() { close(); }

    // Opens "TranslatorRead.log" and "TranslatorRead.err" in the directory
    // (which ends with a separator) and writes their heading lines. A log
    // that cannot be opened stays closed and its lines are dropped.
    void open(const std::string& directory);
    // Where the logs were opened: the directory asked for, or a private
    // directory made in it when the logs there were another's or in use.
    const std::string& directory() const { return directory_; }
    void close();

    // A trace line; "\n" is appended.
    void logLine(std::string_view text);
    void logMsg(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    // An error-log line; "\n" is appended and both logs are flushed.
    void errMsg(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    // Error-log text as it stands (no "\n" appended), then both logs are
    // flushed and closed: the end of an aborted read.
    void fatalMsg(const char* fmt, va_list args) __attribute__((format(printf, 2, 0)));

private:
    // buffer: the stream's buffer (it must outlive the stream), or empty
    // for the default one.
    static FILE* openLog(const std::string& path, const char* heading, std::vector<char>& buffer);
    void openIn(const std::string& directory);
    void flushBoth();

    FILE* log_ = nullptr;
    FILE* err_ = nullptr;
    std::string directory_;
    // The trace log's buffer: the C library sizes a buffer it makes itself
    // by the file system's block, whatever size is asked for.
    std::vector<char> logBuffer_;
    std::vector<char> noBuffer_;
};

}  // namespace kxdxf

#endif
