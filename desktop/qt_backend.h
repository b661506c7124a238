#pragma once

#include "platform/ui/backend.h"

#include <functional>
#include <map>

class QEventLoop;
class QWidget;

// The user-interface services on the screen: dialogs, message boxes and the input box as Qt windows, and
// modal loops as Qt event loops, so that the spreadsheet windows stay alive while the program waits. When
// one closes, the window it belonged to has the keyboard again.
namespace desktop {

class DialogWidget;

class QtBackend : public ui::Backend {
public:
    // How an owner handle that is no dialog (a spreadsheet's main window) is found on the screen.
    using OwnerLookup = std::function<QWidget*(HWND)>;
    void setOwnerLookup(OwnerLookup lookup) { ownerLookup_ = std::move(lookup); }

    // The Qt window of a dialog shown now, or null.
    DialogWidget* dialog(HWND handle) const;
    QWidget* ownerWidget(HWND owner) const;

    void runModal(HWND dialog) override;
    void modalEnded(HWND dialog) override;
    int messageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) override;
    std::optional<std::u16string> inputBox(HWND owner, std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override;
    int systemMetric(int index) const override;
    RECT workArea() const override;
    SIZE dialogBaseUnits(std::u16string_view face, int pointSize) const override;
    void windowCreated(HWND window) override;
    void windowChanged(HWND window, ui::WindowChange what) override;
    void windowDestroyed(HWND window) override;

private:
    DialogWidget* dialogOf(HWND window) const; // the dialog a window is, or the dialog of a control
    // A question or dialog closed: its owner gets the keyboard back.
    static void returnKeyboard(QWidget* owner);

    OwnerLookup ownerLookup_;
    std::map<HWND, DialogWidget*> dialogs_;
    std::map<HWND, QEventLoop*> loops_;
};

} // namespace desktop
