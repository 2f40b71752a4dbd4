// Faults of the file system and of the process's limits, met through the
// window's File commands. Each must be reported, and must leave the shown
// document and the files on disk as they were.
//
// Save faults that change the process itself (its user, its file size limit)
// run in a child: this same program, started with childMode, saves under the
// fault through a window of its own and checks what the window shows; the
// parent then checks what is on disk.

#include "model/jsontreemodel.h"
#include "testwindow.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const char childMode[] = "--save-under-fault";

// Large enough that its saved text passes the file size limit below.
QByteArray largeDocument()
{
    QByteArray text = R"({"name": "original", "items": [)";
    for (int i = 0; i < 2000; ++i)
        text += (i ? ", " : "") + QByteArray::number(i);
    return text + "]}";
}

constexpr rlim_t fileSizeLimit = 4096;

// The user and group ids that own nothing here.
constexpr uid_t nobody = 65534;

// Every name in a folder, hidden ones included.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool isEmptyFolder(const QString &path)
{
    return QFileInfo(path).isDir() && entries(path).isEmpty();
}

const QFile::Permissions readOnlyFolder = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
        | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
const QFile::Permissions openFolder = readOnlyFolder | QFile::WriteOwner;
const QFile::Permissions writableByAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
        | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;

enum class Meanwhile { Nothing, Remove, ReplaceWithFolder };

} // namespace

Q_DECLARE_METATYPE(Meanwhile)

// The child's side of a save fault: opens <folder>/doc.json, edits it, puts
// the fault in place and saves, with Save onto the file itself or Save As onto
// <folder>/copy.json.
class SaveUnderFault : public QObject
{
    Q_OBJECT

public:
    SaveUnderFault(const QString &fault, const QString &command, const QString &folder)
        : fault(fault)
        , command(command)
        , folder(folder)
    {
    }

private slots:
    void save();

private:
    void applyFault(const QString &path);

    QString fault;
    QString command;
    QString folder;
};

void SaveUnderFault::save()
{
    const QString document = folder + QStringLiteral("/doc.json");
    const bool saveAs = command == QStringLiteral("Save &As...");
    const QString target = saveAs ? folder + QStringLiteral("/copy.json") : document;

    Window w;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), document));
    QVERIFY(w.model->setData(indexAt(*w.model, {0, 0}, 1), QStringLiteral("edited")));
    const QString title = w.title();
    const QString status = w.status->text();
    const QStringList tree = dumpTree(*w.model);
    QVERIFY(title.endsWith(QLatin1Char('*')));

    MessageBoxAnswer box;
    if (saveAs) {
        QVERIFY(runFileCommand(w, command, target, [&] { applyFault(target); }));
    } else {
        applyFault(target);
        w.action(command)->trigger();
    }
    QVERIFY(box.answer.answered());
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.text, QStringLiteral("Failed to save JSON file."));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::Ok);
    QCOMPARE(w.title(), title);
    QCOMPARE(w.status->text(), status);
    QCOMPARE(dumpTree(*w.model), tree);
}

void SaveUnderFault::applyFault(const QString &path)
{
    if (fault == QStringLiteral("read-only folder")) {
        // Permission bits do not hold for root: save as a user who owns
        // nothing here. Groups first, the user last, while that is allowed.
        if (geteuid() == 0)
            QVERIFY(setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0);
    } else if (fault == QStringLiteral("folder at the path")) {
        QVERIFY(!QFileInfo::exists(path) || QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
    } else if (fault == QStringLiteral("file size limit")) {
        // Writes past the limit then fail with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit {};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
        limit.rlim_cur = fileSizeLimit;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown fault: ") + fault));
    }
}

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void saveFails_data();
    void saveFails();
    void openFails_data();
    void openFails();
};

void TestFaults::saveFails_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("command");

    for (const char *fault : {"read-only folder", "folder at the path", "file size limit"}) {
        for (const char *command : {"&Save", "Save &As..."}) {
            QTest::addRow("%s, %s", fault, command)
                    << QString::fromLatin1(fault) << QString::fromLatin1(command);
        }
    }
}

