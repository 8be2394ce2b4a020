#include "utlNumbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace kxdxf {
namespace {

bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

double utlAtof(const char* text)
{
    const char* start = text;
    while (isCSpace(*start))
        ++start;
    const char* p = start;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    // Hexadecimal reals, "inf" and "nan" are rare enough to leave to strtod.
    const bool plainDecimal = isDigit(*p) || (*p == '.' && isDigit(p[1]));
    if (!plainDecimal || (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')))
        return std::strtod(start, nullptr);
    double value = 0.0;
    const auto result = std::from_chars(p, p + std::strlen(p), value, std::chars_format::general);
    if (result.ec != std::errc())
        return std::strtod(start, nullptr);  // overflow and underflow as strtod reports them
    return negative ? -value : value;
}

long utlAtol(const char* text)
{
    const char* p = text;
    while (isCSpace(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    // Accumulate negatively so that LONG_MIN is reachable, saturating as strtol does.
    long value = 0;
    bool overflow = false;
    for (; isDigit(*p); ++p) {
        const long digit = *p - '0';
        if (value < (LONG_MIN + digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (overflow)
        return negative ? LONG_MIN : LONG_MAX;
    if (negative)
        return value;
    return value == LONG_MIN ? LONG_MAX : -value;
}

int utlAtoi(const char* text)
{
    // atoi is (int)strtol: an out-of-range value keeps its low 32 bits.
    return static_cast<int>(static_cast<unsigned long>(utlAtol(text)) & 0xFFFFFFFFUL);
}

int utlClampToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

double utlDegreesToRadians(double degrees)
{
    constexpr double kPi = 3.141592653589793;
    return degrees * kPi / 180.0;
}

}  // namespace kxdxf
