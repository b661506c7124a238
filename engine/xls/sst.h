#pragma once

#include "engine/xls/record_writer.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace engine::xls {

// The shared string table: every text of a LABELSST cell, once.
std::vector<std::u16string> readSst(const std::vector<std::span<const uint8_t>>& segments);

// Writes SST with its CONTINUE records and the EXTSST index that follows it. `references` is the number
// of cells that refer to the table. The writer's buffer must be the whole stream, as EXTSST holds
// stream positions.
void writeSst(RecordWriter& w, const std::vector<std::u16string_view>& strings, uint32_t references);

} // namespace engine::xls
