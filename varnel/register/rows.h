#pragma once

#include "varnel/excel/excel.h"

#include <string_view>

// Readings and settings of the register's rows that several commands share, each made of the
// spreadsheet calls the layout names.
namespace layout {

// Range.Offset by rows and columns, both passed.
Excel::RangePtr offset(Excel::Range* cell, long rows, long columns = 0);

// The outline level of the range's whole row (EntireRow.OutlineLevel, read as an integer).
long outlineLevel(Excel::Range* cell);

// A row is blank when CountBlank of the whole row equals its number of cells; a formula that shows
// empty text counts as blank.
bool isBlankRow(Excel::_Application* app, Excel::Range* cell);

// The last row that holds anything in the register's columns A to G (row 1 for an empty sheet): the
// lowest of their last used cells, found by End(xlUp) from the bottom of each.
long lastUsedRow(Excel::_Worksheet* sheet);

// A drop-down list on the cells: Validation.Add with xlValidateList, xlValidAlertStop, xlBetween and
// the list text, Formula2 left out.
void addListValidation(Excel::Range* cells, std::u16string_view list);

} // namespace layout
