#include "desktop/windows.h"

#include "desktop/qt_backend.h"
#include "desktop/spreadsheet_window.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>

namespace desktop {

Windows::Windows(QtBackend& backend) : backend_(backend), timer_(new QTimer(this)) {
    backend_.setOwnerLookup([this](HWND owner) -> QWidget* { return windowOf(owner); });
    connect(timer_, &QTimer::timeout, this, [this] { update(); });
    timer_->start(50);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        auto* w = now ? dynamic_cast<SpreadsheetWindow*>(now->window()) : nullptr;
        if (!w || std::find(windows_.begin(), windows_.end(), w) == windows_.end())
            return;
        std::erase(used_, w);
        used_.insert(used_.begin(), w);
    });
}

Windows::~Windows() {
    backend_.setOwnerLookup(nullptr);
    for (SpreadsheetWindow* w : windows_)
        delete w;
}

SpreadsheetWindow* Windows::windowOf(HWND handle) const {
    for (SpreadsheetWindow* w : windows_)
        if (w->app().running() && w->handle() == handle)
            return w;
    return nullptr;
}

void Windows::update() {
    if (std::exchange(updating_, true))
        return;
    bool had = !windows_.empty();
    bool gone = false;
    // Windows of instances that ended or were hidden go.
    std::erase_if(windows_, [&](SpreadsheetWindow* w) {
        if (w->app().running() && w->app().GetVisible() != VARIANT_FALSE)
            return false;
        w->hide();
        w->deleteLater();
        std::erase(used_, w);
        gone = true;
        return true;
    });
    SpreadsheetWindow* made = nullptr;
    for (const ComPtr<Application>& app : engine::automation::runningInstances()) {
        if (app->GetVisible() == VARIANT_FALSE)
            continue;
        auto known = std::find_if(windows_.begin(), windows_.end(),
                                  [&](SpreadsheetWindow* w) { return &w->app() == app.get(); });
        if (known != windows_.end())
            continue;
        auto* w = new SpreadsheetWindow(app, backend_);
        w->setOnClosed([this] { QTimer::singleShot(0, this, [this] { update(); }); });
        windows_.push_back(w);
        used_.insert(used_.begin(), w);
        w->show();
        made = w;
    }
    for (SpreadsheetWindow* w : windows_)
        w->refresh();
    // A question asked before the window existed stays in front of it.
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->raise();
    else if (made)
        made->takeKeyboard();
    else if (gone && !used_.empty())
        used_.front()->takeKeyboard();
    updating_ = false;
    if (had && windows_.empty() && allClosed_)
        allClosed_();
}

} // namespace desktop
