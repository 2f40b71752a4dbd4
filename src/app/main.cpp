#include "app/mainwindow.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QTranslator translator;
    if (translator.load(QLocale::system(), QStringLiteral("Marbletrellis"), QStringLiteral("_"),
                        QApplication::applicationDirPath() + QStringLiteral("/translations")))
        QApplication::installTranslator(&translator);

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("fusion")));

    MainWindow window;
    window.show();
    return QApplication::exec();
}
