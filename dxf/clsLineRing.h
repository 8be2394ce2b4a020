// The last four lines of the section search, to recognise the line
// sequences that open sections and tables ("0", "SECTION", "2", name).
#ifndef KXDXF_CLSLINERING_H
#define KXDXF_CLSLINERING_H

#include <array>
#include <string_view>

namespace kxdxf {

class clsLineRing {
public:
    void push(std::string_view line)
    {
        lines_[0] = lines_[1];
        lines_[1] = lines_[2];
        lines_[2] = lines_[3];
        lines_[3] = line;
    }
    // Compares the four lines, oldest first.
    bool is(std::string_view oldest, std::string_view second, std::string_view third,
            std::string_view newest) const
    {
        return lines_[3] == newest && lines_[2] == third && lines_[1] == second && lines_[0] == oldest;
    }
    std::string_view newest() const { return lines_[3]; }
    std::string_view previous() const { return lines_[2]; }

private:
    std::array<std::string_view, 4> lines_{};
};

}  // namespace kxdxf

#endif
