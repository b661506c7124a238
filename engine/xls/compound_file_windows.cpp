// The compound file through the system's structured storage (ole32), kept in memory.
#include "engine/xls/compound_file.h"
#include "engine/xls/compound_file_checks.h"
#include "engine/xls/error.h"
#include "engine/xls/memory_lock_bytes_windows.h"

#include <cerrno>
#include <cwchar>
#include <objbase.h>
#include <windows.h>

namespace engine::xls {

namespace {

template <class T> class Held {
public:
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (p_)
            p_->Release();
    }
    T** put() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

// The first stream called `wanted`, without regard to case as Excel names them; the caller frees its name.
bool findStream(IStorage* storage, const wchar_t* wanted, STATSTG& found) {
    Held<IEnumSTATSTG> entries;
    if (FAILED(storage->EnumElements(0, nullptr, 0, entries.put())))
        return false;
    STATSTG entry;
    while (entries->Next(1, &entry, nullptr) == S_OK) {
        bool match = entry.type == STGTY_STREAM && entry.pwcsName && _wcsicmp(entry.pwcsName, wanted) == 0;
        if (match) {
            found = entry;
            return true;
        }
        CoTaskMemFree(entry.pwcsName);
    }
    return false;
}

} // namespace

std::vector<uint8_t> workbookStream(std::span<const uint8_t> file) {
    refuseUnsoundCompoundFile(file);

    MemoryLockBytes bytes(file);
    Held<IStorage> storage;
    if (FAILED(StgOpenStorageOnILockBytes(&bytes, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                          storage.put())))
        throw FormatError("its compound document structure is damaged");

    STATSTG entry{};
    if (!findStream(storage.get(), L"Workbook", entry) && !findStream(storage.get(), L"Book", entry))
        throw FormatError("it holds no workbook stream");
    Held<IStream> stream;
    HRESULT opened =
        storage->OpenStream(entry.pwcsName, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
    CoTaskMemFree(entry.pwcsName);
    if (FAILED(opened))
        throw FormatError("its workbook stream cannot be read completely");

    uint64_t size = entry.cbSize.QuadPart;
    if (size > file.size())
        throw FormatError("its workbook stream is larger than the file");
    std::vector<uint8_t> out(static_cast<size_t>(size));
    ULONG read = 0;
    if (size > 0 && (FAILED(stream->Read(out.data(), ULONG(size), &read)) || read != size))
        throw FormatError("its workbook stream cannot be read completely");
    return out;
}

std::vector<uint8_t> compoundFile(const StreamPieces& pieces) {
    constexpr const char* failed = "the compound document could not be assembled";
    MemoryLockBytes bytes;
    {
        Held<IStorage> storage;
        // Version 3 of the format: 512-byte sectors and 64-byte small blocks, as Excel 97 writes.
        if (FAILED(StgCreateDocfileOnILockBytes(&bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                                0, storage.put())))
            throw FormatError(failed);
        Held<IStream> stream;
        if (FAILED(storage->CreateStream(L"Workbook", STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                         stream.put())))
            throw FormatError(failed);
        size_t size = 0;
        auto write = [&](std::span<const uint8_t> piece) {
            ULONG written = 0;
            if (!piece.empty() && (FAILED(stream->Write(piece.data(), ULONG(piece.size()), &written)) ||
                                   written != piece.size()))
                throw FormatError(failed);
            size += piece.size();
        };
        for (auto piece : pieces)
            write(piece);
        if (size < MinStreamSize)
            write(std::vector<uint8_t>(MinStreamSize - size, 0));
        if (FAILED(storage->Commit(STGC_DEFAULT)))
            throw FormatError(failed);
    }
    return bytes.bytes();
}

std::vector<uint8_t> compoundFile(std::span<const uint8_t> stream) {
    return compoundFile(StreamPieces{stream});
}

bool writeCompoundFile(std::FILE* file, const StreamPieces& pieces) {
    std::vector<uint8_t> bytes;
    try {
        bytes = compoundFile(pieces);
    } catch (const FormatError&) {
        errno = ENOMEM;
        return false;
    }
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
}

} // namespace engine::xls
