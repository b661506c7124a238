#include "platform/profile/file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace profile {
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
    // Closing can report a failed write-back, so the caller sees it.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = EIO;
        if (written <= 0)
            return false;
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

mode_t modeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

} // namespace

std::optional<std::string> readFile(const std::string& path, std::error_code& error) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        error = lastError();
        return std::nullopt;
    }
    std::string bytes;
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
        bytes.append(buffer, std::size_t(got));
    }
    error.clear();
    return bytes;
}

std::error_code replaceFile(const std::string& path, std::string_view bytes) {
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? old.st_mode & 07777 : modeForNewFile();
    std::string temporary = path + ".XXXXXX";
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return lastError();
    std::error_code error;
    if (::fchmod(fd.get(), mode) != 0 || !writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 ||
        !fd.close() || ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = lastError();
        ::unlink(temporary.c_str());
        return error;
    }
    // Make the rename itself durable; the new contents are already in place, so a failure here is moot.
    Descriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return error;
}

} // namespace profile
