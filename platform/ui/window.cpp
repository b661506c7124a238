#include "platform/ui/window.h"

#include "platform/ui/backend.h"
#include "platform/ui/gdi.h"
#include "platform/ui/user.h"

#include <algorithm>
#include <map>
#include <memory>

namespace ui {

namespace {
struct Registry {
    std::map<HWND, std::unique_ptr<Window>> windows;
    std::vector<HWND> modal;
    // Small numbers, as Windows' own handles are: the spreadsheet reports its window as a 32-bit Hwnd.
    std::uintptr_t next = 0x00010000;
};
Registry& registry() {
    static Registry r;
    return r;
}
} // namespace

bool Window::hasEditField() const {
    if (className == u"EDIT")
        return true;
    DWORD kind = style & 0x3;
    return isComboBox() && (kind == CBS_SIMPLE || kind == CBS_DROPDOWN);
}

const Window* findWindow(HWND handle) {
    return detail::lookup(handle);
}

HWND createWindow(std::u16string_view className, std::u16string_view text, DWORD style, const RECT& rect) {
    Window w;
    w.className = className;
    w.text = text;
    w.style = style;
    w.rect = rect;
    Window& made = detail::create(std::move(w));
    made.announced = true;
    backend().windowCreated(made.handle);
    return made.handle;
}

POINT clientOrigin(const Window& w) {
    if (w.parent) {
        const Window* p = findWindow(w.parent);
        POINT o = p ? clientOrigin(*p) : POINT{};
        return {o.x + w.rect.left, o.y + w.rect.top};
    }
    RECT frame{};
    AdjustWindowRectEx(&frame, w.style, FALSE, w.exStyle);
    return {w.rect.left - frame.left, w.rect.top - frame.top};
}

const std::vector<HWND>& modalDialogs() {
    return registry().modal;
}

namespace detail {

Window* lookup(HWND handle) {
    auto& all = registry().windows;
    auto it = all.find(handle);
    return it == all.end() ? nullptr : it->second.get();
}

Window& create(Window w) {
    Registry& r = registry();
    r.next += 4;
    w.handle = reinterpret_cast<HWND>(r.next);
    auto owned = std::make_unique<Window>(std::move(w));
    Window& ref = *owned;
    r.windows.emplace(ref.handle, std::move(owned));
    return ref;
}

void destroy(HWND handle) {
    Window* w = lookup(handle);
    if (!w)
        return;
    for (HWND child : std::vector<HWND>(w->children))
        destroy(child);
    if (w->templateFont)
        DeleteObject(w->templateFont);
    registry().windows.erase(handle);
}

void changed(Window& w, WindowChange what) {
    backend().windowChanged(w.handle, what);
}

void pushModal(HWND dialog) {
    registry().modal.push_back(dialog);
}

void popModal(HWND dialog) {
    auto& m = registry().modal;
    m.erase(std::remove(m.begin(), m.end(), dialog), m.end());
}

} // namespace detail

} // namespace ui
