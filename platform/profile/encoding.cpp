#include "platform/profile/encoding.h"

#include "platform/profile/codepage.h"

#include <cstdint>

namespace profile {
namespace {

bool isUtf16(Encoding encoding) {
    return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be;
}

// UTF-16 of either byte order; a lone last byte is passed over.
std::u16string fromUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint8_t first = std::uint8_t(bytes[i]), second = std::uint8_t(bytes[i + 1]);
        text += bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    }
    return text;
}

std::string toUtf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        const char low = char(unit & 0xFF), high = char(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

bool isValid(std::string_view bytes, Encoding encoding) {
    return codepage::decode(bytes, encoding, true).has_value();
}

} // namespace

Encoding detectEncoding(std::string_view bytes) {
    for (Encoding marked : {Encoding::Utf16Le, Encoding::Utf16Be, Encoding::Utf8Bom})
        if (bytes.starts_with(byteOrderMark(marked)))
            return marked;
    if (bytes.find('\0') != std::string_view::npos)
        return Encoding::Undecodable;
    for (Encoding plain : {Encoding::Utf8, Encoding::Gbk, Encoding::Gb18030})
        if (isValid(bytes, plain))
            return plain;
    return Encoding::Gbk;
}

std::string_view byteOrderMark(Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf16Le:
        return "\xFF\xFE";
    case Encoding::Utf16Be:
        return "\xFE\xFF";
    case Encoding::Utf8Bom:
        return "\xEF\xBB\xBF";
    default:
        return {};
    }
}

std::size_t unitSize(Encoding encoding) {
    return isUtf16(encoding) ? 2 : 1;
}

bool isCharacter(std::string_view bytes, std::size_t at, char c, Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf16Le:
        return bytes[at] == c && bytes[at + 1] == '\0';
    case Encoding::Utf16Be:
        return bytes[at] == '\0' && bytes[at + 1] == c;
    default:
        return bytes[at] == c;
    }
}

std::u16string decode(std::string_view bytes, Encoding encoding) {
    if (isUtf16(encoding))
        return fromUtf16(bytes, encoding == Encoding::Utf16Be);
    return *codepage::decode(bytes, encoding, false);
}

std::optional<std::string> encode(std::u16string_view text, Encoding encoding) {
    if (isUtf16(encoding))
        return toUtf16(text, encoding == Encoding::Utf16Be);
    return codepage::encode(text, encoding);
}

} // namespace profile
