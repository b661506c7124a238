#pragma once

#include "engine/model/workbook.h"

#include <string>
#include <vector>

// The two text forms varnel-convert writes a workbook in.
namespace convert {

// One sheet as comma-separated values in UTF-8, from A1 to the bottom right of what it holds: each
// cell as the grid shows it, through its number format; a field holding a comma, a quote or a line
// break is quoted, its quotes doubled; lines end in CR LF. An empty sheet gives an empty text.
std::string sheetCsv(const engine::Sheet& sheet);

// Every sheet's cells that hold a value or a formula, row by row, and what the file held that was not
// kept: {"sheets":[{"name":…,"cells":[{"cell":"A1","type":"number|text|bool|error|empty","value":…,
// "formula":"=…","format":"0.00"}]}],"dropped":[…]}, one cell a line. "formula" is there only for a
// formula, "format" only for a number format other than General.
std::string workbookJson(const engine::Workbook& book, const std::vector<std::string>& dropped);

} // namespace convert
