#pragma once

#include <QApplication>

#include <functional>

// The application of the scenarios that need widgets. It can watch every
// event after its receiver has handled it, so a scenario can stop its clock
// when a paint is done rather than when it starts.
class BenchApplication : public QApplication
{
    Q_OBJECT

public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        const bool handled = QApplication::notify(receiver, event);
        if (afterEvent)
            afterEvent(receiver, type);
        return handled;
    }

    // Called after each event with its receiver, which the event may have
    // destroyed (a deferred delete): compare it, never use it.
    std::function<void(const QObject *receiver, QEvent::Type type)> afterEvent;
};
