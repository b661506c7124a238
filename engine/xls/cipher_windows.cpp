// MD5 and RC4 through the system's CryptoAPI (wincrypt.h, which windows.h includes). The enhanced provider
// takes RC4 keys of up to 128 bits (the workbook's keys are MD5 digests) and adds no salt to them.
#include "engine/xls/cipher.h"
#include "engine/xls/error.h"

#include <algorithm>
#include <vector>
#include <windows.h>

namespace engine::xls::cipher {

namespace {

constexpr const char* kUnavailable = "the system's cryptography refused to decrypt it";

class Provider {
public:
    Provider() {
        if (!CryptAcquireContextW(&handle_, nullptr, MS_ENHANCED_PROV_W, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
            throw FormatError(kUnavailable);
    }
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;
    ~Provider() { CryptReleaseContext(handle_, 0); }
    HCRYPTPROV get() const { return handle_; }

private:
    HCRYPTPROV handle_ = 0;
};

// Acquired once: acquiring a provider costs far more than hashing a block's key.
HCRYPTPROV provider() {
    static const Provider kept;
    return kept.get();
}

} // namespace

Md5Digest md5(std::span<const uint8_t> data) {
    HCRYPTHASH hash = 0;
    if (!CryptCreateHash(provider(), CALG_MD5, 0, 0, &hash))
        throw FormatError(kUnavailable);
    Md5Digest digest{};
    DWORD size = DWORD(digest.size());
    bool ok = CryptHashData(hash, data.data(), DWORD(data.size()), 0) &&
              CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &size, 0) && size == digest.size();
    CryptDestroyHash(hash);
    if (!ok)
        throw FormatError(kUnavailable);
    return digest;
}

void rc4KeyStream(std::span<const uint8_t> key, std::span<uint8_t> out) {
    // A plaintext key blob: the header, the key's length, the key.
    std::vector<BYTE> blob(sizeof(BLOBHEADER) + sizeof(DWORD) + key.size());
    BLOBHEADER header{PLAINTEXTKEYBLOB, CUR_BLOB_VERSION, 0, CALG_RC4};
    DWORD length = DWORD(key.size());
    std::copy_n(reinterpret_cast<const BYTE*>(&header), sizeof header, blob.begin());
    std::copy_n(reinterpret_cast<const BYTE*>(&length), sizeof length, blob.begin() + sizeof header);
    std::copy(key.begin(), key.end(), blob.begin() + sizeof header + sizeof length);
    HCRYPTKEY handle = 0;
    if (!CryptImportKey(provider(), blob.data(), DWORD(blob.size()), 0, 0, &handle))
        throw FormatError(kUnavailable);
    std::fill(out.begin(), out.end(), uint8_t(0));
    DWORD size = DWORD(out.size());
    bool ok = CryptEncrypt(handle, 0, TRUE, 0, out.data(), &size, size) && size == out.size();
    CryptDestroyKey(handle);
    if (!ok)
        throw FormatError(kUnavailable);
}

} // namespace engine::xls::cipher
