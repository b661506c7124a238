#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text encodings a profile file may carry. A file made on a Chinese Windows is in code page 936
// (GBK); one that has gained a character GBK lacks is in GB18030, GBK's superset. UTF-16 files carry a
// byte-order mark.
namespace profile {

enum class Encoding {
    Utf16Le,
    Utf16Be,
    Utf8Bom,
    Utf8,
    Gbk,
    Gb18030,
    // Text holding zero bytes without a UTF-16 mark: read as GBK as far as it goes, never edited.
    Undecodable,
};

// A byte-order mark says what it says. Otherwise text holding a zero byte (UTF-16 without a mark, or no
// text at all) is undecodable; text that is valid UTF-8 is UTF-8, text that is valid GBK is GBK, text that
// is valid GB18030 is GB18030, and anything else is taken for GBK (damaged lines read as far as they go).
Encoding detectEncoding(std::string_view bytes);

// The byte-order mark that starts a file in this encoding (empty for those without one).
std::string_view byteOrderMark(Encoding encoding);

// Bytes per code unit: line breaks are searched for unit by unit.
std::size_t unitSize(Encoding encoding);

// Whether the code unit at byte `at` of the file is the ASCII character `c`.
bool isCharacter(std::string_view bytes, std::size_t at, char c, Encoding encoding);

// Decodes a piece of a file (without its mark). Bytes that do not decode become U+FFFD, so a damaged
// line still reads as far as it can; a lone byte after the last whole unit of UTF-16, the trace of a
// cut or of a byte appended by a tool that knows no UTF-16, carries no character and is passed over.
std::u16string decode(std::string_view bytes, Encoding encoding);

// Encodes text, or gives nothing when the encoding cannot represent every character.
std::optional<std::string> encode(std::u16string_view text, Encoding encoding);

} // namespace profile
