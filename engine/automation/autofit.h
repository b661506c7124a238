#pragma once

#include "engine/model/sheet.h"

// Row heights and column widths fitted to what the cells show.
namespace engine::automation {

// A row gets the height of its tallest cell: one line of the default font per line of text, counting
// the breaks of multi-line text and, in cells that wrap, the lines their column width makes.
void autoFitRows(Sheet& sheet, int first, int last);
// A column gets the width of its widest shown value (East Asian characters count twice); a column
// without values keeps its width.
void autoFitColumns(Sheet& sheet, int first, int last);

} // namespace engine::automation
