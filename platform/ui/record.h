#pragma once

#include "platform/ui/wintypes.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {

// One thing the headless backend showed the user, in the order shown.
struct Record {
    enum class Kind { MessageBox, InputBox, Dialog, SaveWarning, Error };
    Kind kind = Kind::Error;
    HWND owner = nullptr;
    std::u16string caption;            // message box caption, input box title, dialog caption
    std::u16string text;               // message box text, input box prompt, what went wrong for an error
    std::u16string defaultText;        // input box
    UINT type = 0;                     // message box buttons and icon
    int dialogId = 0;                  // dialog template
    std::vector<std::u16string> items; // a dialog's combo box list as shown, after WM_INITDIALOG; what a
                                       // save warning says would be lost
    // The user's answer: the label of the button pressed in a message box, the text confirmed in an input
    // box; nothing when an input box was cancelled. Dialogs are answered after they are recorded.
    std::optional<std::u16string> answer;
};

} // namespace ui
