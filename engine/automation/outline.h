#pragma once

#include "engine/model/sheet.h"

// Collapsing and expanding the row groups of a sheet's outline.
namespace engine::automation {

// The rows of the group that `row` summarises: the rows below it at a deeper level when summary rows
// stand above their detail, the rows above it when they stand below. Nothing when it summarises none.
std::optional<std::pair<int, int>> detailRows(const Sheet& sheet, int row);

// Shows or hides the detail of the group that `row` summarises. Showing a group leaves the groups inside
// it that are collapsed as they are. False, changing nothing, when the row summarises no group.
bool showRowDetail(Sheet& sheet, int row, bool show);

} // namespace engine::automation
