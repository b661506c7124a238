#include "engine/xls/memory_lock_bytes_windows.h"

#include <algorithm>
#include <new>

namespace engine::xls {

namespace {

// A stored compound file never comes near this; a larger offset is a damaged sector number.
constexpr uint64_t MaxSize = uint64_t(1) << 31;

} // namespace

HRESULT MemoryLockBytes::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ILockBytes)) {
        *out = static_cast<ILockBytes*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT MemoryLockBytes::ReadAt(ULARGE_INTEGER offset, void* out, ULONG size, ULONG* read) {
    uint64_t from = std::min<uint64_t>(offset.QuadPart, bytes_.size());
    uint64_t count = std::min<uint64_t>(size, bytes_.size() - from);
    std::copy_n(bytes_.begin() + std::ptrdiff_t(from), count, static_cast<uint8_t*>(out));
    if (read)
        *read = ULONG(count);
    return S_OK;
}

HRESULT MemoryLockBytes::WriteAt(ULARGE_INTEGER offset, const void* in, ULONG size, ULONG* written) {
    if (written)
        *written = 0;
    if (offset.QuadPart > MaxSize || offset.QuadPart + size > MaxSize)
        return STG_E_MEDIUMFULL;
    try {
        if (offset.QuadPart + size > bytes_.size())
            bytes_.resize(offset.QuadPart + size);
    } catch (const std::bad_alloc&) {
        return STG_E_INSUFFICIENTMEMORY;
    }
    const auto* from = static_cast<const uint8_t*>(in);
    std::copy(from, from + size, bytes_.begin() + std::ptrdiff_t(offset.QuadPart));
    if (written)
        *written = size;
    return S_OK;
}

HRESULT MemoryLockBytes::SetSize(ULARGE_INTEGER size) {
    if (size.QuadPart > MaxSize)
        return STG_E_MEDIUMFULL;
    try {
        bytes_.resize(size.QuadPart);
    } catch (const std::bad_alloc&) {
        return STG_E_INSUFFICIENTMEMORY;
    }
    return S_OK;
}

HRESULT MemoryLockBytes::Stat(STATSTG* out, DWORD flags) {
    if (!out)
        return STG_E_INVALIDPOINTER;
    *out = STATSTG{};
    out->type = STGTY_LOCKBYTES;
    out->cbSize.QuadPart = bytes_.size();
    if (!(flags & STATFLAG_NONAME)) {
        out->pwcsName = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof(OLECHAR)));
        if (!out->pwcsName)
            return STG_E_INSUFFICIENTMEMORY;
        out->pwcsName[0] = 0;
    }
    return S_OK;
}

} // namespace engine::xls
