#pragma once

#include "engine/xls/bytes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// NAME records: the defined names of a workbook, each with its formula.
namespace engine::xls {

struct NameRecord {
    // For a built-in name, Excel's spelling of it (Print_Area); empty for a code Excel 97 does not know.
    std::u16string name;
    std::optional<uint8_t> builtIn;
    bool hidden = false;
    uint16_t sheet = 0; // from 1, the sheet (in BOUNDSHEET order) the name belongs to; 0 the workbook's
    std::span<const uint8_t> tokens; // the formula, within the record's body
};

// Raises FormatError when the record is shorter than its counts, and on writing a name Excel refuses.
NameRecord readNameRecord(std::span<const uint8_t> body);
// The record's body.
void putNameRecord(std::vector<uint8_t>& out, const NameRecord& name);

} // namespace engine::xls
