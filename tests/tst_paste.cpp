#include "fixture.h"

#include <QApplication>
#include <QTest>

class Testpaste : public QObject
{
    Q_OBJECT
};

MARBLETRELLIS_TEST_MAIN(Testpaste)
#include "tst_paste.moc"
