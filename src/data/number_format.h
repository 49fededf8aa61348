// Numbers shown, stored and written (picture formats such as "###00.0" and "0.000E+00"),
// and the numeric value of a typed text. Standard library only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ordevo {

// Formats `value` with a picture: optional leading literal blanks, then '#' (a digit written
// only when significant) and '0' (a digit always written) for the integer part, an optional
// '.' followed by '0's for the decimals, and optionally "E+00" / "E-00" (a signed exponent of
// at least as many digits as '0's; "E+" always writes the sign). Examples: "###00.0" writes
// 5.26 as "05.3", "#00" writes 8 as "08", "0.000E+00" writes 0.5 as "5.000E-01".
//
// Rounding: the value is first written as its 15-significant-digit decimal text (the precision
// a double holds reliably), and that text is rounded half away from zero to the decimals shown.
// So 2.675 (stored in binary as 2.67499999…) writes "2.68", just as a hand calculation would.
// Negative values get a leading "-", unless they round to zero ("-0.001" → "0.00").
// NaN and infinities write "NaN", "Infinity", "-Infinity".
// Throws std::invalid_argument for a picture outside this grammar.
std::string FormatNumber(double value, std::string_view picture);

// The numeric value of a typed text: blanks, tabs, CR and LF are dropped wherever they stand,
// then the longest leading decimal number is taken: optional sign, digits with an optional
// ".", an optional exponent (e or E, optional sign, at least one digit; an "e" without digits
// is not part of the number). No number → 0. "75 - 85" → 75, "1 2" → 12, ".5" → 0.5,
// "1e3x" → 1000, "1e" → 1, "abc" → 0. A number too large for a double gives ±infinity.
double LeadingNumber(std::string_view text);

// The shortest decimal text that reads back as the same double, never in exponent form:
// 80 → "80", 72.5 → "72.5", 0.1 → "0.1"; -0 → "0". NaN and infinities as in FormatNumber.
std::string PlainNumber(double value);

// Length of the longest leading decimal number of `text` (no blanks skipped): optional sign,
// digits with an optional ".", at least one digit, then an optional complete exponent; 0 when
// `text` does not start with one.
std::size_t DecimalNumberLength(std::string_view text);

// The value of a text that DecimalNumberLength accepts whole. A number beyond the double
// range sets `inRange` to false and gives ±infinity (too large) or ±0 (too small).
double DecimalNumberValue(std::string_view number, bool& inRange);

// True when the whole of `text` (no blanks) is one decimal number in the grammar of
// LeadingNumber; `value` then receives it. Used where a field must be a number and nothing else.
bool ParseWholeNumber(std::string_view text, double& value);

}  // namespace ordevo
