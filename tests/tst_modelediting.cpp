#include "model/jsonnode.h"
#include "model/jsontreemodel.h"
#include "testhelpers.h"

#include <QAbstractItemModelTester>
#include <QTest>

#include <memory>

namespace {

// Every change signal in the order emitted, with its range, parent key and roles.
class SignalLog
{
public:
    explicit SignalLog(QAbstractItemModel &model)
    {
        const auto rows = [this](const char *name) {
            return [this, name](const QModelIndex &parent, int first, int last) {
                lines << QStringLiteral("%1 %2 %3..%4")
                                 .arg(QLatin1String(name), keyOf(parent))
                                 .arg(first)
                                 .arg(last);
            };
        };
        QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, rows("aboutToInsert"));
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, rows("inserted"));
        QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, rows("aboutToRemove"));
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, rows("removed"));
        QObject::connect(
                &model, &QAbstractItemModel::dataChanged,
                [this](const QModelIndex &from, const QModelIndex &to, const QList<int> &roles) {
                    QStringList roleNames;
                    for (int role : roles)
                        roleNames << QString::number(role);
                    lines << QStringLiteral("changed %1 (%2,%3)-(%4,%5) [%6]")
                                     .arg(keyOf(from.parent()))
                                     .arg(from.row())
                                     .arg(from.column())
                                     .arg(to.row())
                                     .arg(to.column())
                                     .arg(roleNames.join(QLatin1Char(',')));
                });
    }

    QStringList lines;

private:
    // "-" for the root, "top" for the document's top row, else the row's key.
    static QString keyOf(const QModelIndex &index)
    {
        if (!index.isValid())
            return QStringLiteral("-");
        const QString key = index.siblingAtColumn(0).data().toString();
        return key.isEmpty() ? QStringLiteral("top") : key;
    }
};

struct Fixture
{
    explicit Fixture(const QString &json) { QVERIFY(model.loadFromString(json)); }
    JsonTreeModel model;
    QAbstractItemModelTester tester {&model,
                                     QAbstractItemModelTester::FailureReportingMode::QtTest};
    SignalLog log {model};
};

// The displayed and the stored value: "1 (qlonglong)".
QString described(const QVariant &value)
{
    return value.toString() + QStringLiteral(" (") + QLatin1String(value.typeName())
            + QLatin1Char(')');
}

} // namespace

class TestModelEditing : public QObject
{
    Q_OBJECT

private slots:
    void setData_data();
    void setData();
    void numberText_data();
    void numberText();
    void unchangedNumberKeepsItsText_data();
    void unchangedNumberKeepsItsText();
    void rows_data();
    void rows();
    void appendNode_data();
    void appendNode();
    void replaceNode_data();
    void replaceNode();
    void refusals();
    void labelTypedOverElementLastsUntilArrayChanges();
    void deepSubtreeRemovedAndReplaced();
};

void TestModelEditing::setData_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<Path>("path");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<int>("type");

    const int string = int(JsonNodeType::String);
    QTest::newRow("null becomes string")
            << R"({"a":null})" << Path {0, 0} << 1 << QVariant(QStringLiteral("abc"))
            << QStringList {" = { 1 items }", "  a = abc"} << string;
    QTest::newRow("empty key") << R"({"a":1,"b":2})" << Path {0, 1} << 0 << QVariant(QString())
                               << QStringList {" = { 2 items }", "  a = 1", "   = 2"}
                               << int(JsonNodeType::Number);
    QTest::newRow("sibling's key")
            << R"({"a":1,"b":2})" << Path {0, 1} << 0 << QVariant(QStringLiteral("a"))
            << QStringList {" = { 2 items }", "  a = 1", "  a = 2"} << int(JsonNodeType::Number);
    QTest::newRow("string keeps U+0000")
            << R"(["x"])" << Path {0, 0} << 1 << QVariant(QString::fromUtf16(u"a\0b", 3))
            << QStringList {" = [ 1 items ]", QString::fromUtf16(u"  [0] = a\0b", 11)} << string;
    QTest::newRow("boolean") << "[true]" << Path {0, 0} << 1 << QVariant(false)
                             << QStringList {" = [ 1 items ]", "  [0] = false"}
                             << int(JsonNodeType::Boolean);
    QTest::newRow("object keeps type and children")
            << R"({"o":{"k":1}})" << Path {0, 0} << 1 << QVariant(QStringLiteral("x"))
            << QStringList {" = { 1 items }", "  o = { 1 items }", "    k = 1"}
            << int(JsonNodeType::Object);
}

