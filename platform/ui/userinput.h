#pragma once

#include "platform/ui/wintypes.h"

#include <string_view>

// What the user does in a dialog, as a front end reports it: each changes the window model and sends the
// dialog the notification that Windows sends for it. FALSE when the control is missing or disabled.
namespace ui {

// Types into an edit control or a combo box's edit field (EN_CHANGE or CBN_EDITCHANGE); the text replaces
// all.
BOOL userTypes(HWND control, std::u16string_view text);
// Picks an item of a combo box's list (CBN_SELCHANGE).
BOOL userSelects(HWND combo, int index);
// Clicks a button (WM_COMMAND with BN_CLICKED).
BOOL userClicks(HWND dialog, int id);
// The id that Enter sends: the default push button's, else IDOK. Escape sends IDCANCEL, and so does closing
// the dialog's window from its system menu or close box.
int defaultCommand(HWND dialog);
void userPressesEnter(HWND dialog);
void userPressesEscape(HWND dialog);

} // namespace ui