void TestFaults::saveFails()
{
    QFETCH(QString, fault);
    QFETCH(QString, command);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Reachable for the unprivileged user of the read-only case.
    QVERIFY(QFile::setPermissions(dir.path(), openFolder));
    const QString folder = dir.filePath(QStringLiteral("folder"));
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString document = folder + QStringLiteral("/doc.json");
    const QString copy = folder + QStringLiteral("/copy.json");
    QVERIFY(QDir().mkdir(folder) && QDir().mkdir(config));
    // The child writes its settings there as whichever user it runs as.
    QVERIFY(QFile::setPermissions(
            config, writableByAll | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));
    const QByteArray original = largeDocument();
    QVERIFY(writeFile(document, original));
    const bool readOnly = fault == QStringLiteral("read-only folder");
    if (readOnly) {
        // The file itself may be written: only the folder forbids it.
        QVERIFY(QFile::setPermissions(document, writableByAll));
        QVERIFY(QFile::setPermissions(folder, readOnlyFolder));
    }
    const QStringList before = entries(folder);

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(childMode), fault, command, folder});
    const bool finished = child.waitForFinished(120000); // a hang fails, it never blocks
    if (!finished)
        child.kill();
    if (readOnly)
        QVERIFY(QFile::setPermissions(folder, openFolder));
    const QByteArray output = child.readAll();
    QVERIFY2(finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             output.constData());

    // Nothing was left beside the file, not even a temporary file.
    const bool saveOntoDocument = command == QStringLiteral("&Save");
    if (fault == QStringLiteral("folder at the path")) {
        QVERIFY(isEmptyFolder(saveOntoDocument ? document : copy));
        QStringList after = before;
        if (!saveOntoDocument)
            after << QStringLiteral("copy.json");
        after.sort();
        QCOMPARE(entries(folder), after);
        if (saveOntoDocument)
            return; // the document is that folder now
    } else {
        QCOMPARE(entries(folder), before);
    }
    QCOMPARE(readFile(document), original);
}

void TestFaults::openFails_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Meanwhile>("meanwhile");
    QTest::addColumn<QString>("message");

    const QString failedToLoad = QStringLiteral("Failed to load JSON file.");
    QTest::newRow("file removed after it was chosen")
            << QByteArray("[1]") << Meanwhile::Remove << failedToLoad;
    QTest::newRow("folder in place of the file")
            << QByteArray("[1]") << Meanwhile::ReplaceWithFolder << failedToLoad;
    QTest::newRow("file of 0 bytes")
            << QByteArray() << Meanwhile::Nothing
            << QStringLiteral(
                       "Failed to parse JSON file.\n\nInput data is empty at line 1, column 1");
}

void TestFaults::openFails()
{
    QFETCH(QByteArray, content);
    QFETCH(Meanwhile, meanwhile);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString document = dir.filePath(QStringLiteral("doc.json"));
    const QString chosen = dir.filePath(QStringLiteral("chosen.json"));
    QVERIFY(writeFile(document, R"({"a": "text", "list": [1, [2]]})"));
    QVERIFY(writeFile(chosen, content));

    Window w;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), document));
    QVERIFY(w.model->setData(indexAt(*w.model, {0, 0}, 1), QStringLiteral("edited")));
    w.tree->setCurrentIndex(indexAt(*w.model, {0, 1, 1}));
    const QString title = w.title();
    const QString status = w.status->text();
    const QStringList tree = dumpTree(*w.model);
    const QModelIndex current = w.tree->currentIndex();
    QSignalSpy reset(w.model, &JsonTreeModel::modelAboutToBeReset);

    MessageBoxAnswer box;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), chosen, [&] {
        if (meanwhile != Meanwhile::Nothing)
            QVERIFY(QFile::remove(chosen));
        if (meanwhile == Meanwhile::ReplaceWithFolder)
            QVERIFY(QDir().mkdir(chosen));
    }));
    QVERIFY(box.answer.answered());
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.text, message);
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::Ok);

    QCOMPARE(reset.size(), 0);
    QCOMPARE(dumpTree(*w.model), tree);
    QCOMPARE(w.title(), title);
    QCOMPARE(w.status->text(), status);
    QCOMPARE(w.tree->currentIndex(), current);
    QVERIFY(w.tree->isExpanded(indexAt(*w.model, {0, 1})));
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // The path is still the shown document's: Save writes the edit there.
    w.action(QStringLiteral("&Save"))->trigger();
    QCOMPARE(w.status->text(), QStringLiteral("Saved: ") + document);
    QCOMPARE(readFile(document),
             QByteArray("{\n    \"a\": \"edited\",\n    \"list\": [\n"
                        "        1,\n        [\n            2\n"
                        "        ]\n    ]\n}"));
}

int main(int argc, char *argv[])
{
    if (argc == 5 && qstrcmp(argv[1], childMode) == 0) {
        // The parent has chosen the settings store.
        QApplication app(argc, argv);
        SaveUnderFault child(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                             QString::fromLocal8Bit(argv[4]));
        return QTest::qExec(&child, 1, argv);
    }
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
