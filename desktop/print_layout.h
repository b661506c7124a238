#pragma once

#include "desktop/page_setup.h"
#include "engine/model/sheet.h"

#include <QSizeF>
#include <vector>

// Which rows and columns of a sheet each printed page holds, in the spreadsheet's order (down, then
// over). Hidden rows and columns are not printed. Sizes are screen pixels at 96 to the inch, as the grid
// shows them; `room` is what a page holds of them at the print's scale.
namespace desktop {

// One row (column) to print: its index on the sheet, its size, and the outline group it belongs to
// (-1 for none), which a page break should not split.
struct PrintLine {
    int index;
    double size;
    int group = -1;
};

// Lines cut into pages of at most `room`. A group that would be split starts a new page when it fits on
// one; with `groupPerPage` no page holds two groups (the lines before the first share its page). A line
// bigger than a page has a page of its own.
std::vector<std::vector<int>> breakLines(const std::vector<PrintLine>& lines, double room, bool groupPerPage);

// The block of each row from `first` to `last`, which a page break should not split: a run of detail rows
// (outline level 1 and deeper) with the row above it that heads it, as a unit row heads its entries, and,
// where summary rows sit below their detail, the row after the run too unless it heads the next run.
// Rows of one block share a number; rows outside any get -1.
std::vector<int> rowGroups(const engine::Sheet& sheet, int first, int last);

struct PrintPage {
    std::vector<int> rows;
    std::vector<int> columns;
};

// The pages of `area` of the sheet.
std::vector<PrintPage> layoutPages(const engine::Sheet& sheet, const engine::Area& area,
                                   const PageSetup& setup, QSizeF room);

// What the sheet prints when nothing is chosen: its used area from A1, nothing for an empty sheet.
std::optional<engine::Area> printArea(const engine::Sheet& sheet);

} // namespace desktop
