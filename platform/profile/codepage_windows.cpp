#include "platform/profile/codepage.h"

#include <windows.h>

namespace profile::codepage {
namespace {

UINT codePage(Encoding encoding) {
    switch (encoding) {
    case Encoding::Gbk:
    case Encoding::Undecodable:
        return 936;
    case Encoding::Gb18030:
        return 54936;
    default:
        return CP_UTF8;
    }
}

// The whole of `bytes` as UTF-16, or nothing when a sequence in it does not convert.
std::optional<std::u16string> convertStrictly(std::string_view bytes, UINT page) {
    if (bytes.empty())
        return std::u16string();
    const int length =
        MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::u16string out(std::size_t(length), u'\0');
    MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(out.data()), length);
    return out;
}

// Character by character, at most four bytes each (GB18030's longest): a byte that starts no character
// gives U+FFFD and the next byte is tried. Only damaged text comes here.
std::u16string convertLeniently(std::string_view bytes, UINT page) {
    std::u16string out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t length = 1;
        std::optional<std::u16string> character;
        for (; length <= 4 && at + length <= bytes.size(); ++length)
            if ((character = convertStrictly(bytes.substr(at, length), page)))
                break;
        if (character) {
            out += *character;
            at += length;
        } else {
            out += u'\uFFFD';
            ++at;
        }
    }
    return out;
}

} // namespace

std::optional<std::u16string> decode(std::string_view bytes, Encoding encoding, bool strict) {
    const UINT page = codePage(encoding);
    if (auto whole = convertStrictly(bytes, page))
        return whole;
    if (strict)
        return std::nullopt;
    return convertLeniently(bytes, page);
}

std::optional<std::string> encode(std::u16string_view text, Encoding encoding) {
    if (text.empty())
        return std::string();
    const UINT page = codePage(encoding);
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    // Code page 936 reports a character it lacks through the default-character flag; the Unicode
    // encodings refuse a lone surrogate instead. No character is replaced by a look-alike.
    const bool unicode = page != 936;
    const DWORD flags = unicode ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* defaultFlag = unicode ? nullptr : &usedDefault;
    const int length =
        WideCharToMultiByte(page, flags, units, int(text.size()), nullptr, 0, nullptr, defaultFlag);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string out(std::size_t(length), '\0');
    WideCharToMultiByte(page, flags, units, int(text.size()), out.data(), length, nullptr, defaultFlag);
    return out;
}

} // namespace profile::codepage
