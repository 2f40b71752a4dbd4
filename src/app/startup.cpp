#include "app/startup.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void setUpTranslation(QTranslator &translator)
{
    // Without a file for the user's language the built-in English stays.
    if (translator.load(QLocale::system(), QStringLiteral("Marbletrellis"), QStringLiteral("_"),
                        QCoreApplication::applicationDirPath() + QStringLiteral("/translations")))
        QCoreApplication::installTranslator(&translator);
    QCoreApplication::setApplicationVersion(QStringLiteral(MARBLETRELLIS_VERSION));
}

void setUpApplication(QTranslator &translator)
{
    setUpTranslation(translator);
    // Names the desktop entry, by which desktops find the program's icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("marbletrellis"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("fusion")));
}

void tuneMemoryAllocator()
{
#ifdef __GLIBC__
    // Closing a large document frees millions of small strings and lists at
    // once. glibc's fast bins would set each of them aside and later merge
    // them all again, which costs more than the frees themselves; the
    // per-thread cache still serves the small allocations of everyday work.
    mallopt(M_MXFAST, 0);
#endif
}
