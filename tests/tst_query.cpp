#include "fixture.h"

#include "io/jsonreader.h"
#include "model/jsontreemodel.h"
#include "model/queryresultsmodel.h"
#include "query/jsonpath.h"
#include "query/queryresults.h"
#include "tree/jsonnode.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

namespace {

// The RFC's own example document, and one for descendants.
const char *const store = R"({"store": {"book": [
  {"category": "reference", "author": "Nigel Rees", "title": "Sayings of the Century", "price": 8.95},
  {"category": "fiction", "author": "Evelyn Waugh", "title": "Sword of Honour", "price": 12.99},
  {"category": "fiction", "author": "Herman Melville", "title": "Moby Dick", "isbn": "0-553-21311-3", "price": 8.99},
  {"category": "fiction", "author": "J. R. R. Tolkien", "title": "The Lord of the Rings", "isbn": "0-395-19395-8", "price": 22.99}],
  "bicycle": {"color": "red", "price": 399}}})";
const char *const nested = R"({"o": {"j": 1, "k": 2}, "a": [5, 3, [{"j": 4}, {"k": 6}]]})";

// The document as a file opens it, its nodes made on demand, or made whole.
std::unique_ptr<JsonNode> document(const QByteArray &json, bool onDemand)
{
    QString error;
    if (!onDemand)
        return JsonReader::parse(json, &error);
    QTemporaryFile file;
    if (!file.open() || file.write(json) != json.size() || !file.flush())
        return nullptr;
    QString readError;
    return JsonReader::readFile(file.fileName(), &error, &readError);
}

} // namespace

class TestQuery : public QObject
{
    Q_OBJECT

private slots:
    void select_data();
    void select();
    void invalid_data();
    void invalid();
    void normalizedPath();
    void resultsMadeOnDemand();
    void namesInLargeSubtrees();
    void resultsShownAsScrolled();
};

