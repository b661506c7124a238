#pragma once

#include "engine/core/calendar.h"

#include <optional>
#include <string>
#include <vector>

// The compiled form of a number format code, shared by the parser (number_format.cpp) and the two
// layouts it hands sections to: numbers (number_format_number.cpp) and dates (number_format_date.cpp).
namespace engine::detail {

enum class Tok : std::uint8_t {
    Literal,   // text shown as it is
    Digit,     // a placeholder: text is "0", "#" or "?"
    Point,     // the decimal point
    Comma,     // thousands separator, or a division by 1,000 after the digits
    Percent,   // "%": shown, and the value multiplied by 100
    Exponent,  // E+ or E-: count 1 when the sign is always shown
    Slash,     // between numerator and denominator
    Text,      // "@": the text value
    General,   // the number in the general form
    Year,      // count: how many letters
    Month,     // m, mm, mmm (name), mmmm, mmmmm (first letter)
    Minute,    // an m next to hours or seconds
    Day,       // d, dd, ddd (weekday), dddd
    Weekday,   // aaa, aaaa: the day's Chinese name
    Hour,      // h, hh
    Second,    // s, ss
    SubSecond, // ".00" after seconds: count is the number of digits
    AmPm,      // text is the code as written: "AM/PM", "A/P", "a/p", "上午/下午"
    Elapsed,   // [h], [mm], [ss]: text is the letter, count its repetition
};

// Where a digit placeholder (or the point, or the exponent) of a number section belongs.
enum class Part : std::uint8_t { None, Integer, Fraction, Exponent, Whole, Numerator, Denominator };

struct Token {
    Tok kind;
    std::u16string text; // literal text, or the characters of the code the token came from
    int count = 0;
    Part part = Part::None;
    int position = 0; // of a placeholder: from the right in whole numbers, from the left after the point
};

enum class Comparison : std::uint8_t { Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual };

struct Condition {
    Comparison op;
    double value;
    bool holds(double x) const;
};

// What the number layout needs, worked out once per section.
struct NumberLayout {
    int integerDigits = 0;  // placeholders before the point (of the mantissa, or of the whole part)
    int fractionDigits = 0; // placeholders after the point
    bool grouping = false;
    int powerOfTen = 0; // 2 per "%", -3 per trailing ","
    bool scientific = false;
    bool engineering = false; // an exponent that is a multiple of integerDigits ("##0.0E+0")
    bool fraction = false;
    int numeratorDigits = 0;
    int denominatorDigits = 0;
    int fixedDenominator = 0;            // "?/16"
    bool wholePart = false;              // "# ?/?" rather than "?/?"
    std::u16string fractionPlaceholders; // after the point, in order
    std::u16string denominatorPlaceholders;
};

struct Section {
    std::vector<Token> tokens;
    int colorIndex = 0;
    std::optional<Condition> condition;
    std::string locale; // the system's name of the locale of month and day names; empty: English
    bool isDate = false;
    bool isText = false; // holds "@"
    bool twelveHour = false;
    NumberLayout number;
};

struct CompiledFormat {
    std::vector<Section> sections;
    bool general = false;
};

// A number section laid out: the text, and whether any digit shown is not zero (a negative number
// that rounds to zero shows no sign).
struct LaidOut {
    std::u16string text;
    bool nonZero = false;
};

// Fills `section.number` from its tokens and marks each placeholder's part and position.
void prepareNumberSection(Section& section);
// `x` is not negative: the caller shows the sign.
LaidOut layOutNumber(const Section& section, double x);
// Resolves months and minutes and the parts only dates have.
void prepareDateSection(Section& section);
// `serial` is a date of the 1900 date system, not negative.
std::u16string layOutDate(const Section& section, double serial, DateSystem system);

} // namespace engine::detail
