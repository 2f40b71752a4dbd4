#include "fixture.h"

#include "app/mainwindow.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/additemdialog.h"
#include "dialogs/searchdialog.h"
#include "dialogs/settingsdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

namespace {

QClipboard *clipboard()
{
    return QGuiApplication::clipboard();
}

bool isModified(const WindowFixture &w)
{
    return w.window->windowTitle().endsWith(QLatin1Char('*'));
}

// Types `text` into the cell's editor, as a user would, and confirms it.
void editCell(WindowFixture &w, const QModelIndex &cell, const QString &text)
{
    w.tree->setCurrentIndex(cell);
    QTest::keyClick(w.tree, Qt::Key_F2);
    QPointer<QLineEdit> editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&editor] { return !editor; }));
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void clipboardCommands_data();
    void clipboardCommands();
    void overwrite_data();
    void overwrite();
    void editing_data();
    void editing();
    void contextMenuCommands_data();
    void contextMenuCommands();
    void openAndSave();
    void largeFileOpensCollapsed();
    void failures();
    void search();
    void settings();
    void dialogs();
};

void TestMainWindow::clipboardCommands_data()
{
    // clang-format off
    QTest::addColumn<QString>("json");
    QTest::addColumn<Path>("item"); // empty: no current row
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("clipboardText");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<QString>("document"); // afterwards, compact

    const QString doc = QStringLiteral(R"({"n":1,"o":{"a":[1]},"l":[3]})");
    const QString added = QStringLiteral(R"({"n":1,"o":{"a":[1]},"l":[3],"k":true})");
    QTest::newRow("copy member") << doc << Path {0, 1} << "actionCopy" << "-" << "Copied to clipboard." << "\"o\": {\n    \"a\": [\n        1\n    ]\n}" << doc;
    QTest::newRow("copy element") << doc << Path {0, 2, 0} << "actionCopy" << "-" << "Copied to clipboard." << "3" << doc;
    QTest::newRow("copy top-level container") << "[1]" << Path {0} << "actionCopy" << "-" << "Copied to clipboard." << "[\n    1\n]" << "[1]";
    QTest::newRow("copy top-level scalar") << "5" << Path {0} << "actionCopy" << "-" << "Cannot copy standalone value." << "-" << "5";
    QTest::newRow("copy key") << doc << Path {0, 2, 0} << "actionCopyKey" << "-" << "Copied key to clipboard." << "[0]" << doc;
    QTest::newRow("copy value") << doc << Path {0, 0} << "actionCopyValue" << "-" << "Copied value to clipboard." << "1" << doc;
    QTest::newRow("copy, no row") << doc << Path {} << "actionCopy" << "-" << "No item selected to copy." << "-" << doc;
    QTest::newRow("copy key, no row") << doc << Path {} << "actionCopyKey" << "-" << "No item selected to copy." << "-" << doc;
    QTest::newRow("copy value, no row") << doc << Path {} << "actionCopyValue" << "-" << "No item selected to copy." << "-" << doc;
    QTest::newRow("paste, no row") << doc << Path {} << "actionPaste" << "[2]" << "No item selected to paste." << "[2]" << doc;
    QTest::newRow("paste nothing") << doc << Path {0} << "actionPaste" << " \n" << "Clipboard is empty." << " \n" << doc;
    QTest::newRow("paste member") << doc << Path {0, 0} << "actionPaste" << "k: true" << "Pasted key and value." << "k: true" << added;
    QTest::newRow("paste text into object") << doc << Path {0} << "actionPaste" << "[2]" << "Object can only paste \"key\": value format." << "[2]" << doc;
    QTest::newRow("paste member into array") << doc << Path {0, 2, 0} << "actionPaste" << "k: {}" << "Pasted value into Array." << "k: {}" << R"({"n":1,"o":{"a":[1]},"l":[3,{}]})";
    QTest::newRow("paste JSON into array") << doc << Path {0, 2} << "actionPaste" << "[2]" << "Pasted JSON into Array." << "[2]" << R"({"n":1,"o":{"a":[1]},"l":[3,[2]]})";
    QTest::newRow("paste text into array") << doc << Path {0, 2} << "actionPaste" << " x y " << "Pasted text into Array." << " x y " << R"({"n":1,"o":{"a":[1]},"l":[3,"x y"]})";
    QTest::newRow("paste into top-level scalar") << "5" << Path {0} << "actionPaste" << "[2]" << "Can only paste into Object or Array." << "[2]" << "5";
    // clang-format on
}