void TestQuery::select_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("query");
    // The normalized paths of the selected nodes, in order.
    QTest::addColumn<QStringList>("paths");

    const auto row = [](const char *name, const char *json, const char *query, const char *paths) {
        QTest::newRow(name) << QByteArray(json) << QString::fromUtf8(query)
                            << QString::fromUtf8(paths).split(u' ', Qt::SkipEmptyParts);
    };
    // clang-format off
    row("root", "[1]", "$", "$");
    row("authors", store, "$.store.book[*].author",
        "$['store']['book'][0]['author'] $['store']['book'][1]['author'] $['store']['book'][2]['author'] $['store']['book'][3]['author']");
    row("store members", store, "$.store.*", "$['store']['book'] $['store']['bicycle']");
    row("prices below store", store, "$.store..price",
        "$['store']['book'][0]['price'] $['store']['book'][1]['price'] $['store']['book'][2]['price'] $['store']['book'][3]['price'] $['store']['bicycle']['price']");
    row("last book", store, "$..book[-1]", "$['store']['book'][3]");
    row("first two", store, "$..book[:2]", "$['store']['book'][0] $['store']['book'][1]");
    row("with isbn", store, "$..book[?@.isbn]", "$['store']['book'][2] $['store']['book'][3]");
    row("cheap", store, "$..book[?@.price<10].title",
        "$['store']['book'][0]['title'] $['store']['book'][2]['title']");
    row("without isbn", store, "$..book[?!@.isbn]", "$['store']['book'][0] $['store']['book'][1]");
    row("blank after not", store, "$..book[?! @.isbn]", "$['store']['book'][0] $['store']['book'][1]");
    row("blanks in parentheses", "[1, 2]", "$[?( @ == 1 )]", "$[0]");
    row("not fiction", store, "$.store.book[?!(@.category == 'fiction')].price", "$['store']['book'][0]['price']");
    row("bracketed names", R"({"ab": {"'": 1, "\"": 2}})", R"($['ab']["'", '"', "\""])",
        R"($['ab']['\''] $['ab']['"'] $['ab']['"'])");
    row("name with a space", R"([{"a b": 1}])", "$[?@['a b'] == 1]", "$[0]");
    row("letters and digits at the ends", R"({"A":{"Z":{"a":{"z9":{"_0":1}}}}})", "$.A.Z.a.z9._0", "$['A']['Z']['a']['z9']['_0']");
    row("name from U+0080", "{\"\u0080\": 1}", "$.\u0080", "$['\u0080']");
    row("name beyond ASCII", R"({"ü1": 1})", "$.ü1", "$['ü1']");
    row("lower-case escape", R"({"ÿ": 1})", R"($['\u00ff'])", "$['ÿ']");
    row("escaped name", R"({"☺": 1, "\u000b": 2})", R"($["\u263A", '\u000B'])", "$['☺'] $['\\u000b']");
    row("surrogate pair escape", R"({"😀": 1})", R"($['\uD83D\uDE00'])", "$['😀']");
    row("short escapes", R"({"\b\f\n\r\t/\\": 1})", R"($['\b\f\n\r\t\/\\'])", R"($['\b\f\n\r\t/\\'])");
    row("surrogate pairs unescaped", R"({"😀": {"😀": 1}})", "$.😀['😀']", "$['😀']['😀']");
    row("index out of range", "[1, 2]", "$[2, -3, 1, -2, 0]", "$[1] $[0] $[0]");
    row("largest indexes", "[1]", "$[9007199254740991, -9007199254740991]", "");
    row("index on object", R"({"0": 1})", "$[0]", "");
    row("name on array", "[1]", "$.a", "");
    row("wildcard twice", "[1, 2]", "$[*, *]", "$[0] $[1] $[0] $[1]");
    row("slice", "[0, 1, 2, 3, 4, 5, 6]", "$[1:3]", "$[1] $[2]");
    row("slice, step", "[0, 1, 2, 3, 4, 5, 6]", "$[1: 5 : 2]", "$[1] $[3]");
    row("slice, back", "[0, 1, 2, 3, 4, 5, 6]", "$[5:1:-2]", "$[5] $[3]");
    row("slice, reversed", "[0, 1, 2]", "$[::-1]", "$[2] $[1] $[0]");
    row("slice, clamped", "[0, 1, 2]", "$[-9:9]", "$[0] $[1] $[2]");
    row("slice, back from beyond the end", "[0, 1, 2]", "$[5::-1]", "$[2] $[1] $[0]");
    row("slice, step 0", "[0, 1, 2]", "$[::0]", "");
    row("descendant name", nested, "$..j", "$['o']['j'] $['a'][2][0]['j']");
    row("descendant index", nested, "$..[0]", "$['a'][0] $['a'][2][0]");
    row("descendant pairs", nested, "$.a..[0, 1]", "$['a'][0] $['a'][1] $['a'][2][0] $['a'][2][1]");
    row("descendant all", "[[1], {\"k\": [2]}]", "$..*", "$[0] $[1] $[0][0] $[1]['k'] $[1]['k'][0]");
    row("white space", "[[1, 2]]", "$ [0] \t[ 0 , 1 ]", "$[0][0] $[0][1]");
    row("at least, at most", "[1, 2, 3]", "$[?@ >= 2 && @ <= 2 || @ >= 3 && @ <= 0]", "$[1]");
    row("filter on object", R"({"a": 1, "b": 2})", "$[?@ > 1]", "$['b']");
    row("existence of root", "[1]", "$[?$[0]]", "$[0]");
    row("and, or", "[1, 2, 3, 4]", "$[?@ == 1 || @ > 2 && @ != 4]", "$[0] $[2]");
    row("nothing equals nothing", R"([{"a": 1}, {"b": 2}])", "$[?@.x == @.y]", "$[0] $[1]");
    row("nothing is no number", R"([{"a": 1}])", "$[?@.x <= 1 || @.x >= 1]", "");
    row("deep equality", R"([[1, {"a": [2]}], [1, {"a": [3]}]])", "$[?@ == $[0]]", "$[0]");
    row("objects in any order", R"([{"a": 1, "b": 2}, {"b": 2, "a": 1}])", "$[?@ == $[0]]", "$[0] $[1]");
    row("strings by code points", R"(["\uffff", "\ud83d\ude00"])", "$[?@ > '\uffff']", "$[1]");
    row("true, false, null", "[true, false, null, 0]", "$[?@ == true || @ == null]", "$[0] $[2]");
    row("false", "[true, false, 0]", "$[?@ == false]", "$[1]");
    row("equality of each type", R"([[null, "a", -1, [1], {"a": 1}], [null, "a", -1, [1], {"a": 1}],
        [null, "b", -1, [1], {"a": 1}], [null, "a", -2, [1], {"a": 1}], [null, "a", -1, [1, 2], {"a": 1}],
        [null, "a", -1, [1], {"a": 1, "b": 2}], [null, "a", -1, [1], {"b": 1}], [true, "a", -1, [1], {"a": 1}]])",
        "$[?@ == $[0]]", "$[0] $[1]");
    row("no order for booleans", "[true, false]", "$[?@ < true]", "");
    row("integers by digits", "[100000000000000000001, 100000000000000000002, 9223372036854775807]",
        "$[?@ > 100000000000000000001]", "$[1]");
    row("unsigned beyond 63 bits", "[18446744073709551615, 18446744073709551614]",
        "$[?@ == 18446744073709551615]", "$[0]");
    row("integer equals fraction", "[1, 1.5, 100]", "$[?@ == 1.0 || @ == 1e2]", "$[0] $[2]");
    row("minus zero", "[0, -0.0]", "$[?@ == -0]", "$[0] $[1]");
    row("decimal fraction", "[0.1, 0.30000000000000004]", "$[?@ == 0.1 || @ < 0.3]", "$[0]");
    row("zeros after the point", "[0.05, 0.5, 0.005]", "$[?@ == 0.05 && 0.005 < 0.05 && 0.05 < 0.5]", "$[0]");
    row("beyond the doubles", "[1, -1]", "$[?@ < 1e400 && @ > -1e400 && 1e-400 > 0 && -1e-400 < 0]", "$[0] $[1]");
    row("integers against fractions", "[2, 3, 100000000000000000000]", "$[?@ > 2.5]", "$[1] $[2]");
    row("literals against each other", "[1]", "$[?2.5 < 3 && 0 == 0.0 && -3 < -2.5 && 0.0 == -0]", "$[0]");
    row("exponent signs", "[1]", "$[?1e+2 == 100 && 25e-1 > 2 && 25E-1 < 3]", "$[0]");
    row("exact fractions", "[1]", "$[?1.10 == 1.1 && 0.1e1 == 1 && 12e-1 < 1.25]", "$[0]");
    row("length", R"(["ab", "😀", [1, 2], {"a": 1}, 2])", "$[?length(@) == 2]", "$[0] $[2]");
    row("length of a member", R"([{"a": [1, 2]}, {"a": {"b": 1, "c": 2}}, {"a": "x"}])", "$[?length(@.a) == 2]", "$[0] $[1]");
    row("length of one code point", R"(["😀"])", "$[?length(@) == 1]", "$[0]");
    row("count", R"([[1, 2], [3]])", "$[?count(@.*) == 1]", "$[1]");
    row("value", R"([[1], [1, 1], []])", "$[?value(@..*) == 1]", "$[0]");
    row("match is whole", R"(["ab", "abc", "b"])", "$[?match(@, 'a.')]", "$[0]");
    row("search anywhere", R"(["ab", "cb", "c"])", "$[?search(@, 'b')]", "$[0] $[1]");
    row("match, dot and new line", R"(["a\n", "ab"])", "$[?match(@, 'a.')]", "$[1]");
    row("pattern from the document", R"([{"p": "a+", "s": "aa"}, {"p": "b", "s": "aa"}, {"p": "a", "s": "ba"}, {"s": "aa"}, {"p": "a"}])",
        "$[?match(@.s, @.p)]", "$[0]");
    row("pattern no I-Regexp", R"(["a"])", "$[?match(@, '(?:a)')]", "");
    row("match on a number", "[1]", "$[?match(@, '1')]", "");
    // clang-format on
}

