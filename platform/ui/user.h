#pragma once

#include "platform/ui/wintypes.h"

// The window functions of the Windows user interface that the program and the front ends call, over the
// window model of window.h. A handle that is no window makes them fail as Windows does (FALSE, 0 or null).

BOOL IsWindow(HWND window); // also a window of another program (Backend::isForeignWindow)
BOOL DestroyWindow(HWND window);
HWND GetParent(HWND window); // a control's dialog, a top-level window's owner
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
HWND GetActiveWindow(); // the innermost running modal dialog, or null

BOOL SetWindowTextW(HWND window, LPCWSTR text);
int GetWindowTextW(HWND window, LPWSTR buffer, int max); // cut to max - 1 units and terminated
int GetWindowTextLengthW(HWND window);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int max);

BOOL GetWindowRect(HWND window, LPRECT rect); // on the screen
BOOL GetClientRect(HWND window, LPRECT rect); // at 0, 0
BOOL ScreenToClient(HWND window, LPPOINT point);
BOOL ClientToScreen(HWND window, LPPOINT point);
// Moves a control within its dialog's client area, or a top-level window on the screen. For a drop-down combo
// box the height is that of the open list; the selection field keeps the height its font gives it.
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);

LONG GetWindowLongW(HWND window, int index); // GWL_STYLE, GWL_EXSTYLE, GWL_ID
LONG SetWindowLongW(HWND window, int index, LONG value);
BOOL EnableWindow(HWND window, BOOL enable); // returns whether it was disabled before
BOOL IsWindowEnabled(HWND window);

// Delivers a message to a dialog's message map. Controls understand WM_SETTEXT (lParam: LPCWSTR), WM_SETFONT
// (wParam: HFONT) and WM_SETICON (wParam: ICON_BIG or ICON_SMALL, lParam: HICON, returns the previous icon).
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Ends the modal loop of a dialog shown by DoModal; DoModal returns result. FALSE when window is no such
// dialog.
BOOL EndDialog(HWND dialog, INT_PTR result);

int GetSystemMetrics(int index);
int MulDiv(int number, int numerator, int denominator);

// MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_YESNO, MB_RETRYCANCEL, MB_ABORTRETRYIGNORE; icon flags are accepted.
// Returns the id of the button pressed, 0 when owner is neither null nor a window.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// Icons only: IMAGE_ICON by resource number, the image of the resource nearest in size to cx by cy (the
// smallest that is not smaller, else the largest). An icon stays valid as long as its module.
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);

namespace ui {
struct IconImage;
// The image behind an icon handle, or null for a handle that LoadImageW did not give.
const IconImage* iconImage(HICON icon);
} // namespace ui
