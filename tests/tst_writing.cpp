#include "model/jsonnode.h"
#include "model/jsontreemodel.h"
#include "testhelpers.h"

#include <yyjson.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <functional>
#include <limits>

class TestWriting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void texts_data();
    void texts();
    void emptyDocument();
    void numberValuesByVariantType_data();
    void numberValuesByVariantType();
    void singleNodes();
    void fileRoundTrip_data();
    void fileRoundTrip();
    void unwritableNumberLeavesFileAlone_data();
    void unwritableNumberLeavesFileAlone();
    void unopenableFileFails();
    void deepDocument();
    void largeContainersWriteAsYyjsonDoes_data();
    void largeContainersWriteAsYyjsonDoes();

private:
    QTemporaryDir dir;
};

void TestWriting::initTestCase()
{
    QVERIFY(dir.isValid());
}

void TestWriting::texts_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("compact");
    QTest::addColumn<QString>("pretty");

    QTest::newRow("object")
            << R"({"a": 1, "b": [true, null]})"
            << R"({"a":1,"b":[true,null]})"
            << "{\n    \"a\": 1,\n    \"b\": [\n        true,\n        null\n    ]\n}";
    QTest::newRow("empty containers below the top") << R"({"o": {}, "a": []})"
                                                    << R"({"o":{},"a":[]})"
                                                    << "{\n    \"o\": {},\n    \"a\": []\n}";
    QTest::newRow("duplicate keys in order") << R"({"a":1,"a":2})"
                                             << R"({"a":1,"a":2})"
                                             << "{\n    \"a\": 1,\n    \"a\": 2\n}";
    QTest::newRow("scalar number") << "42"
                                   << "42"
                                   << "42";
    QTest::newRow("scalar true") << "true"
                                 << "true"
                                 << "true";
    QTest::newRow("scalar null") << "null"
                                 << "null"
                                 << "null";
    QTest::newRow("scalar string") << R"("x")"
                                   << R"("x")"
                                   << R"("x")";
    QTest::newRow("numbers")
            << "[9223372036854775807, -9223372036854775808, 9223372036854775808,"
               " 18446744073709551615, 0.1, 1000.0, 3, 1e300, 100000000000000000000]"
            << "[9223372036854775807,-9223372036854775808,9223372036854775808,"
               "18446744073709551615,0.1,1000.0,3,1e300,100000000000000000000.0]"
            << "[\n    9223372036854775807,\n    -9223372036854775808,\n    9223372036854775808,\n"
               "    18446744073709551615,\n    0.1,\n    1000.0,\n    3,\n    1e300,\n"
               "    100000000000000000000.0\n]";
    QTest::newRow("strings escaped only where needed")
            << R"(["é/ü", "line\nfeed", "q\"b\\", "\u0001", "😀"])"
            << R"(["é/ü","line\nfeed","q\"b\\","\u0001","😀"])"
            << "[\n    \"é/ü\",\n    \"line\\nfeed\",\n    \"q\\\"b\\\\\",\n    \"\\u0001\",\n"
               "    \"😀\"\n]";
    QTest::newRow("text after U+0000 is written") << R"({"k\u0000ey": "va\u0000lue"})"
                                                  << R"({"k\u0000ey":"va\u0000lue"})"
                                                  << "{\n    \"k\\u0000ey\": \"va\\u0000lue\"\n}";
}

void TestWriting::texts()
{
    QFETCH(QString, json);
    QFETCH(QString, compact);
    QFETCH(QString, pretty);
    JsonTreeModel model;
    QVERIFY(model.loadFromString(json));
    model.setPrettyPrint(false);
    QCOMPARE(model.toJsonString(), compact);
    model.setPrettyPrint(true);
    QCOMPARE(model.toJsonString(), pretty);

    // What is written reads back as the same tree.
    const QStringList tree = dumpTree(model);
    JsonTreeModel reread;
    QVERIFY(reread.loadFromString(pretty));
    QCOMPARE(dumpTree(reread), tree);
}

void TestWriting::emptyDocument()
{
    JsonTreeModel model;
    const QString path = dir.filePath(QStringLiteral("empty.json"));
    for (bool pretty : {true, false}) {
        model.setPrettyPrint(pretty);
        QCOMPARE(model.toJsonString(), QStringLiteral("{}"));
        QVERIFY(model.saveToFile(path));
        QCOMPARE(readFile(path), QByteArray("{}"));
    }
}

