#include "desktop/qt_backend.h"

#include "desktop/dialog_widget.h"
#include "desktop/fonts.h"
#include "desktop/input_hold.h"
#include "platform/ui/user.h"
#include "platform/ui/window.h"

#include <QApplication>
#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <vector>

namespace desktop {

namespace {

QString qs(std::u16string_view s) {
    return QString::fromStdU16String(std::u16string(s));
}

struct Button {
    int id;
    const char16_t* label;
    QMessageBox::ButtonRole role;
};

std::vector<Button> buttonsOf(UINT type) {
    const Button ok{IDOK, u"确定", QMessageBox::AcceptRole},
        cancel{IDCANCEL, u"取消", QMessageBox::RejectRole}, abort{IDABORT, u"中止", QMessageBox::RejectRole},
        retry{IDRETRY, u"重试", QMessageBox::AcceptRole}, ignore{IDIGNORE, u"忽略", QMessageBox::AcceptRole},
        yes{IDYES, u"是", QMessageBox::YesRole}, no{IDNO, u"否", QMessageBox::NoRole};
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {ok, cancel};
    case MB_ABORTRETRYIGNORE:
        return {abort, retry, ignore};
    case MB_YESNOCANCEL:
        return {yes, no, cancel};
    case MB_YESNO:
        return {yes, no};
    case MB_RETRYCANCEL:
        return {retry, cancel};
    default:
        return {ok};
    }
}

QMessageBox::Icon iconOf(UINT type) {
    switch (type & 0xF0) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

DialogWidget* QtBackend::dialog(HWND handle) const {
    auto it = dialogs_.find(handle);
    return it == dialogs_.end() ? nullptr : it->second;
}

DialogWidget* QtBackend::dialogOf(HWND window) const {
    const ui::Window* w = ui::findWindow(window);
    if (!w)
        return nullptr;
    return dialog(w->parent ? w->parent : window);
}

QWidget* QtBackend::ownerWidget(HWND owner) const {
    if (!owner)
        return nullptr;
    if (DialogWidget* d = dialog(owner); d && d->width() > 0)
        return d;
    return ownerLookup_ ? ownerLookup_(owner) : nullptr;
}

void QtBackend::windowCreated(HWND window) {
    const ui::Window* w = ui::findWindow(window);
    if (!w || !w->isDialog())
        return;
    dialogs_[window] = new DialogWidget(window, ownerWidget(w->owner));
}

void QtBackend::windowChanged(HWND window, ui::WindowChange what) {
    if (DialogWidget* d = dialogOf(window))
        d->sync(window, what);
}

void QtBackend::windowDestroyed(HWND window) {
    auto it = dialogs_.find(window);
    if (it == dialogs_.end())
        return;
    DialogWidget* d = it->second;
    dialogs_.erase(it);
    d->hide();
    d->deleteLater(); // it may be inside one of its own handlers
}

void QtBackend::returnKeyboard(QWidget* owner) {
    if (!owner || !owner->isVisible())
        return;
    QWidget* window = owner->window();
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    if (QWidget* focus = window->focusWidget())
        focus->setFocus();
    else
        window->setFocus();
}

void QtBackend::runModal(HWND handle) {
    DialogWidget* d = dialog(handle);
    if (!d)
        return;
    const ui::Window* w = ui::findWindow(handle);
    // The hidden main dialog has no area: it runs its loop without a window on the screen.
    if (w->rect.width() > 0 && w->rect.height() > 0) {
        d->setWindowModality(d->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
        d->show();
        d->raise();
        d->activateWindow();
    }
    QEventLoop loop;
    loops_[handle] = &loop;
    bool ran = !ui::findWindow(handle)->ended;
    if (ran)
        loop.exec();
    loops_.erase(handle);
    d->hide();
    returnKeyboard(d->parentWidget());
    if (ran)
        input_hold::endWhenIdle();
}

void QtBackend::modalEnded(HWND handle) {
    if (auto it = loops_.find(handle); it != loops_.end()) {
        // Keys typed from here on wait for the code that showed the dialog.
        input_hold::begin();
        it->second->quit();
    }
}

QtBackend::Answered::Answered(QDialog& question) {
    // The window that asked has the keyboard at once; what is typed next waits for the code that asked.
    QObject::connect(&question, &QDialog::finished, &question, [this, &question] {
        if (!holding_)
            input_hold::begin();
        holding_ = true;
        returnKeyboard(question.parentWidget());
    });
}

QtBackend::Answered::~Answered() {
    if (holding_)
        input_hold::endWhenIdle();
}

int QtBackend::messageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) {
    QMessageBox box(ownerWidget(owner));
    box.setWindowTitle(qs(caption));
    box.setText(qs(text));
    box.setIcon(iconOf(type));
    std::vector<Button> buttons = buttonsOf(type);
    std::vector<QPushButton*> made;
    QPushButton* escape = nullptr;
    for (const Button& b : buttons) {
        made.push_back(box.addButton(qs(b.label), b.role));
        if (b.id == IDCANCEL || (b.id == IDOK && buttons.size() == 1))
            escape = made.back();
    }
    box.setDefaultButton(made.front());
    box.setEscapeButton(escape);
    Answered answered(box);
    box.exec();
    for (size_t i = 0; i < made.size(); ++i)
        if (box.clickedButton() == made[i])
            return buttons[i].id;
    return escape ? (buttons.size() == 1 ? IDOK : IDCANCEL) : buttons.front().id;
}

std::optional<std::u16string> QtBackend::inputBox(HWND owner, std::u16string_view prompt,
                                                  std::u16string_view title,
                                                  std::u16string_view defaultText) {
    QInputDialog box(ownerWidget(owner));
    box.setWindowTitle(qs(title));
    box.setLabelText(qs(prompt));
    box.setTextValue(qs(defaultText));
    box.setOkButtonText(QStringLiteral("确定"));
    box.setCancelButtonText(QStringLiteral("取消"));
    Answered answered(box);
    bool accepted = box.exec() == QDialog::Accepted;
    if (!accepted)
        return std::nullopt;
    return box.textValue().toStdU16String();
}

bool QtBackend::saveAnyway(HWND owner, std::u16string_view text, std::u16string_view caption,
                           const std::vector<std::u16string>& items) {
    QMessageBox box(ownerWidget(owner));
    box.setObjectName(QStringLiteral("saveWarning"));
    box.setWindowTitle(qs(caption));
    box.setIcon(QMessageBox::Warning);
    box.setText(qs(text));
    QStringList lines;
    for (const std::u16string& item : items)
        lines << QStringLiteral("· ") + qs(item);
    box.setInformativeText(lines.join(QLatin1Char('\n')));
    QPushButton* yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
    // Enter or Escape keeps the file: only a deliberate 是 gives up what it holds.
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    Answered answered(box);
    box.exec();
    return box.clickedButton() == yes;
}

int QtBackend::systemMetric(int index) const {
    QScreen* screen = QApplication::primaryScreen();
    if (!screen)
        return Backend::systemMetric(index);
    switch (index) {
    case SM_CXSCREEN:
        return screen->geometry().width();
    case SM_CYSCREEN:
        return screen->geometry().height();
    default:
        return Backend::systemMetric(index);
    }
}

RECT QtBackend::workArea() const {
    QScreen* screen = QApplication::primaryScreen();
    if (!screen)
        return Backend::workArea();
    QRect r = screen->availableGeometry();
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

SIZE QtBackend::dialogBaseUnits(std::u16string_view face, int pointSize) const {
    return baseUnits(dialogFont(face, pointSize));
}

} // namespace desktop
