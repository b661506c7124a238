#pragma once

#include <string>
#include <string_view>

// The checks a new material name passes before it joins the configured kinds.
namespace layout {

// The text without white space of any kind at either end (ideographic spaces included).
std::u16string trimmed(std::u16string_view text);

enum class NameCheck {
    Accepted,
    NotAName,      // empty, or holding the list's separator ","
    AlreadyListed, // equal to a whole item of the list
    ListFull,      // the material list of an entry row would no longer fit a validation
};

// `name` trimmed already; `year` the current year, for the magazine items of the material list.
NameCheck checkMaterialName(std::u16string_view name, std::u16string_view kinds, std::u16string_view magazine,
                            int year);

} // namespace layout
