#pragma once

#include "platform/ui/trace.h"
#include "platform/ui/user.h"
#include "platform/ui/wintypes.h"

#include <string>

// Window objects in the manner of ATL: CWindow wraps a handle; a class with a message map derives from
// CMessageMap and declares its map with the macros below, which route messages to member handlers:
//
//     BEGIN_MSG_MAP(CMyDlg)
//         MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)  // LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
//         COMMAND_ID_HANDLER(IDOK, OnOK)                // LRESULT OnOK(WORD code, WORD id, HWND control,
//         BOOL&)
//     END_MSG_MAP()
//
// The first entry that matches handles the message unless its handler clears bHandled. A class has one map,
// number 0; asking for any other is a programming error, traced and asserted.

class CMessageMap {
public:
    virtual ~CMessageMap() = default;
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                      DWORD dwMsgMapID = 0) = 0;
};

class CWindow {
public:
    HWND m_hWnd = nullptr;

    CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    CWindow& operator=(HWND hWnd) {
        m_hWnd = hWnd;
        return *this;
    }
    operator HWND() const { return m_hWnd; }

    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    CWindow GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWindow GetParent() const { return ::GetParent(m_hWnd); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }

    BOOL SetWindowText(LPCWSTR text) { return ::SetWindowTextW(m_hWnd, text); }
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    int GetWindowText(LPWSTR buffer, int max) const { return ::GetWindowTextW(m_hWnd, buffer, max); }
    // The whole text, however long.
    BOOL GetWindowText(std::u16string& text) const;

    BOOL GetWindowRect(LPRECT rect) const { return ::GetWindowRect(m_hWnd, rect); }
    BOOL GetClientRect(LPRECT rect) const { return ::GetClientRect(m_hWnd, rect); }
    BOOL ScreenToClient(LPPOINT point) const { return ::ScreenToClient(m_hWnd, point); }
    BOOL ScreenToClient(LPRECT rect) const;
    BOOL ClientToScreen(LPPOINT point) const { return ::ClientToScreen(m_hWnd, point); }
    BOOL ClientToScreen(LPRECT rect) const;
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    BOOL MoveWindow(LPCRECT rect, BOOL repaint = TRUE) {
        return ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                            repaint);
    }
    // Centres over hWndCenter; without one a control centres in its dialog, a top-level window over its
    // owner, or on the work area when it has none. The window is kept within the work area.
    BOOL CenterWindow(HWND hWndCenter = nullptr);

    DWORD GetStyle() const { return DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return DWORD(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    // FALSE when nothing changes.
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }

    HICON SetIcon(HICON icon, BOOL big = TRUE) {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, LPARAM(icon)));
    }
    HICON GetIcon(BOOL big = TRUE) const;
    void SetFont(HFONT font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, WPARAM(font), redraw); }
    HFONT GetFont() const;
};

#define BEGIN_MSG_MAP(theClass)                                                                              \
public:                                                                                                      \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,          \
                              DWORD dwMsgMapID = 0) override {                                               \
        BOOL bHandled = TRUE;                                                                                \
        (void)hWnd, (void)uMsg, (void)wParam, (void)lParam, (void)lResult, (void)bHandled;                   \
        switch (dwMsgMapID) {                                                                                \
        case 0:

#define MESSAGE_HANDLER(msg, func)                                                                           \
    if (uMsg == (msg)) {                                                                                     \
        bHandled = TRUE;                                                                                     \
        lResult = func(uMsg, wParam, lParam, bHandled);                                                      \
        if (bHandled)                                                                                        \
            return TRUE;                                                                                     \
    }

#define COMMAND_ID_HANDLER(id, func)                                                                         \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == WORD(id)) {                                                  \
        bHandled = TRUE;                                                                                     \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);            \
        if (bHandled)                                                                                        \
            return TRUE;                                                                                     \
    }

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                                         \
    if (uMsg == WM_COMMAND && LOWORD(wParam) >= WORD(idFirst) && LOWORD(wParam) <= WORD(idLast)) {           \
        bHandled = TRUE;                                                                                     \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);            \
        if (bHandled)                                                                                        \
            return TRUE;                                                                                     \
    }

#define END_MSG_MAP()                                                                                        \
    break;                                                                                                   \
    default:                                                                                                 \
        ATLTRACE("Invalid message map ID (%i)\n", int(dwMsgMapID));                                          \
        ATLASSERT(FALSE);                                                                                    \
        break;                                                                                               \
        }                                                                                                    \
        return FALSE;                                                                                        \
        }
