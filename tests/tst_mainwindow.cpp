#include "app/mainwindow.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"
#include "testwindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

#include <limits>
#include <memory>

namespace {

// A document of exactly `size` bytes: an array padded with spaces.
QByteArray paddedArray(qint64 size)
{
    QByteArray text = "[[1]" + QByteArray(size - 5, ' ') + "]";
    return text;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void startState();
    void openExpandsSmallDocuments();
    void openSizes_data();
    void openSizes();
    void cancelledDialogsChangeNothing();
    void unparsableFileKeepsDocument();
    void openDiscardsChangesWithoutAsking();
    void saveWithoutPathAsksForOne();
    void saveAsConfirmsOverwrite();
    void failedSaveKeepsState();
    void unwritableNumberKeepsFile();
    void placeholdersInPathShownAsIs();
    void settingsReadAtStartAndWrittenOnClose();
    void deepDocumentThroughTheWindow();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(path(QStringLiteral("doc.json")),
                      R"({"a": {"b": {"c": 1}}, "list": [1, [2]]})"));
}

void TestMainWindow::init()
{
    QSettings(QStringLiteral("Marbletrellis"), QStringLiteral("Marbletrellis")).clear();
}

void TestMainWindow::startState()
{
    Window w;
    QCOMPARE(w.title(), QStringLiteral("Marbletrellis"));
    QCOMPARE(w.status->text(), QStringLiteral("Ready"));
    QCOMPARE(w.window->size(), QSize(900, 700));
    QCOMPARE(w.model->rowCount(), 0);
    QCOMPARE(w.model->maxTextLength(), 1024);
    QCOMPARE(w.model->prettyPrint(), true);
    QCOMPARE(w.window->findChildren<JsonTreeModel *>().size(), 1);
}

void TestMainWindow::openExpandsSmallDocuments()
{
    Window w;
    const QString file = path(QStringLiteral("doc.json"));
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), file));

    QCOMPARE(w.title(), QStringLiteral("Marbletrellis - ") + file);
    const QRegularExpression message(QStringLiteral("^Loaded: ") + QRegularExpression::escape(file)
                                     + QStringLiteral(" \\(\\d+ ms\\)$"));
    QVERIFY2(message.match(w.status->text()).hasMatch(), qPrintable(w.status->text()));

    // The top value and its children are expanded, the grandchildren are not.
    const QModelIndex top = w.model->index(0, 0);
    const QModelIndex a = w.model->index(0, 0, top);
    QVERIFY(w.tree->isExpanded(top));
    QVERIFY(w.tree->isExpanded(a));
    QVERIFY(!w.tree->isExpanded(w.model->index(0, 0, a)));
    QCOMPARE(w.tree->header()->sectionResizeMode(0), QHeaderView::ResizeToContents);
}

void TestMainWindow::openSizes_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("megabytes"); // empty: the short message

    QTest::newRow("exactly 8 MiB") << qint64(8388608) << QString();
    QTest::newRow("one byte more") << qint64(8388609) << "8.00";
    QTest::newRow("12,345,678 bytes") << qint64(12345678) << "11.77";
}

void TestMainWindow::openSizes()
{
    QFETCH(qint64, size);
    QFETCH(QString, megabytes);
    const QString file = path(QStringLiteral("sized.json"));
    QVERIFY(writeFile(file, paddedArray(size)));
    QCOMPARE(QFileInfo(file).size(), size);

    Window w;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), file));
    const QString escaped = QRegularExpression::escape(file);
    const QModelIndex top = w.model->index(0, 0);
    if (megabytes.isEmpty()) {
        const QRegularExpression message(QStringLiteral("^Loaded: %1 \\(\\d+ ms\\)$").arg(escaped));
        QVERIFY2(message.match(w.status->text()).hasMatch(), qPrintable(w.status->text()));
        QVERIFY(w.tree->isExpanded(top));
        QVERIFY(w.tree->isExpanded(w.model->index(0, 0, top)));
    } else {
        const QRegularExpression message(
                QStringLiteral("^Loaded: %1 \\(filesize: %2mb, parse \\d+ ms, total \\d+ ms\\)$")
                        .arg(escaped, QRegularExpression::escape(megabytes)));
        QVERIFY2(message.match(w.status->text()).hasMatch(), qPrintable(w.status->text()));
        QVERIFY(!w.tree->isExpanded(top));
        QCOMPARE(w.tree->header()->sectionResizeMode(0), QHeaderView::Interactive);
        QCOMPARE(w.tree->header()->sectionSize(0), 260);
    }
}

