#include "model/jsonnode.h"
#include "model/jsontreemodel.h"
#include "model/preordercursor.h"
#include "model/searchmatcher.h"

#include <QRegularExpression>
#include <QTest>

// The matcher answers most rows without making their text; whatever it
// skips, it must answer exactly as the texts the view shows would.
class TestSearchMatcher : public QObject
{
    Q_OBJECT

private slots:
    void agreesWithTheShownTexts_data();
    void agreesWithTheShownTexts();
};

namespace {

const char *const document = R"({
    "id": 12, "ids": [-7, 0, 18446744073709551615], "ratio": -2.5, "huge": 1e+300,
    "tiny": 1.5e-7, "on": true, "off": false, "none": null, "name": "Hello World",
    "E": "e+E", "empty": {}, "list": [1, 2, 3], "ten": [0,1,2,3,4,5,6,7,8,9],
    "records": [{"id": 1, "name": "inf"}, {"id": 2, "name": "nan"}, {"id": 3.25}],
    "long": "abcdefghijklmnopqrstuvwxyz0123456789", "": "", "ℹ": "ǅ"
})";

// Values the editor and other commands can leave behind: a number holding
// text, a string holding a number.
void addEditedValues(JsonTreeModel &model)
{
    JsonNode *top = JsonTreeModel::nodeForIndex(model.index(0, 0));
    top->child(0)->setValue(QStringLiteral("twelve"));
    top->child(8)->setValue(QVariant::fromValue(qint64(42)));
}

bool naiveMatch(const QString &text, const SearchOptions &options)
{
    if (!options.useRegex)
        return text.contains(options.text,
                             options.ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
    QRegularExpression expression(options.text, options.ignoreCase
                                          ? QRegularExpression::CaseInsensitiveOption
                                          : QRegularExpression::NoPatternOption);
    return expression.match(text).hasMatch();
}

} // namespace

void TestSearchMatcher::agreesWithTheShownTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("useRegex");
    for (const char *text : {"1", "-", "2.5", "e", "E", "e+", "e-07", "inf", "NaN", "a", "A",
                             "items", "{ 0 items }", "[ 3", "10 items", "null", "NULL", "true",
                             "FALSE", "Hello", "hello", "chars total", "...", "twelve", "42",
                             "ǆ", "ℹ", " ", "18446744073709551615"})
        QTest::addRow("text %s", text) << QString::fromUtf8(text) << false;
    for (const char *text : {"^\\d+$", "items", "^$", "null|true", "^-?[0-9.]+$", "e\\+", "I"})
        QTest::addRow("regex %s", text) << QString::fromUtf8(text) << true;
}

void TestSearchMatcher::agreesWithTheShownTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, useRegex);
    JsonTreeModel model;
    QVERIFY(model.loadFromString(QString::fromUtf8(document)));
    addEditedValues(model);

    for (const int limit : {1024, 3, 0}) {
        model.setMaxTextLength(limit);
        for (const bool ignoreCase : {false, true}) {
            for (const bool searchInValue : {false, true}) {
                SearchOptions options;
                options.text = text;
                options.useRegex = useRegex;
                options.ignoreCase = ignoreCase;
                options.searchInValue = searchInValue;
                SearchMatcher matcher(&model, options);
                QVERIFY(matcher.isValid());
                PreorderCursor cursor(&model);
                // Twice over, so that the second walk answers from what the first learnt.
                for (int walk = 0; walk < 2; ++walk) {
                    for (cursor.moveToFirst(); cursor.isValid(); cursor.next()) {
                        int expected = -1;
                        if (naiveMatch(cursor.index(0).data().toString(), options))
                            expected = 0;
                        else if (searchInValue
                                 && naiveMatch(cursor.index(1).data().toString(), options))
                            expected = 1;
                        QVERIFY2(matcher.matchingColumn(cursor.node()) == expected,
                                 qPrintable(QStringLiteral("%1 | %2, limit %3, case %4")
                                                    .arg(cursor.index(0).data().toString(),
                                                         cursor.index(1).data().toString())
                                                    .arg(limit)
                                                    .arg(ignoreCase)));
                    }
                }
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestSearchMatcher)
#include "tst_searchmatcher.moc"