void TestMainWindow::clipboardCommands()
{
    QFETCH(QString, json);
    QFETCH(Path, item);
    QFETCH(QString, command);
    QFETCH(QString, clipboardText);
    QFETCH(QString, status);
    WindowFixture w(json);
    w.tree->setCurrentIndex(w.at(item));
    clipboard()->setText(clipboardText);

    w.action(qPrintable(command))->trigger();

    QCOMPARE(w.status->text(), status);
    QTEST(clipboard()->text(), "clipboardAfter");
    QTEST(w.compact(), "document");
    const bool pasted = status.startsWith(QLatin1String("Pasted"));
    QCOMPARE(isModified(w), pasted);
    if (pasted) {
        // The new row is current: the last child of its container.
        const QModelIndex current = w.tree->currentIndex();
        QCOMPARE(current.row(), w.model->rowCount(current.parent()) - 1);
        QCOMPARE(w.tree->selectionModel()->selectedIndexes().size(), 2);
    }
}

void TestMainWindow::overwrite_data()
{
    // clang-format off
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("document");
    QTest::newRow("declined") << QMessageBox::No << R"({"a":1,"%1":{"b":2},"%1":3})";
    QTest::newRow("replaced in place") << QMessageBox::Yes << R"({"a":1,"%1":[true],"%1":3})";
    // clang-format on
}

void TestMainWindow::overwrite()
{
    QFETCH(QMessageBox::StandardButton, answer);
    WindowFixture w(QStringLiteral(R"({"a":1,"%1":{"b":2},"%1":3})"));
    w.tree->setCurrentIndex(w.at({0}));
    clipboard()->setText(QStringLiteral(R"("%1": [true])"));
    MessageBoxAnswer box(answer);
    w.action("actionPaste")->trigger();

    QVERIFY(box.answer.answered());
    QCOMPARE(box.title, QStringLiteral("Paste"));
    QCOMPARE(box.text, QStringLiteral(R"(Key "%1" already exists. Overwrite?)"));
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.defaultButton, QMessageBox::No);
    QTEST(w.compact(), "document");
    const bool replaced = answer == QMessageBox::Yes;
    QCOMPARE(isModified(w), replaced);
    QCOMPARE(w.status->text(),
             replaced ? QStringLiteral("Pasted key and value.") : QStringLiteral("Ready"));
    QCOMPARE(w.tree->currentIndex(), replaced ? w.at({0, 1}) : w.at({0}));
}

void TestMainWindow::editing_data()
{
    // clang-format off
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("document");
    QTest::addColumn<bool>("modified");

    QTest::newRow("key") << R"({"a":1})" << 0 << "b" << R"({"b":1})" << true;
    QTest::newRow("null takes text") << "[null]" << 1 << "abc" << R"(["abc"])" << true;
    QTest::newRow("integer") << "[0.5]" << 1 << "9007199254740993" << "[9007199254740993]" << true;
    QTest::newRow("fraction") << "[0]" << 1 << "0.125" << "[0.125]" << true;
    QTest::newRow("no number") << "[7]" << 1 << "abc" << "[7]" << false;
    // Any confirmed edit marks the document, even one that changes nothing.
    QTest::newRow("same number") << "[1.0]" << 1 << "1" << "[1.0]" << true;
    // clang-format on
}

void TestMainWindow::editing()
{
    QFETCH(QString, json);
    QFETCH(int, column);
    QFETCH(QString, typed);
    WindowFixture w(json);
    editCell(w, w.at({0, 0}, column), typed);
    QTEST(w.model->toJsonString().remove(QRegularExpression(QStringLiteral("\\s"))), "document");
    QTEST(isModified(w), "modified");
}

void TestMainWindow::contextMenuCommands_data()
{
    // clang-format off
    QTest::addColumn<Path>("item");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("document");

    const QStringList common {"Copy", "Copy Key", "Copy Value", "Paste", "Delete"};
    QTest::newRow("element") << Path {0, 1, 0} << "Duplicate" << QStringList {"Duplicate", "Add Item..."} + common << R"({"o":{"k":1},"l":[{"x":[2]},3,{"x":[2]}]})";
    QTest::newRow("object") << Path {0, 0} << "Delete" << QStringList {"Add Item..."} + common << R"({"l":[{"x":[2]},3]})";
    QTest::newRow("array in array") << Path {0, 1, 0, 0} << "Delete" << QStringList {"Add Item..."} + common << R"({"o":{"k":1},"l":[{},3]})";
    QTest::newRow("scalar element") << Path {0, 1, 1} << "Delete" << QStringList {"Duplicate"} + common << R"({"o":{"k":1},"l":[{"x":[2]}]})";
    QTest::newRow("member") << Path {0, 0, 0} << "" << common << R"({"o":{"k":1},"l":[{"x":[2]},3]})";
    // clang-format on
}

