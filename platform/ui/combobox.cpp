#include "platform/ui/combobox.h"

#include "platform/ui/collate.h"
#include "platform/ui/window.h"

#include <algorithm>

namespace ui {

namespace {
Window* combo(HWND handle) {
    Window* w = detail::lookup(handle);
    return w && w->isComboBox() ? w : nullptr;
}
} // namespace

int comboAddString(HWND handle, std::u16string_view text) {
    Window* w = combo(handle);
    if (!w)
        return CB_ERR;
    auto at = w->items.end();
    if (w->style & CBS_SORT)
        at = std::upper_bound(
            w->items.begin(), w->items.end(), text,
            [](std::u16string_view t, const auto& item) { return compareListText(t, item) < 0; });
    int index = int(at - w->items.begin());
    w->items.insert(at, std::u16string(text));
    if (w->curSel >= index)
        ++w->curSel;
    detail::changed(*w, WindowChange::Items);
    return index;
}

int comboSetCurSel(HWND handle, int index) {
    Window* w = combo(handle);
    if (!w)
        return CB_ERR;
    bool valid = index >= 0 && index < int(w->items.size());
    w->curSel = valid ? index : CB_ERR;
    w->text = valid ? w->items[size_t(index)] : std::u16string();
    detail::changed(*w, WindowChange::Selection);
    return valid ? index : CB_ERR;
}

int comboGetCurSel(HWND handle) {
    Window* w = combo(handle);
    return w ? w->curSel : CB_ERR;
}

int comboGetCount(HWND handle) {
    Window* w = combo(handle);
    return w ? int(w->items.size()) : CB_ERR;
}

int comboGetLBText(HWND handle, int index, std::u16string& text) {
    Window* w = combo(handle);
    if (!w || index < 0 || index >= int(w->items.size()))
        return CB_ERR;
    text = w->items[size_t(index)];
    return int(text.size());
}

} // namespace ui
