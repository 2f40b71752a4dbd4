#include "model/jsonnode.h"
#include "model/jsontreemodel.h"
#include "testhelpers.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class TestJsonTreeModel : public QObject
{
    Q_OBJECT

private slots:
    void shownTree_data();
    void shownTree();
    void nodeKinds_data();
    void nodeKinds();
    void buildFromNothingIsNull();
    void truncation_data();
    void truncation();
    void indexContract();
    void maxTextLengthAnnouncesTopLevelValues();
    void loadIsOneReset();
};

void TestJsonTreeModel::shownTree_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QStringList>("tree");

    QTest::newRow("empty object") << "{}" << QStringList {" = { 0 items }"};
    QTest::newRow("array") << "[1,2]" << QStringList {" = [ 2 items ]", "  [0] = 1", "  [1] = 2"};
    QTest::newRow("null member") << R"({"a":null})" << QStringList {" = { 1 items }", "  a = null"};
    QTest::newRow("duplicate keys kept in order")
            << R"({"a":1,"a":2})" << QStringList {" = { 2 items }", "  a = 1", "  a = 2"};
    QTest::newRow("empty member name") << R"({"":"x"})" << QStringList {" = { 1 items }", "   = x"};
    QTest::newRow("nested") << R"({"list":[{"k":true},[]],"o":{}})"
                            << QStringList {" = { 2 items }",        "  list = [ 2 items ]",
                                            "    [0] = { 1 items }", "      k = true",
                                            "    [1] = [ 0 items ]", "  o = { 0 items }"};
    QTest::newRow("scalar string") << R"("text")" << QStringList {" = text"};
    QTest::newRow("scalar number") << "42" << QStringList {" = 42"};
    QTest::newRow("scalar false") << "false" << QStringList {" = false"};
    QTest::newRow("scalar null") << "null" << QStringList {" = null"};
    QTest::newRow("strings unquoted, unescaped")
            << R"(["a\"b\\c\n", "é/ü", "😀"])"
            << QStringList {" = [ 3 items ]", "  [0] = a\"b\\c\n", "  [1] = é/ü", "  [2] = 😀"};
    QTest::newRow("numbers")
            << "[1.0, 2.50, 1e2, -5, 0.1, 1e300, 9007199254740993, -9223372036854775808,"
               " 18446744073709551615, 100000000000000000000]"
            << QStringList {" = [ 10 items ]",
                            "  [0] = 1",
                            "  [1] = 2.5",
                            "  [2] = 100",
                            "  [3] = -5",
                            "  [4] = 0.1",
                            "  [5] = 1e+300",
                            "  [6] = 9007199254740993",
                            "  [7] = -9223372036854775808",
                            "  [8] = 18446744073709551615",
                            "  [9] = 1e+20"};
}

void TestJsonTreeModel::shownTree()
{
    QFETCH(QString, json);
    QFETCH(QStringList, tree);
    JsonTreeModel model;
    QAbstractItemModelTester tester(&model);
    QVERIFY(model.loadFromString(json));
    QCOMPARE(dumpTree(model), tree);
}

void TestJsonTreeModel::nodeKinds_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<JsonNodeType>("type");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("object") << "{}" << JsonNodeType::Object << QVariant();
    QTest::newRow("array") << "[]" << JsonNodeType::Array << QVariant();
    QTest::newRow("string") << R"("s")" << JsonNodeType::String << QVariant(QStringLiteral("s"));
    QTest::newRow("integer") << "-5" << JsonNodeType::Number << QVariant::fromValue(qint64(-5));
    QTest::newRow("integer above 2^53") << "9007199254740993" << JsonNodeType::Number
                                        << QVariant::fromValue(qint64(9007199254740993LL));
    QTest::newRow("largest signed") << "9223372036854775807" << JsonNodeType::Number
                                    << QVariant::fromValue(std::numeric_limits<qint64>::max());
    QTest::newRow("smallest unsigned above signed")
            << "9223372036854775808" << JsonNodeType::Number
            << QVariant::fromValue(quint64(9223372036854775808ULL));
    QTest::newRow("largest unsigned") << "18446744073709551615" << JsonNodeType::Number
                                      << QVariant::fromValue(std::numeric_limits<quint64>::max());
    QTest::newRow("beyond 64 bits is a double")
            << "100000000000000000000" << JsonNodeType::Number << QVariant(1e20);
    QTest::newRow("fraction is a double") << "1.0" << JsonNodeType::Number << QVariant(1.0);
    QTest::newRow("exponent is a double") << "1e2" << JsonNodeType::Number << QVariant(100.0);
    QTest::newRow("true") << "true" << JsonNodeType::Boolean << QVariant(true);
    QTest::newRow("false") << "false" << JsonNodeType::Boolean << QVariant(false);
    QTest::newRow("null") << "null" << JsonNodeType::Null << QVariant();
}

void TestJsonTreeModel::nodeKinds()
{
    QFETCH(QString, json);
    QFETCH(JsonNodeType, type);
    QFETCH(QVariant, value);
    JsonTreeModel model;
    QVERIFY(model.loadFromString(json));
    const JsonNode *node = nodeOf(model.index(0, 0));
    QCOMPARE(node->type(), type);
    QCOMPARE(node->key(), QString());
    QCOMPARE(node->value().typeId(), value.typeId());
    QCOMPARE(node->value(), value);
    QCOMPARE(node->childCount(), 0);
}

