#include "utlDates.h"

#include <cmath>
#include <cstdio>

#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr double kSecondsPerDay = 24.0 * 60.0 * 60.0;
// Far beyond any drawing date, yet small enough for every step to stay
// within int.
constexpr double kMaxJulianMagnitude = 1.0e8;

struct TimeOfDay {
    char hours[16];
    char minutes[16];
    char seconds[16];
};

TimeOfDay timeOfDay(double fractionOfDay)
{
    const int total = utlClampToInt(fractionOfDay * kSecondsPerDay);
    TimeOfDay t{};
    std::snprintf(t.hours, sizeof t.hours, "%02d", total / 3600);
    std::snprintf(t.minutes, sizeof t.minutes, "%02d", (total % 3600) / 60);
    std::snprintf(t.seconds, sizeof t.seconds, "%02d", (total % 3600) % 60);
    return t;
}

}  // namespace

int utlJulianToText(const std::string& value, std::string& out)
{
    const double j = utlAtof(value.c_str());
    if (j == 0.0 || !std::isfinite(j) || std::fabs(j) > kMaxJulianMagnitude)
        return 0;
    const double z = std::floor(j);
    const double a = std::floor((z - 1867216.25) / 36524.25);
    const double bigA = z + 1 + a - std::floor(a * 0.25);
    const double b = bigA + 1524;
    const double c = std::floor((b - 122.1) / 365.25);
    const double d = std::floor(c * 365.25);
    const double e = std::floor((b - d) / 30.6001);
    const double f = std::floor(e * 30.6001);

    const int day = static_cast<int>(b) - static_cast<int>(d) - static_cast<int>(f);
    const int month = e - 1 <= 12 ? static_cast<int>(e) - 1 : static_cast<int>(e) - 13;
    const int year = (month == 1 || month == 2) ? static_cast<int>(c) - 4715 : static_cast<int>(c) - 4716;
    const TimeOfDay t = timeOfDay(j - z);

    char text[128];
    std::snprintf(text, sizeof text, "%02d/%02d/%d %s:%s:%s", month, day, year, t.hours, t.minutes,
                  t.seconds);
    out = text;
    return 1;
}

int utlDaysToText(const std::string& value, std::string& out)
{
    const double v = utlAtof(value.c_str());
    if (v == 0.0 || !std::isfinite(v))
        return 0;
    char text[512];
    if (v < 1) {
        const TimeOfDay t = timeOfDay(v);
        std::snprintf(text, sizeof text, "%s hours, %s minutes, and %s seconds", t.hours, t.minutes,
                      t.seconds);
    } else {
        const double days = std::floor(v);
        const TimeOfDay t = timeOfDay(v - days);
        std::snprintf(text, sizeof text, "%.0lf days, %s hours, %s minutes, and %s seconds", days,
                      t.hours, t.minutes, t.seconds);
    }
    out = text;
    return 1;
}

}  // namespace kxdxf