void TestModelEditing::setData()
{
    QFETCH(QString, json);
    QFETCH(Path, path);
    QFETCH(int, column);
    QFETCH(QVariant, value);
    QFETCH(QStringList, tree);
    QFETCH(int, type);

    Fixture f(json);
    const QModelIndex index = indexAt(f.model, path, column);
    QVERIFY(f.model.setData(index, value, Qt::EditRole));
    QCOMPARE(dumpTree(f.model), tree);
    QCOMPARE(int(nodeOf(index)->type()), type);
    QCOMPARE(f.log.lines.size(), 1);
    QCOMPARE(f.log.lines.first().section(QLatin1Char(' '), 2),
             QStringLiteral("(%1,%2)-(%1,%2) [0,2]").arg(path.last()).arg(column));
}

void TestModelEditing::numberText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored"); // empty: refused

    QTest::newRow("integer") << "43"
                             << "43 (qlonglong)";
    QTest::newRow("negative integer") << "-7"
                                      << "-7 (qlonglong)";
    QTest::newRow("beyond doubles' precision") << "9007199254740993"
                                               << "9007199254740993 (qlonglong)";
    QTest::newRow("signed minimum") << "-9223372036854775808"
                                    << "-9223372036854775808 (qlonglong)";
    QTest::newRow("above signed range") << "18446744073709551615"
                                        << "18446744073709551615 (qulonglong)";
    QTest::newRow("above unsigned range") << "18446744073709551616"
                                          << "18446744073709552000 (double)";
    QTest::newRow("fraction") << "0.125"
                              << "0.125 (double)";
    QTest::newRow("many digits") << "0.1234567890123456"
                                 << "0.1234567890123456 (double)";
    QTest::newRow("exponent") << "1e3"
                              << "1000 (double)";
    QTest::newRow("no number") << "abc"
                               << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("infinity") << "inf"
                              << "";
    QTest::newRow("not a number") << "nan"
                                  << "";
    QTest::newRow("overflowing double") << "1e400"
                                        << "";
    QTest::newRow("hexadecimal") << "0x10"
                                 << "";
}

void TestModelEditing::numberText()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);

    Fixture f(QStringLiteral("[2.5]"));
    const QModelIndex index = indexAt(f.model, {0, 0}, 1);
    QCOMPARE(f.model.setData(index, text, Qt::EditRole), !stored.isEmpty());
    QCOMPARE(described(index.data(Qt::EditRole)),
             stored.isEmpty() ? QStringLiteral("2.5 (double)") : stored);
    QCOMPARE(f.log.lines.size(), stored.isEmpty() ? 0 : 1);
    QCOMPARE(nodeOf(index)->type(), JsonNodeType::Number);
}

void TestModelEditing::unchangedNumberKeepsItsText_data()
{
    QTest::addColumn<QString>("json");

    QTest::newRow("1.0") << "[1.0]";
    QTest::newRow("-0.0") << "[-0.0]";
    QTest::newRow("1e300") << "[1e300]";
    QTest::newRow("1e19") << "[1e19]";
    QTest::newRow("18446744073709551615") << "[18446744073709551615]";
}

void TestModelEditing::unchangedNumberKeepsItsText()
{
    QFETCH(QString, json);
    Fixture f(json);
    f.model.setPrettyPrint(false);
    const QString saved = f.model.toJsonString();
    const QModelIndex index = indexAt(f.model, {0, 0}, 1);
    QVERIFY(f.model.setData(index, index.data(Qt::EditRole).toString(), Qt::EditRole));
    QCOMPARE(f.model.toJsonString(), saved);
    QCOMPARE(f.log.lines.size(), 1); // still announced: no comparison with the old content
}

