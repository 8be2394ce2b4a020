#include "clsLogs.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kxdxf {
namespace {

constexpr const char* kLogBaseName = "TranslatorRead";
constexpr std::size_t kTraceBufferBytes = 256 * 1024;
constexpr std::size_t kShortLine = 127;

}  // namespace

// Opens path for this process alone: never through a symbolic link, and
// refused while another process holds it, so a log left by another user or
// written by a second conversion at the same time is not clobbered. The
// lock lasts until the file is closed.
FILE* clsLogs::openLog(const std::string& path, const char* heading, std::vector<char>& buffer)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return nullptr;
    }
    FILE* file = ::fdopen(fd, "w");
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    // A stream takes its buffer only before its first output.
    if (!buffer.empty())
        std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
    std::fprintf(file, "%s\n", heading);
    return file;
}

void clsLogs::openIn(const std::string& directory)
{
    if (!log_) {
        logBuffer_.resize(kTraceBufferBytes);
        log_ = openLog(directory + kLogBaseName + ".log", "Translator Read Log File", logBuffer_);
    }
    if (!err_)
        err_ = openLog(directory + kLogBaseName + ".err", "Translator Read Error Log File", noBuffer_);
}

void clsLogs::open(const std::string& directory)
{
    if (log_ && err_)
        return;
    close();
    openIn(directory);
    if (log_ && err_) {
        directory_ = directory;
        return;
    }
    // Both logs move together to a directory of this process's own, mode
    // 0700, beside where they were wanted.
    close();
    if (directory.empty())
        return;
    std::string pattern = directory + "korvex-" + std::to_string(::getuid()) + "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        return;
    directory_ = pattern + '/';
    openIn(directory_);
}

void clsLogs::close()
{
    if (log_) {
        std::fclose(log_);
        log_ = nullptr;
    }
    if (err_) {
        std::fclose(err_);
        err_ = nullptr;
    }
}

void clsLogs::flushBoth()
{
    if (log_)
        std::fflush(log_);
    if (err_)
        std::fflush(err_);
}

void clsLogs::logLine(std::string_view text)
{
    if (!log_)
        return;
    // Hundreds of thousands of short lines: each goes out in one call.
    char line[kShortLine + 1];
    if (text.size() <= kShortLine) {
        std::memcpy(line, text.data(), text.size());
        line[text.size()] = '\n';
        std::fwrite(line, 1, text.size() + 1, log_);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), log_);
    std::fputc('\n', log_);
}

void clsLogs::logMsg(const char* fmt, ...)
{
    if (!log_)
        return;
    va_list args;
    va_start(args, fmt);
    std::vfprintf(log_, fmt, args);
    va_end(args);
    std::fputc('\n', log_);
}

void clsLogs::errMsg(const char* fmt, ...)
{
    if (err_) {
        va_list args;
        va_start(args, fmt);
        std::vfprintf(err_, fmt, args);
        va_end(args);
        std::fputc('\n', err_);
    }
    flushBoth();
}

void clsLogs::fatalMsg(const char* fmt, va_list args)
{
    if (err_)
        std::vfprintf(err_, fmt, args);
    close();
}

}  // namespace kxdxf
