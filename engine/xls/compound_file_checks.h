#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// What the reader checks of a compound file itself, before the system's compound-file library opens it.
namespace engine::xls {

// Excel keeps its workbook stream out of the compound file's small-block area; streams shorter than
// this are padded after their last record.
constexpr std::size_t MinStreamSize = 4096;

// Raises FormatError when `file` is no compound file, is a bare Excel 4.0 (or older) file, or has a
// directory that is not a tree under its root storage (an entry pointing back to the root, a cycle, an
// entry of no known kind, siblings beside the root). Compound-file libraries read such directories
// with entries no parent owns, which leaks or worse; the file is damaged anyway and is turned away here.
void refuseUnsoundCompoundFile(std::span<const uint8_t> file);

} // namespace engine::xls
