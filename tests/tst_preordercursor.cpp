#include "model/jsontreemodel.h"
#include "model/preordercursor.h"
#include "testhelpers.h"

#include <QTest>

namespace {

// The rows below `parent` in document order, by plain recursion: the order
// the cursor must reproduce without it.
void collect(const QAbstractItemModel &model, const QModelIndex &parent, QModelIndexList &rows)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        rows << index;
        collect(model, index, rows);
    }
}

} // namespace

class TestPreorderCursor : public QObject
{
    Q_OBJECT

private slots:
    void walksInDocumentOrder_data();
    void walksInDocumentOrder();
    void deepDocument();
};

void TestPreorderCursor::walksInDocumentOrder_data()
{
    QTest::addColumn<QString>("json");
    QTest::newRow("no document") << QString();
    QTest::newRow("scalar") << "1";
    QTest::newRow("empty containers") << "[[],{},[[]]]";
    QTest::newRow("nested") << R"({"a":1,"b":{"a":2,"c":[3,[4,5],{}]},"d":[6]})";
}

void TestPreorderCursor::walksInDocumentOrder()
{
    QFETCH(QString, json);
    JsonTreeModel model;
    if (!json.isEmpty())
        QVERIFY(model.loadFromString(json));
    QModelIndexList expected;
    collect(model, {}, expected);

    PreorderCursor cursor(&model);
    QModelIndexList forward;
    for (cursor.moveToFirst(); cursor.isValid(); cursor.next())
        forward << cursor.index();
    QCOMPARE(forward, expected);

    QModelIndexList backward;
    for (cursor.moveToLast(); cursor.isValid(); cursor.previous())
        backward.prepend(cursor.index());
    QCOMPARE(backward, expected);

    // From any row, in either column: its neighbours, and its Value cell.
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QModelIndex row = expected.at(i);
        cursor.moveTo(row.siblingAtColumn(i % 2));
        QCOMPARE(cursor.index(), row);
        QCOMPARE(cursor.index(1), row.siblingAtColumn(1));
        cursor.next();
        QCOMPARE(cursor.index(), expected.value(i + 1));
        cursor.moveTo(row);
        cursor.previous();
        QCOMPARE(cursor.index(), expected.value(i - 1));
    }
    cursor.moveTo({});
    QVERIFY(!cursor.isValid());
    QCOMPARE(cursor.index(1), QModelIndex());
}

void TestPreorderCursor::deepDocument()
{
    JsonTreeModel model;
    QVERIFY(model.loadFromString(QString::fromLatin1(nestedArrays(10000))));
    PreorderCursor cursor(&model);
    cursor.moveToLast();
    QCOMPARE(cursor.index(1).data().toString(), QStringLiteral("1"));
    int rows = 0;
    for (; cursor.isValid(); cursor.previous())
        ++rows;
    QCOMPARE(rows, 10001);
    for (cursor.moveToFirst(); cursor.isValid(); cursor.next())
        --rows;
    QCOMPARE(rows, 0);
}

QTEST_GUILESS_MAIN(TestPreorderCursor)
#include "tst_preordercursor.moc"
