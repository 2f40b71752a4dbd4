#include "app/mainwindow.h"
#include "app/startup.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

QSet<QString> placeholders(const QString &text)
{
    QSet<QString> found;
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        found.insert(match.captured());
    return found;
}

// "&x" marks an access key, "&&" is a plain ampersand.
qsizetype accessKeyCount(const QString &text)
{
    return text.count(QLatin1Char('&')) - 2 * text.count(QLatin1String("&&"));
}

// Every message of a translation source that would reach the user
// untranslated or wrong, as "Context "source": what is wrong".
QStringList faults(const QString &tsPath)
{
    QFile file(tsPath);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("cannot read ") + tsPath};
    QStringList found;
    QString context;
    QString source;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString translation = xml.readElementText();
            const QString message
                    = context + QStringLiteral(" \"") + source + QStringLiteral("\": ");
            if (!type.isEmpty() || translation.isEmpty())
                found << message + QStringLiteral("not translated, or no longer in the code");
            else if (placeholders(translation) != placeholders(source))
                found << message + QStringLiteral("placeholders differ");
            else if (accessKeyCount(translation) != accessKeyCount(source))
                found << message + QStringLiteral("access keys differ");
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
    void startsInTheUsersLanguage();
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
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

// Started asking for German, the window and Qt's own buttons speak it.
void TestTranslations::startsInTheUsersLanguage()
{
    QTranslator translator;
    setUpApplication(translator);
    MainWindow window;
    QCOMPARE(window.menuBar()->actions().first()->text(), QStringLiteral("&Datei"));
    QCOMPARE(window.statusBar()->findChild<QLabel *>()->text(), QStringLiteral("Bereit"));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}

int main(int argc, char *argv[])
{
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        qunsetenv(name);
    qputenv("LANG", "de_DE.UTF-8");
    QApplication app(argc, argv);
    TestTranslations test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_translations.moc"
