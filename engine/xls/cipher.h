#pragma once

#include <array>
#include <cstdint>
#include <span>

// The two primitives the encryption of Excel 97-2003 workbooks is built on, MD5 and RC4, as one small
// seam: a build for another system puts that system's crypto library behind the same two functions.
namespace engine::xls::cipher {

using Md5Digest = std::array<uint8_t, 16>;

Md5Digest md5(std::span<const uint8_t> data);

// Fills `out` with the first out.size() bytes of the RC4 key stream for `key` (5 to 16 bytes); a text
// is encrypted or decrypted by combining it with these bytes by exclusive or.
void rc4KeyStream(std::span<const uint8_t> key, std::span<uint8_t> out);

} // namespace engine::xls::cipher
