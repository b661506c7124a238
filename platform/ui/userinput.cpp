#include "platform/ui/userinput.h"

#include "platform/ui/user.h"
#include "platform/ui/window.h"

#include <string>

namespace ui {

namespace {
void command(HWND dialog, int id, WORD code, HWND control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(WORD(id), code), reinterpret_cast<LPARAM>(control));
}

const Window* usableControl(HWND control) {
    const Window* w = findWindow(control);
    return w && w->parent && w->enabled ? w : nullptr;
}
} // namespace

BOOL userTypes(HWND control, std::u16string_view text) {
    const Window* w = usableControl(control);
    if (!w || !w->hasEditField())
        return FALSE;
    std::u16string typed(text);
    SetWindowTextW(control, typed.c_str());
    command(w->parent, w->id, w->isComboBox() ? CBN_EDITCHANGE : EN_CHANGE, control);
    return TRUE;
}

BOOL userSelects(HWND combo, int index) {
    const Window* w = usableControl(combo);
    if (!w || !w->isComboBox() || index < 0 || index >= int(w->items.size()))
        return FALSE;
    detail::lookup(combo)->curSel = index;
    std::u16string item = w->items[size_t(index)];
    SetWindowTextW(combo, item.c_str());
    detail::changed(*detail::lookup(combo), WindowChange::Selection);
    command(w->parent, w->id, CBN_SELCHANGE, combo);
    return TRUE;
}

BOOL userClicks(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!IsWindow(dialog) || (button && !IsWindowEnabled(button)))
        return FALSE;
    command(dialog, id, BN_CLICKED, button);
    return TRUE;
}

int defaultCommand(HWND dialog) {
    if (const Window* d = findWindow(dialog))
        for (HWND child : d->children) {
            const Window* c = findWindow(child);
            if (c->className == u"BUTTON" && (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                return c->id;
        }
    return IDOK;
}

void userPressesEnter(HWND dialog) {
    userClicks(dialog, defaultCommand(dialog));
}
void userPressesEscape(HWND dialog) {
    userClicks(dialog, IDCANCEL);
}

} // namespace ui