void TestWriting::numberValuesByVariantType_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("written");

    QTest::newRow("int") << QVariant(7) << "7";
    QTest::newRow("long long") << QVariant::fromValue(qint64(-7)) << "-7";
    QTest::newRow("unsigned long long")
            << QVariant::fromValue(std::numeric_limits<quint64>::max()) << "18446744073709551615";
    QTest::newRow("double") << QVariant(2.5) << "2.5";
    QTest::newRow("integral double") << QVariant(3.0) << "3.0";
    QTest::newRow("numeric text is a real") << QVariant(QStringLiteral("12")) << "12.0";
    QTest::newRow("other text is zero") << QVariant(QStringLiteral("abc")) << "0.0";
}

void TestWriting::numberValuesByVariantType()
{
    QFETCH(QVariant, value);
    QFETCH(QString, written);
    JsonTreeModel model;
    QVERIFY(model.loadFromString(QStringLiteral("0")));
    nodeOf(model.index(0, 0))->setValue(value);
    QCOMPARE(model.toJsonString(), written);
}

void TestWriting::singleNodes()
{
    JsonTreeModel model;
    QVERIFY(model.loadFromString(R"({"s": "a\"b", "n": null, "list": [5, {"x": 1}]})"));
    model.setPrettyPrint(false);
    const QModelIndex top = model.index(0, 0);
    const QModelIndex list = model.index(2, 0, top);
    QCOMPARE(model.nodeToJsonString(model.index(0, 0, top)), QStringLiteral(R"("a\"b")"));
    QCOMPARE(model.nodeToJsonString(model.index(1, 1, top)), QStringLiteral("null"));
    QCOMPARE(model.nodeToJsonString(model.index(0, 0, list)), QStringLiteral("5"));
    QCOMPARE(model.nodeToJsonString(model.index(1, 1, list)), QStringLiteral(R"({"x":1})"));
    QCOMPARE(model.nodeToJsonString(list), QStringLiteral(R"([5,{"x":1}])"));
    QCOMPARE(model.nodeToJsonString(QModelIndex()), QString());
    model.setPrettyPrint(true);
    QCOMPARE(model.nodeToJsonString(list),
             QStringLiteral("[\n    5,\n    {\n        \"x\": 1\n    }\n]"));
}

void TestWriting::fileRoundTrip_data()
{
    QTest::addColumn<bool>("pretty");
    QTest::addColumn<QString>("reference");
    QTest::newRow("indented") << true << dataFile("sample.pretty.json");
    QTest::newRow("compact") << false << dataFile("sample.compact.json");
}

void TestWriting::fileRoundTrip()
{
    QFETCH(bool, pretty);
    QFETCH(QString, reference);
    const QString path = dir.filePath(QStringLiteral("roundtrip.json"));
    JsonTreeModel model;
    model.setPrettyPrint(pretty);
    QVERIFY(model.loadFromFile(dataFile("sample.json")));
    QVERIFY(model.saveToFile(path));
    QCOMPARE(readFile(path), readFile(reference));

    // Saving what was saved changes nothing.
    QVERIFY(model.loadFromFile(path));
    QVERIFY(model.saveToFile(path));
    QCOMPARE(readFile(path), readFile(reference));
}

void TestWriting::unwritableNumberLeavesFileAlone_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("NaN") << QVariant(std::numeric_limits<double>::quiet_NaN());
    QTest::newRow("infinity") << QVariant(std::numeric_limits<double>::infinity());
    QTest::newRow("text inf") << QVariant(QStringLiteral("-inf"));
}

void TestWriting::unwritableNumberLeavesFileAlone()
{
    QFETCH(QVariant, value);
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kept.json"));
    const QByteArray original("[1, 2, 3]\n");
    QVERIFY(writeFile(path, original));

    JsonTreeModel model;
    QVERIFY(model.loadFromFile(path));
    const QModelIndex element = model.index(1, 0, model.index(0, 0));
    nodeOf(element)->setValue(value);
    QCOMPARE(model.toJsonString(), QString());
    QCOMPARE(model.nodeToJsonString(element), QString());
    QVERIFY(!model.saveToFile(path));
    QCOMPARE(readFile(path), original);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList {QStringLiteral("kept.json")}); // no temporary file left behind
}

