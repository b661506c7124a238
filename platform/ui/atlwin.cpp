#include "platform/ui/atlwin.h"

#include "platform/ui/backend.h"
#include "platform/ui/window.h"

#include <algorithm>

BOOL CWindow::GetWindowText(std::u16string& text) const {
    const ui::Window* w = ui::findWindow(m_hWnd);
    if (!w)
        return FALSE;
    text = w->text;
    return TRUE;
}

BOOL CWindow::ScreenToClient(LPRECT rect) const {
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    if (!::ScreenToClient(m_hWnd, &corners[0]) || !::ScreenToClient(m_hWnd, &corners[1]))
        return FALSE;
    *rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return TRUE;
}

BOOL CWindow::ClientToScreen(LPRECT rect) const {
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    if (!::ClientToScreen(m_hWnd, &corners[0]) || !::ClientToScreen(m_hWnd, &corners[1]))
        return FALSE;
    *rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return TRUE;
}

BOOL CWindow::CenterWindow(HWND hWndCenter) {
    const ui::Window* w = ui::findWindow(m_hWnd);
    if (!w)
        return FALSE;
    RECT area = ui::backend().workArea();
    RECT self{};
    ::GetWindowRect(m_hWnd, &self);
    RECT around = area;
    if (w->parent) {
        ::GetClientRect(w->parent, &around);
        CWindow(w->parent).ClientToScreen(&around);
        area = around;
    }
    if (!hWndCenter && !w->parent)
        hWndCenter = w->owner;
    RECT centre{};
    if (hWndCenter && ::GetWindowRect(hWndCenter, &centre) && centre.width() > 0 && centre.height() > 0)
        around = centre;
    LONG left = around.left + (around.width() - self.width()) / 2;
    LONG top = around.top + (around.height() - self.height()) / 2;
    left = std::max(area.left, std::min(left, area.right - self.width()));
    top = std::max(area.top, std::min(top, area.bottom - self.height()));
    if (w->parent) {
        POINT p{left, top};
        ::ScreenToClient(w->parent, &p);
        left = p.x;
        top = p.y;
    }
    return ::MoveWindow(m_hWnd, left, top, self.width(), w->droppedHeight ? w->droppedHeight : self.height(),
                        FALSE);
}

namespace {
BOOL modify(HWND window, int index, DWORD remove, DWORD add) {
    DWORD old = DWORD(::GetWindowLongW(window, index));
    DWORD now = (old & ~remove) | add;
    if (!::IsWindow(window) || now == old)
        return FALSE;
    ::SetWindowLongW(window, index, LONG(now));
    return TRUE;
}
} // namespace

BOOL CWindow::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    (void)flags;
    return modify(m_hWnd, GWL_EXSTYLE, remove, add);
}

HICON CWindow::GetIcon(BOOL big) const {
    const ui::Window* w = ui::findWindow(m_hWnd);
    return w ? (big ? w->bigIcon : w->smallIcon) : nullptr;
}

HFONT CWindow::GetFont() const {
    const ui::Window* w = ui::findWindow(m_hWnd);
    return w ? w->font : nullptr;
}
