#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace xls_testing {

// A workbook stream encrypted as Excel encrypts one under a password, written from the published
// description of the format rather than from our reader: a FILEPASS record (RC4, version 1.1, with
// `salt`) is put after the globals' BOF, the stream positions that records hold are moved past it, and
// every record body after it is combined with the RC4 key stream of its stream position.
std::vector<uint8_t> encryptedStream(std::span<const uint8_t> stream, std::u16string_view password,
                                     uint8_t salt = 0x5A);

} // namespace xls_testing
