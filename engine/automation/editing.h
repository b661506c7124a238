#pragma once

#include "engine/automation/book.h"
#include "engine/core/address.h"

#include <string_view>
#include <vector>

// Edits that both the object model and the user's side make.
namespace engine::automation {

// Puts a copy of the area on the shared clipboard.
void copyToClipboard(const SheetRef& ref, const Area& area);
// The same for cells that are to move: the paste that takes them empties the area (contents and formats)
// and then the clipboard.
void cutToClipboard(const SheetRef& ref, const Area& area);
// Pastes the clipboard with its top left cell at `at`: formulas when it was copied in the same instance,
// values and formats otherwise; cut cells move (their formulas keep their references, except those into
// the moved cells). The pasted cells become the selection; SheetChange follows, for the emptied cells of
// a cut first. The area pasted.
Area pasteClipboard(const SheetRef& ref, CellAddress at);
// Pastes tab-separated text (clipboard_text.h) with its first cell at `at`, each cell entered as if typed
// (a number, a formula, a boolean or text; a formula that does not parse stays text) and an empty one
// emptied. The cells keep their formats; no validation applies, as with any paste. The pasted cells
// become the selection; SheetChange follows. The area pasted; refused when the text holds no cell or
// does not fit on the sheet there.
Area pasteText(const SheetRef& ref, CellAddress at, std::u16string_view text);

// Whether the sheet is the one shown: the active sheet of the active workbook.
bool isShown(const SheetRef& ref);

} // namespace engine::automation
