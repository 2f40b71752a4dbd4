#include "fixture.h"

#include "search/preordercursor.h"
#include "search/searchmatcher.h"
#include "search/treesearch.h"
#include "tree/jsonnode.h"

namespace {

const QString doc = QStringLiteral(R"({"a":1,"b":{"a":2}})");

// Options from letters: b backward, i ignore case, n no wrap, r regex, v values.
SearchOptions options(const QString &text, const QString &flags = {})
{
    SearchOptions result;
    result.text = text;
    result.backward = flags.contains(QLatin1Char('b'));
    result.ignoreCase = flags.contains(QLatin1Char('i'));
    result.wrapAround = !flags.contains(QLatin1Char('n'));
    result.useRegex = flags.contains(QLatin1Char('r'));
    result.searchInValue = flags.contains(QLatin1Char('v'));
    return result;
}

// "" the top-level row, "/b/a" the member "a" of "b", "none" no row, "…#value" a Value cell.
QString pathOf(const QModelIndex &index)
{
    if (!index.isValid())
        return QStringLiteral("none");
    QStringList keys;
    for (QModelIndex i = index; i.isValid(); i = i.parent())
        keys.prepend(i.siblingAtColumn(0).data().toString());
    return keys.join(QLatin1Char('/'))
            + (index.column() == 1 ? QStringLiteral("#value") : QString());
}

QModelIndex cell(const JsonTreeModel &model, const QString &path)
{
    PreorderCursor cursor(&model);
    for (cursor.moveToFirst(); cursor.isValid(); cursor.next())
        for (const int column : {0, 1})
            if (pathOf(cursor.index(column)) == path)
                return cursor.index(column);
    return {};
}

// "K" is the Kelvin sign: "k" ignoring case.
const char shownTexts[] = R"({
    "id": 12, "ids": [-7, 0, 18446744073709551615], "ratio": -2.5, "huge": 1e+300,
    "tiny": 1.5e-7, "on": true, "off": false, "none": null, "name": "Hello World",
    "E": "e+E", "empty": {}, "ten": [0,1,2,3,4,5,6,7,8,9],
    "records": [{"id": 1, "name": "inf"}, {"id": 2, "name": "nan"}, {"id": 3.25}],
    "long": "abcdefghijklmnopqrstuvwxyz0123456789", "": "", "ℹ": "ǅ", "K": ["é", {}],
    "hard": "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa!ab", "esc": ["a\tb\u00e9\u0022q"], "smile": "x😀b"})";

} // namespace