void TestWriting::unopenableFileFails()
{
    JsonTreeModel model;
    QVERIFY(model.loadFromString(QStringLiteral("[1]")));
    QVERIFY(!model.saveToFile(dir.filePath(QStringLiteral("no/such/folder/out.json"))));
    QVERIFY(!model.saveToFile(dir.path())); // a folder, not a file
}

void TestWriting::deepDocument()
{
    const QByteArray text = nestedArrays(10000);
    JsonTreeModel model;
    model.setPrettyPrint(false);
    QVERIFY(model.loadFromString(QString::fromLatin1(text)));
    QCOMPARE(model.toJsonString().toLatin1(), text);
    // Indented, this document is 400 MB of spaces; compact keeps the test quick.
    const QString path = dir.filePath(QStringLiteral("deep.json"));
    QVERIFY(model.saveToFile(path));
    QCOMPARE(readFile(path), text);
}

namespace {

// `count` members or elements built by `item`, as JSON text.
QByteArray repeated(int count, bool object, const std::function<QByteArray(int)> &item)
{
    QByteArrayList items;
    for (int i = 0; i < count; ++i) {
        const QByteArray key = "\"k" + QByteArray::number(i % 7) + "\\\"\\n\\u00e9\\u0000\": ";
        items << (object ? key : QByteArray()) + item(i);
    }
    return (object ? "{" : "[") + items.join(',') + (object ? "}" : "]");
}

QByteArray yyjsonText(const QByteArray &json, bool pretty)
{
    yyjson_doc *doc = yyjson_read(json.constData(), size_t(json.size()), YYJSON_READ_NOFLAG);
    size_t length = 0;
    char *text = yyjson_write(doc, pretty ? YYJSON_WRITE_PRETTY : YYJSON_WRITE_NOFLAG, &length);
    const QByteArray result(text, qsizetype(length));
    std::free(text);
    yyjson_doc_free(doc);
    return result;
}

} // namespace

// Large containers are written in pieces; the text must be exactly the one
// yyjson writes for the whole document at once, at every depth.
void TestWriting::largeContainersWriteAsYyjsonDoes_data()
{
    QTest::addColumn<QByteArray>("json");
    const auto record = [](int i) {
        return "{\"id\": " + QByteArray::number(i) + ", \"tags\": [\"a\", \"b\\n\"], \"x\": "
                + QByteArray::number(i / 3.0, 'g', 17) + ", \"e\": {}, \"n\": null}";
    };
    QTest::newRow("array of records") << repeated(300, false, record);
    QTest::newRow("object of records") << repeated(300, true, record);
    QTest::newRow("large inside large") << repeated(70, true, [&](int i) {
        return i % 2 ? repeated(65 + i, i % 4 == 1, record) : record(i);
    });
    QTest::newRow("large at depth three") << "[[" + repeated(2, true, [&](int) {
        return repeated(64, false, [](int i) { return QByteArray::number(i); });
    }) + "], []]";
    QTest::newRow("many empty containers") << repeated(200, false, [](int i) {
        return QByteArray(i % 2 ? "[]" : "{}");
    });
    QTest::newRow("one large member after small ones") << repeated(3, true, [&](int i) {
        return i == 2 ? repeated(5000, false, record) : QByteArray("true");
    });
}

void TestWriting::largeContainersWriteAsYyjsonDoes()
{
    QFETCH(QByteArray, json);
    JsonTreeModel model;
    QVERIFY(model.loadFromString(QString::fromUtf8(json)));
    const QString path = dir.filePath(QStringLiteral("large.json"));
    for (const bool pretty : {true, false}) {
        model.setPrettyPrint(pretty);
        const QByteArray expected = yyjsonText(json, pretty);
        QCOMPARE(model.toJsonString().toUtf8(), expected);
        QCOMPARE(model.nodeToJsonString(model.index(0, 0)).toUtf8(), expected);
        QVERIFY(model.saveToFile(path));
        QCOMPARE(readFile(path), expected);
    }

    // A number that cannot be written, in the last piece: nothing is written.
    const QByteArray saved = readFile(path);
    JsonNode *last = nodeOf(model.index(0, 0));
    while (last->childCount() > 0)
        last = last->child(last->childCount() - 1);
    last->setType(JsonNodeType::Number);
    last->setValue(std::numeric_limits<double>::infinity());
    QCOMPARE(model.toJsonString(), QString());
    QVERIFY(!model.saveToFile(path));
    QCOMPARE(readFile(path), saved);
}

QTEST_GUILESS_MAIN(TestWriting)
#include "tst_writing.moc"