void TestJsonTreeModel::buildFromNothingIsNull()
{
    std::unique_ptr<JsonNode> node(JsonTreeModel::buildNode(nullptr, QStringLiteral("k")));
    QCOMPARE(node->type(), JsonNodeType::Null);
    QCOMPARE(node->key(), QStringLiteral("k"));
    QCOMPARE(node->value(), QVariant());
    QCOMPARE(node->parent(), nullptr);
}

void TestJsonTreeModel::truncation_data()
{
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("shown");

    const QString a1024(1024, QLatin1Char('a'));
    const QString a1025(1025, QLatin1Char('a'));
    QTest::newRow("exactly the limit") << 1024 << '"' + a1024 + '"' << a1024;
    QTest::newRow("one over the limit")
            << 1024 << '"' + a1025 + '"' << a1024 + QStringLiteral("... (1025 chars total)");
    QTest::newRow("number") << 5 << "1234567"
                            << "12345... (7 chars total)";
    QTest::newRow("boolean") << 2 << "false"
                             << "fa... (5 chars total)";
    QTest::newRow("no limit") << 0 << '"' + a1025 + '"' << a1025;
    QTest::newRow("negative is no limit") << -5 << '"' + a1025 + '"' << a1025;
    QTest::newRow("counted in UTF-16 units") << 3 << R"("😀😀")"
                                             << QStringLiteral("😀") + QStringLiteral("😀").left(1)
                    + QStringLiteral("... (4 chars total)");
    QTest::newRow("item counts are never cut") << 2 << "[1,2,3]"
                                               << "[ 3 items ]";
    QTest::newRow("null is never cut") << 1 << "null"
                                       << "null";
}

void TestJsonTreeModel::truncation()
{
    QFETCH(int, maxLength);
    QFETCH(QString, json);
    QFETCH(QString, shown);
    JsonTreeModel model;
    model.setMaxTextLength(maxLength);
    QVERIFY(model.loadFromString(R"({"a_long_key_never_cut":)" + json + '}'));
    const QModelIndex member = model.index(0, 0, model.index(0, 0));
    QCOMPARE(member.data().toString(), QStringLiteral("a_long_key_never_cut"));
    QCOMPARE(model.index(0, 1, model.index(0, 0)).data().toString(), shown);
}

void TestJsonTreeModel::indexContract()
{
    JsonTreeModel model;
    QVERIFY(model.loadFromString(R"({"a":[10,20,30],"b":1})"));
    const QModelIndex top = model.index(0, 0);
    const QModelIndex a = model.index(0, 0, top);
    const QModelIndex aValue = model.index(0, 1, top);

    QCOMPARE(model.parent(top), QModelIndex());
    QCOMPARE(model.parent(a), top);
    QCOMPARE(model.parent(model.index(2, 1, a)), a);
    QCOMPARE(a.internalPointer(), aValue.internalPointer());
    QCOMPARE(nodeOf(model.index(2, 0, a))->key(), QStringLiteral("[2]"));

    QCOMPARE(model.rowCount(a), 3);
    QCOMPARE(model.rowCount(aValue), 0); // rows hang under column 0 only
    QVERIFY(!model.index(0, 2, top).isValid());
    QVERIFY(!model.index(3, 0, a).isValid());
    QVERIFY(!model.index(-1, 0, a).isValid());

    QCOMPARE(model.indexForNode(nodeOf(model.index(1, 0, a))), model.index(1, 0, a));
    QCOMPARE(model.indexForNode(nodeOf(top)), top);
    QCOMPARE(model.indexForNode(nullptr), QModelIndex());
    QCOMPARE(model.indexForNode(nodeOf(top)->parent()), QModelIndex()); // the invisible root
}

void TestJsonTreeModel::maxTextLengthAnnouncesTopLevelValues()
{
    JsonTreeModel model;
    QVERIFY(model.loadFromString(R"({"a":"x"})"));
    QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);
    model.setMaxTextLength(model.maxTextLength()); // announced even when unchanged
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toModelIndex(), model.index(0, 1));
    QCOMPARE(spy.at(0).at(1).toModelIndex(), model.index(0, 1));
    QCOMPARE(spy.at(0).at(2).value<QList<int>>(), QList<int> {Qt::DisplayRole});

    QSignalSpy prettySpy(&model, &QAbstractItemModel::dataChanged);
    model.setPrettyPrint(false);
    QCOMPARE(model.prettyPrint(), false);
    QCOMPARE(prettySpy.count(), 0);
}

void TestJsonTreeModel::loadIsOneReset()
{
    JsonTreeModel model;
    QAbstractItemModelTester tester(&model);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QVERIFY(model.loadFromString(QStringLiteral("[1,2,3]")));
    QVERIFY(model.loadFromString(QStringLiteral(R"({"x":[true]})")));
    QCOMPARE(resets.count(), 2);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(dumpTree(model),
             QStringList({" = { 1 items }", "  x = [ 1 items ]", "    [0] = true"}));
}

QTEST_GUILESS_MAIN(TestJsonTreeModel)
#include "tst_jsontreemodel.moc"
