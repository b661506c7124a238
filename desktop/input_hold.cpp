#include "desktop/input_hold.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

namespace desktop::input_hold {

namespace {

bool isInput(QEvent::Type type) {
    return type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride ||
           type == QEvent::InputMethod;
}

class Hold : public QObject {
public:
    void begin() {
        if (depth_++ == 0)
            qApp->installEventFilter(this);
    }
    void end() {
        if (depth_ == 0 || --depth_ > 0)
            return;
        qApp->removeEventFilter(this);
        std::vector<std::unique_ptr<QEvent>> held = std::move(held_);
        held_.clear();
        for (std::unique_ptr<QEvent>& e : held)
            // Each key goes where the keyboard is when its turn comes: a Tab may move it on.
            if (QWidget* to = QApplication::focusWidget())
                QCoreApplication::sendEvent(to, e.get());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isInput(event->type()))
            return false;
        QWidget* modal = QApplication::activeModalWidget();
        auto* widget = qobject_cast<QWidget*>(watched);
        if (modal && widget && modal->isAncestorOf(widget))
            return false;
        if (modal && widget == modal)
            return false;
        // Accepting the override keeps a shortcut from running ahead of the keys typed before it.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        held_.push_back(std::unique_ptr<QEvent>(event->clone()));
        return true;
    }

private:
    int depth_ = 0;
    std::vector<std::unique_ptr<QEvent>> held_;
};

Hold& hold() {
    static Hold* one = new Hold; // lives as long as the application
    return *one;
}

} // namespace

void begin() {
    hold().begin();
}

void endWhenIdle() {
    QTimer::singleShot(0, &hold(), [] { hold().end(); });
}

} // namespace desktop::input_hold
