#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace engine::xls {

// The OLE2 compound file that holds a workbook's "Workbook" stream (older files call it "Book").
// Refusals raise FormatError naming the problem.
std::vector<uint8_t> workbookStream(std::span<const uint8_t> file);

// A compound file with 512-byte sectors, as Excel 97 writes it, holding as "Workbook" the stream made
// of `pieces` one after another.
using StreamPieces = std::vector<std::span<const uint8_t>>;
std::vector<uint8_t> compoundFile(const StreamPieces& pieces);
std::vector<uint8_t> compoundFile(std::span<const uint8_t> stream);
// The same written to `file`, which stays open; false when writing fails (errno says why).
bool writeCompoundFile(std::FILE* file, const StreamPieces& pieces);

} // namespace engine::xls
