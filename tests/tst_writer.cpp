#include "fixture.h"

#include "document/jsondocument.h"
#include "io/jsonreader.h"
#include "io/jsonwriter.h"
#include "tree/jsonnode.h"

#include <yyjson.h>

#include <cerrno>

static QByteArray repeated(int count, bool object, const std::function<QByteArray(int)> &item)
{
    QByteArrayList items;
    for (int i = 0; i < count; ++i)
        items << (object ? "\"k" + QByteArray::number(i % 7) + "\\\"\\n\\u00e9\\u0000\": " : "")
                        + item(i);
    return (object ? "{" : "[") + items.join(',') + (object ? "}" : "]");
}

static QByteArray largeDocument()
{
    const auto record = [](int i) {
        return "{\"id\": " + QByteArray::number(i) + ", \"tags\": [\"a\", \"b\\n\"], \"e\": {}}";
    };
    return repeated(70, true, [&](int i) {
        return i == 3     ? repeated(64, false, [&](int j) { return repeated(64, j % 2, record); })
                : i == 69 ? repeated(30000, false, record)
                          : record(i);
    });
}

static QByteArray yyjsonText(const QByteArray &json, bool pretty)
{
    yyjson_doc *doc = yyjson_read(json.constData(), size_t(json.size()), YYJSON_READ_NOFLAG);
    char *text = yyjson_write(doc, pretty ? YYJSON_WRITE_PRETTY : YYJSON_WRITE_NOFLAG, nullptr);
    const QByteArray result(text);
    free(text);
    yyjson_doc_free(doc);
    return result;
}

class FullDevice : public QBuffer // takes ten bytes of a write, as a full disk does
{
protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        setErrorString(QStringLiteral("No space left on device"));
        return QBuffer::writeData(data, qMin(size, qint64(10)));
    }
};

// A file on a full disk: part of a write taken, errno set, no error of its own.
class FullFile : public QFile
{
public:
    using QFile::QFile;

protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        errno = ENOSPC;
        return QFile::writeData(data, qMin(size, qint64(10)));
    }
};

