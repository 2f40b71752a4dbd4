#include "io/jsonreader.h"
#include "model/jsontreemodel.h"
#include "testhelpers.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString previousDocument = QStringLiteral(R"({"kept":[true]})");
const QStringList previousTree {" = { 1 items }", "  kept = [ 1 items ]", "    [0] = true"};

} // namespace

class TestLoading : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void files_data();
    void files();
    void carriageReturns_data();
    void carriageReturns();
    void leadingZeroWidthNoBreakSpace_data();
    void leadingZeroWidthNoBreakSpace();
    void missingFileLeavesModelUntouched();
    void unparsableText_data();
    void unparsableText();
    void unparsableFileLeavesModelUntouched();
    void nestingLimit();
    void nestingLimitIgnoresBracketsInStrings();

private:
    QTemporaryDir dir;
};

void TestLoading::initTestCase()
{
    QVERIFY(dir.isValid());
}

void TestLoading::files_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("tree");

    const QStringList plain {" = { 1 items }", "  a = [ 2 items ]", "    [0] = 1", "    [1] = é"};
    QTest::newRow("plain") << dataFile("plain.json") << plain;
    QTest::newRow("byte-order mark") << dataFile("bom.json") << plain;
    QTest::newRow("CR LF line ends") << dataFile("crlf.json") << plain;
    QTest::newRow("malformed UTF-8 becomes U+FFFD")
            << dataFile("invalid-utf8.json")
            << QStringList {" = { 1 items }", QStringLiteral("  s = a\uFFFDb\uFFFD")};
    const QChar nul(0);
    QTest::newRow("text after U+0000 is kept")
            << dataFile("nul.json")
            << QStringList {" = { 2 items }",
                            QStringLiteral("  k") + nul + QStringLiteral("ey = va") + nul
                                    + QStringLiteral("lue"),
                            QStringLiteral("  ") + nul + QStringLiteral(" = ") + nul};
}

void TestLoading::files()
{
    QFETCH(QString, file);
    QFETCH(QStringList, tree);
    JsonTreeModel model;
    QAbstractItemModelTester tester(&model);
    QVERIFY(model.loadFromFile(file));
    QCOMPARE(model.parseError(), QString());
    QCOMPARE(dumpTree(model), tree);
}

void TestLoading::carriageReturns_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("tree"); // empty: refused

    const QStringList twoNumbers {" = [ 2 items ]", "  [0] = 1", "  [1] = 2"};
    QTest::newRow("CR LF between values") << QByteArray("[1,\r\n2]\r\n") << twoNumbers;
    QTest::newRow("CR alone between values") << QByteArray("[1,\r2]") << twoNumbers;
    QTest::newRow("CR between two digits") << QByteArray("[1\r2]") << QStringList();
    QTest::newRow("CR inside a literal") << QByteArray("[tru\re]") << QStringList();
    QTest::newRow("CR inside a string") << QByteArray("[\"a\rb\"]") << QStringList();
    QTest::newRow("CR inside a member name") << QByteArray("{\"a\rb\": 1}") << QStringList();
}

// A CR is white space between tokens and nothing else: it never vanishes
// from the text, joining what it stood between.
void TestLoading::carriageReturns()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, tree);
    const QString path = dir.filePath(QStringLiteral("cr.json"));
    QVERIFY(writeFile(path, content));
    JsonTreeModel model;
    QVERIFY(model.loadFromString(previousDocument));
    QCOMPARE(model.loadFromFile(path), !tree.isEmpty());
    QCOMPARE(dumpTree(model), tree.isEmpty() ? previousTree : tree);
}

void TestLoading::leadingZeroWidthNoBreakSpace_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("tree");

    QTest::newRow("escaped, starting a member name")
            << QByteArray(R"({"\ufeffid": 1})")
            << QStringList {" = { 1 items }", QStringLiteral("  \uFEFFid = 1")};
    QTest::newRow("escaped twice, starting a string")
            << QByteArray(R"(["\ufeff\ufeffx"])")
            << QStringList {" = [ 1 items ]", QStringLiteral("  [0] = \uFEFF\uFEFFx")};
    QTest::newRow("as UTF-8, after the file's own byte-order mark")
            << QByteArray("\xEF\xBB\xBF[\"\xEF\xBB\xBFx\"]")
            << QStringList {" = [ 1 items ]", QStringLiteral("  [0] = \uFEFFx")};
    QTest::newRow("as UTF-8, in a file with malformed UTF-8")
            << QByteArray("[\"\xEF\xBB\xBFx\", \"\xFF\"]")
            << QStringList {" = [ 2 items ]", QStringLiteral("  [0] = \uFEFFx"),
                            QStringLiteral("  [1] = \uFFFD")};
}

// U+FEFF at the start of a string or name is text like any other character;
// only the file's first one is a byte-order mark.
void TestLoading::leadingZeroWidthNoBreakSpace()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, tree);
    const QString path = dir.filePath(QStringLiteral("feff.json"));
    QVERIFY(writeFile(path, content));
    JsonTreeModel model;
    QVERIFY(model.loadFromFile(path));
    QCOMPARE(dumpTree(model), tree);

    // Saved and opened again, it is still there.
    QVERIFY(model.saveToFile(path));
    QVERIFY(model.loadFromFile(path));
    QCOMPARE(dumpTree(model), tree);
}

