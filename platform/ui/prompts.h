#pragma once

#include "platform/ui/wintypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The spreadsheet's own questions to the user, asked through the backend like every dialog, so that a front
// end shows them and a headless session answers them from its script.
namespace ui {

// Application.InputBox with Type 2: the text confirmed, or nothing when the user cancels. Nothing, with a
// trace, when owner is neither null nor a window.
std::optional<std::u16string> inputBox(HWND owner, std::u16string_view prompt, std::u16string_view title,
                                       std::u16string_view defaultText);

// The question before a changed workbook closes: 是 saves, 否 closes without saving, 取消 keeps it open. A
// message box with MB_YESNOCANCEL | MB_ICONWARNING; a box that cannot be shown keeps the workbook open.
enum class SaveAnswer { Save, DontSave, Cancel };
SaveAnswer askToSave(HWND owner, std::u16string_view text, std::u16string_view caption);

// The warning before a save that loses what the file holds: `text` asks, `items` name what would be lost.
// True for 是 (save all the same), false for 否; a warning that cannot be shown saves nothing.
bool askToSaveAnyway(HWND owner, std::u16string_view text, std::u16string_view caption,
                     const std::vector<std::u16string>& items);

} // namespace ui
