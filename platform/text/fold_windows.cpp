#include "platform/text/fold.h"

#include <windows.h>

namespace text {

bool sameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), int(a.size()),
                                reinterpret_cast<const wchar_t*>(b.data()), int(b.size()),
                                TRUE) == CSTR_EQUAL;
}

} // namespace text
