#pragma once

#include "engine/core/address.h"
#include "engine/formula/program.h"
#include "engine/model/properties.h"

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

// A manual page break: a new page begins at row (column) `at`, across the columns (rows) from `first`
// to `last`.
struct PageBreak {
    int at = 0;
    int first = 0;
    int last = 0;
    friend bool operator==(const PageBreak&, const PageBreak&) = default;
};

// A hyperlink on cells. The engine follows no links: it keeps the target (address, file or place in
// the workbook, and the text shown) in the form the file stored it, for the next save.
struct Hyperlink {
    Area area;
    std::vector<std::uint8_t> target;
    std::u16string tooltip;
    friend bool operator==(const Hyperlink&, const Hyperlink&) = default;
};

// One rule of a conditional format: when the cell's value compares with the formulas (CellValue), or
// when a formula is true (Formula), the cell is drawn in the rule's appearance.
struct ConditionalRule {
    enum class Kind : std::uint8_t { CellValue = 1, Formula = 2 };
    Kind kind = Kind::CellValue;
    ValidationOperator op = ValidationOperator::Between;
    // Compiled as if they stood in the top-left cell of the format's areas.
    formula::Program formula1;
    formula::Program formula2;
    // The font, borders and fill the rule sets, in the form the file stored them: the engine does not
    // draw conditional formats, it keeps them for the next save.
    std::vector<std::uint8_t> appearance;
};

struct ConditionalFormat {
    std::vector<Area> areas;
    std::vector<ConditionalRule> rules;
};

} // namespace engine
