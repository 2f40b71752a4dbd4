#include "model/jsonnode.h"

#include <QTest>

class TestJsonNode : public QObject
{
    Q_OBJECT
private slots:
    void placeholder() { QVERIFY(true); }
};

QTEST_GUILESS_MAIN(TestJsonNode)
#include "tst_jsonnode.moc"