void TestMainWindow::cancelledDialogsChangeNothing()
{
    Window w;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), path(QStringLiteral("doc.json"))));
    w.model->setMaxTextLength(10); // any change marks the document modified
    const QString title = w.title();
    const QString status = w.status->text();
    const QStringList tree = dumpTree(*w.model);
    QVERIFY(title.endsWith(QLatin1Char('*')));

    const QByteArray before = readFile(path(QStringLiteral("doc.json")));
    for (const QString command : {"&Open...", "Save &As..."}) {
        ModalAnswer answer(onDialog<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); }));
        w.action(command)->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(w.title(), title);
        QCOMPARE(w.status->text(), status);
        QCOMPARE(dumpTree(*w.model), tree);
        QCOMPARE(readFile(path(QStringLiteral("doc.json"))), before);
    }
}

void TestMainWindow::unparsableFileKeepsDocument()
{
    const QString bad = path(QStringLiteral("bad.json"));
    QVERIFY(writeFile(bad, "{\"a\": 1,\n \"b\": [tru]\n}\n"));
    Window w;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), path(QStringLiteral("doc.json"))));
    w.tree->setCurrentIndex(w.model->index(1, 0, w.model->index(0, 0)));
    w.model->setMaxTextLength(10);
    const QString title = w.title();
    const QString status = w.status->text();
    const QStringList tree = dumpTree(*w.model);
    const QModelIndex current = w.tree->currentIndex();

    MessageBoxAnswer box;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), bad));
    QVERIFY(box.answer.answered());
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::Ok);
    QVERIFY2(box.text.startsWith(QStringLiteral("Failed to parse JSON file.")),
             qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("line 2, column 8")), qPrintable(box.text));

    QCOMPARE(w.title(), title);
    QCOMPARE(w.status->text(), status);
    QCOMPARE(dumpTree(*w.model), tree);
    QCOMPARE(w.tree->currentIndex(), current);
    QVERIFY(w.tree->isExpanded(w.model->index(0, 0)));
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // Save still goes to the file the shown document came from; the file that
    // did not parse is never overwritten.
    w.action(QStringLiteral("&Save"))->trigger();
    QCOMPARE(readFile(bad), QByteArray("{\"a\": 1,\n \"b\": [tru]\n}\n"));
}

void TestMainWindow::openDiscardsChangesWithoutAsking()
{
    const QString other = path(QStringLiteral("other.json"));
    QVERIFY(writeFile(other, "[true]"));
    Window w;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), path(QStringLiteral("doc.json"))));
    w.model->setMaxTextLength(10);
    QVERIFY(w.title().endsWith(QLatin1Char('*')));
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), other));
    QCOMPARE(w.title(), QStringLiteral("Marbletrellis - ") + other);
    QCOMPARE(dumpTree(*w.model), QStringList({" = [ 1 items ]", "  [0] = true"}));
}

void TestMainWindow::saveWithoutPathAsksForOne()
{
    const QString file = path(QStringLiteral("new.json"));
    Window w;
    w.model->setMaxTextLength(10);
    QVERIFY(runFileCommand(w, QStringLiteral("&Save"), file));
    QCOMPARE(readFile(file), QByteArray("{}"));
    QCOMPARE(w.status->text(), QStringLiteral("Saved: ") + file);
    QCOMPARE(w.title(), QStringLiteral("Marbletrellis - ") + file);

    // From now on Save writes to that path without asking.
    w.model->loadFromString(QStringLiteral("[1]"));
    w.model->setPrettyPrint(false);
    w.action(QStringLiteral("&Save"))->trigger();
    QCOMPARE(readFile(file), QByteArray("[1]"));
}

