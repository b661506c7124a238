#pragma once

#include "platform/ui/backend.h"

// The backend of the Windows build: the program's dialogs are real dialogs, made from their templates
// by DialogBoxIndirectParamW, and its message boxes real message boxes. A dialog without area (the
// hidden main dialog) shows nothing and dispatches the thread's messages until it ends, as its modal
// loop does on Windows. What the user enters reaches the program's dialog through userinput.h when they
// press a button, and the real dialog then shows what the program made of it.
//
// Owners: a dialog or message box is owned by the system window it is given (the spreadsheet's main
// window, Application.Hwnd); the window model's own handles are not the system's, so one given such a
// handle is shown without an owner.
namespace ui {

class SystemBackend : public Backend {
public:
    void runModal(HWND dialog) override;
    void modalEnded(HWND dialog) override;
    bool isForeignWindow(HWND window) const override;
    int messageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) override;
    // The spreadsheet's own questions are the spreadsheet's to ask: the program never asks them.
    std::optional<std::u16string> inputBox(HWND owner, std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override;
    bool saveAnyway(HWND owner, std::u16string_view text, std::u16string_view caption,
                    const std::vector<std::u16string>& items) override;
};

} // namespace ui