void TestModelEditing::rows_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<bool>("insert");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("emitted");

    QTest::newRow("insert two into object")
            << R"({"a":1})" << true << 0 << 2
            << QStringList {" = { 3 items }", "  new = null", "  new = null", "  a = 1"}
            << QStringList {"aboutToInsert top 0..1", "inserted top 0..1"};
    QTest::newRow("insert into array relabels")
            << "[1,2]" << true << 1 << 1
            << QStringList {" = [ 3 items ]", "  [0] = 1", "  [1] = null", "  [2] = 2"}
            << QStringList {"aboutToInsert top 1..1", "inserted top 1..1",
                            "changed top (0,0)-(2,1) []"};
    QTest::newRow("remove middle element")
            << "[10,20,30,40]" << false << 1 << 1
            << QStringList {" = [ 3 items ]", "  [0] = 10", "  [1] = 30", "  [2] = 40"}
            << QStringList {"aboutToRemove top 1..1", "removed top 1..1",
                            "changed top (0,0)-(2,1) []"};
    QTest::newRow("remove first element")
            << "[1,2,3]" << false << 0 << 1
            << QStringList {" = [ 2 items ]", "  [0] = 2", "  [1] = 3"}
            << QStringList {"aboutToRemove top 0..0", "removed top 0..0",
                            "changed top (0,0)-(1,1) []"};
    QTest::newRow("remove only element")
            << "[1]" << false << 0 << 1 << QStringList {" = [ 0 items ]"}
            << QStringList {"aboutToRemove top 0..0", "removed top 0..0"};
    QTest::newRow("remove members") << R"({"a":1,"b":2,"c":3})" << false << 0 << 2
                                    << QStringList {" = { 1 items }", "  c = 3"}
                                    << QStringList {"aboutToRemove top 0..1", "removed top 0..1"};
}

void TestModelEditing::rows()
{
    QFETCH(QString, json);
    QFETCH(bool, insert);
    QFETCH(int, row);
    QFETCH(int, count);
    QFETCH(QStringList, tree);
    QFETCH(QStringList, emitted);

    Fixture f(json);
    const QModelIndex top = f.model.index(0, 0);
    QVERIFY(insert ? f.model.insertRows(row, count, top) : f.model.removeRows(row, count, top));
    QCOMPARE(dumpTree(f.model), tree);
    QCOMPARE(f.log.lines, emitted);
}

void TestModelEditing::appendNode_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("column"); // the cell of the container the caller holds
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("emitted");

    QTest::newRow("array: key becomes position label")
            << "[1,2,3]" << 0
            << QStringList {" = [ 4 items ]", "  [0] = 1", "  [1] = 2", "  [2] = 3", "  [3] = x"}
            << QStringList {"aboutToInsert top 3..3", "inserted top 3..3",
                            "changed top (0,0)-(3,1) []"};
    QTest::newRow("object through its value cell")
            << R"({"k":1})" << 1 << QStringList {" = { 2 items }", "  k = 1", "  k = x"}
            << QStringList {"aboutToInsert top 1..1", "inserted top 1..1"};
}

void TestModelEditing::appendNode()
{
    QFETCH(QString, json);
    QFETCH(int, column);
    QFETCH(QStringList, tree);
    QFETCH(QStringList, emitted);

    Fixture f(json);
    QVERIFY(f.model.appendNode(
            f.model.index(0, column),
            new JsonNode(QStringLiteral("k"), QStringLiteral("x"), JsonNodeType::String)));
    QCOMPARE(dumpTree(f.model), tree);
    QCOMPARE(f.log.lines, emitted);
    const QModelIndex added
            = f.model.index(f.model.rowCount(f.model.index(0, 0)) - 1, 0, f.model.index(0, 0));
    QCOMPARE(nodeOf(added)->parent(), nodeOf(f.model.index(0, 0)));
}

void TestModelEditing::replaceNode_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<Path>("path");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("emitted");

    QTest::newRow("object member by a string")
            << R"({"a":1,"o":{"x":1,"y":2},"z":3})" << Path {0, 1} << 0 << R"("s")"
            << QStringList {" = { 3 items }", "  a = 1", "  o = s", "  z = 3"}
            << QStringList {"aboutToRemove o 0..1", "removed o 0..1",
                            "changed top (1,0)-(1,0) [0,2]"};
    // Rows hang under the Key cell, whichever cell the caller holds.
    QTest::newRow("from the Value cell")
            << R"({"o":{"x":1}})" << Path {0, 0} << 1 << "[2,3]"
            << QStringList {" = { 1 items }", "  o = [ 2 items ]", "    [0] = 2", "    [1] = 3"}
            << QStringList {"aboutToRemove o 0..0", "removed o 0..0", "aboutToInsert o 0..1",
                            "inserted o 0..1", "changed top (0,1)-(0,1) [0,2]"};
    QTest::newRow("scalar by an array") << R"({"a":1})" << Path {0, 0} << 0 << "[true,null]"
                                        << QStringList {" = { 1 items }", "  a = [ 2 items ]",
                                                        "    [0] = true", "    [1] = null"}
                                        << QStringList {"aboutToInsert a 0..1", "inserted a 0..1",
                                                        "changed top (0,0)-(0,0) [0,2]"};
    QTest::newRow("array element relabelled")
            << "[1,[2,3]]" << Path {0, 1} << 0 << "{}"
            << QStringList {" = [ 2 items ]", "  [0] = 1", "  [1] = { 0 items }"}
            << QStringList {"aboutToRemove [1] 0..1", "removed [1] 0..1",
                            "changed top (1,0)-(1,0) [0,2]", "changed top (0,0)-(1,1) []"};
}

