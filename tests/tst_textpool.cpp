#include "model/textpool.h"

#include <QTest>

class TestTextPool : public QObject
{
    Q_OBJECT

private slots:
    void decodesEveryTextExactly();
    void sharesRepeatedTexts();
};

namespace {

// Texts that differ only in their last byte, or only inside the word the
// hash reads twice, or only in length, or in bytes that are not ASCII.
QByteArrayList nearTexts()
{
    QByteArrayList texts {"", "\0"_qba, "\0\0"_qba, "é", "ü", "日本", "\xEF\xBB\xBF", "\xEF\xBB\xBFx"};
    for (int length = 1; length <= 70; ++length) {
        const QByteArray base(length, 'a');
        for (const char last : {'a', 'b', '\0', '\xff'}) {
            QByteArray text = base;
            text[length - 1] = last;
            texts << text;
            if (length > 8) {
                text[length - 9] = 'z';
                texts << text;
            }
        }
    }
    return texts;
}

} // namespace

void TestTextPool::decodesEveryTextExactly()
{
    TextPool pool;
    const QByteArrayList texts = nearTexts();
    // Many more texts than the pool holds, each asked for twice.
    for (int round = 0; round < 2; ++round) {
        for (int copy = 0; copy < 20; ++copy) {
            for (const QByteArray &base : texts) {
                const QByteArray text = copy == 0 ? base : base + QByteArray::number(copy);
                // A leading U+FEFF is a character of the text, not a mark to drop.
                QString expected = QString::fromUtf8(text);
                if (text.startsWith("\xEF\xBB\xBF"))
                    expected.prepend(QChar(0xFEFF));
                QCOMPARE(pool.text(text.constData(), text.size(), 64), expected);
            }
        }
    }
}

void TestTextPool::sharesRepeatedTexts()
{
    TextPool pool;
    const QByteArray name("name");
    const QString first = pool.text(name.constData(), name.size(), 64);
    QCOMPARE(pool.text(QByteArray(name).constData(), name.size(), 64).constData(),
             first.constData());
    // Longer than the limit: decoded anew each time.
    const QByteArray longText(65, 'x');
    QVERIFY(pool.text(longText.constData(), longText.size(), 64).constData()
            != pool.text(longText.constData(), longText.size(), 64).constData());
}

QTEST_GUILESS_MAIN(TestTextPool)
#include "tst_textpool.moc"
