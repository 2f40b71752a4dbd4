#include "fixture.h"

#include "io/jsonwriter.h"
#include "io/pasteparser.h"
#include "model/jsonnode.h"

#include <QApplication>
#include <QTest>

Q_DECLARE_METATYPE(PasteParser::Kind)

class TestPaste : public QObject
{
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
};

void TestPaste::classify_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<PasteParser::Kind>("kind");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value"); // the node, compact

    using K = PasteParser::Kind;
    QTest::newRow("member") << R"("a": 1)" << K::KeyValue << "a" << "1";
    QTest::newRow("member as Copy writes it, indented") << "\"o\": {\n    \"b\": [\n        1\n    ]\n}" << K::KeyValue << "o" << R"({"b":[1]})";
    QTest::newRow("unquoted key") << "a b: true" << K::KeyValue << "a b" << "true";
    QTest::newRow("empty key") << R"("": null)" << K::KeyValue << "" << "null";
    QTest::newRow("one quotation mark") << R"(": 2)" << K::KeyValue << "\"" << "2";
    QTest::newRow("nothing unescaped") << R"("q\"": 3)" << K::KeyValue << R"(q\")" << "3";
    QTest::newRow("split at the first separator") << R"(x: "y: z")" << K::KeyValue << "x" << R"("y: z")";
    QTest::newRow("object text") << R"({"a": 1})" << K::Json << "" << R"({"a":1})";
    QTest::newRow("array text") << R"(["a: b"])" << K::Json << "" << R"(["a: b"])";
    QTest::newRow("scalar") << "42" << K::Json << "" << "42";
    QTest::newRow("string") << R"("s: t")" << K::Json << "" << R"("s: t")";
    QTest::newRow("value is no JSON") << R"("a": nope)" << K::Text << "" << R"("\"a\": nope")";
    QTest::newRow("two members") << R"("a": 1, "b": 2)" << K::Text << "" << R"("\"a\": 1, \"b\": 2")";
    QTest::newRow("no space after the colon") << R"("a":1)" << K::Text << "" << R"("\"a\":1")";
    QTest::newRow("plain text") << "hello" << K::Text << "" << R"("hello")";
    QTest::newRow("trailing comma") << "[1,]" << K::Text << "" << R"("[1,]")";
    QTest::newRow("deepest value") << "\"d\": " + QString::fromLatin1(nestedArrays(10000)) << K::KeyValue << "d" << QString::fromLatin1(nestedArrays(10000));
    QTest::newRow("too deep a value") << "[" + QString::fromLatin1(nestedArrays(10000)) + "]" << K::Text << "" << "\"[" + QString::fromLatin1(nestedArrays(10000)) + "]\"";
    // clang-format on
}

void TestPaste::classify()
{
    QFETCH(QString, text);
    const PasteParser::Result pasted = PasteParser::parse(text);
    QTEST(pasted.kind, "kind");
    QTEST(pasted.key, "key");
    QVERIFY(pasted.node);
    QCOMPARE(pasted.node->key(), QString());
    QCOMPARE(pasted.node->parent(), nullptr);
    QTEST(JsonWriter::toText(pasted.node.get(), false), "value");
}

MARBLETRELLIS_TEST_MAIN(TestPaste)
#include "tst_paste.moc"
