#include "fixture.h"

#include <QApplication>
#include <QTest>

class Testreader : public QObject
{
    Q_OBJECT
};

MARBLETRELLIS_TEST_MAIN(Testreader)
#include "tst_reader.moc"
