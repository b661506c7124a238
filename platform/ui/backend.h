#pragma once

#include "platform/ui/window.h"
#include "platform/ui/wintypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The front end that realises the user-interface services: it runs modal loops, asks the user, and shows the
// windows of window.h. One backend serves the whole process; it is chosen at start-up with setBackend. The
// headless backend (headless.h) answers from a script; a windowed front end implements the same interface.
namespace ui {

class Backend {
public:
    virtual ~Backend() = default;

    // Runs the modal loop of a dialog that exists in the window model, its WM_INITDIALOG already handled. The
    // user's actions reach the dialog through the functions of userinput.h. Returns once EndDialog has ended
    // the dialog; modalEnded tells a waiting loop that this has happened.
    virtual void runModal(HWND dialog) = 0;
    virtual void modalEnded(HWND dialog) { (void)dialog; }

    // A message box with the buttons of type (MB_OK, MB_YESNOCANCEL, ...); returns the id of the button
    // pressed (IDOK, IDYES, IDNO, IDCANCEL, ...). The owner is a window or null.
    virtual int messageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) = 0;

    // The spreadsheet's input box for text: the text confirmed, or nothing when the user cancels.
    virtual std::optional<std::u16string> inputBox(HWND owner, std::u16string_view prompt,
                                                   std::u16string_view title,
                                                   std::u16string_view defaultText) = 0;

    // The warning before a save that loses what the file holds: `text` and each of `items`, with the buttons
    // 是 (save all the same: true) and 否 (false).
    virtual bool saveAnyway(HWND owner, std::u16string_view text, std::u16string_view caption,
                            const std::vector<std::u16string>& items) = 0;

    // Whether the handle names a window of another program that the front end shows, such as the
    // spreadsheet's main window when it is the system's own: such a window may own message boxes.
    virtual bool isForeignWindow(HWND window) const {
        (void)window;
        return false;
    }

    // Metrics of a 96 dpi screen of 1280 x 800 unless a front end knows better.
    virtual int systemMetric(int index) const;
    virtual RECT workArea() const;
    // Dialog base units in pixels (average character width, character height) of a dialog font.
    virtual SIZE dialogBaseUnits(std::u16string_view face, int pointSize) const;

    // The window model changed. windowCreated comes once a dialog and all its controls exist, before its
    // WM_INITDIALOG; windowDestroyed comes while the window and its controls can still be read.
    virtual void windowCreated(HWND window) { (void)window; }
    virtual void windowChanged(HWND window, WindowChange what) { (void)window, (void)what; }
    virtual void windowDestroyed(HWND window) { (void)window; }
};

// Selects the backend for everything that follows; null selects the process's default headless backend.
// The caller keeps the backend alive while it is selected.
void setBackend(Backend* backend);
Backend& backend();

} // namespace ui
