#include "platform/ui/system_backend.h"

#include "platform/ui/system.h"
#include "platform/ui/trace.h"
#include "platform/ui/user.h"
#include "platform/ui/userinput.h"

namespace ui {
namespace {

bool hasArea(const Window& w) {
    return w.rect.width() > 0 && w.rect.height() > 0;
}

// The dialog as its template places it, with the texts, lists and selections the program gave it. A
// combo box's list comes in the program's order: the system must not sort it again.
system::Dialog describe(const Window& w) {
    const DialogTemplate& t = *w.dialogTemplate;
    system::Dialog d{t.style & ~DWORD(DS_CENTER), t.exStyle,   t.x,      t.y,      t.cx,      t.cy, w.text,
                     std::u16string(t.fontFace),  t.pointSize, t.weight, t.italic, t.charSet, {}};
    d.style |= DS_CENTER;
    for (HWND child : w.children) {
        const Window& c = *findWindow(child);
        const DialogItemTemplate& item = *c.itemTemplate;
        DWORD style = c.style & ~DWORD(WS_VISIBLE | WS_CHILD);
        if (c.isComboBox())
            style &= ~CBS_SORT;
        d.controls.push_back({c.id, c.className, c.text, item.x, item.y, item.cx, item.cy, style, c.exStyle,
                              c.items, c.curSel});
    }
    return d;
}

bool hasButton(const Window& dialog, int id) {
    for (HWND child : dialog.children)
        if (findWindow(child)->id == id && findWindow(child)->className == u"BUTTON")
            return true;
    return false;
}

// Hands the user's entries and command to the program's dialog; its result once it has ended.
std::optional<std::intptr_t> command(HWND dialog, int id, const std::vector<system::Entered>& entered) {
    for (const system::Entered& e : entered) {
        HWND control = GetDlgItem(dialog, e.id);
        const Window* c = findWindow(control);
        if (!c)
            continue;
        if (c->isComboBox() && e.selection >= 0 && e.selection != c->curSel)
            userSelects(control, e.selection);
        else if (c->hasEditField() && c->text != e.text)
            userTypes(control, e.text);
    }
    const Window& w = *findWindow(dialog);
    if (hasButton(w, id))
        userClicks(dialog, id);
    else if (id == IDCANCEL)
        userPressesEscape(dialog);
    else if (id == IDOK)
        userPressesEnter(dialog);
    const Window* after = findWindow(dialog);
    if (!after || after->ended)
        return after ? after->result : -1;
    return std::nullopt;
}

} // namespace

void SystemBackend::runModal(HWND dialog) {
    const Window& w = *findWindow(dialog);
    if (!hasArea(w)) {
        system::runMessageLoop([dialog] { return findWindow(dialog)->ended; });
        return;
    }
    void* owner = w.owner && isForeignWindow(w.owner) ? static_cast<void*>(w.owner) : nullptr;
    system::runDialog(
        describe(w), owner,
        [dialog](int id, const std::vector<system::Entered>& e) { return command(dialog, id, e); },
        [dialog] { return describe(*findWindow(dialog)); });
}

void SystemBackend::modalEnded(HWND) {
    system::wakeMessageLoop();
}

bool SystemBackend::isForeignWindow(HWND window) const {
    return !findWindow(window) && system::isWindow(window);
}

int SystemBackend::messageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) {
    void* systemOwner = owner && isForeignWindow(owner) ? static_cast<void*>(owner) : nullptr;
    return system::messageBox(systemOwner, std::u16string(text), std::u16string(caption), type);
}

std::optional<std::u16string> SystemBackend::inputBox(HWND, std::u16string_view, std::u16string_view,
                                                      std::u16string_view) {
    ATLTRACE("inputBox: the spreadsheet asks its own questions\n");
    return std::nullopt;
}

bool SystemBackend::saveAnyway(HWND, std::u16string_view, std::u16string_view,
                               const std::vector<std::u16string>&) {
    ATLTRACE("saveAnyway: the spreadsheet asks its own questions\n");
    return false;
}

} // namespace ui
