#include "session_driver.h"

#include <QApplication>
#include <QMessageBox>

namespace {
constexpr int kTickMs = 10;
constexpr int kPatienceMs = 10000; // a step that waits longer has failed
} // namespace

SessionDriver::SessionDriver() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    timer_.start(kTickMs);
}

SessionDriver& SessionDriver::then(QString what, std::function<bool()> ready, std::function<void()> act) {
    steps_.push_back({std::move(what), std::move(ready), std::move(act)});
    return *this;
}

void SessionDriver::tick() {
    if (steps_.empty() || !stuckAt_.isEmpty())
        return;
    if (!steps_.front().ready()) {
        waited_ += kTickMs;
        if (waited_ > kPatienceMs) {
            stuckAt_ = steps_.front().what;
            // The program is in a loop nobody will end: stop here with the reason.
            QWidget* front = QApplication::activeModalWidget();
            QString shown = front ? front->windowTitle() : QStringLiteral("no modal window");
            if (auto* box = dynamic_cast<QMessageBox*>(front))
                shown += QStringLiteral(": ") + box->text();
            qFatal("the session waited in vain for: %s (in front: %s)", qPrintable(stuckAt_),
                   qPrintable(shown));
        }
        return;
    }
    waited_ = 0;
    Step step = std::move(steps_.front());
    steps_.pop_front();
    QTimer::singleShot(0, [act = std::move(step.act)] { act(); });
}
