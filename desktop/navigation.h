#pragma once

#include "engine/model/sheet.h"

// Where the keyboard's long moves go in a sheet, as in a spreadsheet. Hidden rows and columns are passed
// over, as the user does not see them.
namespace desktop {

// Ctrl+arrow from `from` one way (`rows` or `cols` is -1 or 1): from a cell with content whose neighbour
// has content too, to the last cell with content of that run; otherwise to the next cell with content,
// or to the sheet's edge when there is none.
engine::CellAddress dataEdge(const engine::Sheet& sheet, engine::CellAddress from, int rows, int cols);

// Ctrl+End: the last row and the last column of the cells the sheet stores (content or a format of
// their own), A1 for an empty sheet.
engine::CellAddress lastUsedCell(const engine::Sheet& sheet);

} // namespace desktop
