#include "app/startup.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

void setUpApplication(QTranslator &translator)
{
    // Without a file for the user's language the built-in English stays.
    if (translator.load(QLocale::system(), QStringLiteral("Marbletrellis"), QStringLiteral("_"),
                        QApplication::applicationDirPath() + QStringLiteral("/translations")))
        QApplication::installTranslator(&translator);

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("fusion")));
}
