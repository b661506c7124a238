#pragma once

#include "engine/core/address.h"
#include "engine/formula/program.h"
#include "engine/model/format.h"
#include "engine/model/properties.h"

#include <algorithm>
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

// Where a comment's box lies: its corners as cells and offsets into them, in 1/1024 of the cell's width
// and 1/256 of its height, as the file stores an anchor.
struct CommentBox {
    int left = 0, leftOffset = 0, top = 0, topOffset = 0;
    int right = 0, rightOffset = 0, bottom = 0, bottomOffset = 0;
    friend bool operator==(const CommentBox&, const CommentBox&) = default;
};

// Where a new comment's box goes, as Excel places it: to the right of its cell, from a row above it.
inline CommentBox defaultCommentBox(CellAddress cell) {
    const int left = std::min(cell.col + 1, kLastColumn), right = std::min(cell.col + 3, kLastColumn);
    const int top = std::max(cell.row - 1, 0), bottom = std::min(top + 4, kLastRow);
    return {left, 15, top, 10, right, 15, bottom, 4};
}

// A cell's comment: its text with the runs of its fonts, who wrote it, whether it shows all the time or
// only under the pointer, and its box. The box moves with its cell.
struct Comment {
    CellAddress cell;
    std::u16string author;
    std::u16string text;
    std::vector<TextRun> runs;
    bool shown = false;
    CommentBox box;
    friend bool operator==(const Comment&, const Comment&) = default;
};

// One column's condition in an autofilter, in the form the file stored it: the engine does not filter
// by it, it keeps it for the next save. The rows the filter hides are hidden rows of the sheet.
struct FilterColumn {
    int col = 0;                         // the sheet's column
    std::vector<std::uint8_t> condition; // the AUTOFILTER record after the column's place in the range
    friend bool operator==(const FilterColumn&, const FilterColumn&) = default;
};

// A list with drop-down arrows on its header row (its top row), one a column, and the conditions set
// through them.
struct AutoFilter {
    Area range;
    bool rowsHidden = false;           // some of the list's rows are hidden by the conditions
    std::vector<FilterColumn> columns; // in the order of their columns
    friend bool operator==(const AutoFilter&, const AutoFilter&) = default;
};

} // namespace engine