class TestWriter : public QObject
{
    Q_OBJECT

private slots:
    void write_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QByteArrayList>("expected"); // indented, then compact
        // clang-format off
        const QByteArray strings("{\"\xEF\xBB\xBFk\\u0000\":\"\xEF\xBB\xBFé/😀\",\"q\\\"\\\\\\n\\u0001\":\"a\\u0000b\",\"n\":[-9223372036854775808]}");
        QTest::newRow("sample") << readFile(QFINDTESTDATA("data/sample.json")) << QByteArrayList {readFile(QFINDTESTDATA("data/sample.pretty.json")), readFile(QFINDTESTDATA("data/sample.compact.json"))};
        const QByteArray large = largeDocument();
        QTest::newRow("strings and integers") << strings << QByteArrayList {yyjsonText(strings, true), strings};
        QTest::newRow("no document") << QByteArray() << QByteArrayList {"{}", "{}"};
        QTest::newRow("large containers") << large << QByteArrayList {yyjsonText(large, true), yyjsonText(large, false)};
        // clang-format on
    }

    void write()
    {
        QFETCH(QByteArray, json);
        QFETCH(QByteArrayList, expected);
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("saved.json"));
        for (int i = 0; i < 2; ++i) {
            ModelFixture f(QString::fromUtf8(json));
            f.model.setPrettyPrint(i == 0);
            QCOMPARE(f.model.toJsonString().toUtf8(), expected[i]);
            QCOMPARE(f.model.nodeToJsonString(f.at({0})).toUtf8(),
                     json.isNull() ? "" : expected[i]);
            QVERIFY(f.model.saveToFile(path) && f.model.loadFromFile(path));
            QVERIFY(json.size() < 100000 || f.at({0, 3, 1, 0}).isValid()); // made in part
            QVERIFY(f.model.saveToFile(path));
            QCOMPARE(readFile(path), expected[i]);

            // As a file opens it, with no model to make its nodes: parsed
            // values, a few of them made.
            QString parseError, readError;
            const std::unique_ptr<JsonNode> opened
                    = JsonReader::readFile(path, &parseError, &readError);
            QVERIFY(opened);
            QVERIFY(json.size() < 100000 || opened->child(3)->child(1)->child(0));
            QCOMPARE(JsonWriter::toText(opened.get(), i == 0).toUtf8(), expected[i]);
        }
    }

    void valuesOfEveryVariant()
    {
        // A node's value may hold another type than its own: as typed, or set by a caller.
        JsonNode top(QString(), QVariant(), JsonNodeType::Array);
        const QString digits = QStringLiteral("123456789012345678901234567890");
        for (const auto &[value, type] :
             {std::pair {QVariant(5), JsonNodeType::String},
              std::pair {QVariant(QStringLiteral("1.5")), JsonNodeType::Number},
              std::pair {QVariant(digits), JsonNodeType::Number},
              std::pair {QVariant(5u), JsonNodeType::Number},
              std::pair {QVariant(QString(QChar(0xD800)) + 'a'), JsonNodeType::String}})
            top.appendChild(new JsonNode(QString(), value, type));
        QCOMPARE(JsonWriter::toText(&top, false), "[\"5\",1.5," + digits + ",5,\"?a\"]");
    }

    void lines()
    {
        // One compact value per line however pretty the setting, from made
        // nodes and from parsed values, a large value among small ones.
        const QByteArrayList values {"{\"a\": [1, 2]}", "\"x\\ny\"", largeDocument(), "[]"};
        QByteArray expected;
        for (const QByteArray &value : values)
            expected += yyjsonText(value, false) + '\n';
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("saved.jsonl"));
        ModelFixture f(QString::fromUtf8('[' + values.join(',') + ']'));
        QVERIFY(f.model.saveToFile(path));
        QCOMPARE(readFile(path), expected);
        QVERIFY(f.model.loadFromFile(path));
        QCOMPARE(f.model.rowCount(f.at({0})), values.size());
        QVERIFY(f.model.saveToFile(dir.filePath(QStringLiteral("again.ndjson"))));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("again.ndjson"))), expected);

        // Only an array has lines: anything else writes nothing.
        ModelFixture object(QStringLiteral("{\"a\": 1}"));
        QVERIFY(!object.model.saveToFile(path));
        QVERIFY(!object.model.document()->saveError().isEmpty());
        QCOMPARE(readFile(path), expected);
    }

    void failedSave_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("parsed"); // the document as a file opens it, its nodes not made
        QTest::addColumn<QString>("because");
        QTest::newRow("NaN") << "NaN" << false << R"(The number nan of "id" has no JSON text.)";
        QTest::newRow("infinity") << "infinity" << false
                                  << R"(The number inf of "id" has no JSON text.)";
        QTest::newRow("folder at the path")
                << "folder at the path" << false << "Filename refers to a directory";
        QTest::newRow("full disk") << "full disk" << false << "No space left on device";
        QTest::newRow("full disk, parsed") << "full disk" << true << "No space left on device";
        QTest::newRow("full disk, file") << "full file" << false << "No space left on device";
        QTest::newRow("cancelled") << "cancelled" << false << "";
        QTest::newRow("cancelled, parsed") << "cancelled" << true << "";
    }

    void failedSave()
    {
        QFETCH(QString, fault);
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kept.json"));
        const bool folderAtPath = fault == QStringLiteral("folder at the path");
        QVERIFY(folderAtPath ? QDir().mkdir(path) : writeFile(path, "kept"));
        QFETCH(bool, parsed);
        ModelFixture fixture(QString::fromUtf8(largeDocument()));
        JsonNode *top = JsonTreeModel::nodeForIndex(fixture.at({0}));
        std::unique_ptr<JsonNode> opened;
        if (parsed) {
            const QString source = dir.filePath(QStringLiteral("large.json"));
            QString parseError, readError;
            QVERIFY(writeFile(source, largeDocument()));
            opened = JsonReader::readFile(source, &parseError, &readError);
            QVERIFY(opened && opened->unmadeChildren());
            top = opened.get();
        }
        const bool nan = fault == QStringLiteral("NaN"); // in the last piece; infinity in the first
        if (nan || fault == QStringLiteral("infinity")) {
            JsonTreeModel::nodeForIndex(fixture.at(nan ? Path {0, 69, 29999, 0} : Path {0, 0, 0}))
                    ->setValue(nan ? qQNaN() : qInf());
            QCOMPARE(JsonWriter::toText(top, false), QString());
        }
        QString reason;
        FullDevice full;
        QVERIFY(full.open(QIODevice::WriteOnly));
        qint64 reported = -1; // the top-level items written, when cancelled
        const auto cancel = [&](qint64 done, qint64 total) {
            reported = total == 70 ? done : -2;
            return fault != QStringLiteral("cancelled");
        };
        FullFile fullFile(dir.filePath(QStringLiteral("full.json")));
        QVERIFY(fullFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        if (fault == QStringLiteral("full disk"))
            QVERIFY(!JsonWriter::writeDevice(&full, top, true, &reason));
        else if (fault == QStringLiteral("full file"))
            QVERIFY(!JsonWriter::writeDevice(&fullFile, top, true, &reason));
        else
            QVERIFY(!JsonWriter::writeFile(path, top, true, &reason, cancel));
        QFETCH(QString, because);
        QVERIFY2(because.isEmpty() ? reason.isEmpty() && reported == 69 : reason.contains(because),
                 qPrintable(reason));
        QCOMPARE(readFile(path), folderAtPath ? QByteArray() : QByteArray("kept"));
    }
};

QTEST_MAIN(TestWriter)
#include "tst_writer.moc"
