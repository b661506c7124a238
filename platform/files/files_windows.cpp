#include "platform/files/files.h"

#include <fcntl.h>
#include <io.h>
#include <utility>
#include <windows.h>

namespace files {
namespace {

std::wstring widened(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), length);
    return out;
}

// The system's reason, as the portable condition where callers test for one.
std::error_code errorOf(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return std::make_error_code(std::errc::permission_denied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_WRITE_PROTECT:
        return std::make_error_code(std::errc::read_only_file_system);
    default:
        return {int(code), std::system_category()};
    }
}

std::error_code lastError() {
    return errorOf(GetLastError());
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    // From here on the stream made from it closes it.
    HANDLE release() { return std::exchange(h_, INVALID_HANDLE_VALUE); }

private:
    HANDLE h_;
};

// The temporaries of a file are hidden beside it: ".name.<process>-<attempt>".
std::wstring temporaryName(const std::wstring& path, int attempt) {
    const std::size_t slash = path.find_last_of(L"/\\");
    const std::size_t name = slash == std::wstring::npos ? 0 : slash + 1;
    return path.substr(0, name) + L"." + path.substr(name) + L"." + std::to_wstring(GetCurrentProcessId()) +
           L"-" + std::to_wstring(attempt);
}

// Whether the file may be replaced; `exists` says whether there is one to replace.
std::error_code checkReplaceable(const std::wstring& path, bool& exists) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? std::error_code() : errorOf(code);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::make_error_code(std::errc::is_a_directory);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return std::make_error_code(std::errc::read_only_file_system);
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return std::make_error_code(std::errc::invalid_argument);
    return {};
}

// A new hidden file beside the target, which nobody else may open while it is written.
HANDLE createTemporary(const std::wstring& path, std::wstring& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(path, attempt);
        HANDLE h =
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return h;
    }
    return INVALID_HANDLE_VALUE;
}

// Gives the written temporary the target's name. A file that exists is replaced keeping its
// attributes and security; the temporary's hidden attribute is not kept.
bool takeName(const std::wstring& temporary, const std::wstring& target, bool exists) {
    if (exists)
        return ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                            nullptr, nullptr);
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
        return false;
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return true;
}

} // namespace

std::optional<std::string> readFile(const std::string& path, std::size_t limit, std::error_code& error) {
    const std::wstring name = widened(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = std::make_error_code(std::errc::is_a_directory);
        return std::nullopt;
    }
    Handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        error = lastError();
        return std::nullopt;
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        error = std::make_error_code(std::errc::invalid_argument);
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        error = lastError();
        return std::nullopt;
    }
    if (std::uint64_t(size.QuadPart) > limit) {
        error = std::make_error_code(std::errc::file_too_large);
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(std::size_t(size.QuadPart));
    char buffer[8192];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            error = lastError();
            return std::nullopt;
        }
        if (got == 0)
            break;
        // The file may grow while it is read.
        if (std::size_t(got) > limit - bytes.size()) {
            error = std::make_error_code(std::errc::file_too_large);
            return std::nullopt;
        }
        bytes.append(buffer, got);
    }
    error.clear();
    return bytes;
}

std::error_code replaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    const std::wstring target = widened(path);
    bool exists = false;
    if (std::error_code refused = checkReplaceable(target, exists))
        return refused;

    std::wstring name;
    Handle handle(createTemporary(target, name));
    if (handle.get() == INVALID_HANDLE_VALUE)
        return lastError();
    std::error_code error;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), _O_WRONLY | _O_BINARY);
    std::FILE* file = fd < 0 ? nullptr : _fdopen(fd, "wb");
    if (file) {
        const HANDLE written = handle.release();
        errno = 0;
        if (!write(file) || std::fflush(file) != 0)
            error = errno ? std::error_code(errno, std::generic_category())
                          : std::make_error_code(std::errc::io_error);
        else if (!FlushFileBuffers(written))
            error = lastError();
        if (std::fclose(file) != 0 && !error)
            error = std::error_code(errno, std::generic_category());
    } else {
        if (fd >= 0)
            _close(fd), handle.release();
        error = std::make_error_code(std::errc::io_error);
    }
    if (!error && !takeName(name, target, exists))
        error = lastError();
    if (error) {
        DeleteFileW(name.c_str());
        return error;
    }
    return {};
}

std::error_code replaceFile(const std::string& path, std::string_view bytes) {
    return replaceFile(path, [&](std::FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    });
}

} // namespace files
