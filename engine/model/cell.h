#pragma once

#include "engine/core/value.h"
#include "engine/formula/program.h"
#include "engine/model/format.h"
#include "engine/model/properties.h"
#include "engine/model/string_pool.h"

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

// A formula and its last result. The formula's tokens lie in its sheet's token arena, `length` of them
// from `start`: structural edits then adjust every formula of a sheet in one pass through memory.
// `computedAt` is the workbook revision the result belongs to (see recalc.h for when that is current).
struct FormulaSlot {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    Value result;
    std::uint64_t computedAt = 0;
    bool running = false;     // being computed: meeting it again is a circular reference
    bool otherSheets = false; // reads cells of other sheets, or a volatile function
    bool shownRows = false;   // depends on which rows are hidden (SUBTOTAL)
    bool inUse = false;
    // Calls what the engine does not compute: `result` is the one the file stored, and stays.
    bool keepsFileResult = false;
    // A cell of an array formula, at this place from its range's top-left cell. Its range moves only
    // whole, so the place stays.
    bool inArray = false;
    std::uint8_t arrayCol = 0;
    std::uint16_t arrayRow = 0;
};

// The value a cell holds itself: nothing for a formula, whose result lives in its slot.
inline ValueView storedValue(const Cell& c, const StringPool& strings) {
    ValueView v;
    switch (c.kind) {
    case CellKind::Empty:
    case CellKind::Formula:
        break;
    case CellKind::Number:
        v.kind = Value::Kind::Number;
        v.number = c.data.number;
        break;
    case CellKind::Text:
        v.kind = Value::Kind::Text;
        v.text = strings.get(c.data.text);
        break;
    case CellKind::Boolean:
        v.kind = Value::Kind::Boolean;
        v.boolean = c.code != 0;
        break;
    case CellKind::Error:
        v.kind = Value::Kind::Error;
        v.error = static_cast<ErrorCode>(c.code);
        break;
    }
    return v;
}

} // namespace engine::detail