void TestMainWindow::saveAsConfirmsOverwrite()
{
    const QString file = path(QStringLiteral("existing.json"));
    QVERIFY(writeFile(file, "old"));
    Window w;
    QVERIFY(w.model->loadFromString(QStringLiteral(R"({"a":[1]})")));
    MessageBoxAnswer confirm(QMessageBox::Yes);
    QVERIFY(runFileCommand(w, QStringLiteral("Save &As..."), file));
    QVERIFY(confirm.answer.answered());
    QCOMPARE(readFile(file), QByteArray("{\n    \"a\": [\n        1\n    ]\n}"));
    QCOMPARE(w.status->text(), QStringLiteral("Saved: ") + file);
}

void TestMainWindow::failedSaveKeepsState()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("doc.json"));
    QVERIFY(writeFile(file, "[1]"));
    Window w;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), file));
    w.model->setMaxTextLength(10);
    const QString title = w.title();
    const QString status = w.status->text();
    QVERIFY(folder.remove()); // the file and its folder are gone

    MessageBoxAnswer box;
    w.action(QStringLiteral("&Save"))->trigger();
    QVERIFY(box.answer.answered());
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.text, QStringLiteral("Failed to save JSON file."));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(w.title(), title);
    QCOMPARE(w.status->text(), status);
}

void TestMainWindow::unwritableNumberKeepsFile()
{
    const QString file = path(QStringLiteral("numbers.json"));
    const QByteArray original("[1, 2]");
    QVERIFY(writeFile(file, original));
    Window w;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), file));
    nodeOf(w.model->index(0, 0, w.model->index(0, 0)))
            ->setValue(std::numeric_limits<double>::quiet_NaN());

    MessageBoxAnswer box;
    w.action(QStringLiteral("&Save"))->trigger();
    QVERIFY(box.answer.answered());
    QCOMPARE(box.text, QStringLiteral("Failed to save JSON file."));
    QCOMPARE(readFile(file), original);
}

void TestMainWindow::placeholdersInPathShownAsIs()
{
    const QString file = path(QStringLiteral("a%1b%2.json"));
    QVERIFY(writeFile(file, "[]"));
    Window w;
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), file));
    QCOMPARE(w.title(), QStringLiteral("Marbletrellis - ") + file);
    QVERIFY2(w.status->text().startsWith(QStringLiteral("Loaded: ") + file + QStringLiteral(" (")),
             qPrintable(w.status->text()));
    w.model->setMaxTextLength(10);
    QCOMPARE(w.title(), QStringLiteral("Marbletrellis - ") + file + QLatin1Char('*'));
    w.action(QStringLiteral("&Save"))->trigger();
    QCOMPARE(w.status->text(), QStringLiteral("Saved: ") + file);
}

void TestMainWindow::settingsReadAtStartAndWrittenOnClose()
{
    {
        QSettings settings(QStringLiteral("Marbletrellis"), QStringLiteral("Marbletrellis"));
        settings.setValue(QStringLiteral("maxTextLength"), 7);
        settings.setValue(QStringLiteral("prettyPrint"), false);
    }
    Window w;
    QCOMPARE(w.model->maxTextLength(), 7);
    QCOMPARE(w.model->prettyPrint(), false);
    QCOMPARE(w.title(), QStringLiteral("Marbletrellis")); // applying them is no change

    w.model->setMaxTextLength(-5);
    w.model->setPrettyPrint(true);
    QVERIFY(w.title().endsWith(QLatin1Char('*')));
    QVERIFY(w.window->close()); // closes without asking, though modified
    w.window.reset();

    QSettings settings(QStringLiteral("Marbletrellis"), QStringLiteral("Marbletrellis"));
    QCOMPARE(settings.value(QStringLiteral("maxTextLength")).toInt(), -5);
    QCOMPARE(settings.value(QStringLiteral("prettyPrint")).toBool(), true);
    QVERIFY(settings.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
}

void TestMainWindow::deepDocumentThroughTheWindow()
{
    const QString file = path(QStringLiteral("deep.json"));
    QVERIFY(writeFile(file, nestedArrays(10000)));
    Window w;
    w.window->show();
    QVERIFY(runFileCommand(w, QStringLiteral("&Open..."), file));
    w.tree->expandAll();
    QVERIFY(!w.window->grab().isNull()); // painted with every level laid out
    w.model->setPrettyPrint(false);
    w.action(QStringLiteral("&Save"))->trigger();
    QCOMPARE(readFile(file), nestedArrays(10000));
    QVERIFY(w.window->close());
}

MARBLETRELLIS_GUI_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
