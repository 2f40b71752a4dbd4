#include "fixture.h"

#include <QApplication>
#include <QTest>

class Testmainwindow : public QObject
{
    Q_OBJECT
};

MARBLETRELLIS_TEST_MAIN(Testmainwindow)
#include "tst_mainwindow.moc"
