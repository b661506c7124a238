#pragma once

#include "varnel/excel/excel.h"

#include <string>
#include <string_view>

// A unit's name, which is stored and matched as the text the user typed: never as a formula, a number, a
// truth value, an error or a wildcard pattern.
namespace layout {

// Whether the text may name a unit: not empty, no longer than the input box takes (255 characters),
// and without the "," that separates the names of the query dialog's list.
bool isUnitName(std::u16string_view name);

// What Range.Value2 is given so that the cell holds exactly this text, as a user types it with a leading
// apostrophe.
Variant asText(std::u16string_view text);

// The cells of `cells` whose value is exactly this text, ignoring case as COUNTIF does; a number, truth
// value or error that merely shows as the text does not count.
double countText(Excel::_Application* app, Excel::Range* cells, std::u16string_view text);

// The first cell of column A, from row 1 down to row `lastRow`, whose value is exactly this text (as
// countText reads it); null when there is none.
Excel::RangePtr findTextInColumnA(Excel::_Application* app, Excel::_Worksheet* sheet, long lastRow,
                                  std::u16string_view text);

// Whether the cell's row is a unit row: of outline level 1, with its group of level 2 below it.
bool isUnitRow(Excel::Range* cell);

} // namespace layout
