#include "ConversionLog.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

constexpr size_t kTimeTextSize = 128;

std::string LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return {};
    std::array<char, kTimeTextSize> text{};
    const size_t length = std::strftime(text.data(), text.size(), "%c", &local);
    return std::string(text.data(), length);
}

}  // namespace

void ConversionLog::WriteTimeStamp() const {
    Append("\n" + LocalTimeText() + "\n");
}

void ConversionLog::WriteConversion(const std::string& input, const std::string& outputPath) const {
    Append("  " + input + "->" + outputPath + "\n");
}

void ConversionLog::Append(const std::string& text) const {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path_.c_str(), "a"), std::fclose);
    if (!file) return;
    std::fwrite(text.data(), 1, text.size(), file.get());
}
