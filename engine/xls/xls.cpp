#include "engine/xls/xls.h"

#include "engine/xls/compound_file.h"
#include "engine/xls/error.h"
#include "engine/xls/workbook_reader.h"
#include "engine/xls/workbook_writer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
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

// Writes a new file beside `path` through `write` and renames it over `path`; the old file stays as
// it was until the new one is complete on disk.
void replaceFile(const std::filesystem::path& path, const std::function<bool(std::FILE*)>& write) {
    std::filesystem::path dir = path.parent_path().empty() ? "." : path.parent_path();
    std::string name = path.filename().string();
    name.insert(name.begin(), '.');
    name.append(".XXXXXX");
    std::string temp = (dir / name).string();
    int fd = mkstemp(temp.data());
    if (fd < 0)
        throw XlsError("cannot save " + describe(path) + ": " + systemError());
    std::FILE* file = ::fdopen(fd, "wb");
    auto fail = [&](const std::string& why) {
        if (file)
            std::fclose(file);
        else
            ::close(fd);
        ::unlink(temp.c_str());
        throw XlsError("cannot save " + describe(path) + ": " + why);
    };
    if (!file)
        fail(systemError());
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
    errno = 0;
    if (!write(file) || std::fflush(file) != 0 || ::fsync(fd) != 0)
        fail(errno ? systemError() : "the file could not be written");
    int closed = std::fclose(file);
    file = nullptr;
    if (closed != 0) {
        std::string why = systemError();
        ::unlink(temp.c_str());
        throw XlsError("cannot save " + describe(path) + ": " + why);
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
    try {
        auto parts = WorkbookWriter(book).pieces();
        return compoundFile(StreamPieces(parts.begin(), parts.end()));
    } catch (const FormatError& e) {
        throw XlsError(std::string("cannot save the workbook: ") + e.what());
    }
}

void writeWorkbook(const Workbook& book, const std::filesystem::path& path) {
    std::vector<std::vector<uint8_t>> parts;
    try {
        parts = WorkbookWriter(book).pieces();
    } catch (const FormatError& e) {
        throw XlsError("cannot save " + describe(path) + ": " + e.what());
    }
    StreamPieces pieces(parts.begin(), parts.end());
    replaceFile(path, [&](std::FILE* file) { return writeCompoundFile(file, pieces); });
}

} // namespace engine::xls
