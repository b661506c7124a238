#pragma once

#include "varnel/excel/excel.h"

#include <string_view>

// The preparation of a new entry row, shared by the new block of 增加征订单位 and the row that the
// sheet-change handler adds to a block. Each caller runs the steps in its own order.
namespace layout {

// Fill and font colour of the column-header and entry rows, as whole rows.
void paintEntryRows(Excel::Range* rows);

// Dashed thin borders of the column-header and entry rows, as whole rows.
void borderEntryRows(Excel::Range* rows);

// The cells of the entry row whose column A cell is `a`: the year list in A and the material list in
// B, with the current year read once, and numbers of at least 0 in C and D (quantity and price), each
// replacing any validation the cell had; then the amount formula in E.
void prepareEntryCells(Excel::Range* a, std::u16string_view kinds, std::u16string_view magazine);

} // namespace layout
