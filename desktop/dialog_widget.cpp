#include "desktop/dialog_widget.h"

#include "desktop/fonts.h"
#include "platform/ui/gdi.h"
#include "platform/ui/resources.h"
#include "platform/ui/user.h"
#include "platform/ui/userinput.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPixmap>
#include <QPushButton>

namespace desktop {

namespace {

QString qs(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

// "&About" marks its mnemonic as Qt does; a literal "&&" is the same in both.
QString buttonText(const std::u16string& s) {
    return qs(s);
}

QPixmap iconPixmap(HICON icon) {
    const ui::IconImage* image = ui::iconImage(icon);
    if (!image)
        return {};
    return QPixmap(const_cast<const char* const*>(image->xpm.data()));
}

// The frame around a dialog's client area, from its styles.
RECT frameOf(const ui::Window& w) {
    RECT frame{};
    AdjustWindowRectEx(&frame, w.style, FALSE, w.exStyle);
    return frame;
}

} // namespace

DialogWidget::DialogWidget(HWND dialog, QWidget* owner) : QDialog(owner), handle_(dialog) {
    const ui::Window* w = ui::findWindow(dialog);
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (w->style & WS_SYSMENU)
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    if (w->exStyle & WS_EX_TOOLWINDOW)
        flags |= Qt::Tool;
    setWindowFlags(flags);
    setWindowTitle(qs(w->text));
    if (const LOGFONTW* lf = ui::fontInfo(w->font))
        setFont(fontFrom(*lf));
    for (HWND child : w->children)
        if (QWidget* made = makeControl(*ui::findWindow(child)))
            controls_[child] = made;
    placeDialog();
    if (w->bigIcon || w->smallIcon)
        setWindowIcon(iconPixmap(w->bigIcon ? w->bigIcon : w->smallIcon));
}

QWidget* DialogWidget::control(int id) const {
    for (const auto& [handle, widget] : controls_)
        if (const ui::Window* c = ui::findWindow(handle); c && c->id == id)
            return widget;
    return nullptr;
}

void DialogWidget::fillCombo(QComboBox* combo, const ui::Window& c, bool items) {
    bool was = std::exchange(syncing_, true);
    if (items) {
        combo->clear();
        for (const std::u16string& item : c.items)
            combo->addItem(qs(item));
    }
    combo->setCurrentIndex(c.curSel);
    if (combo->isEditable())
        combo->setEditText(qs(c.text));
    syncing_ = was;
}

QWidget* DialogWidget::makeControl(const ui::Window& c) {
    QWidget* made = nullptr;
    HWND dialog = handle_;
    HWND handle = c.handle;
    int id = c.id;
    if (c.className == u"BUTTON") {
        DWORD kind = c.style & BS_TYPEMASK;
        if (kind == BS_GROUPBOX) {
            made = new QGroupBox(qs(c.text), this);
        } else {
            auto* button = new QPushButton(buttonText(c.text), this);
            button->setAutoDefault(false);
            button->setDefault(kind == BS_DEFPUSHBUTTON);
            connect(button, &QPushButton::clicked, this, [dialog, id] { ui::userClicks(dialog, id); });
            made = button;
        }
    } else if (c.className == u"EDIT") {
        auto* edit = new QLineEdit(qs(c.text), this);
        connect(edit, &QLineEdit::textEdited, this,
                [handle](const QString& text) { ui::userTypes(handle, text.toStdU16String()); });
        made = edit;
    } else if (c.isComboBox()) {
        auto* combo = new QComboBox(this);
        combo->setEditable(c.hasEditField());
        combo->setInsertPolicy(QComboBox::NoInsert);
        // The model keeps the list in its control's order; Qt must not sort or complete on its own.
        combo->setCompleter(nullptr);
        made = combo;
        fillCombo(combo, c, true);
        connect(combo, &QComboBox::activated, this, [this, handle](int index) {
            if (!syncing_)
                ui::userSelects(handle, index);
        });
        if (combo->isEditable())
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [handle](const QString& text) { ui::userTypes(handle, text.toStdU16String()); });
    } else if (c.className == u"STATIC") {
        auto* label = new QLabel(this);
        if ((c.style & 0x1F) == SS_ICON)
            label->setPixmap(iconPixmap(c.bigIcon));
        else
            label->setText(qs(c.text));
        label->setWordWrap(true);
        label->setAlignment(((c.style & 0x1F) == SS_CENTER ? Qt::AlignHCenter : Qt::AlignLeft) |
                            Qt::AlignTop);
        made = label;
    }
    if (!made)
        return nullptr;
    if (const LOGFONTW* lf = ui::fontInfo(c.font))
        made->setFont(fontFrom(*lf));
    made->setEnabled(c.enabled);
    placeControl(c, made);
    return made;
}

void DialogWidget::placeDialog() {
    const ui::Window* w = ui::findWindow(handle_);
    RECT frame = frameOf(*w);
    int width = w->rect.width() - frame.width();
    int height = w->rect.height() - frame.height();
    if (width <= 0 || height <= 0) {
        setFixedSize(0, 0);
        return;
    }
    setFixedSize(width, height);
    POINT origin = ui::clientOrigin(*w);
    move(origin.x, origin.y);
}

void DialogWidget::placeControl(const ui::Window& c, QWidget* widget) {
    auto* combo = dynamic_cast<QComboBox*>(widget);
    if (combo) {
        // The template's height is the open list's; the field keeps the height its font gives it.
        int field = std::max(combo->sizeHint().height(), c.rect.height());
        widget->setGeometry(c.rect.left, c.rect.top, c.rect.width(), field);
        int rows = c.droppedHeight > field ? (c.droppedHeight - field) / combo->fontMetrics().height() : 1;
        combo->setMaxVisibleItems(std::max(rows, 5));
        return;
    }
    widget->setGeometry(c.rect.left, c.rect.top, c.rect.width(), c.rect.height());
}

void DialogWidget::sync(HWND window, ui::WindowChange what) {
    const ui::Window* w = ui::findWindow(window);
    if (!w)
        return;
    if (window == handle_) {
        switch (what) {
        case ui::WindowChange::Text:
            setWindowTitle(qs(w->text));
            break;
        case ui::WindowChange::Geometry:
        case ui::WindowChange::Style:
            placeDialog();
            break;
        case ui::WindowChange::Icon:
            setWindowIcon(iconPixmap(w->bigIcon ? w->bigIcon : w->smallIcon));
            break;
        case ui::WindowChange::Enabled:
            setEnabled(w->enabled);
            break;
        default:
            break;
        }
        return;
    }
    auto it = controls_.find(window);
    QWidget* widget = it == controls_.end() ? nullptr : it->second;
    if (!widget)
        return;
    bool was = std::exchange(syncing_, true);
    switch (what) {
    case ui::WindowChange::Text:
        if (auto* edit = dynamic_cast<QLineEdit*>(widget); edit && edit->text() != qs(w->text))
            edit->setText(qs(w->text));
        else if (auto* combo = dynamic_cast<QComboBox*>(widget); combo && combo->currentText() != qs(w->text))
            combo->setEditText(qs(w->text));
        else if (auto* button = dynamic_cast<QPushButton*>(widget))
            button->setText(buttonText(w->text));
        else if (auto* label = dynamic_cast<QLabel*>(widget))
            label->setText(qs(w->text));
        break;
    case ui::WindowChange::Items:
    case ui::WindowChange::Selection:
        if (auto* combo = dynamic_cast<QComboBox*>(widget))
            fillCombo(combo, *w, what == ui::WindowChange::Items);
        break;
    case ui::WindowChange::Geometry:
        placeControl(*w, widget);
        break;
    case ui::WindowChange::Font:
        if (const LOGFONTW* lf = ui::fontInfo(w->font))
            widget->setFont(fontFrom(*lf));
        else if (const LOGFONTW* own = ui::fontInfo(ui::findWindow(handle_)->templateFont))
            widget->setFont(fontFrom(*own)); // a deleted font: Windows draws with the dialog's
        placeControl(*w, widget);
        break;
    case ui::WindowChange::Enabled:
        widget->setEnabled(w->enabled);
        break;
    default:
        break;
    }
    syncing_ = was;
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ui::userPressesEnter(handle_);
        return;
    case Qt::Key_Escape:
        ui::userPressesEscape(handle_);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void DialogWidget::closeEvent(QCloseEvent* event) {
    // The dialog goes when its message map ends it, never because its window was closed.
    event->ignore();
    if (ui::findWindow(handle_) && (ui::findWindow(handle_)->style & WS_SYSMENU))
        ui::userPressesEscape(handle_);
}

void DialogWidget::reject() {
    ui::userPressesEscape(handle_);
}

} // namespace desktop
