#include "platform/text/fold.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace text {

// Simple case folding, code point by code point.
bool sameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    const auto aLength = int32_t(a.size()), bLength = int32_t(b.size());
    int32_t i = 0, j = 0;
    while (i < aLength && j < bLength) {
        UChar32 ca, cb;
        U16_NEXT(a.data(), i, aLength, ca);
        U16_NEXT(b.data(), j, bLength, cb);
        if (u_foldCase(ca, U_FOLD_CASE_DEFAULT) != u_foldCase(cb, U_FOLD_CASE_DEFAULT))
            return false;
    }
    return i == aLength && j == bLength;
}

} // namespace text
