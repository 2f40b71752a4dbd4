#include "fixture.h"

#include <QApplication>
#include <QTest>

class Testnodetree : public QObject
{
    Q_OBJECT
};

MARBLETRELLIS_TEST_MAIN(Testnodetree)
#include "tst_nodetree.moc"
