#include "platform/ui/dialog.h"

#include "platform/ui/backend.h"
#include "platform/ui/gdi.h"
#include "platform/ui/module.h"
#include "platform/ui/window.h"

namespace detail = ui::detail;
using ui::Window;

namespace {

RECT dialogUnitsToPixels(SIZE base, short x, short y, short cx, short cy) {
    int left = MulDiv(x, base.cx, 4), top = MulDiv(y, base.cy, 8);
    return {left, top, left + MulDiv(cx, base.cx, 4), top + MulDiv(cy, base.cy, 8)};
}

Window& makeControl(const ui::DialogItemTemplate& item, Window& dialog, SIZE base, HINSTANCE instance) {
    Window c;
    c.className = item.windowClass;
    c.text = item.text;
    c.id = item.id;
    c.style = item.style | WS_CHILD | WS_VISIBLE;
    c.exStyle = item.exStyle;
    c.parent = dialog.handle;
    c.itemTemplate = &item;
    c.rect = dialogUnitsToPixels(base, item.x, item.y, item.cx, item.cy);
    c.enabled = !(c.style & WS_DISABLED);
    if (item.imageResource)
        c.bigIcon =
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(WORD(item.imageResource)), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    Window& made = detail::create(std::move(c));
    dialog.children.push_back(made.handle);
    if (made.isComboBox() && (made.style & 0x3) != CBS_SIMPLE)
        made.droppedHeight = made.rect.height();
    SendMessageW(made.handle, WM_SETFONT, WPARAM(dialog.templateFont), FALSE);
    return made;
}

HWND createDialog(const ui::DialogTemplate& t, HWND owner, CMessageMap* target, HINSTANCE instance) {
    SIZE base = ui::backend().dialogBaseUnits(t.fontFace, t.pointSize);
    RECT client = dialogUnitsToPixels(base, 0, 0, t.cx, t.cy);
    RECT frame = client;
    AdjustWindowRectEx(&frame, t.style, FALSE, t.exStyle);
    POINT at{};
    if (t.style & DS_CENTER) {
        RECT area = ui::backend().workArea();
        at = {area.left + (area.width() - frame.width()) / 2,
              area.top + (area.height() - frame.height()) / 2};
    } else {
        if (const Window* o = ui::findWindow(owner))
            at = ui::clientOrigin(*o);
        RECT offset = dialogUnitsToPixels(base, t.x, t.y, 0, 0);
        at = {at.x + offset.left, at.y + offset.top};
    }

    Window d;
    d.className = u"#32770";
    d.text = t.caption;
    d.style = t.style;
    d.exStyle = t.exStyle;
    d.owner = owner;
    d.dialogTemplate = &t;
    d.messageMap = target;
    d.rect = {at.x, at.y, at.x + frame.width(), at.y + frame.height()};
    LOGFONTW lf = ui::dialogFont(t.fontFace, t.pointSize, t.weight, t.italic, t.charSet);
    d.templateFont = d.font = CreateFontIndirectW(&lf);
    Window& dialog = detail::create(std::move(d));
    HWND handle = dialog.handle;
    for (const ui::DialogItemTemplate& item : t.items)
        makeControl(item, *detail::lookup(handle), base, instance);
    detail::lookup(handle)->announced = true;
    ui::backend().windowCreated(handle);
    return handle;
}

HWND firstTabStop(HWND dialog) {
    for (HWND child : ui::findWindow(dialog)->children) {
        const Window* c = ui::findWindow(child);
        if ((c->style & WS_TABSTOP) && c->enabled)
            return child;
    }
    return nullptr;
}

// Undoes what DoModal did, however it is left.
class ModalScope {
public:
    ModalScope(CWindow& self, HWND dialog, HWND owner) : self_(self), dialog_(dialog), owner_(owner) {
        ownerWasEnabled_ = owner && IsWindowEnabled(owner);
        if (ownerWasEnabled_)
            EnableWindow(owner, FALSE);
        detail::pushModal(dialog);
    }
    ~ModalScope() {
        detail::popModal(dialog_);
        ui::backend().windowDestroyed(dialog_);
        detail::destroy(dialog_);
        self_.m_hWnd = nullptr;
        if (ownerWasEnabled_)
            EnableWindow(owner_, TRUE);
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    CWindow& self_;
    HWND dialog_;
    HWND owner_;
    bool ownerWasEnabled_ = false;
};

} // namespace

INT_PTR CDialogImplBase::doModal(int templateId, HWND owner, LPARAM initParam) {
    if (m_hWnd) {
        ATLTRACE("DoModal: dialog %d is already shown\n", templateId);
        return -1;
    }
    HINSTANCE instance = ui::resourceInstance();
    const ui::DialogTemplate* t = instance ? instance->dialog(templateId) : nullptr;
    if (!t) {
        ATLTRACE("DoModal: no dialog template %d in the resource module\n", templateId);
        return -1;
    }
    if (owner && !::IsWindow(owner)) {
        ATLTRACE("DoModal: the owner of dialog %d is not a window\n", templateId);
        return -1;
    }
    m_hWnd = createDialog(*t, owner, this, instance);
    HWND dialog = m_hWnd;
    ModalScope scope(*this, dialog, owner);
    ::SendMessageW(dialog, WM_INITDIALOG, WPARAM(firstTabStop(dialog)), initParam);
    if (!ui::findWindow(dialog)->ended) {
        SetWindowLongW(dialog, GWL_STYLE, LONG(GetWindowLongW(dialog, GWL_STYLE) | LONG(WS_VISIBLE)));
        ui::backend().runModal(dialog);
    }
    const Window* w = ui::findWindow(dialog);
    if (!w->ended) {
        ATLTRACE("DoModal: the modal loop of dialog %d returned before EndDialog\n", templateId);
        return -1;
    }
    return w->result;
}
