#include "fixture.h"

#include "io/jsonreader.h"
#include "io/jsonwriter.h"
#include "io/linescanner.h"
#include "io/pasteparser.h"
#include "tree/jsonnode.h"

Q_DECLARE_METATYPE(PasteParser::Kind)

namespace {

// Loaded from `text` (a file of it with `file`; none if null): the tree, or why " = 0" stays.
void row(const char *name, const QByteArray &text, const QString &result, bool file = false)
{
    const bool refused = !result.startsWith(QLatin1Char(' '));
    QTest::newRow(name) << text << file
                        << (refused ? QStringList {QStringLiteral(" = 0"), result}
                                    : result.split(QLatin1Char('\n')) << QString());
}

} // namespace

class TestReader : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void classify_data();
    void classify();
    void formats_data();
    void formats();
    void closedLines_data();
    void closedLines();
    void fileOfNoSize();
    void bytesAfterTheText();
};

void TestReader::read_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("file");
    QTest::addColumn<QStringList>("result");

    // clang-format off
    row("number at the top", " 42 ", " = 42");
    row("member order and duplicate keys", R"({"b": 1, "a": null, "b": [true, {}]})", " = { 3 items }\n  b = 1\n  a = null\n  b = [ 2 items ]\n    [0] = true\n    [1] = { 0 items }");
    row("64-bit integers", "[-9223372036854775808, 9223372036854775807, 9223372036854775808, 18446744073709551615]", " = [ 4 items ]\n  [0] = -9223372036854775808\n  [1] = 9223372036854775807\n  [2] = 9223372036854775808\n  [3] = 18446744073709551615");
    row("doubles", "[0.1, -2.5e-7, 1000.0, 1e300]", " = [ 4 items ]\n  [0] = 0.1\n  [1] = -2.5e-07\n  [2] = 1000\n  [3] = 1e+300");
    row("integers beyond 64 bits keep their digits", "[18446744073709551616, -123456789012345678901234567890]", " = [ 2 items ]\n  [0] = 18446744073709551616\n  [1] = -123456789012345678901234567890");
    row("text after U+0000 is kept", R"({"k\u0000ey": "va\u0000lue"})", QStringLiteral(u" = { 1 items }\n  k\0ey = va\0lue"));
    row("1e400", "[1e400]", "Number is infinity when parsed as double at line 1, column 2");
    row("1e400 at the top", "1e400", "Number is infinity when parsed as double at line 1, column 1");
    row("trailing comma", R"({"a": 1,})", "Trailing comma is not allowed at line 1, column 8");
    row("two values", "{}\n {}", "Unexpected content after document at line 2, column 2");
    row("empty", "", "Input data is empty at line 1, column 1");
    row("column in characters", "[\"é\",\n \"ü😀\", x]", "Unexpected character, expected a valid JSON value at line 2, column 8");
    row("one level too deep", R"({"s": "[[{\"[", "e": [[]], "deep": )" + nestedArrays(JsonReader::maxDepth) + '}', "Nesting is deeper than 10000 levels at line 1, column 10035");
    const QString plain(" = { 1 items }\n  a = [ 2 items ]\n    [0] = 1\n    [1] = é");
    row("file with byte-order mark", readFile(QFINDTESTDATA("data/bom.json")), plain, true);
    row("file with CR LF", readFile(QFINDTESTDATA("data/crlf.json")), plain, true);
    row("1e400 in a file", "[1e400]", "Number is infinity when parsed as double at line 1, column 2", true);
    row("too deep a file", nestedArrays(JsonReader::maxDepth + 1), "Nesting is deeper than 10000 levels at line 1, column 10001", true);
    row("file with lone CR", "[1,\r2]\r", " = [ 2 items ]\n  [0] = 1\n  [1] = 2", true);
    row("file with CR between digits", "[1\r2]", "Unexpected character, expected a comma or a closing bracket at line 1, column 4", true);
    row("file with invalid UTF-8", readFile(QFINDTESTDATA("data/invalid-utf8.json")), "Invalid UTF-8 at line 1, column 9", true);
    row("file with byte-order mark, then invalid UTF-8", "\xEF\xBB\xBF[\"\xEF\xBB\xBFé\",\n\"\xC3\x28\"]", "Invalid UTF-8 at line 2, column 2", true);
    row("file in UTF-16", "\xFF\xFE[\0]\0", "The file is encoded in UTF-16, not UTF-8", true);
    row("file in UTF-32", QByteArray("\0\0\xFE\xFF\0\0\0[", 8), "The file is encoded in UTF-32, not UTF-8", true);
    row("missing file", QByteArray(), QString(), true);
    // clang-format on
}

void TestReader::read()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, file);
    QFETCH(QStringList, result);
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file.json"));
    QVERIFY(!file || text.isNull() || writeFile(path, text));
    ModelFixture fixture(QStringLiteral("0"));
    QVERIFY(!fixture.model.loadFromString(QStringLiteral("[")));
    const bool loaded = file ? fixture.model.loadFromFile(path)
                             : fixture.model.loadFromString(QString::fromUtf8(text));
    QCOMPARE(dumpTree(fixture.model) << fixture.model.parseError(), result);
    QCOMPARE(loaded, result.constLast().isEmpty() && !text.isNull());
}

