#pragma once

#include "engine/core/value.h"

#include <string>
#include <string_view>

namespace engine {

// What a text typed into a cell (or written through Value2) becomes.
struct Entry {
    bool isFormula = false;
    std::u16string formula; // with isFormula: the text after the leading "="
    Value value;            // otherwise
};

// A leading "=" makes a formula (a lone "=" is text); a text that reads as a number (signs, decimals,
// exponents, thousands separators, a trailing percent, spaces around) a number; TRUE and FALSE in any case
// booleans; an error literal an error; a leading apostrophe keeps the rest as text; empty text empties
// the cell.
Entry interpretEntry(std::u16string_view typed);

} // namespace engine
