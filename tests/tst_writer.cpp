#include "fixture.h"

#include <QApplication>
#include <QTest>

class Testwriter : public QObject
{
    Q_OBJECT
};

MARBLETRELLIS_TEST_MAIN(Testwriter)
#include "tst_writer.moc"
