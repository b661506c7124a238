#include "platform/text/utf.h"

#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace text {

std::u16string toUtf16(std::string_view utf8) {
    icu::UnicodeString s = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size())));
    return std::u16string(s.getBuffer(), size_t(s.length()));
}

bool isUtf8(std::string_view bytes) {
    const auto length = int32_t(bytes.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(reinterpret_cast<const uint8_t*>(bytes.data()), i, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

std::string toUtf8(std::u16string_view utf16) {
    std::string out;
    icu::UnicodeString(false, utf16.data(), int32_t(utf16.size())).toUTF8String(out);
    return out;
}

} // namespace text