void TestMainWindow::contextMenuCommands()
{
    QFETCH(Path, item);
    QFETCH(QString, entry);
    WindowFixture w(QStringLiteral(R"({"o":{"k":1},"l":[{"x":[2]},3]})"));
    QTEST(w.contextMenu(w.at(item, 1), entry), "entries");
    QTEST(w.compact(), "document");
    QCOMPARE(isModified(w), !entry.isEmpty());
}

void TestMainWindow::openAndSave()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("doc.json"));
    QVERIFY(writeFile(file, R"({"a":{"b":{"c":1}}})"));
    WindowFixture w;
    QVERIFY(w.runFileCommand("actionOpen", file));
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis - ") + file);
    QVERIFY(QRegularExpression(QStringLiteral("^Loaded: %1 \\(\\d+ ms\\)$")
                                       .arg(QRegularExpression::escape(file)))
                    .match(w.status->text())
                    .hasMatch());
    // The top value and its children are open, the grandchildren not.
    QVERIFY(w.tree->isExpanded(w.at({0})));
    QVERIFY(w.tree->isExpanded(w.at({0, 0})));
    QVERIFY(!w.tree->isExpanded(w.at({0, 0, 0})));

    w.model->setData(w.at({0, 0}), QStringLiteral("z"));
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis - %1*").arg(file));
    w.model->setPrettyPrint(false);
    w.action("actionSave")->trigger();
    QCOMPARE(readFile(file), QByteArray(R"({"z":{"b":{"c":1}}})"));
    QCOMPARE(w.status->text(), QStringLiteral("Saved: ") + file);
    QVERIFY(!isModified(w));

    const QString other = dir.filePath(QStringLiteral("other.json"));
    w.model->setData(w.at({0, 0}), QStringLiteral("y"));
    QVERIFY(w.runFileCommand("actionSaveAs", other));
    QCOMPARE(readFile(other), QByteArray(R"({"y":{"b":{"c":1}}})"));
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis - ") + other);
    QCOMPARE(w.status->text(), QStringLiteral("Saved: ") + other);
}

void TestMainWindow::largeFileOpensCollapsed()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("large.json"));
    QByteArray text = "[\"" + QByteArray(12345678 - 4, 'x') + "\"]";
    QVERIFY(writeFile(file, text));
    WindowFixture w;
    QVERIFY(w.runFileCommand("actionOpen", file));
    QVERIFY2(QRegularExpression(
                     QStringLiteral(
                             "^Loaded: %1 \\(filesize: 11.77mb, parse \\d+ ms, total \\d+ ms\\)$")
                             .arg(QRegularExpression::escape(file)))
                     .match(w.status->text())
                     .hasMatch(),
             qPrintable(w.status->text()));
    QVERIFY(!w.tree->isExpanded(w.at({0})));
    QCOMPARE(w.tree->header()->sectionResizeMode(0), QHeaderView::Interactive);
}

void TestMainWindow::failures()
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.json"));
    QVERIFY(writeFile(bad, "{\n  \"a\": 1,\n}"));
    WindowFixture w(QStringLiteral("[1]"));
    MessageBoxAnswer parseBox;
    QVERIFY(w.runFileCommand("actionOpen", bad));
    QVERIFY(parseBox.answer.answered());
    QCOMPARE(parseBox.title, QStringLiteral("Error"));
    QCOMPARE(parseBox.icon, QMessageBox::Critical);
    QCOMPARE(parseBox.text,
             QStringLiteral("Failed to parse JSON file.\n\n") + w.model->parseError());
    QVERIFY2(w.model->parseError().endsWith(
                     QLatin1String("Trailing comma is not allowed at line 2, column 9")),
             qPrintable(w.model->parseError()));
    QCOMPARE(w.compact(), QStringLiteral("[1]"));
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis"));

    // A number no JSON text can hold: the save fails and the document stays modified.
    w.model->setData(w.at({0, 0}, 1), qQNaN());
    MessageBoxAnswer saveBox;
    const QString target = dir.filePath(QStringLiteral("out.json"));
    QVERIFY(w.runFileCommand("actionSaveAs", target));
    QVERIFY(!QFile::exists(target));
    QVERIFY(saveBox.answer.answered());
    QCOMPARE(saveBox.title, QStringLiteral("Error"));
    QCOMPARE(saveBox.text, QStringLiteral("Failed to save JSON file."));
    QVERIFY(isModified(w));
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis*"));
}

