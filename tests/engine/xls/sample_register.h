#pragma once

#include "engine/model/workbook.h"

namespace xls_testing {

// A register as the program builds it: the heading row, then `units` unit blocks of `entries` entry
// rows each (unit row, column-header row, entry rows, separator row), with the amount, total and
// missing-kinds formulas, the two drop-down lists, the row formats and the outline. With `collapsed`
// every block is folded under its unit row. A merged range on Sheet2 completes the picture.
void buildRegister(engine::Workbook& book, int units, int entries, bool collapsed);

} // namespace xls_testing
