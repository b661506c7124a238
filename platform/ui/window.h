#pragma once

#include "platform/ui/resources.h"
#include "platform/ui/wintypes.h"

#include <string>
#include <vector>

class CMessageMap;

// The windows of the process: the spreadsheet's frame windows and the dialogs with their controls. The
// Windows-like functions (user.h) read and change them; a backend reads them to show them and is told of
// every change. A handle is never reused, so a stale handle is simply not a window.
namespace ui {

struct Window {
    HWND handle = nullptr;
    std::u16string className; // u"#32770" for a dialog, the template's class for a control
    std::u16string text;
    int id = 0; // a control's id
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr; // a control's dialog
    HWND owner = nullptr;  // a top-level window's owner
    // Window rectangle in pixels: on the screen for a top-level window, in the parent's client area for a
    // control. A drop-down combo box's rectangle is its selection field; droppedHeight is its height with
    // the list open, which its template and MoveWindow set, as on Windows.
    RECT rect;
    int droppedHeight = 0;
    bool enabled = true;
    HFONT font = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    std::vector<std::u16string> items; // a combo box's list, in shown order
    int curSel = -1;
    std::vector<HWND> children; // in template order
    const DialogTemplate* dialogTemplate = nullptr;
    const DialogItemTemplate* itemTemplate = nullptr;

    // A dialog's own state: where its messages go, the font made from its template, the modal loop's end.
    CMessageMap* messageMap = nullptr;
    HFONT templateFont = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    bool announced = false; // the backend has been told of the window (windowCreated)

    bool isDialog() const { return className == u"#32770"; }
    bool isComboBox() const { return className == u"COMBOBOX"; }
    bool hasEditField() const; // an edit control, or a combo box that the user may type into
};

enum class WindowChange { Text, Items, Selection, Geometry, Style, Font, Icon, Enabled };

const Window* findWindow(HWND handle);

// A top-level window that is no dialog, such as the spreadsheet's main window; destroyed with DestroyWindow.
HWND createWindow(std::u16string_view className, std::u16string_view text, DWORD style, const RECT& rect);

// The client area's top-left corner on the screen.
POINT clientOrigin(const Window& w);

// The running modal dialogs, innermost last.
const std::vector<HWND>& modalDialogs();

namespace detail {
Window* lookup(HWND handle);
Window& create(Window w);
void destroy(HWND handle);
void changed(Window& w, WindowChange what);
void pushModal(HWND dialog);
void popModal(HWND dialog);
} // namespace detail

} // namespace ui
