#include "fixture.h"

#include "io/jsonreader.h"
#include "model/jsonnode.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <utility>

namespace {

// The key of the row a signal names as parent: "-" for the invisible root,
// "top" for the top-level value.
QString keyOf(const QModelIndex &index)
{
    if (!index.isValid())
        return QStringLiteral("-");
    return index.data().toString().isEmpty() ? QStringLiteral("top") : index.data().toString();
}

// What the model announced, as "inserted <parent> 0..1" or
// "changed <parent> (row,column)-(row,column)".
struct Announcements
{
    explicit Announcements(QAbstractItemModel *model)
        : inserted(model, &QAbstractItemModel::rowsInserted)
        , removed(model, &QAbstractItemModel::rowsRemoved)
        , changed(model, &QAbstractItemModel::dataChanged)
    {
    }
    QStringList lines() const
    {
        QStringList lines;
        for (const QSignalSpy *spy : {&removed, &inserted}) {
            for (const QVariantList &a : *spy)
                lines << QStringLiteral("%1 %2 %3..%4")
                                 .arg(spy == &removed ? "removed" : "inserted",
                                      keyOf(a[0].toModelIndex()))
                                 .arg(a[1].toInt())
                                 .arg(a[2].toInt());
        }
        for (const QVariantList &a : changed) {
            const QModelIndex from = a[0].toModelIndex(), to = a[1].toModelIndex();
            lines << QStringLiteral("changed %1 (%2,%3)-(%4,%5)")
                             .arg(keyOf(from.parent()))
                             .arg(from.row())
                             .arg(from.column())
                             .arg(to.row())
                             .arg(to.column());
        }
        return lines;
    }
    QSignalSpy inserted, removed, changed;
};

} // namespace