void TestQuery::select()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, query);
    QFETCH(QStringList, paths);
    const JsonPath path(query);
    QVERIFY2(path.isValid(), qPrintable(path.errorString()));
    for (const bool onDemand : {false, true}) {
        const std::unique_ptr<JsonNode> top = document(json, onDemand);
        QVERIFY(top);
        QStringList selected;
        for (const JsonNode *node : path.select(top.get()))
            selected << node->normalizedPath();
        QCOMPARE(selected, paths);
    }
}

void TestQuery::invalid_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");

    // clang-format off
    QTest::newRow("empty") << "" << 0 << "Expected \"$\" at position 0";
    QTest::newRow("leading blank") << " $" << 0 << "Expected \"$\" at position 0";
    QTest::newRow("trailing blank") << "$ " << 1 << "Unexpected character \" \" at position 1";
    QTest::newRow("dot alone") << "$." << 2 << "Expected a member name or \"*\" at position 2";
    QTest::newRow("blank after dot") << "$. a" << 2 << "Expected a member name or \"*\" at position 2";
    QTest::newRow("descendant alone") << "$.." << 3 << "Expected a member name or \"*\" at position 3";
    QTest::newRow("name starting with a digit") << "$.1a" << 2 << "Expected a member name or \"*\" at position 2";
    QTest::newRow("unclosed bracket") << "$[0" << 3 << "Expected \",\" or \"]\" at position 3";
    QTest::newRow("empty brackets") << "$[]" << 2 << "Expected a selector at position 2";
    QTest::newRow("leading zero") << "$[01]" << 2 << "Invalid integer at position 2";
    QTest::newRow("minus zero index") << "$[-0]" << 2 << "Invalid integer at position 2";
    QTest::newRow("minus alone") << "$[-]" << 3 << "Expected a digit at position 3";
    QTest::newRow("minus alone as a step") << "$[::-]" << 5 << "Expected a digit at position 5";
    QTest::newRow("index too large") << "$[9007199254740992]" << 2 << "Integer out of range at position 2";
    QTest::newRow("unclosed string") << "$['a" << 4 << "Unterminated string at position 4";
    QTest::newRow("foreign escape") << R"($["\'"])" << 3 << "Invalid escape at position 3";
    QTest::newRow("lone surrogate") << R"($['\uD800'])" << 3 << "Invalid escape at position 3";
    QTest::newRow("control character") << "$['\t']" << 3 << "Control character in a string at position 3";
    QTest::newRow("single equals") << "$[?@.a = 1]" << 7 << "Expected \",\" or \"]\" at position 7";
    QTest::newRow("literal alone") << "$[?true]" << 3 << "A literal must be compared at position 3";
    QTest::newRow("non-singular compared") << "$[?@.* == 1]" << 3 << "A query that may select several nodes cannot be compared at position 3";
    QTest::newRow("non-singular compared on the right") << "$[?1 == @.*]" << 8 << "A query that may select several nodes cannot be compared at position 8";
    QTest::newRow("descendant compared") << "$[?@..a == 1]" << 3 << "A query that may select several nodes cannot be compared at position 3";
    QTest::newRow("value function as test") << "$[?length(@)]" << 3 << "The result of length() must be compared at position 3";
    QTest::newRow("logical function compared") << "$[?match(@, 'a') == true]" << 3 << "The result of match() cannot be compared at position 3";
    QTest::newRow("nodes for a value") << "$[?length(@.*) == 1]" << 10 << "Invalid argument for length() at position 10";
    QTest::newRow("literal for nodes") << "$[?count(1) == 1]" << 9 << "Invalid argument for count() at position 9";
    QTest::newRow("too many arguments") << "$[?length(@, @) == 1]" << 3 << "Wrong number of arguments for length() at position 3";
    QTest::newRow("unknown function") << "$[?foo(@)]" << 3 << "Unknown function \"foo\" at position 3";
    QTest::newRow("unknown function with a digit") << "$[?foo1(@)]" << 3 << "Unknown function \"foo1\" at position 3";
    QTest::newRow("unknown function with a") << "$[?abc(@)]" << 3 << "Unknown function \"abc\" at position 3";
    QTest::newRow("unknown function negated") << "$[?!abc(@)]" << 4 << "Unknown function \"abc\" at position 4";
    QTest::newRow("unknown function with z") << "$[?fooz(@)]" << 3 << "Unknown function \"fooz\" at position 3";
    QTest::newRow("upper case literal") << "$[?@ == True]" << 8 << "Unexpected character \"T\" at position 8";
    QTest::newRow("double negation") << "$[?!!@]" << 4 << "Unexpected character \"!\" at position 4";
    QTest::newRow("unclosed parenthesis") << "$[?(@.a]" << 7 << "Expected \")\" at position 7";
    QTest::newRow("number with bare dot") << "$[?@ == 1.]" << 10 << "Expected a digit at position 10";
    QTest::newRow("number with bare exponent") << "$[?@ == 1e+]" << 11 << "Expected a digit at position 11";
    QTest::newRow("minus alone as a number") << "$[?@ == -]" << 9 << "Expected a digit at position 9";
    QTest::newRow("number with leading zero") << "$[?@ == 01]" << 8 << "Invalid number at position 8";
    QTest::newRow("unknown name") << "$[?@ == nul]" << 8 << "Unknown name \"nul\" at position 8";
    QTest::newRow("single bar") << "$[?@.a | @.b]" << 7 << "Expected \",\" or \"]\" at position 7";
    QTest::newRow("single ampersand") << "$[?@.a & @.b]" << 7 << "Expected \",\" or \"]\" at position 7";
    QTest::newRow("literal joined") << "$[?@.a && 1]" << 10 << "A literal must be compared at position 10";
    QTest::newRow("literal joined first") << "$[?1 || @.a]" << 3 << "A literal must be compared at position 3";
    QTest::newRow("literal negated") << "$[?!true]" << 4 << "A literal must be compared at position 4";
    QTest::newRow("filter not ended") << "$[?" << 3 << "Unexpected end of the query at position 3";
    QTest::newRow("arguments not ended") << "$[?length(@" << 11 << "Unexpected end of the query at position 11";
    QTest::newRow("arguments without comma") << "$[?search(@ 'a')]" << 12 << "Expected \",\" at position 12";
    QTest::newRow("descendant bracket not ended") << "$..[" << 4 << "Expected a selector at position 4";
    QTest::newRow("minus alone as an end") << "$[:-]" << 4 << "Expected a digit at position 4";
    QTest::newRow("lone low surrogate escape") << R"($['\uDC00'])" << 3 << "Invalid escape at position 3";
    QTest::newRow("high surrogate escape alone") << R"($['\uD800x'])" << 3 << "Invalid escape at position 3";
    QTest::newRow("high surrogate escape, no low") << R"($['\uD800\u0041'])" << 3 << "Invalid escape at position 3";
    QTest::newRow("hexadecimal digit expected") << R"($['\u00G0'])" << 7 << "Expected a hexadecimal digit at position 7";
    QTest::newRow("unpaired surrogate") << QStringLiteral("$['%1']").arg(QChar(0xD800)) << 3 << "Invalid character at position 3";
    // clang-format on
}

