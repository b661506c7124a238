#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace engine::xls {

// The OLE2 compound file that holds a workbook's "Workbook" stream (older files call it "Book").
// Refusals raise FormatError naming the problem.
std::vector<uint8_t> workbookStream(std::span<const uint8_t> file);

// A compound file with 512-byte sectors, as Excel 97 writes it, holding `stream` as "Workbook".
std::vector<uint8_t> compoundFile(std::span<const uint8_t> stream);

} // namespace engine::xls
