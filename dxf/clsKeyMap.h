// String-to-string map of one DXF object's group codes. Built to be
// refilled for every entity: clearing keeps the strings' storage and the
// hash slots, so a warmed-up map fills without allocating.
#ifndef KXDXF_CLSKEYMAP_H
#define KXDXF_CLSKEYMAP_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kxdxf {

class clsLogs;

class clsKeyMap {
public:
    void clear();
    // Inserts or replaces.
    void set(std::string_view key, std::string_view value);
    // Sets the key "code.index".
    void setIndexed(std::string_view code, long index, std::string_view value);
    // Multi-key filling: the occurrence i (from 0) of a code goes under
    // "code.i" and the code's own key counts the occurrences so far.
    void addOccurrence(std::string_view code, std::string_view value);
    // The value, or null when the key is absent.
    const std::string* find(std::string_view key) const;
    bool has(std::string_view key) const { return find(key) != nullptr; }
    std::size_t size() const { return count_; }

    // Entries in insertion order.
    template <class Visit>
    void forEach(Visit&& visit) const
    {
        for (std::size_t i = 0; i < count_; ++i)
            visit(entries_[i].key, entries_[i].value);
    }

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    // A slot belongs to the current fill only when its generation matches,
    // which makes clearing independent of the table size.
    struct Slot {
        std::uint32_t generation = 0;
        std::uint32_t entry = 0;
    };

    std::size_t slotOf(std::string_view key) const;
    long occurrencesOf(std::string_view code) const;
    void grow();

    std::vector<Entry> entries_;
    std::size_t count_ = 0;
    std::vector<Slot> slots_;
    std::uint32_t generation_ = 1;
    std::string scratch_;
};

// Writes the map to the trace log (a debugging aid).
void utlDumpKeyMap(clsLogs& logs, const clsKeyMap& map);

}  // namespace kxdxf

#endif
