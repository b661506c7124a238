#include "engine/xls/xls.h"

#include "engine/xls/compound_file.h"
#include "engine/xls/error.h"
#include "engine/xls/workbook_reader.h"
#include "engine/xls/workbook_writer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace engine::xls {

namespace {

std::string describe(const std::filesystem::path& path) {
    std::string s = path.string();
    s.insert(s.begin(), '"');
    s.push_back('"');
    return s;
}

std::string systemError() {
    return std::strerror(errno);
}

// Writes all of `bytes` to a new file beside `path` and renames it over `path`.
void replaceFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::path dir = path.parent_path().empty() ? "." : path.parent_path();
    std::string name = path.filename().string();
    name.insert(name.begin(), '.');
    name.append(".XXXXXX");
    std::string temp = (dir / name).string();
    int fd = mkstemp(temp.data());
    if (fd < 0)
        throw XlsError("cannot save " + describe(path) + ": " + systemError());
    auto fail = [&](const std::string& why) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw XlsError("cannot save " + describe(path) + ": " + why);
    };
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat old {};
    mode_t mode = 0666;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        fail(systemError());
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(systemError());
        }
        done += size_t(n);
    }
    if (::fsync(fd) != 0)
        fail(systemError());
    if (::close(fd) != 0) {
        ::unlink(temp.c_str());
        throw XlsError("cannot save " + describe(path) + ": " + systemError());
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        std::string why = systemError();
        ::unlink(temp.c_str());
        throw XlsError("cannot save " + describe(path) + ": " + why);
    }
}

} // namespace

ReadResult readWorkbookStream(std::span<const uint8_t> stream, const std::string& name) {
    try {
        ReadResult result;
        result.workbook = std::make_unique<Workbook>();
        WorkbookReader reader(stream, *result.workbook);
        reader.read();
        if (result.workbook->sheetCount() == 0)
            throw FormatError("it holds no worksheet");
        result.dropped = reader.dropped();
        return result;
    } catch (const FormatError& e) {
        throw XlsError("cannot open " + name + ": " + e.what());
    } catch (const std::bad_alloc&) {
        throw XlsError("cannot open " + name + ": there is not enough memory");
    }
}

ReadResult readWorkbook(std::span<const uint8_t> file, const std::string& name) {
    std::vector<uint8_t> stream;
    try {
        stream = workbookStream(file);
    } catch (const FormatError& e) {
        throw XlsError("cannot open " + name + ": " + e.what());
    }
    return readWorkbookStream(stream, name);
}

ReadResult readWorkbook(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw XlsError("cannot open " + describe(path) + ": " + systemError());
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw XlsError("cannot open " + describe(path) + ": it cannot be read");
    return readWorkbook(bytes, describe(path));
}

std::vector<uint8_t> workbookBytes(const Workbook& book) {
    WorkbookWriter writer(book);
    std::vector<uint8_t> stream = writer.stream();
    return compoundFile(stream);
}

void writeWorkbook(const Workbook& book, const std::filesystem::path& path) {
    std::vector<uint8_t> bytes;
    try {
        bytes = workbookBytes(book);
    } catch (const FormatError& e) {
        throw XlsError("cannot save " + describe(path) + ": " + e.what());
    }
    replaceFile(path, bytes);
}

} // namespace engine::xls