class Testmodel : public QObject
{
    Q_OBJECT

private slots:
    void presentation_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QStringList>("tree");
        QTest::newRow("kinds") << R"({"l":[{"k":true},[],false],"o":{},"n":null,"s":"a é"})" << 1024
                               << QStringList {" = { 4 items }",
                                               "  l = [ 3 items ]",
                                               "    [0] = { 1 items }",
                                               "      k = true",
                                               "    [1] = [ 0 items ]",
                                               "    [2] = false",
                                               "  o = { 0 items }",
                                               "  n = null",
                                               "  s = a é"};
        QTest::newRow("numbers") << "[2.50,1e2,-5,0.1,9007199254740993,-9223372036854775808,"
                                    "18446744073709551615,1e300]"
                                 << 1024
                                 << QStringList {" = [ 8 items ]",
                                                 "  [0] = 2.5",
                                                 "  [1] = 100",
                                                 "  [2] = -5",
                                                 "  [3] = 0.1",
                                                 "  [4] = 9007199254740993",
                                                 "  [5] = -9223372036854775808",
                                                 "  [6] = 18446744073709551615",
                                                 "  [7] = 1e+300"};
        QTest::newRow("scalar") << R"("text")" << 1024 << QStringList {" = text"};
        QTest::newRow("at the limit")
                << R"(["abcde"])" << 5 << QStringList {" = [ 1 items ]", "  [0] = abcde"};
        QTest::newRow("over the limit")
                << R"({"abcdef":"abcdef"})" << 5
                << QStringList {" = { 1 items }", "  abcdef = abcde... (6 chars total)"};
        QTest::newRow("number cut")
                << "[12345]" << 2
                << QStringList {" = [ 1 items ]", "  [0] = 12... (5 chars total)"};
        QTest::newRow("no limit") << R"(["abcdef"])" << 0
                                  << QStringList {" = [ 1 items ]", "  [0] = abcdef"};
        QTest::newRow("negative: no limit")
                << R"(["abcdef"])" << -1 << QStringList {" = [ 1 items ]", "  [0] = abcdef"};
        QTest::newRow("counts and null never cut")
                << "[null,[],{}]" << 1
                << QStringList {" = [ 3 items ]", "  [0] = null", "  [1] = [ 0 items ]",
                                "  [2] = { 0 items }"};
    }

    void presentation()
    {
        QFETCH(QString, json);
        QFETCH(int, maxLength);
        QFETCH(QStringList, tree);
        ModelFixture f;
        QVERIFY(f.model.loadFromString(json));
        f.model.setMaxTextLength(maxLength);
        QCOMPARE(dumpTree(f.model), tree);
    }

    void frame()
    {
        ModelFixture f(QStringLiteral(R"({"a":[7]})"));
        QCOMPARE(f.model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Key"));
        QCOMPARE(f.model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Value"));
        QVERIFY(!f.model.headerData(2, Qt::Horizontal).isValid());
        QVERIFY(!f.model.headerData(0, Qt::Vertical).isValid());
        QVERIFY(!f.model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
        QCOMPARE(f.model.flags(f.at({0, 0}, 1)),
                 Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
        QCOMPARE(f.model.flags({}), Qt::NoItemFlags);
        QCOMPARE(f.model.parent(f.at({0}, 1)), QModelIndex());
        QCOMPARE(f.model.parent(f.at({0, 0, 0}, 1)), f.at({0, 0}));
        QCOMPARE(f.model.rowCount(), 1);
        QVERIFY(!f.model.index(1, 0).isValid());
        QCOMPARE(f.model.rowCount(f.at({0, 0}, 1)), 0);
        QCOMPARE(f.model.indexForNode(nodeOf(f.at({0}))->parent()), QModelIndex());
        QCOMPARE(f.at({0, 0, 0}, 1).data(Qt::EditRole), QVariant::fromValue(qint64(7)));
        QVERIFY(!f.at({0, 0, 0}, 1).data(Qt::ToolTipRole).isValid());

        // Refused: nothing changes, nothing is announced.
        Announcements announced(&f.model);
        QVERIFY(!f.model.setData({}, QStringLiteral("x")));
        QVERIFY(!f.model.setData(f.at({0, 0}), QStringLiteral("x"), Qt::DisplayRole));
        auto node = std::make_unique<JsonNode>(QString(), QVariant(), JsonNodeType::Null);
        QVERIFY(!f.model.replaceNode({}, node.get()));
        QVERIFY(!f.model.replaceNode(f.at({0, 0}), nullptr));
        QVERIFY(!f.model.setDocument(nullptr));
        QCOMPARE(f.compact(), QStringLiteral(R"({"a":[7]})"));
        QCOMPARE(announced.lines(), QStringList());

        // The length limit applies to the Value column of every row.
        f.model.setMaxTextLength(3);
        QCOMPARE(announced.lines(), QStringList({"changed - (0,1)-(0,1)"}));
        QCOMPARE(announced.changed.at(0).at(2).value<QList<int>>(), QList<int>({Qt::DisplayRole}));
    }

    void setData_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("result"); // empty: refused, nothing changed

        QTest::newRow("key") << R"({"a":1})" << 0 << QVariant("b") << R"({"b":1})";
        QTest::newRow("string") << R"(["x"])" << 1 << QVariant("y") << R"(["y"])";
        QTest::newRow("boolean") << "[true]" << 1 << QVariant(false) << "[false]";
        QTest::newRow("null takes text") << "[null]" << 1 << QVariant("n") << R"(["n"])";
        QTest::newRow("container keeps its items")
                << R"({"o":{"k":1}})" << 1 << QVariant("x") << R"({"o":{"k":1}})";
        // Numbers are edited as text.
        const auto number = [](const char *name, const char *text, const char *result) {
            QTest::newRow(name) << "[2.5]" << 1 << QVariant(text)
                                << (*result ? '[' + QString::fromLatin1(result) + ']' : QString());
        };
        number("integer", "43", "43");
        number("smallest integer", "-9223372036854775808", "-9223372036854775808");
        number("above signed range", "9223372036854775808", "9223372036854775808");
        number("largest unsigned", "18446744073709551615", "18446744073709551615");
        number("above unsigned range", "18446744073709551616", "18446744073709552000.0");
        number("fraction", "0.1234567890123456", "0.1234567890123456");
        number("exponent", "1e3", "1000.0");
        number("no number", "abc", "");
        number("empty", "", "");
        number("infinite", "inf", "");
        number("not a number", "nan", "");
        number("overflow", "1e400", "");
        number("hexadecimal", "0x10", "");
        number("same text", "2.5", "2.5");
        QTest::newRow("same text keeps the value") << "[1.0]" << 1 << QVariant("1") << "[1.0]";
    }

    void setData()
    {
        QFETCH(QString, json);
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(QString, result);
        ModelFixture f(json);
        Announcements announced(&f.model);
        QCOMPARE(f.model.setData(f.at({0, 0}, column), value), !result.isEmpty());
        QCOMPARE(f.compact(), result.isEmpty() ? json : result);
        QCOMPARE(announced.lines(),
                 result.isEmpty()
                         ? QStringList()
                         : QStringList {QStringLiteral("changed top (0,%1)-(0,%1)").arg(column)});
    }

    void rows_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<QString>("operation"); // on the rows of the top-level value
        QTest::addColumn<QStringList>("tree"); // empty: refused, nothing changed
        QTest::addColumn<QStringList>("announced");

        QTest::newRow("insert into object")
                << R"({"a":1})"
                << "insert 0 2"
                << QStringList {" = { 3 items }", "  new = null", "  new = null", "  a = 1"}
                << QStringList {"inserted top 0..1"};
        QTest::newRow("insert into array")
                << "[1,2]"
                << "insert 1 1"
                << QStringList {" = [ 3 items ]", "  [0] = 1", "  [1] = null", "  [2] = 2"}
                << QStringList {"inserted top 1..1", "changed top (0,0)-(2,1)"};
        QTest::newRow("insert at the end")
                << "[1]"
                << "insert 1 1" << QStringList {" = [ 2 items ]", "  [0] = 1", "  [1] = null"}
                << QStringList {"inserted top 1..1", "changed top (0,0)-(1,1)"};
        for (const char *refused :
             {"insert 2 1", "insert -1 1", "insert 0 0", "remove 0 2", "remove -1 1", "remove 0 0"})
            QTest::newRow(refused) << "[1]" << refused << QStringList() << QStringList();
        QTest::newRow("remove middle")
                << "[1,2,3]"
                << "remove 1 1" << QStringList {" = [ 2 items ]", "  [0] = 1", "  [1] = 3"}
                << QStringList {"removed top 1..1", "changed top (0,0)-(1,1)"};
        QTest::newRow("remove to the end")
                << "[1,2,3]"
                << "remove 1 2" << QStringList {" = [ 1 items ]", "  [0] = 1"}
                << QStringList {"removed top 1..2", "changed top (0,0)-(0,1)"};
        QTest::newRow("remove all") << "[1,2]"
                                    << "remove 0 2" << QStringList {" = [ 0 items ]"}
                                    << QStringList {"removed top 0..1"};
        QTest::newRow("remove members") << R"({"a":1,"b":2,"c":3})"
                                        << "remove 0 2" << QStringList {" = { 1 items }", "  c = 3"}
                                        << QStringList {"removed top 0..1"};
        QTest::newRow("append to array")
                << "[1]"
                << "append 0" << QStringList {" = [ 2 items ]", "  [0] = 1", "  [1] = x"}
                << QStringList {"inserted top 1..1", "changed top (0,0)-(1,1)"};
        QTest::newRow("append through the Value cell")
                << R"({"k":1})"
                << "append 1" << QStringList {" = { 2 items }", "  k = 1", "  r = x"}
                << QStringList {"inserted top 1..1"};
        QTest::newRow("replace member")
                << R"({"a":1,"o":{"x":1,"y":2},"z":3})"
                << R"(replace 1 0 "s")"
                << QStringList {" = { 3 items }", "  a = 1", "  r = s", "  z = 3"}
                << QStringList {"removed r 0..1", "changed top (1,0)-(1,0)"};
        QTest::newRow("replace through the Value cell")
                << R"({"o":{"x":1}})"
                << "replace 0 1 [2,3]"
                << QStringList {" = { 1 items }", "  r = [ 2 items ]", "    [0] = 2", "    [1] = 3"}
                << QStringList {"removed r 0..0", "inserted r 0..1", "changed top (0,1)-(0,1)"};
        QTest::newRow("replace element")
                << "[1,[2,3]]"
                << "replace 1 0 {}"
                << QStringList {" = [ 2 items ]", "  [0] = 1", "  [1] = { 0 items }"}
                << QStringList {"removed [1] 0..1", "changed top (1,0)-(1,0)",
                                "changed top (0,0)-(1,1)"};
    }

    void rows()
    {
        QFETCH(QString, json);
        QFETCH(QString, operation);
        QFETCH(QStringList, tree);
        QFETCH(QStringList, announced);
        ModelFixture f(json);
        const QStringList before = dumpTree(f.model);
        const QStringList op = operation.split(' ');
        const int a = op.value(1).toInt(), b = op.value(2).toInt();
        QString error;
        JsonNode *node = op[0] == "replace" ? JsonReader::parse(op.value(3).toUtf8(), &error)
                                            : new JsonNode("r", "x", JsonNodeType::String);
        node->setKey(QStringLiteral("r"));
        JsonNode *replaced = nodeOf(f.at({0, a}));
        Announcements spies(&f.model);
        bool done = false;
        if (op[0] == "insert")
            done = f.model.insertRows(a, b, f.at({0}));
        else if (op[0] == "remove")
            done = f.model.removeRows(a, b, f.at({0}));
        else if (op[0] == "append")
            done = f.model.appendNode(f.at({0}, a), std::exchange(node, nullptr));
        else if ((done = f.model.replaceNode(f.at({0, a}, b), node)))
            node = nullptr;
        delete node;
        QCOMPARE(done, !tree.isEmpty());
        QCOMPARE(dumpTree(f.model), tree.isEmpty() ? before : tree);
        QCOMPARE(spies.lines(), announced);
        if (op[0] == "replace") // in place: the same node in the same row
            QCOMPARE(nodeOf(f.at({0, a})), replaced);
    }
};

MARBLETRELLIS_TEST_MAIN(Testmodel)
#include "tst_model.moc"
