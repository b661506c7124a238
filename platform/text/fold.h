#pragma once

#include <string_view>

namespace text {

// Whether two names are equal but for case, with full-width and non-Latin letters matching their other
// case as the Windows profile functions match them.
bool sameIgnoringCase(std::u16string_view a, std::u16string_view b);

} // namespace text
