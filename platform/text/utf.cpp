#include "platform/text/utf.h"

#include <unicode/unistr.h>

namespace text {

std::u16string toUtf16(std::string_view utf8) {
    icu::UnicodeString s = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size())));
    return std::u16string(s.getBuffer(), size_t(s.length()));
}

std::string toUtf8(std::u16string_view utf16) {
    std::string out;
    icu::UnicodeString(false, utf16.data(), int32_t(utf16.size())).toUTF8String(out);
    return out;
}

} // namespace text
