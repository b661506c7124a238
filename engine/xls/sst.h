#pragma once

#include "engine/xls/record_writer.h"

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace engine::xls {

// A text of the table with its formatting runs: the first character of each and its FONT index.
using SstRuns = std::vector<std::pair<uint16_t, uint16_t>>;
struct SstString {
    std::u16string text;
    SstRuns runs;
};

// The shared string table: every text of a LABELSST cell, once. A table that claims more texts than it
// holds gives those it holds: a cell that refers past them is refused where it is read.
std::vector<SstString> readSst(const std::vector<std::span<const uint8_t>>& segments);

// Writes SST with its CONTINUE records and the EXTSST index that follows it. `runs` gives the runs of
// the rich texts by their index. `references` is the number of cells that refer to the table. The
// writer's buffer must be the whole stream, as EXTSST holds stream positions.
void writeSst(RecordWriter& w, const std::vector<std::u16string_view>& strings,
              const std::unordered_map<uint32_t, SstRuns>& runs, uint32_t references);

} // namespace engine::xls
