#pragma once

#include <QApplication>

#include <functional>

// The application of the worker scenarios that need widgets. It can watch
// every event after its receiver has handled it, so a scenario can stop its
// clock when a paint is done rather than when it starts.
class BenchApplication : public QApplication
{
    Q_OBJECT

public:
    BenchApplication(int &argc, char **argv);
    ~BenchApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;

    // Called after each event with its receiver, which the event may have
    // destroyed (a deferred delete): compare it, never use it.
    std::function<void(const QObject *receiver, QEvent::Type type)> afterEvent;
};
