#include "platform/files/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace files {
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // From here on the stream made from it closes it.
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

mode_t modeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// The temporaries of a file are hidden beside it: ".name.XXXXXX".
std::string temporaryPrefix(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, name) + "." + path.substr(name) + ".";
}

// The file that a path names, its symbolic links followed; the path itself when it names no file yet.
std::string resolved(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string file(real);
    std::free(real);
    return file;
}

// Whether the file may be replaced, and the permissions its successor gets.
std::error_code checkReplaceable(const std::string& path, mode_t& mode) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno != ENOENT)
            return lastError();
        mode = modeForNewFile();
        return {};
    }
    if (S_ISDIR(status.st_mode))
        return std::make_error_code(std::errc::is_a_directory);
    if (!S_ISREG(status.st_mode))
        return std::make_error_code(std::errc::invalid_argument);
    // The mode bits first: a privileged user passes every access test, yet a read-only file stays so.
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return std::make_error_code(std::errc::read_only_file_system);
    if (::access(path.c_str(), W_OK) != 0)
        return lastError();
    mode = status.st_mode & 07777;
    return {};
}

// A file without a name in the folder, which vanishes with the process unless it is given one; where the
// file system has no such files, a named one (its name then in `name`).
int openTemporary(const std::string& path, std::string& name) {
    const int fd = ::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    name = temporaryPrefix(path) + "XXXXXX";
    return ::mkostemp(name.data(), O_CLOEXEC);
}

// Gives the unnamed file a temporary name beside `path`, from where it is renamed.
bool nameTemporary(int fd, const std::string& path, std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryPrefix(path) + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return false;
}

} // namespace

std::optional<std::string> readFile(const std::string& path, std::size_t limit, std::error_code& error) {
    // Not blocking: opening a FIFO would otherwise wait for a writer.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0) {
        error = lastError();
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        error = std::make_error_code(S_ISDIR(status.st_mode) ? std::errc::is_a_directory
                                                             : std::errc::invalid_argument);
        return std::nullopt;
    }
    if (std::size_t(status.st_size) > limit) {
        error = std::make_error_code(std::errc::file_too_large);
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(std::size_t(status.st_size));
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
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
        bytes.append(buffer, std::size_t(got));
    }
    error.clear();
    return bytes;
}

std::error_code replaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    const std::string target = resolved(path);
    mode_t mode = 0;
    if (std::error_code refused = checkReplaceable(target, mode))
        return refused;

    std::string name; // the temporary file's, once it has one
    Descriptor fd(openTemporary(target, name));
    if (fd.get() < 0)
        return lastError();
    std::error_code error;
    if (::fchmod(fd.get(), mode) != 0)
        error = lastError();
    std::FILE* file = error ? nullptr : ::fdopen(fd.get(), "wb");
    if (file) {
        fd.release();
        errno = 0;
        if (!write(file) || std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0)
            error = errno ? lastError() : std::make_error_code(std::errc::io_error);
        if (!error && name.empty() && !nameTemporary(::fileno(file), target, name))
            error = lastError();
        if (std::fclose(file) != 0 && !error)
            error = lastError();
    } else if (!error) {
        error = lastError();
    }
    if (!error && ::rename(name.c_str(), target.c_str()) != 0)
        error = lastError();
    if (error) {
        if (!name.empty())
            ::unlink(name.c_str());
        return error;
    }
    // Make the rename itself durable; the new contents are already in place, so a failure here is moot.
    Descriptor folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return {};
}

std::error_code replaceFile(const std::string& path, std::string_view bytes) {
    return replaceFile(path, [&](std::FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    });
}

} // namespace files
