#pragma once

#include "engine/core/calendar.h"
#include "engine/core/value.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Number format codes as spreadsheets store them ("0.00", "#,##0;[Red]-#,##0", "yyyy-mm-dd hh:mm", "@")
// and the text a value shows through one, as a cell shows it.
//
// A code has up to four sections separated by ";": positive, negative, zero, text (or conditions in
// brackets, "[>100]", choosing the section). A section may name a colour ("[Red]", "[Color10]"), a
// locale ("[$€-407]", "[$-804]": its currency text and the language of month and day names), hold
// literal text ("\"kg\"", "\\-", "¥"), digit placeholders (0 # ?), "," for thousands or for dividing by
// a thousand, "%", an exponent (E+00), a fraction (# ?/?), date and time parts (y m d h s, AM/PM,
// [h] for elapsed hours, ss.00), "@" for the text itself, or "General".
//
// Dates are serial numbers of the workbook's date system (calendar.h): in the 1900 system 1 is
// 1900-01-01 and 60 is the 29 February 1900 that never was. Numbers round half away from zero on their
// shortest decimal form; a section with fewer placeholders than digits shows every integer digit. Booleans
// and errors show as TRUE, FALSE and their error texts whatever the code.
namespace engine {

struct ShownValue {
    std::u16string text;
    int colorIndex = 0; // the palette colour (1 to 56) the section names; 0 when it names none
    friend bool operator==(const ShownValue&, const ShownValue&) = default;
};

namespace detail {
struct CompiledFormat;
}

class NumberFormat {
public:
    // General.
    NumberFormat();
    // Nothing when `code` is not a format code: quotes or brackets left open, an unknown bracketed
    // part, more than four sections. Empty text and "General" (in any case) are General.
    static std::optional<NumberFormat> parse(std::u16string_view code);

    ShownValue show(const Value& value, DateSystem system = DateSystem::Excel1900) const;
    bool isGeneral() const;

private:
    explicit NumberFormat(std::shared_ptr<const detail::CompiledFormat> compiled);
    std::shared_ptr<const detail::CompiledFormat> compiled_;
};

// The format `code` spells, compiling each distinct code once; nothing when it is not a format code.
std::optional<NumberFormat> numberFormatOf(std::u16string_view code);
// `value` through `code`, compiling each distinct code once. A code that does not parse shows values
// in the general form.
ShownValue showValue(const Value& value, std::u16string_view code, DateSystem system = DateSystem::Excel1900);
// Whether `code` is empty or spells General in any case.
bool isGeneralCode(std::u16string_view code);

} // namespace engine
