#pragma once

#include "platform/ui/backend.h"

#include <functional>
#include <map>

class QDialog;
class QEventLoop;
class QWidget;

// The user-interface services on the screen: dialogs, message boxes and the input box as Qt windows, and
// modal loops as Qt event loops, so that the spreadsheet windows stay alive while the program waits. When
// one is answered, the window it belonged to has the keyboard again at once, and keys typed meanwhile wait
// until the code that asked has gone on (input_hold.h).
namespace desktop {

class DialogWidget;

class QtBackend : public ui::Backend {
public:
    // How an owner handle that is no dialog (a spreadsheet's main window) is found on the screen.
    using OwnerLookup = std::function<QWidget*(HWND)>;
    void setOwnerLookup(OwnerLookup lookup) { ownerLookup_ = std::move(lookup); }

    // Brings the window of `widget` to the front with the keyboard where it was in it. Qt takes it as the
    // active window at once, not when the window system says so later, so that keys typed meanwhile
    // reach it.
    static void returnKeyboard(QWidget* widget);

    // The Qt window of a dialog shown now, or null.
    DialogWidget* dialog(HWND handle) const;
    QWidget* ownerWidget(HWND owner) const;

    void runModal(HWND dialog) override;
    void modalEnded(HWND dialog) override;
    int messageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) override;
    std::optional<std::u16string> inputBox(HWND owner, std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override;
    bool saveAnyway(HWND owner, std::u16string_view text, std::u16string_view caption,
                    const std::vector<std::u16string>& items) override;
    int systemMetric(int index) const override;
    RECT workArea() const override;
    SIZE dialogBaseUnits(std::u16string_view face, int pointSize) const override;
    void windowCreated(HWND window) override;
    void windowChanged(HWND window, ui::WindowChange what) override;
    void windowDestroyed(HWND window) override;

private:
    DialogWidget* dialogOf(HWND window) const; // the dialog a window is, or the dialog of a control
    // While a question runs: once answered, its owner has the keyboard and keys wait until this ends.
    class Answered {
    public:
        explicit Answered(QDialog& question);
        ~Answered();

    private:
        bool holding_ = false;
    };

    OwnerLookup ownerLookup_;
    std::map<HWND, DialogWidget*> dialogs_;
    std::map<HWND, QEventLoop*> loops_;
};

} // namespace desktop