void TestQuery::invalid()
{
    QFETCH(QString, query);
    QFETCH(int, position);
    const JsonPath path(query);
    QVERIFY(!path.isValid());
    QCOMPARE(path.errorPosition(), position);
    QTEST(path.errorString(), "message");
    const std::unique_ptr<JsonNode> top = document("[1]", false);
    QVERIFY(path.select(top.get()).isEmpty());
}

void TestQuery::normalizedPath()
{
    const std::unique_ptr<JsonNode> top
            = document(R"({"a": [{"it's \\ \b\f\n\r\t\u0001 ü": 1}]})", false);
    QCOMPARE(top->normalizedPath(), QStringLiteral("$"));
    QCOMPARE(top->child(0)->child(0)->child(0)->normalizedPath(),
             QStringLiteral(R"($['a'][0]['it\'s \\ \b\f\n\r\t\u0001 ü'])"));
}

void TestQuery::resultsMadeOnDemand()
{
    // A query reads the parsed values: only the results asked for are made,
    // in any order, and stay the same nodes. The results hold the parsed
    // document while they need it, and not after.
    size_t before = 0;
    for (int round = 0; round < 2; ++round) {
        if (round == 1) // the first round pays for what stays for good
            before = heapInUse();
        std::unique_ptr<JsonNode> top = document(R"([[{"a": 1}, {"a": 2}], {"a": 3}])", true);
        QueryResults results;
        QVERIFY(JsonPath(QStringLiteral("$..a")).evaluate(top.get(), &results));
        QCOMPARE(results.size(), 3);
        QVERIFY(top->unmadeChildren());
        JsonNode *last = results.node(2);
        QCOMPARE(last->normalizedPath(), QStringLiteral("$[1]['a']"));
        QVERIFY(top->child(0)->unmadeChildren());
        QCOMPARE(results.node(1)->normalizedPath(), QStringLiteral("$[0][1]['a']"));
        QCOMPARE(results.node(0)->value().toInt(), 1);
        QCOMPARE(results.node(2), last);
        int asked = 0;
        QVERIFY(!JsonPath(QStringLiteral("$..*")).evaluate(top.get(), &results, [&asked] {
            return ++asked < 0;
        }) || asked == 0);
        QVERIFY(JsonPath(QStringLiteral("$..a")).evaluate(top.get(), &results));
        top.reset();
    }
    QVERIFY2(heapInUse() < before + 8192, qPrintable(QString::number(heapInUse() - before)));
}

void TestQuery::namesInLargeSubtrees()
{
    // A large parsed subtree is searched for names by its text: the answers
    // are those of the walk through the made nodes.
    QByteArray json = R"({"small": {"x": 0}, "big": [)";
    for (int i = 0; i < 3000; ++i)
        json += R"({"x": 1, "y": [2]},)";
    json += R"({"z": 3}]})";
    const std::unique_ptr<JsonNode> made = document(json, false);
    const std::unique_ptr<JsonNode> parsed = document(json, true);
    for (const char *query : {"$..x", "$..z", "$..q", "$..['q', 'z']", "$..[0]", "$..*"}) {
        const JsonPath path(QString::fromLatin1(query));
        QCOMPARE(path.select(parsed.get()).size(), path.select(made.get()).size());
    }
    QCOMPARE(JsonPath(QStringLiteral("$..z")).select(parsed.get()).size(), 1);
}

void TestQuery::resultsShownAsScrolled()
{
    QByteArray json = "[0";
    for (int i = 1; i < 25000; ++i)
        json += ',' + QByteArray::number(i);
    const std::unique_ptr<JsonNode> top = document(json + ']', true);
    JsonTreeModel tree;
    QueryResultsModel model(&tree);
    QueryResults results;
    QVERIFY(JsonPath(QStringLiteral("$[*]")).evaluate(top.get(), &results));
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    model.setResults(results);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(model.resultCount(), 25000);
    QCOMPARE(model.rowCount(), 10000);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Value"));
    QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
    // It fetches more rows itself.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    while (model.canFetchMore({}))
        model.fetchMore({});
    QCOMPARE(model.rowCount(), 25000);
    QCOMPARE(model.index(24999, 0).data().toString(), QStringLiteral(".[24999]"));
    QCOMPARE(model.index(24999, 1).data().toString(), QStringLiteral("24999"));
    model.clear();
    QCOMPARE(resets.count(), 2);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.resultCount(), 0);
}

QTEST_MAIN(TestQuery)
#include "tst_query.moc"