void TestReader::formats_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text");
    // The document written compact, or why it was refused.
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("hasComments");
    QTest::addColumn<bool>("readsWithComments");

    // clang-format off
    QTest::newRow("lines") << "a.jsonl" << QByteArray("{\"a\": 1}\n\n  [1, 2]\r\n\"x\"\n") << R"([{"a":1},[1,2],"x"])" << false << false;
    QTest::newRow("lines, no last line break") << "a.NDJSON" << QByteArray("\xEF\xBB\xBF" "1\n2") << "[1,2]" << false << false;
    QTest::newRow("lines, none") << "a.jsonl" << QByteArray(" \n\t\n") << "[]" << false << false;
    QTest::newRow("lines, a broken one") << "a.jsonl" << QByteArray("{\"a\": 1}\n\n{\"b\": \n3") << "Unexpected end of data at line 3, column 7" << false << false;
    QTest::newRow("lines, two values on one") << "a.jsonl" << QByteArray("[0]\n1, 2\n") << "Unexpected content after document at line 2, column 2" << false << false;
    QTest::newRow("lines, one value on two") << "a.jsonl" << QByteArray("[\n1]\n") << "Unexpected end of data at line 1, column 2" << false << false;
    QTest::newRow("lines, a string on two") << "a.jsonl" << QByteArray("1,\"a\n b\"") << "Unexpected content after document at line 1, column 2" << false << false;
    QTest::newRow("lines, an array on two") << "a.jsonl" << QByteArray("1,[2\n3]") << "Unexpected content after document at line 1, column 2" << false << false;
    QTest::newRow("comments") << "a.jsonc" << QByteArray("// settings\n{\"a\": [1, 2,], /* b */ \"b\": \"//\",}\n") << R"({"a":[1,2],"b":"//"})" << true << false;
    QTest::newRow("block comment alone") << "a.jsonc" << QByteArray("[1] /* one */") << "[1]" << true << false;
    QTest::newRow("comments, a slash at the end") << "a.jsonc" << QByteArray("[1] /") << "Unexpected content after document at line 1, column 5" << false << false;
    QTest::newRow("trailing commas only") << "a.jsonc" << QByteArray("{\"u\": \"http://x/*\",}") << R"({"u":"http://x/*"})" << false << false;
    QTest::newRow("comments, still no bare keys") << "a.jsonc" << QByteArray("{a: 1}") << "Unexpected character, expected a string for object key at line 1, column 2" << false << false;
    QTest::newRow("strict, with a comment") << "a.json" << QByteArray("{\"a\": 1 // one\n}") << "Unexpected character, expected a comma or a closing brace at line 1, column 9" << false << true;
    QTest::newRow("strict, a trailing comma after a byte order mark") << "a.json" << QByteArray("\xEF\xBB\xBF[1,]") << "Trailing comma is not allowed at line 1, column 3" << false << true;
    QTest::newRow("as deep as a file may nest") << "a.json" << nestedArrays(JsonReader::maxDepth) << QString::fromLatin1(nestedArrays(JsonReader::maxDepth)) << false << false;
    QTest::newRow("strict, broken either way") << "a.json" << QByteArray("{\"a\": } // one") << "Unexpected character, expected a valid JSON value at line 1, column 7" << false << false;
    // clang-format on
}

void TestReader::formats()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, text);
    QFETCH(QString, result);
    QFETCH(bool, hasComments);
    QFETCH(bool, readsWithComments);
    const QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(writeFile(path, text));
    QString parseError;
    QString readError;
    bool wouldRead = false;
    std::unique_ptr<ParsedDocument> parsed = JsonReader::parseFile(
            path, JsonReader::formatForPath(path), &parseError, &readError, &wouldRead);
    QCOMPARE(parsed && parsed->hasComments(), hasComments);
    QCOMPARE(wouldRead, readsWithComments);
    QCOMPARE(parsed ? JsonWriter::toText(ParsedDocument::topLevelNode(std::move(parsed)).get(),
                                         false)
                    : parseError,
             result);
}

