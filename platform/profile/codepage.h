#pragma once

#include "platform/profile/encoding.h"

#include <optional>
#include <string>
#include <string_view>

// Conversions between UTF-16 and the byte encodings of a profile file (UTF-8, GBK as code page 936,
// GB18030), by the system's converter.
namespace profile::codepage {

// Strict: nothing at the first byte sequence that does not convert. Lenient: such a sequence gives
// U+FFFD and the conversion goes on after its first byte.
std::optional<std::u16string> decode(std::string_view bytes, Encoding encoding, bool strict);

// Nothing when a character has no bytes in the encoding.
std::optional<std::string> encode(std::u16string_view text, Encoding encoding);

} // namespace profile::codepage
