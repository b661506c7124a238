#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Workbooks encrypted with the password Excel applies without asking. Excel encrypts a workbook whose
// structure is protected with the well-known password "VelvetSweatshop" and opens it again silently;
// such a file is read as if it were not encrypted. The record headers of an encrypted stream are plain;
// the record bodies after FILEPASS are RC4 over the whole stream, rekeyed every 1,024 bytes.
namespace engine::xls {

// The stream with its record bodies decrypted, when its globals hold a FILEPASS record; nothing when
// they do not. Throws FormatError when the file is encrypted by another password or another scheme.
std::optional<std::vector<uint8_t>> decryptedStream(std::span<const uint8_t> stream);

} // namespace engine::xls