void TestMainWindow::search()
{
    WindowFixture w(QStringLiteral(R"({"a":1,"b":{"a":2}})"));
    w.tree->collapseAll();
    auto *dialog = w.window->findChild<SearchDialog *>();
    // Before any search, Find Next only opens the dialog.
    w.action("actionFindNext")->trigger();
    QVERIFY(dialog->isVisible());
    QVERIFY(!w.tree->currentIndex().isValid());

    dialog->findChild<QLineEdit *>()->setText(QStringLiteral("  a "));
    QTest::keyClick(dialog->findChild<QLineEdit *>(), Qt::Key_Return);
    QCOMPARE(w.tree->currentIndex(), w.at({0, 0}));
    QCOMPARE(w.status->text(), QStringLiteral("Match found."));
    w.action("actionFindNext")->trigger();
    QCOMPARE(w.tree->currentIndex(), w.at({0, 1, 0}));
    QVERIFY(w.tree->isExpanded(w.at({0, 1})));
    w.action("actionFindNext")->trigger();
    QCOMPARE(w.status->text(), QStringLiteral("Reached end, continued from beginning."));
    QCOMPARE(w.tree->currentIndex(), w.at({0, 0}));
    w.action("actionFindPrevious")->trigger();
    QCOMPARE(w.tree->currentIndex(), w.at({0, 1, 0}));

    emit dialog->findRequested({});
    QCOMPARE(w.status->text(), QStringLiteral("Search text is empty."));
    SearchOptions options;
    options.text = QStringLiteral("a(");
    options.useRegex = true;
    MessageBoxAnswer box;
    emit dialog->findRequested(options);
    QVERIFY(box.answer.answered());
    QCOMPARE(box.title, QStringLiteral("Search"));
    QVERIFY(box.text.startsWith(QLatin1String("Invalid regular expression: ")));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(w.tree->currentIndex(), w.at({0, 1, 0}));
    QCOMPARE(w.status->text(), QStringLiteral("Search text is empty."));
    w.model->removeRows(0, 1);
    w.action("actionFindPrevious")->trigger();
    QCOMPARE(w.status->text(), QStringLiteral("No searchable items."));
}

void TestMainWindow::settings()
{
    {
        WindowFixture w(QStringLiteral(R"(["abcdef"])"));
        ModalAnswer answer(onDialog<SettingsDialog>([](SettingsDialog *dialog) {
            dialog->findChild<QSpinBox *>()->setValue(3);
            dialog->findChild<QCheckBox *>()->setChecked(false);
            dialog->accept();
        }));
        w.action("actionSettings")->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(w.at({0, 0}, 1).data().toString(), QStringLiteral("abc... (6 chars total)"));
        QCOMPARE(w.model->prettyPrint(), false);
    }
    // Stored, and read at the next start.
    QSettings store(QStringLiteral("Marbletrellis"), QStringLiteral("Marbletrellis"));
    QCOMPARE(store.value(QStringLiteral("maxTextLength")).toInt(), 3);
    store.setValue(QStringLiteral("prettyPrint"), true);
    store.sync();
    WindowFixture w;
    QCOMPARE(w.model->maxTextLength(), 3);
    QCOMPARE(w.model->prettyPrint(), true);
    w.model->setMaxTextLength(7);
    w.window->close();
    store.sync();
    QCOMPARE(store.value(QStringLiteral("maxTextLength")).toInt(), 7);
}

void TestMainWindow::dialogs()
{
    WindowFixture w(QStringLiteral("[]"));
    ModalAnswer about(onDialog<AboutDialog>([](AboutDialog *dialog) { dialog->accept(); }));
    w.action("actionAbout")->trigger();
    QVERIFY(about.answered());

    ModalAnswer add(onDialog<AddItemDialog>([](AddItemDialog *dialog) {
        auto *type = dialog->findChild<QComboBox *>();
        type->setCurrentIndex(type->findText(QStringLiteral("Number")));
        dialog->findChildren<QLineEdit *>().at(1)->setText(QStringLiteral("4.5"));
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    }));
    w.contextMenu(w.at({0}), QStringLiteral("Add Item..."));
    QVERIFY(add.answered());
    QCOMPARE(w.compact(), QStringLiteral("[4.5]"));

    // An object's member needs a key.
    w.model->loadFromString(QStringLiteral(R"({"a":1})"));
    ModalAnswer member(onDialog<AddItemDialog>([](AddItemDialog *dialog) { dialog->accept(); }));
    MessageBoxAnswer box;
    w.contextMenu(w.at({0}), QStringLiteral("Add Item..."));
    QVERIFY(member.answered());
    QVERIFY(box.answer.answered());
    QCOMPARE(box.title, QStringLiteral("Warning"));
    QCOMPARE(box.text, QStringLiteral("Key cannot be empty"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(w.compact(), QStringLiteral(R"({"a":1})"));
}

MARBLETRELLIS_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
