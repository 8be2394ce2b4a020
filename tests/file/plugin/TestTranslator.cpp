#include <cstring>
#include <stdexcept>

#include <korvex/kxtranslator.h>

extern "C" __attribute__((visibility("default"))) int TranslatorRead(const char* path, KXDOC doc) {
    if (path == nullptr || doc == nullptr) return 0;
    if (std::strstr(path, "throw") != nullptr) throw std::runtime_error("translator failure");
    if (std::strstr(path, "zero") != nullptr) return 0;
    return 7;
}
