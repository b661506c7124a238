#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text measured in bytes, as a Chinese Excel measures it in the functions whose names end in B (LENB,
// MIDB): a character of ASCII takes one byte of its code page, any other character two.
namespace engine::formula::double_byte {

inline std::size_t width(char16_t c) {
    return c < 0x80 ? 1 : 2;
}

inline std::size_t bytes(std::u16string_view s, std::size_t chars = std::u16string_view::npos) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size() && i < chars; ++i)
        n += width(s[i]);
    return n;
}

// The first character that begins at or after byte `byte` (from 0).
inline std::size_t charAt(std::u16string_view s, std::size_t byte) {
    std::size_t i = 0;
    for (std::size_t b = 0; i < s.size() && b < byte; ++i)
        b += width(s[i]);
    return i;
}

// The first `n` bytes; half a character at the end becomes a space.
inline std::u16string left(std::u16string_view s, std::size_t n) {
    std::size_t i = 0, b = 0;
    while (i < s.size() && b + width(s[i]) <= n)
        b += width(s[i++]);
    std::u16string out(s.substr(0, i));
    if (b < n && i < s.size())
        out += u' ';
    return out;
}

// The last `n` bytes; half a character at the start becomes a space.
inline std::u16string right(std::u16string_view s, std::size_t n) {
    std::size_t i = s.size(), b = 0;
    while (i > 0 && b + width(s[i - 1]) <= n)
        b += width(s[--i]);
    std::u16string out(s.substr(i));
    if (b < n && i > 0)
        out.insert(out.begin(), u' ');
    return out;
}

} // namespace engine::formula::double_byte
