#include "engine/xls/decryption.h"

#include "engine/xls/bytes.h"
#include "engine/xls/cipher.h"
#include "engine/xls/error.h"
#include "engine/xls/record_types.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace engine::xls {

namespace {

constexpr size_t kBlockSize = 1024;
constexpr size_t kSaltSize = 16;

[[noreturn]] void refuse() {
    throw FormatError("it is protected by a password (encrypted), which this program cannot open");
}

// A reader must see these before it knows the key, so they stay plain in an encrypted stream.
bool plainRecord(uint16_t type) {
    switch (type) {
    case rec::Bof:
    case rec::FilePass:
    case 0x0194: // USREXCL
    case 0x0195: // FILELOCK
    case 0x00E1: // INTERFACEHDR
    case 0x0196: // RRDINFO
    case 0x0138: // RRDHEAD
        return true;
    default:
        return false;
    }
}

// The 40-bit key of the file: MD5 of the password's first five digest bytes and the salt, each pair
// repeated sixteen times. Each block of the stream is keyed by MD5 of those five bytes and its number.
class StreamKey {
public:
    StreamKey(std::u16string_view password, std::span<const uint8_t> salt) {
        std::vector<uint8_t> utf16;
        for (char16_t c : password) {
            utf16.push_back(uint8_t(c));
            utf16.push_back(uint8_t(c >> 8));
        }
        auto passwordHash = cipher::md5(utf16);
        std::vector<uint8_t> repeated;
        for (int i = 0; i < 16; ++i) {
            repeated.insert(repeated.end(), passwordHash.begin(), passwordHash.begin() + 5);
            repeated.insert(repeated.end(), salt.begin(), salt.end());
        }
        auto hash = cipher::md5(repeated);
        std::copy_n(hash.begin(), 5, base_.begin());
    }

    void keyStream(uint32_t block, std::span<uint8_t> out) const {
        std::array<uint8_t, 9> input{};
        std::copy(base_.begin(), base_.end(), input.begin());
        for (int i = 0; i < 4; ++i)
            input[5 + i] = uint8_t(block >> (8 * i));
        auto key = cipher::md5(input);
        cipher::rc4KeyStream(key, out);
    }

private:
    std::array<uint8_t, 5> base_{};
};

// The password is right when the file's verifier, decrypted, hashes to its decrypted hash.
bool verifies(const StreamKey& key, std::span<const uint8_t> verifier, std::span<const uint8_t> hash) {
    std::array<uint8_t, 32> stream;
    key.keyStream(0, stream);
    std::array<uint8_t, 16> plainVerifier, plainHash;
    for (size_t i = 0; i < 16; ++i) {
        plainVerifier[i] = verifier[i] ^ stream[i];
        plainHash[i] = hash[i] ^ stream[16 + i];
    }
    auto expected = cipher::md5(plainVerifier);
    return std::equal(expected.begin(), expected.end(), plainHash.begin());
}

// Combines stream bytes [from, to) with the key stream of their positions.
class Decrypter {
public:
    explicit Decrypter(const StreamKey& key) : key_(key) {}

    void apply(std::vector<uint8_t>& stream, size_t from, size_t to) {
        for (size_t at = from; at < to; ++at) {
            size_t block = at / kBlockSize;
            if (block != block_) {
                key_.keyStream(uint32_t(block), keyStream_);
                block_ = block;
            }
            stream[at] ^= keyStream_[at % kBlockSize];
        }
    }

private:
    const StreamKey& key_;
    size_t block_ = SIZE_MAX;
    std::array<uint8_t, kBlockSize> keyStream_{};
};

struct Header {
    uint16_t type;
    size_t size;
};

std::optional<Header> headerAt(std::span<const uint8_t> stream, size_t at) {
    if (at > stream.size() || stream.size() - at < 4)
        return std::nullopt;
    return Header{uint16_t(stream[at] | stream[at + 1] << 8), size_t(stream[at + 2] | stream[at + 3] << 8)};
}

} // namespace

std::optional<std::vector<uint8_t>> decryptedStream(std::span<const uint8_t> stream) {
    // FILEPASS, when there is one, lies among the globals, before their closing EOF.
    size_t at = 0;
    std::optional<Header> header;
    while ((header = headerAt(stream, at)) && header->type != rec::FilePass) {
        if (header->type == rec::Eof)
            return std::nullopt;
        at += 4 + header->size;
    }
    if (!header)
        return std::nullopt;
    if (stream.size() - at - 4 < header->size)
        refuse();

    // Only RC4 with its own key derivation (version 1.1) can hold the default password; the older
    // obfuscation and the system-provider variants are refused like any other password.
    ByteReader in(stream.subspan(at + 4, header->size));
    if (in.remaining() < 2 + 4 + 3 * kSaltSize || in.u16() != 1 || in.u16() != 1 || in.u16() != 1)
        refuse();
    auto salt = in.bytes(kSaltSize);
    auto verifier = in.bytes(16);
    auto verifierHash = in.bytes(16);
    StreamKey key(u"VelvetSweatshop", salt);
    if (!verifies(key, verifier, verifierHash))
        refuse();

    std::vector<uint8_t> plain(stream.begin(), stream.end());
    Decrypter decrypter(key);
    for (at += 4 + header->size; (header = headerAt(stream, at)); at += 4 + header->size) {
        size_t body = at + 4;
        size_t end = std::min(body + header->size, stream.size());
        if (plainRecord(header->type))
            continue;
        // A sheet's position in its BOUNDSHEET stays plain: the reader seeks with it.
        if (header->type == rec::BoundSheet)
            body = std::min(body + 4, end);
        decrypter.apply(plain, body, end);
    }
    return plain;
}

} // namespace engine::xls
