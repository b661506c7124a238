#include "engine/xls/cipher.h"

#include <algorithm>
#include <nettle/arcfour.h>
#include <nettle/md5.h>

namespace engine::xls::cipher {

Md5Digest md5(std::span<const uint8_t> data) {
    md5_ctx context;
    md5_init(&context);
    md5_update(&context, data.size(), data.data());
    Md5Digest digest;
    md5_digest(&context, digest.size(), digest.data());
    return digest;
}

void rc4KeyStream(std::span<const uint8_t> key, std::span<uint8_t> out) {
    arcfour_ctx context;
    arcfour_set_key(&context, key.size(), key.data());
    std::fill(out.begin(), out.end(), uint8_t(0));
    arcfour_crypt(&context, out.size(), out.data(), out.data());
}

} // namespace engine::xls::cipher
