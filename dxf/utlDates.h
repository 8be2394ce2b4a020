// Date and duration texts of the HEADER's Julian day values.
#ifndef KXDXF_UTLDATES_H
#define KXDXF_UTLDATES_H

#include <string>

namespace kxdxf {

// "MM/DD/YYYY HH:MM:SS" of a Julian day number with a fraction of a day.
// 0 (and nothing written) for 0, for text that is not a number and for
// values no calendar date can be made of.
int utlJulianToText(const std::string& value, std::string& out);
// "D days, HH hours, MM minutes, and SS seconds" of a number of days (the
// days part only from one day up). 0 for 0 or a value that is not finite.
int utlDaysToText(const std::string& value, std::string& out);

}  // namespace kxdxf

#endif