void TestModelEditing::replaceNode()
{
    QFETCH(QString, json);
    QFETCH(Path, path);
    QFETCH(int, column);
    QFETCH(QString, replacement);
    QFETCH(QStringList, tree);
    QFETCH(QStringList, emitted);

    Fixture f(json);
    JsonTreeModel source;
    QVERIFY(source.loadFromString(replacement));
    JsonNode *node = nodeOf(source.index(0, 0))->clone();
    node->setKey(indexAt(f.model, path).data().toString());

    const QPersistentModelIndex index = indexAt(f.model, path, column);
    QVERIFY(f.model.replaceNode(index, node));
    QCOMPARE(dumpTree(f.model), tree);
    QCOMPARE(f.log.lines, emitted);
    QCOMPARE(index.row(), path.last()); // same place, same node
    const QModelIndex rows = QModelIndex(index).siblingAtColumn(0);
    for (int row = 0; row < f.model.rowCount(rows); ++row)
        QCOMPARE(nodeOf(f.model.index(row, 0, rows))->parent(), nodeOf(index));
}

void TestModelEditing::refusals()
{
    Fixture f(QStringLiteral(R"({"a":1,"b":2,"c":3})"));
    const QModelIndex top = f.model.index(0, 0);
    QVERIFY(!f.model.setData({}, QStringLiteral("x"), Qt::EditRole));
    QVERIFY(!f.model.setData(indexAt(f.model, {0, 0}), QStringLiteral("x"), Qt::DisplayRole));
    QVERIFY(!f.model.insertRows(-1, 1, top));
    QVERIFY(!f.model.insertRows(4, 1, top));
    QVERIFY(!f.model.insertRows(0, 0, top));
    QVERIFY(!f.model.removeRows(1, 5, top));
    QVERIFY(!f.model.removeRows(-1, 1, top));
    QVERIFY(!f.model.removeRows(0, 0, top));
    auto node = std::make_unique<JsonNode>(QString(), QVariant(), JsonNodeType::Null);
    QVERIFY(!f.model.replaceNode({}, node.get()));
    QVERIFY(!f.model.replaceNode(top, nullptr));
    QVERIFY(f.log.lines.isEmpty());
    QCOMPARE(dumpTree(f.model), (QStringList {" = { 3 items }", "  a = 1", "  b = 2", "  c = 3"}));
}

void TestModelEditing::labelTypedOverElementLastsUntilArrayChanges()
{
    Fixture f(QStringLiteral("[1,2]"));
    QVERIFY(f.model.setData(indexAt(f.model, {0, 1}), QStringLiteral("mine"), Qt::EditRole));
    QCOMPARE(dumpTree(f.model), (QStringList {" = [ 2 items ]", "  [0] = 1", "  mine = 2"}));
    QVERIFY(f.model.appendNode(f.model.index(0, 0),
                               new JsonNode(QString(), QVariant(), JsonNodeType::Null)));
    QCOMPARE(dumpTree(f.model),
             (QStringList {" = [ 3 items ]", "  [0] = 1", "  [1] = 2", "  [2] = null"}));
}

void TestModelEditing::deepSubtreeRemovedAndReplaced()
{
    Fixture f(QString::fromLatin1("[0," + nestedArrays(9998) + "]"));
    QVERIFY(f.model.appendNode(f.model.index(0, 0), nodeOf(indexAt(f.model, {0, 1}))->clone()));
    QVERIFY(f.model.removeRows(1, 1, f.model.index(0, 0)));
    QVERIFY(f.model.replaceNode(indexAt(f.model, {0, 0}),
                                nodeOf(indexAt(f.model, {0, 1}))->clone()));
    f.model.setPrettyPrint(false);
    const QString deep = QString::fromLatin1(nestedArrays(9998));
    QCOMPARE(f.model.toJsonString(),
             QLatin1Char('[') + deep + QLatin1Char(',') + deep + QLatin1Char(']'));
}

QTEST_GUILESS_MAIN(TestModelEditing)
#include "tst_modelediting.moc"