void TestReader::closedLines_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("closed");

    // Texts of 64 bytes and more: what is open carries from one block of 64
    // bytes to the next.
    const QByteArray pad(61, 'a');
    // clang-format off
    QTest::newRow("values") << QByteArray("{\"a\": [1, \"]\"]}\n\n\"x\\\"\"\r\n") << true;
    QTest::newRow("a string left open") << QByteArray("1, \"a\n b\"") << false;
    QTest::newRow("a bracket left open") << QByteArray("1, [2\n3]") << false;
    QTest::newRow("one closed too many") << QByteArray("[1]]\n[2") << false;
    QTest::newRow("the last line open") << QByteArray("1\n[2") << false;
    QTest::newRow("the last line in a string") << QByteArray("1\n\"2") << false;
    QTest::newRow("an escaped quotation mark") << QByteArray("\"a\\\"\n1") << false;
    QTest::newRow("an escaped backslash") << QByteArray("\"a\\\\\"\n1") << true;
    QTest::newRow("a string across blocks") << "\"" + pad + pad + "\"\n[]" << true;
    QTest::newRow("brackets across blocks") << "[" + pad + pad + "]\n1" << true;
    QTest::newRow("a bracket open across blocks") << "[" + pad + pad + "\n]" << false;
    QTest::newRow("a backslash ending a block") << "\"" + pad + "a\\\"\n1" << false;
    QTest::newRow("two backslashes ending a block") << "\"" + pad + "\\\\\"\n1" << true;
    // clang-format on
}

void TestReader::closedLines()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, closed);
    QCOMPARE(LineScanner::closesEveryLine(text), closed);
    // Nothing after the text counts: here an opening quotation mark.
    QCOMPARE(LineScanner::closesEveryLine(QByteArrayView(text + '"').chopped(1)), closed);
}

void TestReader::fileOfNoSize()
{
    // Files of /proc tell a size of 0 and have text all the same.
    const QString path = QStringLiteral("/proc/sys/kernel/pid_max");
    if (!QFileInfo::exists(path))
        QSKIP("no /proc here");
    QString parseError, readError;
    const std::unique_ptr<JsonNode> top = JsonReader::readFile(path, &parseError, &readError);
    QVERIFY2(top, qPrintable(parseError + readError));
    QCOMPARE(top->value().toString(), QString::fromLatin1(readFile(path).trimmed()));
}

void TestReader::bytesAfterTheText()
{
    // What a reused buffer holds after a file's text is no part of it.
    const QTemporaryDir dir;
    const QString whole = dir.filePath(QStringLiteral("whole.json"));
    const QString cut = dir.filePath(QStringLiteral("cut.json"));
    QVERIFY(writeFile(whole, QByteArray(40, ' ') + "[true]")
            && writeFile(cut, QByteArray(40, ' ') + "[tru"));
    QString parseError, readError;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(JsonReader::readFile(whole, &parseError, &readError));
        QVERIFY(!JsonReader::readFile(cut, &parseError, &readError));
    }
}

void TestReader::classify_data()
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
    QTest::newRow("nothing before the separator") << ": [1]" << K::KeyValue << "" << "[1]";
    QTest::newRow("one quotation mark") << R"(": 2)" << K::KeyValue << "\"" << "2";
    QTest::newRow("key decoded") << R"("q\"\\": 3)" << K::KeyValue << R"(q"\)" << "3";
    QTest::newRow("key with brackets and a separator") << R"("u[n]{: }": [1])" << K::KeyValue << "u[n]{: }" << "[1]";
    QTest::newRow("quote inside, as typed") << R"("say "hi"": 1)" << K::KeyValue << R"(say "hi")" << "1";
    QTest::newRow("invalid escape, as typed") << R"("\q": 1)" << K::KeyValue << R"(\q)" << "1";
    QTest::newRow("brace in a typed key") << "{x: [1]" << K::Text << "" << R"("{x: [1]")";
    QTest::newRow("split at the first separator") << R"(x: "y: z")" << K::KeyValue << "x" << R"("y: z")";
    QTest::newRow("object text") << R"({"a": 1})" << K::Json << "" << R"({"a":1})";
    QTest::newRow("array text") << R"(["a: b"])" << K::Json << "" << R"(["a: b"])";
    QTest::newRow("number") << "12" << K::Json << "" << "12";
    QTest::newRow("string") << R"("s: t")" << K::Json << "" << R"("s: t")";
    QTest::newRow("value is no JSON") << R"("a": nope)" << K::Text << "" << R"("\"a\": nope")";
    QTest::newRow("no space after the colon") << R"("a":1)" << K::Text << "" << R"("\"a\":1")";
    QTest::newRow("plain text") << "hello" << K::Text << "" << R"("hello")";
    QTest::newRow("text ending in a number") << "a1" << K::Text << "" << R"("a1")";
    QTest::newRow("deepest value") << "\"d\": " + QString::fromLatin1(nestedArrays(10000)) << K::KeyValue << "d" << QString::fromLatin1(nestedArrays(10000));
    QTest::newRow("too deep a value") << "[" + QString::fromLatin1(nestedArrays(10000)) + "]" << K::Text << "" << "\"[" + QString::fromLatin1(nestedArrays(10000)) + "]\"";
    // clang-format on
}

void TestReader::classify()
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

QTEST_MAIN(TestReader)
#include "tst_reader.moc"
