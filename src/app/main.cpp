#include "app/mainwindow.h"
#include "app/startup.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    tuneMemoryAllocator();
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(translator);

    MainWindow window;
    window.show();
    return QApplication::exec();
}
