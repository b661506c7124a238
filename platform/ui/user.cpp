#include "platform/ui/user.h"

#include "platform/ui/atlwin.h"
#include "platform/ui/backend.h"
#include "platform/ui/gdi.h"
#include "platform/ui/trace.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

using ui::Window;
using ui::WindowChange;
namespace detail = ui::detail;

namespace {

std::u16string_view view(LPCWSTR text) {
    return text ? std::u16string_view(text) : std::u16string_view();
}

int copyOut(std::u16string_view text, LPWSTR buffer, int max) {
    if (!buffer || max <= 0)
        return 0;
    size_t n = std::min(text.size(), size_t(max - 1));
    std::copy_n(text.data(), n, buffer);
    buffer[n] = 0;
    return int(n);
}

// The selection field of a drop-down combo box is as high as its font's characters and a margin.
int comboFieldHeight(const Window& w) {
    const LOGFONTW* f = ui::fontInfo(w.font);
    int charHeight = f ? std::abs(int(f->lfHeight)) : 12;
    return charHeight + 8;
}

bool isDropDown(const Window& w) {
    return w.isComboBox() && (w.style & 0x3) != CBS_SIMPLE;
}

void setFont(Window& w, HFONT font) {
    w.font = font;
    if (isDropDown(w))
        w.rect.bottom = w.rect.top + comboFieldHeight(w);
    detail::changed(w, WindowChange::Font);
}

std::set<HICON>& iconHandles() {
    static std::set<HICON> all;
    return all;
}

} // namespace

BOOL IsWindow(HWND window) {
    return detail::lookup(window) || (window && ui::backend().isForeignWindow(window)) ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND window) {
    Window* w = detail::lookup(window);
    if (!w || w->parent || w->messageMap)
        return FALSE; // controls go with their dialog, and a dialog with its DoModal
    ui::backend().windowDestroyed(window);
    detail::destroy(window);
    return TRUE;
}

HWND GetParent(HWND window) {
    Window* w = detail::lookup(window);
    return w ? (w->parent ? w->parent : w->owner) : nullptr;
}

HWND GetDlgItem(HWND dialog, int id) {
    Window* d = detail::lookup(dialog);
    if (!d)
        return nullptr;
    for (HWND child : d->children)
        if (detail::lookup(child)->id == id)
            return child;
    return nullptr;
}

int GetDlgCtrlID(HWND control) {
    Window* w = detail::lookup(control);
    return w && w->parent ? w->id : 0;
}

HWND GetActiveWindow() {
    const auto& modal = ui::modalDialogs();
    return modal.empty() ? nullptr : modal.back();
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    Window* w = detail::lookup(window);
    if (!w)
        return FALSE;
    w->text = view(text);
    detail::changed(*w, WindowChange::Text);
    return TRUE;
}

int GetWindowTextW(HWND window, LPWSTR buffer, int max) {
    Window* w = detail::lookup(window);
    if (!w) {
        copyOut({}, buffer, max);
        return 0;
    }
    return copyOut(w->text, buffer, max);
}

int GetWindowTextLengthW(HWND window) {
    Window* w = detail::lookup(window);
    return w ? int(w->text.size()) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    return SetWindowTextW(GetDlgItem(dialog, id), text);
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int max) {
    return UINT(GetWindowTextW(GetDlgItem(dialog, id), buffer, max));
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
    Window* w = detail::lookup(window);
    if (!w || !rect)
        return FALSE;
    if (!w->parent) {
        *rect = w->rect;
        return TRUE;
    }
    POINT o = ui::clientOrigin(*detail::lookup(w->parent));
    *rect = {o.x + w->rect.left, o.y + w->rect.top, o.x + w->rect.right, o.y + w->rect.bottom};
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    Window* w = detail::lookup(window);
    if (!w || !rect)
        return FALSE;
    RECT frame{};
    if (!w->parent)
        AdjustWindowRectEx(&frame, w->style, FALSE, w->exStyle);
    *rect = {0, 0, std::max(0, w->rect.width() - frame.width()),
             std::max(0, w->rect.height() - frame.height())};
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
    Window* w = detail::lookup(window);
    if (!w || !point)
        return FALSE;
    POINT o = ui::clientOrigin(*w);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
    Window* w = detail::lookup(window);
    if (!w || !point)
        return FALSE;
    POINT o = ui::clientOrigin(*w);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    (void)repaint; // a front end repaints on every change
    Window* w = detail::lookup(window);
    if (!w)
        return FALSE;
    width = std::max(0, width);
    height = std::max(0, height);
    if (isDropDown(*w)) {
        w->droppedHeight = height;
        height = comboFieldHeight(*w);
    }
    w->rect = {x, y, x + width, y + height};
    detail::changed(*w, WindowChange::Geometry);
    return TRUE;
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    (void)menu; // no window of this program has a menu bar
    if (!rect)
        return FALSE;
    int x = 0, y = 0;
    if ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
        x = GetSystemMetrics(SM_CXDLGFRAME);
        y = GetSystemMetrics(SM_CYDLGFRAME);
    } else if (style & WS_BORDER) {
        x = GetSystemMetrics(SM_CXBORDER);
        y = GetSystemMetrics(SM_CYBORDER);
    }
    rect->left -= x;
    rect->right += x;
    rect->top -= y;
    rect->bottom += y;
    if ((style & WS_CAPTION) == WS_CAPTION)
        rect->top -= GetSystemMetrics(SM_CYCAPTION);
    return TRUE;
}

