#include "clsKeyMap.h"

#include <charconv>

#include "clsLogs.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr std::size_t kInitialSlots = 64;
// A count key holds what this map wrote there, far below this; anything
// larger came from the file (a group code shaped like "10.0" lands on an
// indexed key) and is not a count to add to.
constexpr long kMaxOccurrences = 1L << 30;

void appendNumber(std::string& out, long number)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, result.ptr);
}

// Copies into a string that keeps its room: the texts of group codes are
// short, and appending to a cleared string is a plain copy where assign
// goes through the general replacement.
void copyText(std::string& to, std::string_view from)
{
    to.clear();
    to.append(from.data(), from.size());
}

std::uint64_t hashKey(std::string_view key)
{
    std::uint64_t h = 1469598103934665603ULL;  // FNV-1a
    for (const char c : key) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    return h;
}

}  // namespace

void clsKeyMap::clear()
{
    count_ = 0;
    if (++generation_ == 0) {
        // Wrapped: old stamps could look current again.
        for (Slot& slot : slots_)
            slot.generation = 0;
        generation_ = 1;
    }
}

std::size_t clsKeyMap::slotOf(std::string_view key) const
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = static_cast<std::size_t>(hashKey(key)) & mask;
    while (slots_[i].generation == generation_ && entries_[slots_[i].entry].key != key)
        i = (i + 1) & mask;
    return i;
}

const std::string* clsKeyMap::find(std::string_view key) const
{
    if (count_ == 0)
        return nullptr;
    const Slot& slot = slots_[slotOf(key)];
    return slot.generation == generation_ ? &entries_[slot.entry].value : nullptr;
}

void clsKeyMap::grow()
{
    const std::size_t newSize = slots_.empty() ? kInitialSlots : slots_.size() * 2;
    slots_.assign(newSize, Slot{});
    generation_ = 1;
    for (std::size_t e = 0; e < count_; ++e) {
        Slot& slot = slots_[slotOf(entries_[e].key)];
        slot.generation = generation_;
        slot.entry = static_cast<std::uint32_t>(e);
    }
}

void clsKeyMap::set(std::string_view key, std::string_view value)
{
    // Keep the load factor at most one half.
    if ((count_ + 1) * 2 > slots_.size())
        grow();
    Slot& slot = slots_[slotOf(key)];
    if (slot.generation == generation_) {
        copyText(entries_[slot.entry].value, value);
        return;
    }
    if (count_ == entries_.size())
        entries_.emplace_back();
    Entry& entry = entries_[count_];
    copyText(entry.key, key);
    copyText(entry.value, value);
    slot.generation = generation_;
    slot.entry = static_cast<std::uint32_t>(count_);
    ++count_;
}

long clsKeyMap::occurrencesOf(std::string_view code) const
{
    const std::string* count = find(code);
    const long value = count ? utlAtol(count->c_str()) : 0;
    return value >= 0 && value < kMaxOccurrences ? value : 0;
}

void clsKeyMap::setIndexed(std::string_view code, long index, std::string_view value)
{
    copyText(scratch_, code);
    scratch_.push_back('.');
    appendNumber(scratch_, index);
    set(scratch_, value);
}

void clsKeyMap::addOccurrence(std::string_view code, std::string_view value)
{
    const long index = occurrencesOf(code);
    setIndexed(code, index, value);
    scratch_.clear();
    appendNumber(scratch_, index + 1);
    set(code, scratch_);
}

void utlDumpKeyMap(clsLogs& logs, const clsKeyMap& map)
{
    logs.logMsg("<%s>", "PRINTING HASH CONTENTS");
    logs.logLine("<KEY>\t\t\t\t<VALUE>");
    map.forEach([&logs](const std::string& key, const std::string& value) {
        logs.logMsg("<%s>\t<%s>", key.c_str(), value.c_str());
    });
    logs.logMsg("<%s>", "END-OF HASH CONTENTS");
}

}  // namespace kxdxf
