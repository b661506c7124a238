#pragma once

#include <stdexcept>
#include <string>

namespace engine::xls {

// A workbook file that cannot be read or written. The message names the file and the problem in words a
// user can act on; the object model turns it into the automation error.
class XlsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised deep inside the parsers, where the file name is not known; the entry points catch it and raise
// an XlsError that names the file.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The refusal of a file from Excel 4.0 or older, whether it comes as a bare file or inside a compound one.
inline constexpr const char* kExcel4OrOlder =
    "it was saved in the format of Excel 4.0 or older, which this program does not read";

} // namespace engine::xls
