#include "platform/text/utf.h"

#include <windows.h>

namespace text {

std::u16string toUtf16(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::u16string out(std::size_t(length), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), reinterpret_cast<wchar_t*>(out.data()),
                        length);
    return out;
}

bool isUtf8(std::string_view bytes) {
    return bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                int(bytes.size()), nullptr, 0) > 0;
}

std::string toUtf8(std::u16string_view utf16) {
    if (utf16.empty())
        return {};
    const auto* units = reinterpret_cast<const wchar_t*>(utf16.data());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, units, int(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, units, int(utf16.size()), out.data(), length, nullptr, nullptr);
    return out;
}

} // namespace text
