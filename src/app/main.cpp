#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/startup.h"

#include <QApplication>
#include <QTimer>
#include <QTranslator>

int main(int argc, char *argv[])
{
    tuneMemoryAllocator();
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(translator);
    const QString file = CommandLine::fileToOpen(QApplication::arguments());

    MainWindow window;
    window.show();
    // Opened from the event loop, so that the window is on screen under the
    // wait cursor of a long load or under an error box.
    if (!file.isEmpty())
        QTimer::singleShot(0, &window, [&window, file] { window.openFile(file); });
    return QApplication::exec();
}
