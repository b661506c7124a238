#pragma once

#include "engine/model/workbook.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Excel 97-2003 workbooks (.xls, BIFF8 in an OLE2 compound file).
namespace engine::xls {

struct ReadResult {
    std::unique_ptr<Workbook> workbook;
    // What the file held that the engine does not keep, in words for a user ("comments", "defined
    // names"); saving over the file would lose these. Empty for files this program wrote.
    std::vector<std::string> dropped;
};

// Reads a workbook. Throws XlsError (error.h), whose message names the file and the problem, when the
// file cannot be read, is no regular file or larger than the format allows, is not an Excel 97-2003
// workbook, is encrypted, or is damaged anywhere.
ReadResult readWorkbook(const std::filesystem::path& path);
// The same from the bytes of a file; `name` is what messages call it.
ReadResult readWorkbook(std::span<const uint8_t> file, const std::string& name);

// The same from a workbook stream already taken out of its compound file.
ReadResult readWorkbookStream(std::span<const uint8_t> stream, const std::string& name);

// Saves a workbook as files::replaceFile replaces a file: never half-written, no temporary file left,
// a symbolic link's file replaced, a read-only file refused. A failure (reported as XlsError with the
// reason) leaves the old file as it was. The workbook's content is not changed; formula results are
// brought up to date to be stored with their formulas.
void writeWorkbook(const Workbook& book, const std::filesystem::path& path);
// The bytes of the file writeWorkbook would write.
std::vector<uint8_t> workbookBytes(const Workbook& book);

} // namespace engine::xls
