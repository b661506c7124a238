#pragma once

#include "engine/model/sheet_extras.h"
#include "engine/xls/record_writer.h"

#include <cstdint>
#include <optional>
#include <span>

// A sheet's autofilter in a BIFF8 file. The list's range is the sheet's hidden _FilterDatabase name;
// the sheet holds FILTERMODE when the conditions hide rows, AUTOFILTERINFO with the number of drop-down
// arrows, and an AUTOFILTER for each column with a condition. The arrows themselves are combo box
// objects of the sheet's drawing.
namespace engine::xls {

// An AUTOFILTER record's column of `range`; nothing when it names a column outside the range.
std::optional<FilterColumn> readFilterColumn(std::span<const uint8_t> body, const Area& range);
// Whether an OBJ is a filter's drop-down arrow: a combo box whose list belongs to an autofilter.
bool isFilterArrow(std::span<const uint8_t> body);
// FILTERMODE, AUTOFILTERINFO and the AUTOFILTER records.
void putAutoFilter(RecordWriter& w, const AutoFilter& filter);

} // namespace engine::xls
