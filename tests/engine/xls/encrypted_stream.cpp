#include "tests/engine/xls/encrypted_stream.h"

#include "engine/xls/bytes.h"
#include "engine/xls/cipher.h"
#include "engine/xls/record_types.h"

#include <algorithm>
#include <array>

namespace xls_testing {

using namespace engine::xls;

namespace {

constexpr size_t kFilePassSize = 2 + 4 + 16 * 3;

uint16_t u16At(const std::vector<uint8_t>& s, size_t at) {
    return uint16_t(s[at] | s[at + 1] << 8);
}
uint32_t u32At(const std::vector<uint8_t>& s, size_t at) {
    return uint32_t(u16At(s, at)) | uint32_t(u16At(s, at + 2)) << 16;
}

// RC4 key of a 1,024-byte block: MD5 over the 40-bit file key and the block number.
std::array<uint8_t, 1024> blockKeyStream(const std::array<uint8_t, 5>& fileKey, uint32_t block) {
    std::vector<uint8_t> input(fileKey.begin(), fileKey.end());
    for (int i = 0; i < 4; ++i)
        input.push_back(uint8_t(block >> (8 * i)));
    std::array<uint8_t, 1024> stream;
    cipher::rc4KeyStream(cipher::md5(input), stream);
    return stream;
}

} // namespace

std::vector<uint8_t> encryptedStream(std::span<const uint8_t> plain, std::u16string_view password,
                                     uint8_t saltByte) {
    std::vector<uint8_t> s(plain.begin(), plain.end());
    const size_t shift = 4 + kFilePassSize;

    // Positions the stream holds, moved past the record about to be inserted.
    for (size_t at = 0; at + 4 <= s.size();) {
        uint16_t type = u16At(s, at);
        size_t size = u16At(s, at + 2);
        size_t body = at + 4;
        if (type == rec::BoundSheet)
            patchU32(s, body, uint32_t(u32At(s, body) + shift));
        if (type == rec::Index)
            for (size_t p = body + 12; p + 4 <= body + size; p += 4)
                if (u32At(s, p) != 0)
                    patchU32(s, p, uint32_t(u32At(s, p) + shift));
        if (type == rec::ExtSst)
            for (size_t p = body + 2; p + 8 <= body + size; p += 8)
                patchU32(s, p, uint32_t(u32At(s, p) + shift));
        at = body + size;
    }

    std::vector<uint8_t> utf16;
    for (char16_t c : password) {
        utf16.push_back(uint8_t(c));
        utf16.push_back(uint8_t(c >> 8));
    }
    std::array<uint8_t, 16> salt;
    salt.fill(saltByte);
    auto passwordHash = cipher::md5(utf16);
    std::vector<uint8_t> repeated;
    for (int i = 0; i < 16; ++i) {
        repeated.insert(repeated.end(), passwordHash.begin(), passwordHash.begin() + 5);
        repeated.insert(repeated.end(), salt.begin(), salt.end());
    }
    auto intermediate = cipher::md5(repeated);
    std::array<uint8_t, 5> fileKey;
    std::copy_n(intermediate.begin(), 5, fileKey.begin());

    std::array<uint8_t, 16> verifier;
    for (size_t i = 0; i < 16; ++i)
        verifier[i] = uint8_t(0x30 + i);
    auto verifierHash = cipher::md5(verifier);
    auto first = blockKeyStream(fileKey, 0);
    std::vector<uint8_t> filePass;
    putU16(filePass, 1);
    putU16(filePass, 1);
    putU16(filePass, 1);
    filePass.insert(filePass.end(), salt.begin(), salt.end());
    for (size_t i = 0; i < 16; ++i)
        filePass.push_back(verifier[i] ^ first[i]);
    for (size_t i = 0; i < 16; ++i)
        filePass.push_back(verifierHash[i] ^ first[16 + i]);

    size_t bofEnd = 4 + u16At(s, 2);
    std::vector<uint8_t> header;
    putU16(header, rec::FilePass);
    putU16(header, uint16_t(filePass.size()));
    header.insert(header.end(), filePass.begin(), filePass.end());
    s.insert(s.begin() + std::ptrdiff_t(bofEnd), header.begin(), header.end());

    // Record headers, BOFs and the FILEPASS itself stay plain, and so do the sheet positions in BOUNDSHEET.
    uint32_t block = UINT32_MAX;
    std::array<uint8_t, 1024> keyStream{};
    for (size_t at = bofEnd + header.size(); at + 4 <= s.size();) {
        uint16_t type = u16At(s, at);
        size_t body = at + 4;
        size_t end = body + u16At(s, at + 2);
        if (type == rec::BoundSheet)
            body += 4;
        if (type != rec::Bof)
            for (size_t p = body; p < end; ++p) {
                if (p / 1024 != block) {
                    block = uint32_t(p / 1024);
                    keyStream = blockKeyStream(fileKey, block);
                }
                s[p] ^= keyStream[p % 1024];
            }
        at = end;
    }
    return s;
}

} // namespace xls_testing
