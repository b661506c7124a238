#pragma once

#include <cstdint>
#include <objbase.h>
#include <span>
#include <vector>

namespace engine::xls {

// Bytes in memory under the system's structured storage. Unlike the system's own ILockBytes on an
// HGLOBAL, whose growth leaves the new bytes as they were, it fills every byte it adds with zeros: the
// storage leaves unused directory entries and sector tails unwritten, and a saved file must not carry
// whatever memory held before.
class MemoryLockBytes final : public ILockBytes {
public:
    MemoryLockBytes() = default;
    explicit MemoryLockBytes(std::span<const uint8_t> content) : bytes_(content.begin(), content.end()) {}
    MemoryLockBytes(const MemoryLockBytes&) = delete;
    MemoryLockBytes& operator=(const MemoryLockBytes&) = delete;

    const std::vector<uint8_t>& bytes() const { return bytes_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    // The object lives on the caller's stack, beyond every reference the storage takes.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE ReadAt(ULARGE_INTEGER offset, void* out, ULONG size, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE WriteAt(ULARGE_INTEGER offset, const void* in, ULONG size,
                                      ULONG* written) override;
    HRESULT STDMETHODCALLTYPE Flush() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* out, DWORD flags) override;

private:
    std::vector<uint8_t> bytes_;
};

} // namespace engine::xls
