#include "fixture.h"

#include <QApplication>
#include <QTest>

class Testsearch : public QObject
{
    Q_OBJECT
};

MARBLETRELLIS_TEST_MAIN(Testsearch)
#include "tst_search.moc"
