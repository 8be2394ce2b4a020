// Number conversion of DXF value strings with the C library's results
// (atof / atoi / atol) but without the locale-dependent slow paths.
#ifndef KXDXF_UTLNUMBERS_H
#define KXDXF_UTLNUMBERS_H

namespace kxdxf {

// Leading white space is skipped, conversion stops at the first character
// that does not fit, and text that does not start with a number gives 0.
double utlAtof(const char* text);
long utlAtol(const char* text);
int utlAtoi(const char* text);

// Conversions of computed reals to integers that cannot overflow: values
// beyond the int range (or NaN) are pinned to its ends (NaN to 0).
int utlClampToInt(double value);

// DXF degrees to radians (pi = 3.141592653589793), multiplied before
// dividing: the rounding of degrees * (pi / 180) differs in the last bit
// for about a quarter of the angles.
double utlDegreesToRadians(double degrees);

}  // namespace kxdxf

#endif
