#pragma once

#include "platform/ui/wintypes.h"

#include <QObject>
#include <functional>
#include <vector>

class QTimer;

// The spreadsheet windows of the process: one for each running, visible instance. Windows come and go
// with their instances; all are brought up to date a few times a second, so that what the program does
// through the object model shows without the windows being told. A new window comes to the front with
// the keyboard; when one goes, the window used last before it takes the keyboard back.
namespace desktop {

class QtBackend;
class SpreadsheetWindow;

class Windows : public QObject {
public:
    explicit Windows(QtBackend& backend);
    ~Windows() override;

    // Looks for new and ended instances and refreshes every window now.
    void update();
    const std::vector<SpreadsheetWindow*>& all() const { return windows_; }
    SpreadsheetWindow* windowOf(HWND handle) const;
    // Called when the last window has gone.
    void onAllClosed(std::function<void()> callback) { allClosed_ = std::move(callback); }

private:
    QtBackend& backend_;
    QTimer* timer_;
    std::vector<SpreadsheetWindow*> windows_;
    std::vector<SpreadsheetWindow*> used_; // most recently active first
    std::function<void()> allClosed_;
    bool updating_ = false;
};

} // namespace desktop
