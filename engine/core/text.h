#pragma once

#include "engine/core/value.h"

#include <optional>
#include <string>
#include <string_view>

// Conversions between numbers and text as Excel makes them in formulas and on entry.
namespace engine {

// A number as text reads it: spaces around, a sign, digits with "," thousands separators in groups of
// three, a decimal point, an exponent, a trailing "%". Nothing when the text is anything else.
std::optional<double> readNumber(std::u16string_view text);

// A number in Excel's general form, as "&" and text functions show it: up to 15 significant digits, no
// trailing zeros, an exponent only for very large or small magnitudes ("1E+20").
std::u16string formatNumber(double n);

// Text folded to one case, for comparisons that disregard case.
std::u16string foldCase(std::u16string_view text);
char16_t foldChar(char16_t c);
// -1, 0 or 1, comparing without regard to case.
int compareFolded(std::u16string_view a, std::u16string_view b);

// The text a value shows in "&" and text functions (errors are not texts: the caller handles them).
std::u16string toText(const Value& v);

} // namespace engine
