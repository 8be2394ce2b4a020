#include "utlEntityKeys.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlNumbers.h"

namespace kxdxf {

void utlErrMsgV(clsTranslator& tr, const char* fmt, va_list args)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, fmt, args);
    std::string_view message(text);
    if (!message.empty() && message.back() == '\n')
        message.remove_suffix(1);
    tr.logs().errMsg("%.*s", static_cast<int>(message.size()), message.data());
}

void utlSkipEntity(clsTranslator& tr, const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    utlErrMsgV(tr, fmt, args);
    va_end(args);
    throw clsSkipEntity();
}

utlIndexedKey::utlIndexedKey(const char* code, long index)
{
    // Built by hand: one key per group of every vertex is asked for, and
    // snprintf costs as much as the lookup.
    const std::size_t codeLength = std::min(std::strlen(code), sizeof text_ - 24);
    std::memcpy(text_, code, codeLength);
    text_[codeLength] = '.';
    char* end = std::to_chars(text_ + codeLength + 1, text_ + sizeof text_ - 1, index).ptr;
    *end = '\0';
}

double utlKeyReal(const clsKeyMap& keys, std::string_view key, double fallback)
{
    const std::string* text = keys.find(key);
    return text ? utlAtof(text->c_str()) : fallback;
}

int utlKeyInt(const clsKeyMap& keys, std::string_view key, int fallback)
{
    const std::string* text = keys.find(key);
    return text ? utlAtoi(text->c_str()) : fallback;
}

double utlKeyReal(const clssENTITY& entity, std::string_view key, double fallback)
{
    return utlKeyReal(entity.keys(), key, fallback);
}

int utlKeyInt(const clssENTITY& entity, std::string_view key, int fallback)
{
    return utlKeyInt(entity.keys(), key, fallback);
}

const std::string& utlRequiredKey(
    clsTranslator& tr, const clssENTITY& entity, std::string_view key, const char* message)
{
    const std::string* text = entity.find(key);
    if (!text)
        utlSkipEntity(tr, "%s", message);
    return *text;
}

double utlRequiredReal(clsTranslator& tr, const clssENTITY& entity, std::string_view key, const char* message)
{
    return utlAtof(utlRequiredKey(tr, entity, key, message).c_str());
}

}  // namespace kxdxf
