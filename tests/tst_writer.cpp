#include "fixture.h"

#include "io/jsonwriter.h"
#include "model/jsonnode.h"

#include <QApplication>
#include <QTest>

#include <yyjson.h>

#include <sys/fsuid.h>
#include <sys/stat.h>

namespace {

// Members (their names repeat, with escapes and a U+0000) or elements.
QByteArray repeated(int count, bool object, const std::function<QByteArray(int)> &item)
{
    QByteArrayList items;
    for (int i = 0; i < count; ++i)
        items << (object ? "\"k" + QByteArray::number(i % 7) + "\\\"\\n\\u00e9\\u0000\": " : "")
                        + item(i);
    return (object ? "{" : "[") + items.join(',') + (object ? "}" : "]");
}

QByteArray record(int i)
{
    return "{\"id\": " + QByteArray::number(i) + ", \"tags\": [\"a\", \"b\\n\"], \"e\": {}}";
}

// Containers of 64 children and more go in batches and pieces: at the top, two
// levels down, and one of many batches and over a piece long in either layout.
QByteArray largeDocument()
{
    return repeated(70, true, [](int i) {
        return i == 3     ? repeated(64, false, [](int j) { return repeated(64, j % 2, record); })
                : i == 69 ? repeated(30000, false, record)
                          : record(i);
    });
}

QByteArray yyjsonText(const QByteArray &json, bool pretty)
{
    yyjson_doc *doc = yyjson_read(json.constData(), size_t(json.size()), YYJSON_READ_NOFLAG);
    size_t length = 0;
    char *text = yyjson_write(doc, pretty ? YYJSON_WRITE_PRETTY : YYJSON_WRITE_NOFLAG, &length);
    const QByteArray result(text, qsizetype(length));
    free(text);
    yyjson_doc_free(doc);
    return result;
}

// In each layout, `json` is written as given or else as yyjson writes it whole.
void rows(const char *name, const QByteArray &json, const QByteArray &pretty = {},
          const QByteArray &compact = {})
{
    QTest::addRow("%s, indented", name)
            << json << true << (pretty.isNull() ? yyjsonText(json, true) : pretty);
    QTest::addRow("%s, compact", name)
            << json << false << (compact.isNull() ? yyjsonText(json, false) : compact);
}

} // namespace

class TestWriter : public QObject
{
    Q_OBJECT

private slots:
    void write_data();
    void write();
    void failedSave_data();
    void failedSave();
};

void TestWriter::write_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("pretty");
    QTest::addColumn<QByteArray>("expected");

    rows("sample", readFile(dataFile("sample.json")), readFile(dataFile("sample.pretty.json")),
         readFile(dataFile("sample.compact.json")));
    const QByteArray strings("{\"\xEF\xBB\xBFk\\u0000\":\"\xEF\xBB\xBFé/😀\","
                             "\"q\\\"\\\\\\n\\u0001\":\"a\\u0000b\",\"n\":[-9223372036854775808]}");
    rows("strings and integers", strings, {}, strings);
    rows("no document", {}, "{}", "{}");
    rows("large containers", largeDocument());
}

// The texts of the document and its top node, saved, and saved once more.
void TestWriter::write()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, pretty);
    QFETCH(QByteArray, expected);
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.json"));
    ModelFixture fixture(QString::fromUtf8(json));
    fixture.model.setPrettyPrint(pretty);
    QCOMPARE(fixture.model.toJsonString().toUtf8(), expected);
    QCOMPARE(fixture.model.nodeToJsonString(fixture.at({0})).toUtf8(),
             json.isNull() ? "" : expected);
    for (int round = 0; round < 2; ++round) {
        QVERIFY(fixture.model.saveToFile(path));
        QCOMPARE(readFile(path), expected);
        QVERIFY(fixture.model.loadFromFile(path));
    }
}

void TestWriter::failedSave_data()
{
    QTest::addColumn<QString>("fault");
    for (const char *fault : {"NaN", "infinity", "folder at the path", "read-only folder"})
        QTest::newRow(fault) << QString::fromLatin1(fault);
}

// A save that fails leaves what was at the path as it was.
void TestWriter::failedSave()
{
    QFETCH(QString, fault);
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.json"));
    const bool folderAtPath = fault == QStringLiteral("folder at the path");
    QVERIFY(folderAtPath ? QDir().mkdir(path) : writeFile(path, "kept"));
    ModelFixture fixture(QString::fromUtf8(largeDocument()));
    JsonNode *const top = nodeOf(fixture.at({0}));
    const bool nan = fault == QStringLiteral("NaN"); // in the last piece; infinity in the first
    if (nan || fault == QStringLiteral("infinity")) {
        nodeOf(fixture.at(nan ? Path {0, 69, 29999, 0} : Path {0, 0, 0}))
                ->setValue(nan ? qQNaN() : qInf());
        QCOMPARE(JsonWriter::toText(top, false), QString());
    }
    // Anyone may write the file itself: only the folder forbids it, and it
    // binds root only while root acts as someone else.
    const bool readOnly = fault == QStringLiteral("read-only folder");
    QVERIFY(chmod(qPrintable(dir.path()), readOnly ? 0555 : 0755) == 0
            && (folderAtPath || chmod(qPrintable(path), 0666) == 0));
    const int user = readOnly ? setfsuid(65534) : -1;
    const bool saved = JsonWriter::writeFile(path, top, true);
    if (user >= 0)
        setfsuid(uid_t(user));
    QVERIFY(chmod(qPrintable(dir.path()), 0755) == 0 && !saved);
    QCOMPARE(readFile(path), folderAtPath ? QByteArray() : QByteArray("kept"));
}

MARBLETRELLIS_TEST_MAIN(TestWriter)
#include "tst_writer.moc"
