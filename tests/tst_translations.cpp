#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString translationsDir = QStringLiteral(SOURCE_DIR "/resources/translations");

// The numbered placeholders of a text: a translation must fill the same ones.
QSet<QString> placeholders(const QString &text)
{
    QSet<QString> found;
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        found.insert(match.captured());
    return found;
}

// The access keys of a text: "&x" marks one, "&&" is a plain ampersand.
QString accessKeys(const QString &text)
{
    QString keys;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            keys += text[i + 1].toLower();
        ++i;
    }
    return keys;
}

// Every message of a translation source that would reach the user untranslated
// or wrong, as "Context "source": what is wrong".
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
        const QStringView name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString translation = xml.readElementText();
            const QString message
                    = context + QStringLiteral(" \"") + source + QStringLiteral("\": ");
            if (type == QLatin1String("vanished") || type == QLatin1String("obsolete"))
                found << message + QStringLiteral("no longer in the code");
            else if (type == QLatin1String("unfinished") || translation.isEmpty())
                found << message + QStringLiteral("not translated");
            else if (placeholders(translation) != placeholders(source))
                found << message + QStringLiteral("placeholders differ");
            else if (accessKeys(translation).size() != accessKeys(source).size())
                found << message + QStringLiteral("access keys differ");
        }
    }
    if (xml.hasError())
        found << xml.errorString();
    return found;
}

// The probe's lines, started in a clean environment that asks for `lang`.
QStringList probe(const QString &lang)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(QString::fromLatin1(name));
    if (!lang.isEmpty())
        environment.insert(QStringLiteral("LANG"), lang);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(PROBE), {});
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void everyTextTranslated_data();
    void everyTextTranslated();
    void startupLanguage_data();
    void startupLanguage();
};

void TestTranslations::everyTextTranslated_data()
{
    QTest::addColumn<QString>("tsFile");
    const QStringList files
            = QDir(translationsDir).entryList({QStringLiteral("Marbletrellis_*.ts")}, QDir::Files);
    QVERIFY(files.size() >= 2);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << QDir(translationsDir).filePath(file);
}

// The sources are brought up to date with the code in a scratch copy, the way
// update_translations does it, so a text added to the code without a
// translation fails here.
void TestTranslations::everyTextTranslated()
{
    QFETCH(QString, tsFile);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
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
    QVERIFY2(found.isEmpty(),
             qPrintable(found.join(QLatin1Char('\n'))
                        + QStringLiteral("\nRefresh the sources with `cmake --build build --target "
                                         "update_translations` and translate what is new.")));
}

void TestTranslations::startupLanguage_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QStringList>("expected"); // lines the probe prints
    QTest::addColumn<bool>("distinctAccessKeys");

    const QStringList english {
            QStringLiteral("menu: &File|&Open...|&Save|Save &As...|E&xit"),
            QStringLiteral("menu: &Help|&About"),
            QStringLiteral("window: Marbletrellis|Ready|Key|Value"),
            QStringLiteral("settings: Settings|Unlimited|OK|Cancel"),
            QStringLiteral("about: About Marbletrellis"),
    };
    const QStringList german {
            QStringLiteral("menu: &Datei|Ö&ffnen...|&Speichern|Speichern &unter...|&Beenden"),
            QStringLiteral("menu: &Hilfe|Ü&ber Marbletrellis"),
            QStringLiteral("window: Marbletrellis|Bereit|Schlüssel|Wert"),
            QStringLiteral("settings: Einstellungen|Unbegrenzt|OK|Abbrechen"),
            QStringLiteral("about: Über Marbletrellis"),
    };
    const QStringList french {
            QStringLiteral("menu: &Fichier|&Ouvrir...|&Enregistrer|Enregistrer &sous...|&Quitter"),
            QStringLiteral("menu: Aid&e|À &propos de Marbletrellis"),
            QStringLiteral("window: Marbletrellis|Prêt|Clé|Valeur"),
            QStringLiteral("settings: Paramètres|Illimité|OK|Annuler"),
            QStringLiteral("about: À propos de Marbletrellis"),
    };
    QTest::newRow("German") << "de_DE.UTF-8" << german << true;
    QTest::newRow("German of Austria") << "de_AT.UTF-8" << german << true;
    QTest::newRow("French") << "fr_FR.UTF-8" << french << true;
    QTest::newRow("French of Canada") << "fr_CA" << french << true;
    QTest::newRow("English") << "en_GB.UTF-8" << english << false;
    QTest::newRow("a language without translation") << "ja_JP.UTF-8" << english << false;
    QTest::newRow("an unknown language") << "xx_YY.UTF-8" << english << false;
    QTest::newRow("C locale") << "C" << english << false;
    QTest::newRow("no language set") << "" << english << false;
}

void TestTranslations::startupLanguage()
{
    QFETCH(QString, lang);
    QFETCH(QStringList, expected);
    QFETCH(bool, distinctAccessKeys);

    const QStringList lines = probe(lang);
    QVERIFY2(!lines.isEmpty(), "the probe did not run to its end");
    for (const QString &line : expected)
        QVERIFY2(
                lines.contains(line),
                qPrintable(line + QStringLiteral(" not among:\n") + lines.join(QLatin1Char('\n'))));

    // Translations give each entry of a menu, and each menu, a key of its own.
    if (!distinctAccessKeys)
        return;
    QString menuKeys;
    for (const QString &line : lines) {
        if (!line.startsWith(QStringLiteral("menu: ")))
            continue;
        QStringList entries = line.mid(6).split(QLatin1Char('|'));
        menuKeys += accessKeys(entries.takeFirst());
        QString keys;
        for (const QString &entry : entries)
            keys += accessKeys(entry);
        QCOMPARE(QSet<QChar>(keys.begin(), keys.end()).size(), keys.size());
    }
    QCOMPARE(menuKeys.size(), 4);
    QCOMPARE(QSet<QChar>(menuKeys.begin(), menuKeys.end()).size(), menuKeys.size());
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
