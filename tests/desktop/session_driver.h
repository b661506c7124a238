#pragma once

#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

// Plays a user at the screen while the program runs its own modal loops: each step waits until its
// condition holds and then acts from a timer of its own, so that an action that opens a modal dialog
// (and so does not return until the dialog closes) never holds up the steps that answer the dialog.
class SessionDriver {
public:
    SessionDriver();

    // `what` names the step in a failure report.
    SessionDriver& then(QString what, std::function<bool()> ready, std::function<void()> act);
    SessionDriver& then(QString what, std::function<void()> act) {
        return then(
            std::move(what), [] { return true; }, std::move(act));
    }

    // Steps still waiting, and the one that waited too long.
    bool finished() const { return steps_.empty(); }
    const QString& stuckAt() const { return stuckAt_; }

private:
    struct Step {
        QString what;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    void tick();

    QTimer timer_;
    std::deque<Step> steps_;
    int waited_ = 0;
    QString stuckAt_;
};
