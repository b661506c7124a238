#pragma once

#include <string>
#include <string_view>

// The decimal digits of a number as a number format shows them. Excel rounds on the number's shortest
// decimal form (the one that reads back as the same double), half away from zero; so do these.
namespace engine::detail {

// `x` (not negative) times 10^powerOfTen, rounded to `fractionDigits` after the point: "1234.50", or
// "1235" for no fraction digits. Empty when the number cannot be laid out.
std::u16string fixedDigits(double x, int fractionDigits, int powerOfTen);
// The same for a number given as decimal text ("123.456"), not scaled.
std::u16string fixedDigits(std::string_view decimal, int fractionDigits);
// The shortest digits of `x` (not negative) times 10^powerOfTen with the exponent of the first one:
// "1.2345E3", "5E-7", "0E0".
std::u16string scientificDigits(double x, int powerOfTen);

} // namespace engine::detail
