#pragma once

#include "engine/automation/book.h"
#include "engine/core/address.h"

#include <vector>

// Edits that both the object model and the user's side make.
namespace engine::automation {

// Puts a copy of the area on the shared clipboard.
void copyToClipboard(const SheetRef& ref, const Area& area);
// Pastes the clipboard with its top left cell at `at`: formulas when it was copied in the same instance,
// values and formats otherwise. The pasted cells become the selection; SheetChange follows. The area.
Area pasteClipboard(const SheetRef& ref, CellAddress at);

// Whether the sheet is the one shown: the active sheet of the active workbook.
bool isShown(const SheetRef& ref);

} // namespace engine::automation
