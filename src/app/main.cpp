#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/startup.h"

#include <QApplication>
#include <QTimer>
#include <QTranslator>

int main(int argc, char *argv[])
{
    tuneMemoryAllocator();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (CommandLine::onlyPrints(arguments)) {
        // Printed without a window system: over SSH or in a container too.
        QCoreApplication app(argc, argv);
        QTranslator translator;
        setUpTranslation(translator);
        CommandLine::fileToOpen(QCoreApplication::arguments());
        return 0;
    }
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
