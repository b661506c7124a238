#pragma once

#include "engine/formula/program.h"
#include "engine/formula/value.h"
#include "engine/model/format.h"
#include "engine/model/properties.h"

#include <cstdint>
#include <vector>

// How a sheet stores its cells: 16 bytes a cell, texts shared through the workbook's string pool and
// formulas kept aside in the sheet's formula slots. Only the sheet and the recalculation read these.
namespace engine::detail {

enum class CellKind : std::uint8_t { Empty, Number, Text, Boolean, Error, Formula };

struct Cell {
    std::uint8_t col = 0;
    CellKind kind = CellKind::Empty; // Empty: a cell that only carries a format
    std::uint8_t code = 0;           // Boolean: 0 or 1; Error: ErrorCode
    FormatId format = kDefaultFormat;
    union Data {
        double number;
        std::uint32_t text;    // StringPool id
        std::uint32_t formula; // index into the sheet's formula slots
    } data{};
};
static_assert(sizeof(Cell) == 16);

struct Row {
    RowProperties props;
    std::vector<Cell> cells; // sorted by column
};

// A formula and its last result. `computedAt` is the workbook revision the result belongs to (see
// recalc.h for when that is current).
struct FormulaSlot {
    formula::Program program;
    Value result;
    std::uint64_t computedAt = 0;
    bool running = false;     // being computed: meeting it again is a circular reference
    bool otherSheets = false; // reads cells of other sheets, or a volatile function
    bool inUse = false;
};

} // namespace engine::detail
