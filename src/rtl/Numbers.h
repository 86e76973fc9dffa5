#pragma once
// Number rounding, number texts and number parsing as the original runtime
// had them. Every part of both programs uses these, never its own variant.

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl
{

// Round half to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), as the original
// runtime's Round. Values outside the 64-bit range are clamped; NaN gives 0.
int64_t Round(double x);
// Toward zero. Clamped like Round.
int64_t Trunc(double x);
// Fractional part, x - Trunc(x) (keeps the sign of x).
double Frac(double x);

// Str(value:width): decimal integer, right-aligned in at least width
// characters with blanks.
std::string StrInt(int64_t value, int width = 0);

// Str(value:width:decimals): fixed notation with the given decimals, rounded
// half away from zero on the decimal digits as the runtime did, right-aligned
// in at least width characters.
std::string StrReal(double value, int width, int decimals);

// The runtime's default real text: 23 characters, a blank or minus sign, one
// digit, a point, 14 digits, "E", the exponent sign and four exponent digits.
//   1.0            -> " 1.00000000000000E+0000"
//   -16.780192674  -> "-1.67801926740000E+0001"
//   0              -> " 0.00000000000000E+0000"
std::string RealText(double value);

// True when `text` holds what StrReal and RealText write for a value that is
// not finite ("Nan", "+Inf", "-Inf"), anywhere in it.
bool HoldsNonFiniteText(std::string_view text);

// Zero-filled number texts: the right-aligned text of StrReal/StrInt with
// every blank then replaced by '0' (a negative value keeps its sign where the
// runtime put it: "-5.0" at width 6 becomes "00-5.0").
std::string ZeroFilledReal(double value, int width, int decimals);
std::string ZeroFilledInt(int64_t value, int width);

// Val for reals: accepts any real text (leading and trailing blanks, a sign,
// digits with an optional point and fraction, an optional exponent with "E"
// or "e"). Returns false, leaving out untouched, when the text does not parse.
bool ParseReal(std::string_view text, double& out);
// Val for integers: optional blanks, a sign, decimal digits (or '$' hex).
// Returns false when the text does not parse or the value does not fit.
bool ParseInt(std::string_view text, int64_t& out);
// The value, or `fallback` when the text does not parse.
double RealOr(std::string_view text, double fallback = 0.0);
int64_t IntOr(std::string_view text, int64_t fallback = 0);

} // namespace rtl
