#include "benchapplication.h"

BenchApplication::BenchApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

BenchApplication::~BenchApplication() = default;

bool BenchApplication::notify(QObject *receiver, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool handled = QApplication::notify(receiver, event);
    if (afterEvent)
        afterEvent(receiver, type);
    return handled;
}
