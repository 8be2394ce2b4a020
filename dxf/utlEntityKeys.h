// Reading an entity's groups as numbers, and dropping an entity whose
// groups do not describe it: the reader names the fault in the error log
// and the section goes on with the next entity.
#ifndef KXDXF_UTLENTITYKEYS_H
#define KXDXF_UTLENTITYKEYS_H

#include <cstdarg>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kxdxf {

class clsTranslator;
class clssENTITY;
class clsKeyMap;

// Raised by utlSkipEntity; caught by the section loop, which then reads the
// next entity.
class clsSkipEntity : public std::runtime_error {
public:
    clsSkipEntity()
        : std::runtime_error("DXF entity skipped")
    {
    }
};

// Writes the message to the error log; a trailing line end is not doubled.
void utlErrMsgV(clsTranslator& tr, const char* fmt, va_list args) __attribute__((format(printf, 2, 0)));

// Writes the message as utlErrMsgV does and leaves the entity.
[[noreturn]] void utlSkipEntity(clsTranslator& tr, const char* fmt, ...)
    __attribute__((format(printf, 2, 3)));

// The key "code.index" of a multi-key map.
class utlIndexedKey {
public:
    utlIndexedKey(const char* code, long index);
    std::string_view view() const { return text_; }
    const char* c_str() const { return text_; }

private:
    char text_[48];
};

double utlKeyReal(const clsKeyMap& keys, std::string_view key, double fallback);
int utlKeyInt(const clsKeyMap& keys, std::string_view key, int fallback);
double utlKeyReal(const clssENTITY& entity, std::string_view key, double fallback);
int utlKeyInt(const clssENTITY& entity, std::string_view key, int fallback);

// The value of a group the entity cannot do without; skips the entity
// with the message (printed as it stands) when it is absent.
const std::string& utlRequiredKey(
    clsTranslator& tr, const clssENTITY& entity, std::string_view key, const char* message);
double utlRequiredReal(
    clsTranslator& tr, const clssENTITY& entity, std::string_view key, const char* message);

}  // namespace kxdxf

#endif
