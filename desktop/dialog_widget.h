#pragma once

#include "platform/ui/window.h"

#include <QDialog>
#include <map>

class QComboBox;
class QWidget;

// A dialog of the window model shown on the screen: a QDialog with a Qt control for each control of its
// template, at the template's pixel positions. The window model stays the truth: what the program changes
// is copied to the widgets (sync), and what the user does is reported back through ui/userinput.h, so the
// dialog's message map sees it as it would see it on Windows.
namespace desktop {

class DialogWidget : public QDialog {
public:
    DialogWidget(HWND dialog, QWidget* owner);

    HWND handle() const { return handle_; }
    // Copies one kind of change of the dialog or one of its controls to the widgets.
    void sync(HWND window, ui::WindowChange what);
    // The Qt control of a control of the dialog, or null.
    QWidget* control(int id) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QWidget* makeControl(const ui::Window& c);
    void fillCombo(QComboBox* combo, const ui::Window& c, bool items);
    void placeDialog();
    void placeControl(const ui::Window& c, QWidget* widget);

    HWND handle_;
    std::map<HWND, QWidget*> controls_;
    bool syncing_ = false; // a change copied from the model is no user action
};

} // namespace desktop