LONG GetWindowLongW(HWND window, int index) {
    Window* w = detail::lookup(window);
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return LONG(w->style);
    case GWL_EXSTYLE:
        return LONG(w->exStyle);
    case GWL_ID:
        return w->id;
    default:
        return 0;
    }
}

LONG SetWindowLongW(HWND window, int index, LONG value) {
    Window* w = detail::lookup(window);
    if (!w)
        return 0;
    LONG old = GetWindowLongW(window, index);
    switch (index) {
    case GWL_STYLE:
        w->style = DWORD(value);
        break;
    case GWL_EXSTYLE:
        w->exStyle = DWORD(value);
        break;
    case GWL_ID:
        w->id = value;
        return old;
    default:
        return 0;
    }
    detail::changed(*w, WindowChange::Style);
    return old;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    Window* w = detail::lookup(window);
    if (!w)
        return FALSE;
    BOOL wasDisabled = w->enabled ? FALSE : TRUE;
    if (w->enabled != bool(enable)) {
        w->enabled = enable;
        detail::changed(*w, WindowChange::Enabled);
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    Window* w = detail::lookup(window);
    return w && w->enabled ? TRUE : FALSE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = detail::lookup(window);
    if (!w)
        return 0;
    if (w->messageMap) {
        LRESULT result = 0;
        if (w->messageMap->ProcessWindowMessage(window, message, wParam, lParam, result, 0))
            return result;
    }
    switch (message) {
    case WM_SETTEXT:
        return SetWindowTextW(window, reinterpret_cast<LPCWSTR>(lParam));
    case WM_SETFONT:
        setFont(*w, reinterpret_cast<HFONT>(wParam));
        return 0;
    case WM_SETICON: {
        HICON icon = reinterpret_cast<HICON>(lParam);
        HICON& slot = wParam == ICON_BIG ? w->bigIcon : w->smallIcon;
        HICON old = slot;
        slot = icon;
        detail::changed(*w, WindowChange::Icon);
        return reinterpret_cast<LRESULT>(old);
    }
    default:
        return 0;
    }
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    Window* w = detail::lookup(dialog);
    const auto& modal = ui::modalDialogs();
    if (!w || !w->messageMap || std::find(modal.begin(), modal.end(), dialog) == modal.end())
        return FALSE;
    w->result = result;
    if (!w->ended) {
        w->ended = true;
        ui::backend().modalEnded(dialog);
    }
    return TRUE;
}

int GetSystemMetrics(int index) {
    return ui::backend().systemMetric(index);
}

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    long long p = (long long)number * numerator;
    long long d = denominator;
    if (d < 0) {
        p = -p;
        d = -d;
    }
    return int(p >= 0 ? (p + d / 2) / d : -((-p + d / 2) / d)); // halves round away from zero
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if (owner && !IsWindow(owner)) {
        ATLTRACE("MessageBoxW: the owner %p is not a window\n", static_cast<void*>(owner));
        return 0;
    }
    return ui::backend().messageBox(owner, view(text), view(caption), type);
}

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    (void)flags; // colour depth is the image's own
    (void)cy;    // icon images are square
    if (!instance || type != IMAGE_ICON || !IS_INTRESOURCE(name))
        return nullptr;
    const ui::IconResource* icon = instance->icon(int(reinterpret_cast<std::uintptr_t>(name)));
    if (!icon || icon->images.empty())
        return nullptr;
    const ui::IconImage* best = &icon->images.front(); // the largest
    if (cx > 0)
        for (const ui::IconImage& image : icon->images)
            if (image.width >= cx && image.width < best->width)
                best = &image;
    HICON handle = reinterpret_cast<HICON>(const_cast<ui::IconImage*>(best));
    iconHandles().insert(handle);
    return handle;
}

namespace ui {
const IconImage* iconImage(HICON icon) {
    return iconHandles().count(icon) ? reinterpret_cast<const IconImage*>(icon) : nullptr;
}
} // namespace ui