void TestLoading::missingFileLeavesModelUntouched()
{
    JsonTreeModel model;
    QVERIFY(model.loadFromString(previousDocument));
    QSignalSpy resets(&model, &QAbstractItemModel::modelAboutToBeReset);
    QVERIFY(!model.loadFromFile(dir.filePath(QStringLiteral("missing.json"))));
    QCOMPARE(model.parseError(), QString());
    QCOMPARE(resets.count(), 0);
    QCOMPARE(dumpTree(model), previousTree);
}

void TestLoading::unparsableText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");

    QTest::newRow("Trailing comma")
            << QByteArray(R"({"a": 1,})") << "Trailing comma is not allowed at line 1, column 8";
    QTest::newRow("comment") << QByteArray("[1, 2] // note")
                             << "Unexpected content after document at line 1, column 8";
    QTest::newRow("NaN") << QByteArray(R"({"a": NaN})")
                         << "Unexpected character, expected a valid JSON value at line 1, column 7";
    QTest::newRow("number too large")
            << QByteArray("1e400")
            << "Number is infinity when parsed as double at line 1, column 1";
    QTest::newRow("text after the value")
            << QByteArray("{} {}") << "Unexpected content after document at line 1, column 4";
    QTest::newRow("empty") << QByteArray() << "Input data is empty at line 1, column 1";
    QTest::newRow("blank") << QByteArray("  \n  ") << "Input data is empty";
    QTest::newRow("Unexpected end")
            << QByteArray("[1") << "Unexpected end of data at line 1, column 3";
    QTest::newRow("line and column in characters")
            << QByteArray("[\"é\",\n \"ü\", x]")
            << "Unexpected character, expected a valid JSON value at line 2, column 7";
    QTest::newRow("lone surrogate")
            << QByteArray(R"(["\ud800"])") << "No low surrogate in string at line 1, column 9";
}

void TestLoading::unparsableText()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    JsonTreeModel model;
    QVERIFY(model.loadFromString(previousDocument));
    QAbstractItemModelTester tester(&model);
    QSignalSpy resets(&model, &QAbstractItemModel::modelAboutToBeReset);

    QVERIFY(!model.loadFromString(QString::fromUtf8(text)));
    QVERIFY2(model.parseError().startsWith(error), qPrintable(model.parseError()));
    QCOMPARE(resets.count(), 0);
    QCOMPARE(dumpTree(model), previousTree);

    // A later load that works clears the reason.
    QVERIFY(model.loadFromString(QStringLiteral("[]")));
    QCOMPARE(model.parseError(), QString());
}

void TestLoading::unparsableFileLeavesModelUntouched()
{
    JsonTreeModel model;
    QVERIFY(model.loadFromString(previousDocument));
    QVERIFY(!model.loadFromFile(dataFile("syntax-error.json")));
    QCOMPARE(model.parseError(),
             QStringLiteral("Invalid literal, expected a valid literal such as 'true' at line 2, "
                            "column 8"));
    QVERIFY(!model.loadFromFile(dataFile("empty.json")));
    QCOMPARE(model.parseError(), QStringLiteral("Input data is empty at line 1, column 1"));
    QCOMPARE(dumpTree(model), previousTree);
}

void TestLoading::nestingLimit()
{
    const int limit = JsonReader::maxDepth;
    QCOMPARE(limit, 10000);

    JsonTreeModel model;
    QVERIFY(model.loadFromString(QString::fromLatin1(nestedArrays(limit))));
    QModelIndex deepest = model.index(0, 0);
    for (int level = 1; level < limit; ++level)
        deepest = model.index(0, 0, deepest);
    QCOMPARE(model.index(0, 1, deepest).data().toString(), QStringLiteral("1"));

    // An empty container one level too deep is refused as well.
    const QByteArray tooDeep = QByteArray(limit + 1, '[') + QByteArray(limit + 1, ']');
    QVERIFY(!model.loadFromString(QString::fromLatin1(tooDeep)));
    QCOMPARE(model.parseError(),
             QStringLiteral("Nesting is deeper than 10000 levels at line 1, column 10001"));

    // Written to a file, and far deeper: refused the same way, nothing crashes.
    const QString path = dir.filePath(QStringLiteral("million.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(nestedArrays(1000000)) > 0);
    file.close();
    QVERIFY(!model.loadFromFile(path));
    QVERIFY(model.parseError().startsWith(QStringLiteral("Nesting is deeper than 10000 levels")));
    QCOMPARE(model.rowCount(model.index(0, 0)), 1); // still the 10,000-level document
}

void TestLoading::nestingLimitIgnoresBracketsInStrings()
{
    const QByteArray text
            = R"({"s": "[[{\"[", "deep": )" + nestedArrays(JsonReader::maxDepth) + '}';
    JsonTreeModel model;
    QVERIFY(!model.loadFromString(QString::fromLatin1(text)));
    QCOMPARE(model.parseError(),
             QStringLiteral("Nesting is deeper than 10000 levels at line 1, column 10024"));
}

QTEST_GUILESS_MAIN(TestLoading)
#include "tst_loading.moc"
