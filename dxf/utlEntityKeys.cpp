#include "utlEntityKeys.h"

#include <cstdarg>
#include <cstdio>

#include "clsTranslator.h"
#include "clssENTITY.h"
#include "utlNumbers.h"

namespace kxdxf {

void utlSkipEntity(clsTranslator& tr, const char* fmt, ...)
{
    char text[1024];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    std::string_view message(text);
    if (!message.empty() && message.back() == '\n')
        message.remove_suffix(1);
    tr.logs().errMsg("%.*s", static_cast<int>(message.size()), message.data());
    throw clsSkipEntity();
}

utlIndexedKey::utlIndexedKey(const char* code, long index)
{
    std::snprintf(text_, sizeof text_, "%s.%ld", code, index);
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
