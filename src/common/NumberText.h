// Numbers as the score files and the dialogs write them, independent of the C locale.
#pragma once

#include <string>
#include <string_view>

namespace corvendi {

// The shortest decimal text of a single-precision value with at most 7 significant digits:
// no exponent, a "0" before a leading ".", always "." as the decimal separator, no trailing
// zeros. 0.4f -> "0.4", 14.0f -> "14", -0.25f -> "-0.25". Non-finite values give "0".
std::string NumberText(float value);

// Reads the leading number of a text the way files and dialogs are read back: leading blanks
// are skipped, an optional sign, digits with at most one ".", an optional exponent (E or D),
// and blanks inside the number are ignored. Reading stops at the first other character; a
// text without a number gives 0. "&H" and "&O" prefixes read hexadecimal and octal integers.
double LeadingNumber(std::string_view text);

}  // namespace corvendi
