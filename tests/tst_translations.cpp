#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// Every message of a translation source that would reach the user
// untranslated or wrong: placeholders ("%1") and access keys ("&x") must stay.
QStringList faults(const QString &tsPath)
{
    static const QRegularExpression marks(QStringLiteral("%\\d|&[^&]"));
    const auto markList = [](const QString &text) {
        QStringList found;
        for (const QRegularExpressionMatch &match : marks.globalMatch(text))
            found << (match.captured().startsWith(QLatin1Char('&')) ? QStringLiteral("&")
                                                                    : match.captured());
        found.sort();
        return found;
    };
    QFile file(tsPath);
    QStringList found {file.open(QIODevice::ReadOnly) ? QString() : tsPath};
    QString source;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool unfinished = !xml.attributes().value(QLatin1String("type")).isEmpty();
            const QString translation = xml.readElementText();
            if (unfinished || translation.isEmpty() || markList(translation) != markList(source))
                found << source;
        }
    }
    return found;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void everyTextTranslated_data();
    void everyTextTranslated();
};

void TestTranslations::everyTextTranslated_data()
{
    QTest::addColumn<QString>("tsFile");
    const QDir dir(QStringLiteral(SOURCE_DIR "/resources/translations"));
    for (const QString &file : dir.entryList({QStringLiteral("Marbletrellis_*.ts")}, QDir::Files))
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
}

// The sources are brought up to date with the code in a scratch copy, as
// update_translations does, so a text added to the code without a
// translation fails here.
void TestTranslations::everyTextTranslated()
{
    QFETCH(QString, tsFile);
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QFileInfo(tsFile).fileName());
    QVERIFY(QFile::copy(tsFile, copy));
    QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner));
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::ForwardedChannels);
    lupdate.start(QStringLiteral(LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral(SOURCE_DIR "/src"), QStringLiteral("-ts"), copy});
    QVERIFY(lupdate.waitForFinished(-1));
    QCOMPARE(lupdate.exitCode(), 0);
    const QStringList found = faults(copy);
    QVERIFY2(found == QStringList {QString()}, qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