Q_DECLARE_METATYPE(TreeSearch::Outcome)

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void walk_data()
    {
        // clang-format off
        QTest::addColumn<QString>("json");
        QTest::addColumn<QString>("start");
        QTest::addColumn<SearchOptions>("search");
        QTest::addColumn<TreeSearch::Outcome>("outcome");
        QTest::addColumn<QString>("match");
        QTest::addColumn<bool>("reveal");

        using O = TreeSearch::Outcome;
        QTest::newRow("down from nowhere") << doc << "none" << options("a") << O::Found << "/a" << true;
        QTest::newRow("down, wraps") << doc << "/b/a" << options("a") << O::FoundAfterWrap << "/a" << true;
        QTest::newRow("up from nowhere") << doc << "none" << options("a", "b") << O::Found << "/b/a" << true;
        QTest::newRow("down out of a subtree") << R"({"a":{"x":1},"b":2})" << "none" << options("b") << O::Found << "/b" << true;
        QTest::newRow("up into the subtree before") << R"({"a":{"b":1},"c":2})" << "/c" << options("b", "b") << O::Found << "/a/b" << true;
        QTest::newRow("up over empty containers") << R"({"a":[],"b":{"c":{}}})" << "none" << options("a", "b") << O::Found << "/a" << true;
        QTest::newRow("up, wraps") << doc << "/a" << options("a", "b") << O::FoundAfterWrap << "/b/a" << true;
        QTest::newRow("value of containers") << doc << "none" << options("items", "v") << O::Found << "#value" << true;
        QTest::newRow("next container") << doc << "" << options("items", "v") << O::Found << "/b#value" << true;
        QTest::newRow("no wrap, last row matches") << doc << "/b/a" << options("a", "n") << O::Found << "/b/a" << false;
        QTest::newRow("no wrap, last row no match") << doc << "/b/a" << options("b", "n") << O::NotFound << "none" << true;
        QTest::newRow("no wrap, only the current row matches") << doc << "/b" << options("b", "n") << O::NotFound << "none" << true;
        QTest::newRow("no wrap, up from the top") << doc << "" << options("items", "bnv") << O::Found << "#value" << false;
        QTest::newRow("no wrap, up from nowhere") << doc << "none" << options("a", "bn") << O::Found << "/b/a" << true;
        QTest::newRow("no wrap, invalid regex on the last row") << doc << "/b/a" << options("a(", "nr") << O::NotFound << "none" << true;
        QTest::newRow("only match is current") << doc << "/b" << options("b") << O::FoundAfterWrap << "/b" << true;
        QTest::newRow("value cell starts its row") << doc << "/a#value" << options("a") << O::Found << "/b/a" << true;
        QTest::newRow("many items") << "[" + QString(QStringLiteral("0,")).repeated(4095) + "0]" << "none" << options("4096 items", "v") << O::Found << "#value" << true;
        QString keys; // many keys of one length, so that their texts share places in the memo
        for (int i = 0; i < 2000; ++i)
            keys += QStringLiteral("\"k%1\":0,").arg(i, 4, 10, QLatin1Char('0'));
        QTest::newRow("keys of one length") << '{' + keys + "\"z\":0}" << "none" << options("k1999") << O::Found << "/k1999" << true;
        QTest::newRow("regex") << doc << "none" << options("^b$", "r") << O::Found << "/b" << true;
        QTest::newRow("no match") << doc << "none" << options("zz") << O::NotFound << "none" << true;
        QTest::newRow("invalid regex") << doc << "/a" << options("a(", "r") << O::InvalidExpression << "none" << true;
        QTest::newRow("invalid regex, a class not closed") << doc << "/a" << options("a[", "r") << O::InvalidExpression << "none" << true;
        QTest::newRow("no document") << QString() << "none" << options("a(", "r") << O::NoItems << "none" << true;
        const QString longText = "{\"v\":\"" + QString(3000, QLatin1Char('x')) + "NEEDLE\"}";
        QTest::newRow("the end of a long value") << longText << "none" << options("NEEDLE", "v") << O::Found << "/v#value" << true;
        QTest::newRow("never the shortened text") << longText << "none" << options("chars total", "v") << O::NotFound << "none" << true;
        const QString hard = QString(40, QLatin1Char('a')) + "!ab";
        QTest::newRow("too complex for a value") << "{\"k\":\"" + hard + "\",\"x\":\"b\"}" << "none" << options("(a+)+b", "rv") << O::TooComplex << "/k" << true;
        QTest::newRow("too complex for a key") << "{\"b\":{\"" + hard + "\":\"b\"}}" << "/b" << options("(a+)+b", "rvn") << O::TooComplex << "/b/" + hard << true;
        // clang-format on
    }
    void walk()
    {
        QFETCH(QString, json);
        QFETCH(QString, start);
        QFETCH(SearchOptions, search);
        ModelFixture f(json);
        const TreeSearch::Result result = TreeSearch::find(&f.model, cell(f.model, start), search);
        QTEST(result.outcome, "outcome");
        QTEST(pathOf(result.match), "match");
        QTEST(result.reveal, "reveal");
        const bool invalid = result.outcome == TreeSearch::Outcome::InvalidExpression;
        QCOMPARE(result.error, invalid ? QRegularExpression(search.text).errorString() : QString());
    }
    // The matcher's shortcuts answer as the whole texts would, however short the shown ones.
    void matcherMatchesWholeTexts_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("useRegex");
        for (const char *text : {"1", "-", "2.5", "e", "E", "e+", "e-07", "inf", "NaN", "a", "A", "{ 0 items }", "[ 3", "10 items",
                                 "null", "NULL", "true", "FALSE", "hello", "chars total", "twelve", "42", "ǆ", " ", "18446744073709551615", "k", "xyz0", "World", "é", "[1]", "rue", "\tbé\"q"})
            QTest::addRow("text %s", text) << QString::fromUtf8(text) << false;
        for (const char *text : {"^\\d+$", "items", "^$", "null|true", "^-?[0-9.]+$", "e\\+", "I", "9$",
                                 "hel+o", "wor?ld", "x{0}yz0", "x{1}yz0", "[xy]yz0", "tw.lve", "\\[1\\]", "1{2}", "ǆ+", "t[r]ue", "r?ue", "\\tb", "[]]q|é", "e\\Q+",
                                 "😀b", "wx{1,}yz0", "[^]]yz0", "[[:alpha:]]yz0", "[\\]x]yz0"})
            QTest::addRow("regex %s", text) << QString::fromUtf8(text) << true;
        // clang-format on
    }
    void matcherMatchesWholeTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, useRegex);
        ModelFixture f(QString::fromUtf8(shownTexts));
        JsonNode *top = JsonTreeModel::nodeForIndex(f.model.index(0, 0));
        top->child(0)->setValue(QStringLiteral("twelve"));
        top->child(8)->setValue(QVariant::fromValue(qint64(42)));
        f.model.setMaxTextLength(3); // matching ignores it
        for (const char *flags : {"", "i", "v", "iv"}) {
            const SearchOptions search
                    = options(text, QString::fromLatin1(flags) + (useRegex ? "r" : ""));
            const QRegularExpression expression(text,
                                                search.ignoreCase
                                                        ? QRegularExpression::CaseInsensitiveOption
                                                        : QRegularExpression::NoPatternOption);
            const auto wholeMatch = [&](const QString &whole) {
                return useRegex
                        ? expression.match(whole).hasMatch()
                        : whole.contains(
                                text, search.ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
            };
            SearchMatcher matcher(search);
            PreorderCursor cursor(&f.model);
            // Twice over, so that the second walk answers from what the first learnt.
            for (int walk = 0; walk < 2; ++walk) {
                for (cursor.moveToFirst(); cursor.isValid(); cursor.next()) {
                    const QVariant value = cursor.index(1).data(Qt::EditRole);
                    const QString whole = cursor.node()->isContainer()
                            ? cursor.index(1).data().toString()
                            : value.isNull() ? QStringLiteral("null")
                                             : value.toString();
                    const int expected = wholeMatch(cursor.index(0).data().toString()) ? 0
                            : search.searchInValue && wholeMatch(whole)                ? 1
                                                                                       : -1;
                    QVERIFY2(matcher.matchingColumn(cursor.node()) == expected,
                             qPrintable(pathOf(cursor.index()) + flags));
                }
            }
        }
    }
    // Rows not made yet are searched on their parsed values, finding what the made rows would.
    void unmadeRows_data()
    {
        matcherMatchesWholeTexts_data();
        QTest::addRow("regex too complex") << QStringLiteral("(a+)+b") << true;
    }
    void unmadeRows()
    {
        QFETCH(QString, text);
        QFETCH(bool, useRegex);
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.json"));
        QVERIFY(writeFile(path, shownTexts));
        for (const int limit : {1024, 3}) {
            for (const char *flags : {"", "i", "v", "iv", "bv", "biv"}) {
                const SearchOptions search
                        = options(text, QString::fromLatin1(flags) + (useRegex ? "r" : ""));
                JsonTreeModel made, unmade;
                QVERIFY(made.loadFromString(QString::fromUtf8(shownTexts))
                        && unmade.loadFromFile(path));
                QStringList found[2];
                for (JsonTreeModel *model : {&made, &unmade}) {
                    model->setMaxTextLength(limit);
                    QModelIndex current; // Find Next, again and again
                    for (int i = 0; i < 12; ++i) {
                        const TreeSearch::Result result = TreeSearch::find(model, current, search);
                        found[model == &unmade] << pathOf(current = result.match)
                                        + QString::number(int(result.outcome));
                    }
                }
                QCOMPARE(found[1], found[0]);
                unmade.loadFromFile(path); // and a search finding nothing makes nothing
                TreeSearch::find(&unmade, {}, options(QStringLiteral("zz"), QStringLiteral("v")));
                QVERIFY(JsonTreeModel::nodeForIndex(unmade.index(0, 0))->unmadeChildren());
            }
        }
    }
    // A search asks whether to go on between rows, made or not, and ends at the first no.
    void cancel_data()
    {
        QTest::addColumn<bool>("fromFile");
        QTest::addColumn<QString>("flags");
        for (const bool fromFile : {false, true})
            for (const char *flags : {"vi", "vr", "bvi"}) // none ruled out by the text alone
                QTest::addRow("%s %s", fromFile ? "unmade" : "made", flags) << fromFile << flags;
    }
    void cancel()
    {
        QFETCH(bool, fromFile);
        QFETCH(QString, flags);
        const QByteArray json = "[" + QByteArray("\"x\",").repeated(3000) + "0]";
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.json"));
        JsonTreeModel model;
        QVERIFY(fromFile ? writeFile(path, json) && model.loadFromFile(path)
                         : model.loadFromString(QString::fromUtf8(json)));
        // An expression with no text every match must hold is tested on every row.
        const SearchOptions search = options(
                flags.contains(u'r') ? QStringLiteral("[z][z]") : QStringLiteral("zz"), flags);
        int asked = 0;
        TreeSearch::Result result
                = TreeSearch::find(&model, {}, search, [&asked] { return ++asked < 2; });
        QCOMPARE(result.outcome, TreeSearch::Outcome::Cancelled);
        QVERIFY(asked == 2 && !result.match.isValid());
        asked = 0;
        result = TreeSearch::find(&model, {}, search, [&asked] { return ++asked > 0; });
        QVERIFY(result.outcome == TreeSearch::Outcome::NotFound && asked >= 2);
    }
    // A parsed subtree whose names and strings lack what every match holds
    // is skipped whole; anything a number, label, count or null could match
    // is never ruled out so.
    void rulesOutSubtrees_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ruledOut");
        const auto row = [](const char *name, const char *search, const char *flags,
                            const char *text, bool ruledOut) {
            QTest::newRow(name) << QString::fromUtf8(search) << QString::fromLatin1(flags)
                                << QString::fromUtf8(text) << ruledOut;
        };
        row("plain, held", "ab", "", "xaby", false);
        row("plain, lacking", "ab", "", "a b", true);
        row("ignoring case", "ab", "i", "xy", false);
        row("could be a label", "12", "", "xy", false);
        row("no value text holds it", "ab", "v", "xy", true);
        row("false holds it", "al", "v", "xy", false);
        row("a number could", "1e", "v", "xy", false);
        row("regex, repeated run held", "ab+c", "r", "xabx", false);
        row("regex, repeated run lacking", "ab+c", "r", "xacx", true);
        row("regex, ignoring case", "ab", "ri", "xy", false);
        row("regex, quoted", "a\\Qb", "r", "xy", false);
        row("regex, alternatives", "ab|cd", "r", "xy", false);
        row("regex, exact count", "ab{2}c", "r", "xay", true);
        row("regex, once", "ab{1}cd", "r", "abxcd", true);
        row("regex, optional count held", "ab{0,2}cd", "r", "xcdx", false);
        row("regex, optional count lacking", "ab{0,2}cd", "r", "abc", true);
        row("regex, unterminated count", "ab{2", "r", "xy", false);
        row("regex, optional", "abc?d", "r", "xd", true);
        row("regex, anchors and any", "^ab.cd$", "r", "cd", true);
        row("regex, class held", "[^]a]bc", "r", "xbcx", false);
        row("regex, class lacking", "[^]a]bc", "r", "bx", true);
        row("regex, POSIX class", "[[:alpha:]]bc", "r", "bx", true);
        row("regex, unclosed class", "ab[", "r", "xy", false);
        row("regex, unclosed class in class", "ab[c[", "r", "xy", false);
        row("regex, escaped punctuation held", "a\\.b", "r", "a.b", false);
        row("regex, escaped punctuation lacking", "a\\.b", "r", "axb", true);
        row("regex, escaped letter", "a\\db", "r", "xbx", true);
        row("regex, beyond U+FFFF held", "😀b", "r", "x😀b", false);
        row("regex, beyond U+FFFF lacking", "😀b", "r", "😀", true);
    }
    void rulesOutSubtrees()
    {
        QFETCH(QString, search);
        QFETCH(QString, flags);
        QFETCH(QString, text);
        const SearchMatcher matcher(options(search, flags));
        QTEST(matcher.rulesOutRowsBelow(text.toUtf8()), "ruledOut");
    }
    // One row tested alone: the cell that matches, or why none does.
    void matchesOneRow_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("matched");
        QTest::addColumn<QString>("error");
        QTest::newRow("key") << "b"
                             << "/b"
                             << "";
        QTest::newRow("value") << "items"
                               << "/b#value"
                               << "";
        QTest::newRow("none") << "zz"
                              << "none"
                              << "";
        QTest::newRow("invalid") << "a("
                                 << "none"
                                 << QRegularExpression(QStringLiteral("a(")).errorString();
    }
    void matchesOneRow()
    {
        QFETCH(QString, search);
        ModelFixture f(doc);
        PreorderCursor candidate(&f.model);
        candidate.moveTo(f.at({0, 1}));
        SearchMatcher matcher(options(search, search.contains(u'(') ? "rv" : "v"));
        QModelIndex matched;
        QString error;
        const bool found = TreeSearch::matches(candidate, matcher, &matched, &error);
        QTEST(pathOf(matched), "matched");
        QCOMPARE(found, matched.isValid());
        QTEST(error, "error");
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
