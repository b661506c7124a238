#include "engine/xls/xls.h"

#include "engine/xls/compound_file.h"
#include "engine/xls/error.h"
#include "engine/xls/workbook_reader.h"
#include "engine/xls/workbook_writer.h"
#include "platform/files/files.h"

namespace engine::xls {

namespace {

std::string describe(const std::filesystem::path& path) {
    std::string s = path.string();
    s.insert(s.begin(), '"');
    s.push_back('"');
    return s;
}

// A compound file of 512-byte sectors, as an Excel 97-2003 workbook is, holds at most 2 GiB.
constexpr std::size_t kMaxFileSize = std::size_t(1) << 31;

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
    std::error_code error;
    const auto bytes = files::readFile(path.string(), kMaxFileSize, error);
    if (!bytes)
        throw XlsError("cannot open " + describe(path) + ": " + files::describe(error));
    return readWorkbook(std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()),
                        describe(path));
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
    if (std::error_code error = files::replaceFile(
            path.string(), [&](std::FILE* file) { return writeCompoundFile(file, pieces); }))
        throw XlsError("cannot save " + describe(path) + ": " + files::describe(error));
}

} // namespace engine::xls
