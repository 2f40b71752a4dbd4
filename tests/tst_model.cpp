#include "fixture.h"

#include <QApplication>
#include <QTest>

class Testmodel : public QObject
{
    Q_OBJECT
};

MARBLETRELLIS_TEST_MAIN(Testmodel)
#include "tst_model.moc"
