#include "query/iregexp.h"

#include <QTest>

enum class Outcome { Match, NoMatch, Invalid };
Q_DECLARE_METATYPE(Outcome)

class TestIRegexp : public QObject
{
    Q_OBJECT

private slots:
    void compile_data()
    {
        // clang-format off
        QTest::addColumn<QString>("iregexp");
        QTest::addColumn<bool>("wholeString");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<Outcome>("outcome");

        using O = Outcome;
        QTest::newRow("dot, line feed") << "a.c" << true << "a\nc" << O::NoMatch;
        QTest::newRow("dot, carriage return") << "a.c" << false << "a\rc" << O::NoMatch;
        QTest::newRow("dot, beyond U+FFFF") << "a.b" << true << "a😀b" << O::Match;
        QTest::newRow("two dots, one code point") << ".." << true << "😀" << O::NoMatch;
        QTest::newRow("whole") << "b" << true << "abc" << O::NoMatch;
        QTest::newRow("substring") << "b" << false << "abc" << O::Match;
        QTest::newRow("whole, final line feed") << "abc" << true << "abc\n" << O::NoMatch;
        QTest::newRow("whole, branches") << "a|b" << true << "ab" << O::NoMatch;
        QTest::newRow("dollar, the very end") << "a$" << false << "ba\n" << O::NoMatch;
        QTest::newRow("caret, the start") << "^a" << false << "ba" << O::NoMatch;
        QTest::newRow("digits as they are") << "19" << true << "19" << O::Match;
        QTest::newRow("letters and digits at the ends") << "zZaA09" << true << "zZaA09" << O::Match;
        QTest::newRow("unknown category in a class") << "[\\p{Xx}]" << true << "a" << O::Invalid;
        QTest::newRow("caret, anchored anyway") << "^ab.*" << true << "abc" << O::Match;
        QTest::newRow("anchor not quantified") << "^*a" << false << "a" << O::Invalid;
        QTest::newRow("space and hash") << "a #b/" << true << "a #b/" << O::Match;
        QTest::newRow("escapes") << "\\n\\t\\.\\^\\{\\\\" << true << "\n\t.^{\\" << O::Match;
        QTest::newRow("range") << "[a-c]+" << true << "abcb" << O::Match;
        QTest::newRow("negated") << "[^a-c]" << true << "b" << O::NoMatch;
        QTest::newRow("range beyond U+FFFF") << "[😀-😂]" << true << "😁" << O::Match;
        QTest::newRow("caret in a class") << "[^^]" << true << "^" << O::NoMatch;
        QTest::newRow("dash first") << "[-a]" << true << "-" << O::Match;
        QTest::newRow("dash alone") << "[-]" << true << "-" << O::Match;
        QTest::newRow("dash last") << "[^a-]" << true << "-" << O::NoMatch;
        QTest::newRow("escapes in a class") << "[\\]\\--/]+" << true << "]-./" << O::Match;
        QTest::newRow("category") << "\\p{Lu}" << true << "Ä" << O::Match;
        QTest::newRow("complement in a class") << "[\\P{L}x]+" << true << "x1٣" << O::Match;
        QTest::newRow("{n,m}") << "a{2,3}" << true << "aaa" << O::Match;
        QTest::newRow("{n,m}, too many") << "a{2,3}" << true << "aaaa" << O::NoMatch;
        QTest::newRow("{n,}") << "(ab){2,}" << true << "ababab" << O::Match;
        QTest::newRow("{0}, {1,9}") << "b{0}a{1,9}" << true << "aaaaaaaaa" << O::Match;
        QTest::newRow("\\d") << "\\d" << true << "1" << O::Invalid;
        QTest::newRow("script") << "\\p{IsGreek}" << true << "α" << O::Invalid;
        QTest::newRow("surrogates") << "\\p{Cs}" << true << "a" << O::Invalid;
        QTest::newRow("non-capturing group") << "(?:a)" << true << "a" << O::Invalid;
        QTest::newRow("lazy") << "a*?" << true << "a" << O::Invalid;
        QTest::newRow("bounds out of order") << "a{2,1}" << true << "a" << O::Invalid;
        QTest::newRow("no lower bound") << "a{,1}" << true << "a" << O::Invalid;
        QTest::newRow("lone brace") << "a{" << true << "a{" << O::Invalid;
        QTest::newRow("lone bracket") << "a]" << true << "a]" << O::Invalid;
        QTest::newRow("unclosed class") << "[a" << true << "a" << O::Invalid;
        QTest::newRow("empty class") << "[]" << true << "a" << O::Invalid;
        QTest::newRow("dash inside a class") << "[+--]" << true << "-" << O::Invalid;
        QTest::newRow("category ends a range") << "[a-\\p{L}]" << true << "b" << O::Invalid;
        QTest::newRow("unclosed group") << "(a" << true << "a" << O::Invalid;
        // clang-format on
    }

    void compile()
    {
        QFETCH(QString, iregexp);
        QFETCH(bool, wholeString);
        QFETCH(QString, subject);
        QFETCH(Outcome, outcome);

        const QRegularExpression re = IRegexp::compile(iregexp, wholeString);
        QVERIFY2(re.isValid() == (outcome != Outcome::Invalid), qPrintable(re.errorString()));
        if (re.isValid())
            QCOMPARE(re.match(subject).hasMatch(), outcome == Outcome::Match);
    }
};

QTEST_APPLESS_MAIN(TestIRegexp)
#include "tst_iregexp.moc"
