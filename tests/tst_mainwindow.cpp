#include "fixture.h"

#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/progressdialog.h"
#include "app/startup.h"
#include "app/treeitemdelegate.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/additemdialog.h"
#include "dialogs/searchdialog.h"
#include "dialogs/settingsdialog.h"
#include "io/jsonreader.h"
#include "tree/jsonnode.h"

#include <sys/stat.h>

#include <cstdio>

namespace {

bool isModified(const WindowFixture &w)
{
    return w.window->windowTitle().endsWith(QLatin1Char('*'));
}

bool matches(const QString &pattern, const QString &path, const QString &text)
{
    return QRegularExpression(pattern.arg(QRegularExpression::escape(path))).match(text).hasMatch();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void clipboardCommands_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<Path>("item"); // empty: no current row
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("clipboardText");
        QTest::addColumn<QMessageBox::StandardButton>("answer"); // to the overwrite question
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("clipboardAfter");
        QTest::addColumn<QString>("document"); // afterwards, compact

        const QString doc = QStringLiteral(R"({"n":1,"o":{"a":[1]},"l":[3]})");
        const auto none = QMessageBox::NoButton;
        // clang-format off
        QTest::newRow("copy member") << doc << Path {0, 1} << "actionCopy" << "-" << none << "Copied to clipboard." << "\"o\": {\n    \"a\": [\n        1\n    ]\n}" << doc;
        QTest::newRow("copy member, key as JSON") << "{\"say \\\"hi\\\"\":1}" << Path {0, 0} << "actionCopy" << "-" << none << "Copied to clipboard." << "\"say \\\"hi\\\"\": 1" << "{\"say \\\"hi\\\"\":1}";
        QTest::newRow("copy member, empty key") << R"({"":[]})" << Path {0, 0} << "actionCopy" << "-" << none << "Copied to clipboard." << R"("": [])" << R"({"":[]})";
        QTest::newRow("paste member, brackets in key") << doc << Path {0} << "actionPaste" << R"("u[n]": {})" << none << "Pasted key and value." << R"("u[n]": {})" << R"({"n":1,"o":{"a":[1]},"l":[3],"u[n]":{}})";
        QTest::newRow("copy element") << doc << Path {0, 2, 0} << "actionCopy" << "-" << none << "Copied to clipboard." << "3" << doc;
        QTest::newRow("copy top-level container") << "[1]" << Path {0} << "actionCopy" << "-" << none << "Copied to clipboard." << "[\n    1\n]" << "[1]";
        QTest::newRow("copy top-level scalar") << "5" << Path {0} << "actionCopy" << "-" << none << "Cannot copy standalone value." << "-" << "5";
        QTest::newRow("copy key") << doc << Path {0, 2, 0} << "actionCopyKey" << "-" << none << "Copied key to clipboard." << "[0]" << doc;
        QTest::newRow("copy value") << doc << Path {0, 0} << "actionCopyValue" << "-" << none << "Copied value to clipboard." << "1" << doc;
        QTest::newRow("copy path") << doc << Path {0, 1, 0} << "actionCopyPath" << "-" << none << "Copied path to clipboard." << ".o.a" << doc;
        QTest::newRow("copy path, no row") << doc << Path {} << "actionCopyPath" << "-" << none << "No item selected to copy." << "-" << doc;
        QTest::newRow("copy, no row") << doc << Path {} << "actionCopy" << "-" << none << "No item selected to copy." << "-" << doc;
        QTest::newRow("copy key, no row") << doc << Path {} << "actionCopyKey" << "-" << none << "No item selected to copy." << "-" << doc;
        QTest::newRow("copy value, no row") << doc << Path {} << "actionCopyValue" << "-" << none << "No item selected to copy." << "-" << doc;
        QTest::newRow("paste, no row") << doc << Path {} << "actionPaste" << "[2]" << none << "No item selected to paste." << "[2]" << doc;
        QTest::newRow("paste nothing") << doc << Path {0} << "actionPaste" << " \n" << none << "Clipboard is empty." << " \n" << doc;
        QTest::newRow("paste member") << doc << Path {0, 0} << "actionPaste" << "k: true" << none << "Pasted key and value." << "k: true" << R"({"n":1,"o":{"a":[1]},"l":[3],"k":true})";
        QTest::newRow("overwrite declined") << doc << Path {0, 0} << "actionPaste" << "o: 2" << QMessageBox::No << "Ready" << "o: 2" << doc;
        QTest::newRow("overwrite in place") << doc << Path {0} << "actionPaste" << "o: 2" << QMessageBox::Yes << "Pasted key and value." << "o: 2" << R"({"n":1,"o":2,"l":[3]})";
        QTest::newRow("paste text into object") << doc << Path {0} << "actionPaste" << "[2]" << none << "Object can only paste \"key\": value format." << "[2]" << doc;
        QTest::newRow("paste member into array") << doc << Path {0, 2, 0} << "actionPaste" << "o: {}" << none << "Pasted value into Array." << "o: {}" << R"({"n":1,"o":{"a":[1]},"l":[3,{}]})";
        QTest::newRow("paste JSON into array") << doc << Path {0, 2} << "actionPaste" << "[2]" << none << "Pasted JSON into Array." << "[2]" << R"({"n":1,"o":{"a":[1]},"l":[3,[2]]})";
        QTest::newRow("paste text into array") << doc << Path {0, 2} << "actionPaste" << " x y " << none << "Pasted text into Array." << " x y " << R"({"n":1,"o":{"a":[1]},"l":[3,"x y"]})";
        QTest::newRow("paste into top-level scalar") << "5" << Path {0} << "actionPaste" << "[2]" << none << "Can only paste into Object or Array." << "[2]" << "5";
        // clang-format on
    }
    void clipboardCommands()
    {
        QFETCH(Path, item);
        QFETCH(QString, command);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, status);
        QFETCH(QString, json);
        WindowFixture w(json);
        w.tree->setCurrentIndex(w.at(item));
        const QModelIndex before = w.tree->currentIndex();
        QFETCH(QString, clipboardText);
        QGuiApplication::clipboard()->setText(clipboardText);
        MessageBoxAnswer box(answer == QMessageBox::NoButton ? QMessageBox::Ok : answer);

        w.action(qPrintable(command))->trigger();

        QCOMPARE(w.status->text(), status);
        QTEST(QGuiApplication::clipboard()->text(), "clipboardAfter");
        QTEST(compact(*w.model), "document");
        const bool asked = answer != QMessageBox::NoButton;
        QCOMPARE(QStringList({box.title, box.text}),
                 asked ? QStringList({"Paste", R"(Key "o" already exists. Overwrite?)"})
                       : QStringList({"", ""}));
        QVERIFY(!asked
                || (box.buttons == (QMessageBox::Yes | QMessageBox::No)
                    && box.defaultButton == QMessageBox::No));
        const bool pasted = status.startsWith(QLatin1String("Pasted"));
        QCOMPARE(isModified(w), pasted);
        const QModelIndex current = w.tree->currentIndex();
        if (answer == QMessageBox::Yes)
            QCOMPARE(current, w.at({0, 1}));
        else if (pasted)
            QCOMPARE(current.row(), w.model->rowCount(current.parent()) - 1);
        else
            QCOMPARE(current, before);
        QCOMPARE(w.tree->selectionModel()->selectedIndexes().size(), current.isValid() ? 2 : 0);
    }
    void editing_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("document");
        QTest::addColumn<bool>("modified");
        // clang-format off
        QTest::newRow("null takes text") << "[null]" << 1 << "abc" << R"(["abc"])" << true;
        QTest::newRow("integer") << "[0.5]" << 1 << "9007199254740993" << "[9007199254740993]" << true;
        QTest::newRow("no number") << "[7]" << 1 << "abc" << "[7]" << false;
        QTest::newRow("same number") << "[1.0]" << 1 << "1" << "[1.0]" << false;
        QTest::newRow("null left alone") << "[null]" << 1 << "" << "[null]" << false;
        // clang-format on
    }
    void editing()
    {
        QFETCH(QString, json);
        QFETCH(int, column);
        QFETCH(QString, typed);
        WindowFixture w(json);
        w.tree->setCurrentIndex(w.at({0, 0}, column));
        QTest::keyClick(w.tree, Qt::Key_F2);
        QPointer<QLineEdit> editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&editor] { return !editor; }));
        QTEST(w.model->toJsonString().remove(QRegularExpression(QStringLiteral("\\s"))),
              "document");
        QTEST(isModified(w), "modified");
    }
    void openEditor_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("typed");
        // Document, file, "*" if modified, "redo" if Redo is on, the status if still editing.
        QTest::addColumn<QString>("outcome");
        // clang-format off
        QTest::newRow("Undo") << "actionUndo" << "7" << "[1,5] [1,2] * redo";
        QTest::newRow("Redo") << "actionRedo" << "7" << "[7,5] [1,2] *";
        QTest::newRow("Save") << "actionSave" << "7" << "[7,5] [7,5]";
        QTest::newRow("Exit, saving") << "actionExit" << "7" << "[7,5] [7,5]";
        QTest::newRow("Copy") << "actionCopy" << "7" << "[7,5] [1,2] *";
        QTest::newRow("refused") << "actionSave" << "x" << "[1,5] [1,2] * redo Value is not a valid number";
        // clang-format on
    }
    void openEditor()
    {
        // Two edits of [1], one undone, then text typed over [0] and a command run.
        QFETCH(QString, command);
        QFETCH(QString, typed);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("doc.json"));
        QVERIFY(writeFile(file, "[1,2]"));
        WindowFixture w;
        QVERIFY(w.runFileCommand("actionOpen", file));
        w.model->setData(w.at({0, 1}, 1), 5);
        w.model->setData(w.at({0, 1}, 1), 6);
        w.action("actionUndo")->trigger();
        w.tree->setCurrentIndex(w.at({0, 0}, 1));
        w.tree->edit(w.tree->currentIndex());
        QPointer<QLineEdit> editor = w.tree->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        MessageBoxAnswer save(QMessageBox::Save);
        w.action(qPrintable(command))->trigger();
        const QRegularExpression space(QStringLiteral("\\s"));
        QStringList outcome {w.model->toJsonString().remove(space),
                             QString::fromUtf8(readFile(file)).remove(space)};
        if (isModified(w))
            outcome << "*";
        if (w.action("actionRedo")->isEnabled())
            outcome << "redo";
        if (editor && editor->isVisible())
            outcome << w.status->text();
        QTEST(outcome.join(' '), "outcome");
        if (command == QLatin1String("actionCopy"))
            QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("7"));
    }
    void contextMenuCommands_data()
    {
        QTest::addColumn<Path>("item");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("document");

        const QStringList common {"Copy", "Copy Key", "Copy Value", "Copy Path", "Paste", "Delete"};
        // clang-format off
        QTest::newRow("element") << Path {0, 1, 0} << "Duplicate" << QStringList {"Duplicate", "Add Item..."} + common << R"({"o":{"k":1},"l":[{"x":[2]},3,{"x":[2]}]})";
        QTest::newRow("member") << Path {0, 0} << "" << QStringList {"Add Item..."} + common << R"({"o":{"k":1},"l":[{"x":[2]},3]})";
        QTest::newRow("scalar element") << Path {0, 1, 1} << "Delete" << QStringList {"Duplicate"} + common << R"({"o":{"k":1},"l":[{"x":[2]}]})";
        // clang-format on
    }
    void contextMenuCommands()
    {
        QFETCH(Path, item);
        QFETCH(QString, entry);
        WindowFixture w(QStringLiteral(R"({"o":{"k":1},"l":[{"x":[2]},3]})"));
        QTEST(w.contextMenu(w.at(item, 1), entry), "entries");
        QTEST(compact(*w.model), "document");
        QCOMPARE(isModified(w), !entry.isEmpty());
    }
    void fileCommands()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("doc.json"));
        QVERIFY(writeFile(file, R"({"a":{"b":{"c":1}}})"));
        WindowFixture w;
        QVERIFY(w.runFileCommand("actionOpen", file));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis - ") + file);
        QVERIFY(matches(QStringLiteral("^Loaded: %1 \\(\\d+ ms\\)$"), file, w.status->text()));
        QVERIFY(w.tree->isExpanded(w.at({0, 0})) && !w.tree->isExpanded(w.at({0, 0, 0})));

        w.model->setData(w.at({0, 0}), QStringLiteral("z"));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis - %1*").arg(file));
        w.model->setPrettyPrint(false);
        const QString saved = dir.filePath(QStringLiteral("saved.json"));
        // A name typed without an extension takes the chosen kind's.
        QVERIFY(w.runFileCommand("actionSaveAs", dir.filePath(QStringLiteral("saved")),
                                 QStringLiteral("JSON files (*.json)")));
        QCOMPARE(readFile(saved), QByteArray(R"({"z":{"b":{"c":1}}})"));
        QCOMPARE(w.status->text(), QStringLiteral("Saved: ") + saved);
        QVERIFY(!isModified(w));

        MessageBoxAnswer loadBox;
        const QString missing = dir.filePath(QStringLiteral("missing.json"));
        w.window->openFile(missing);
        QCOMPARE(QStringList({loadBox.title, loadBox.text, loadBox.informativeText}),
                 QStringList({"Error", "Failed to load JSON file.",
                              missing + "\n\nNo such file or directory"}));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis - ") + saved);
        QVERIFY(writeFile(missing, "[1 2]"));
        MessageBoxAnswer parseError;
        QVERIFY(w.runFileCommand("actionOpen", missing));
        QCOMPARE(QStringList({parseError.text, parseError.informativeText}),
                 QStringList(
                         {"Failed to parse JSON file.\n\nUnexpected character, expected a comma or "
                          "a closing bracket at line 1, column 4",
                          ""}));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis - ") + saved);

        // A file strict JSON refuses for its comments is opened only when
        // asked to; then saving over it asks before the comments go.
        QVERIFY(writeFile(file, "{\n  \"a\": 1, // one\n}"));
        MessageBoxAnswer parseBox(QMessageBox::Cancel);
        QVERIFY(w.runFileCommand("actionOpen", file));
        QCOMPARE(parseBox.icon, QMessageBox::Critical);
        QCOMPARE(QStringList({parseBox.text, parseBox.informativeText}),
                 QStringList({"Failed to parse JSON file.\n\nUnexpected character, expected a "
                              "string for object key at line 2, column 11",
                              "This file contains comments or trailing commas, which JSON does "
                              "not allow. Open it anyway?"}));
        QCOMPARE(parseBox.buttons, QMessageBox::Open | QMessageBox::Cancel);
        QCOMPARE(w.model->rowCount(w.at({0, 0, 0})), 1);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        {
            MessageBoxAnswer openAnyway(QMessageBox::Open);
            QVERIFY(w.runFileCommand("actionOpen", file));
        }
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis - ") + file);
        for (const auto answer : {QMessageBox::Cancel, QMessageBox::Save}) {
            MessageBoxAnswer dropComments(answer);
            w.action("actionSave")->trigger();
            QCOMPARE(dropComments.text,
                     "Saving removes the comments from " + file + ". Save anyway?");
            QCOMPARE(dropComments.defaultButton, QMessageBox::Cancel);
            QCOMPARE(readFile(file).contains("// one"), answer == QMessageBox::Cancel);
        }
        QVERIFY(w.runFileCommand("actionOpen", saved));

        w.model->setData(w.at({0, 0, 0, 0}, 1), qQNaN());
        for (const char *copy : {"actionCopy", "actionCopyValue"}) {
            w.tree->setCurrentIndex(w.at({0, 0, 0, 0}));
            w.status->clear();
            w.action(copy)->trigger();
            QCOMPARE(w.status->text(), QStringLiteral("Failed to copy item."));
        }
        MessageBoxAnswer saveBox;
        const QString out = dir.filePath(QStringLiteral("out.json"));
        QVERIFY(w.runFileCommand("actionSaveAs", out));
        QCOMPARE(QStringList({saveBox.title, saveBox.text, saveBox.informativeText}),
                 QStringList({"Error", "Failed to save JSON file.",
                              out + "\n\nThe number nan of \"c\" has no JSON text."}));
        QVERIFY(!QFile::exists(out));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis - %1*").arg(saved));

        QVERIFY(writeFile(file, "[\"" + QByteArray(12345678 - 4, 'x') + "\"]"));
        MessageBoxAnswer discard(QMessageBox::Discard);
        QVERIFY(w.runFileCommand("actionOpen", file));
        QVERIFY(matches(
                QStringLiteral(
                        "^Loaded: %1 \\(filesize: 11.77mb, parse \\d+ ms, total \\d+ ms\\)$"),
                file, w.status->text()));
        QVERIFY(!w.tree->isExpanded(w.at({0})));
        QVERIFY(w.runFileCommand("actionSaveAs", dir.filePath(QStringLiteral("lines")),
                                 QStringLiteral("JSON Lines (*.jsonl *.ndjson)")));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("lines.jsonl"))).size(), 12345678 - 4 + 3);
    }
    void cancelledOpen()
    {
        // A file slow to read shows its progress, and Cancel keeps what was open.
        const QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("slow.json"));
        QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        WindowFixture w(QStringLiteral("[1]"));
        w.model->setData(w.at({0, 0}, 1), 2);
        const QString title = w.window->windowTitle();
        QString shown;
        ModalAnswer cancel(onDialog<QProgressDialog>([&shown](QProgressDialog *dialog) {
            shown = dialog->labelText()
                    + (QApplication::overrideCursor()->shape() == Qt::WaitCursor ? " busy" : "");
            dialog->cancel();
        }));
        w.window->openFile(fifo);
        QCOMPARE(shown, QStringLiteral("Opening slow.json… busy"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(compact(*w.model), QStringLiteral("[2]"));
        QVERIFY(w.window->windowTitle() == title && w.action("actionUndo")->isEnabled());
        QFile writer(fifo); // lets the reading thread end
        QVERIFY(writer.open(QIODevice::WriteOnly));
    }
    void history()
    {
        // Save marks the state that undo and redo come back to; an open starts afresh.
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("doc.json"));
        QVERIFY(writeFile(file, R"({"a":[1,2]})"));
        WindowFixture w;
        QVERIFY(w.runFileCommand("actionOpen", file));
        QAction *undo = w.action("actionUndo"), *redo = w.action("actionRedo");
        w.contextMenu(w.at({0, 0, 1}), QStringLiteral("Delete"));
        w.action("actionSave")->trigger();
        QGuiApplication::clipboard()->setText(QStringLiteral(R"("b": true)"));
        w.tree->setCurrentIndex(w.at({0, 0}));
        w.action("actionPaste")->trigger();
        QCOMPARE(QStringList({undo->text(), redo->text()}), QStringList({"&Undo Paste", "&Redo"}));
        QVERIFY(isModified(w) && !redo->isEnabled());
        undo->trigger();
        QCOMPARE(QStringList({undo->text(), redo->text()}),
                 QStringList({"&Undo Delete", "&Redo Paste"}));
        QVERIFY(!isModified(w));
        QCOMPARE(w.tree->currentIndex(), w.at({0, 0}));
        undo->trigger();
        QCOMPARE(compact(*w.model), QStringLiteral(R"({"a":[1,2]})"));
        QCOMPARE(w.tree->currentIndex(), w.at({0, 0, 1}));
        QVERIFY(isModified(w) && !undo->isEnabled());
        redo->trigger();
        QVERIFY(!isModified(w));
        undo->trigger();
        w.model->setData(w.at({0, 0, 1}, 1), 3); // drops the steps to the saved state
        undo->trigger();
        QVERIFY(isModified(w) && redo->isEnabled());

        MessageBoxAnswer discard(QMessageBox::Discard);
        QVERIFY(w.runFileCommand("actionOpen", file));
        QVERIFY(!isModified(w) && !undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(w.model->undoStack()->count(), 0);
    }
    void changedOnDisk_data()
    {
        QTest::addColumn<QString>("change"); // write in place, rename over, delete
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QString>("answer"); // to the question; empty: none asked
        QTest::addColumn<QString>("document"); // afterwards, compact
        const QString kept = QStringLiteral(R"({"a":[9],"b":{"c":3}})");
        const QString read = QStringLiteral(R"({"b":{"c":4}})");
        // clang-format off
        QTest::newRow("written in place") << "write" << false << "" << read;
        QTest::newRow("replaced by a rename") << "rename" << false << "" << read;
        QTest::newRow("edited, Reload") << "write" << true << "Reload" << read;
        QTest::newRow("edited, Keep my version") << "rename" << true << "Keep my version" << kept;
        QTest::newRow("deleted") << "delete" << true << "" << kept;
        QTest::newRow("deleted, then back") << "delete" << false << "Reload" << read;
        // clang-format on
    }
    void changedOnDisk()
    {
        QFETCH(QString, change);
        QFETCH(bool, edited);
        QFETCH(QString, answer);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("doc.json"));
        const QByteArray changed = R"({"b":{"c":4}})";
        QVERIFY(writeFile(file, R"({"a":[1],"b":{"c":3}})"));
        WindowFixture w;
        w.window->openFile(file);
        if (edited)
            w.model->setData(w.at({0, 0, 0}, 1), 9);
        w.tree->setCurrentIndex(w.at({0, 1, 0}, 1));
        // A question where none belongs is answered, and so noticed.
        MessageBoxAnswer question(QMessageBox::NoButton,
                                  answer.isEmpty() ? QStringLiteral("Keep my version") : answer);
        if (change == "write") {
            QVERIFY(writeFile(file, changed));
        } else if (change == "rename") {
            const QString other = dir.filePath(QStringLiteral("other.json"));
            QVERIFY(writeFile(other, changed));
            QVERIFY(std::rename(QFile::encodeName(other), QFile::encodeName(file)) == 0);
        } else {
            QVERIFY(QFile::remove(file));
            QTRY_COMPARE(w.status->text(), file + " was deleted on disk.");
            QVERIFY(isModified(w));
            if (answer.isEmpty()) { // said once: more changes in the folder are no news
                w.status->clear();
                QVERIFY(writeFile(dir.filePath(QStringLiteral("other.json")), "[]"));
                QTest::qWait(600);
                QCOMPARE(w.status->text(), QString());
            }
            if (!answer.isEmpty()) // as changed, the document now differing from any file
                QVERIFY(writeFile(file, changed));
        }
        const bool reloads = answer == "Reload" || (!edited && change != "delete");
        if (!answer.isEmpty()) {
            QTRY_VERIFY(question.answer.answered());
            QCOMPARE(question.text,
                     "The file " + file + " has changed on disk. Reload it and lose your changes?");
            QCOMPARE(question.defaultButtonText, QStringLiteral("Keep my version"));
        }
        if (reloads) {
            QTRY_COMPARE(w.status->text(), "Reloaded: " + file + " (changed on disk).");
            QCOMPARE(w.tree->currentIndex(), w.at({0, 0, 0}, 1));
        }
        QCOMPARE(w.model->undoStack()->count(), reloads ? 0 : 1);
        QCOMPARE(isModified(w), !reloads);
        QTEST(compact(*w.model), "document");

        // The program's own save is no change on disk; the file is watched still.
        w.model->setData(w.at({0, 0}), QStringLiteral("z"));
        MessageBoxAnswer unexpected(QMessageBox::NoButton, QStringLiteral("Keep my version"));
        w.action("actionSave")->trigger();
        QTest::qWait(1500);
        QVERIFY(!unexpected.answer.answered() && !isModified(w));
        QCOMPARE(w.model->undoStack()->count(), reloads ? 1 : 2);
        QCOMPARE(question.answer.answered(), !answer.isEmpty());
        // A change waits while a cell is being typed in.
        const bool typing = change == "write" && !edited;
        if (typing) {
            w.tree->edit(w.tree->currentIndex());
            QTRY_VERIFY(QApplication::focusWidget() != w.tree);
        }
        w.status->clear();
        QVERIFY(writeFile(file, "[5]"));
        if (typing) {
            QTest::qWait(600);
            QCOMPARE(w.status->text(), QString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }
        QTRY_COMPARE(w.status->text(), "Reloaded: " + file + " (changed on disk).");
        QCOMPARE(compact(*w.model), QStringLiteral("[5]"));
        if (change == "rename" && !edited) { // one change, one reload
            w.status->clear();
            QTest::qWait(600);
            QCOMPARE(w.status->text(), QString());
        }
        if (typing) { // a file opened before is watched no more
            const QString next = dir.filePath(QStringLiteral("next.json"));
            QVERIFY(writeFile(next, "[6]"));
            w.window->openFile(next);
            w.status->clear();
            QVERIFY(writeFile(file, "[7]"));
            QTest::qWait(600);
            QCOMPARE(w.status->text(), QString());
        }
    }
    void pathLabelAndDrops()
    {
        WindowFixture w(QStringLiteral(R"({"a b":[0,{"k":1}]})"));
        const auto *label = w.window->findChild<QLabel *>(QStringLiteral("pathLabel"));
        QCOMPARE(label->text(), QString());
        w.tree->setCurrentIndex(w.at({0, 0, 1, 0}));
        QCOMPARE(label->text(), QStringLiteral(R"(.["a b"][1].k)"));
        w.model->setData(w.at({0, 0}), QStringLiteral("ab"));
        QCOMPARE(label->text(), QStringLiteral(".ab[1].k"));
        w.model->removeRows(0, 1, w.at({0, 0}));
        QCOMPARE(label->text(), QStringLiteral(".ab[0].k"));
        QCoreApplication::sendPostedEvents(); // the status line's new layout
        // All of it, in the room the status line has, fractions of a pixel included.
        QVERIFY(label->contentsRect().width()
                >= QFontMetricsF(label->font()).horizontalAdvance(label->text()));

        // Only local files are taken, the first of them after asking about the edits.
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("doc.json"));
        QVERIFY(writeFile(file, "[7]") && writeFile(dir.filePath(QStringLiteral("b.json")), "[8]"));
        QMimeData data;
        const auto drop = [&](const QList<QUrl> &urls) {
            data.setUrls(urls);
            QDragEnterEvent enter({1, 1}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent dropped({1, 1}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w.window.get(), &enter);
            QApplication::sendEvent(w.window.get(), &dropped);
            return enter.isAccepted() && dropped.isAccepted();
        };
        QVERIFY(!drop({QUrl(QStringLiteral("https://example.org/a.json")),
                       QUrl::fromLocalFile(dir.path())}));
        MessageBoxAnswer box(QMessageBox::Discard);
        QVERIFY(drop({QUrl::fromLocalFile(dir.path()), QUrl::fromLocalFile(file),
                      QUrl::fromLocalFile(dir.filePath(QStringLiteral("b.json")))}));
        QCOMPARE(compact(*w.model), QStringLiteral("[7]"));
        QCOMPARE(box.text, QStringLiteral("The document has been modified."));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis - ") + file);
        QCOMPARE(label->text(), QString());
        QCOMPARE(CommandLine::fileToOpen({"marbletrellis", "a.json"}),
                 QDir::current().absoluteFilePath("a.json"));
        QCOMPARE(CommandLine::fileToOpen({"marbletrellis"}), QString());
    }
    void unsavedChanges_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("hasPath");
        QTest::addColumn<bool>("goesOn");
        // clang-format off
        for (const char *command : {"actionOpen", "actionExit", "close"}) {
            QTest::addRow("%s, Save", command) << command << QMessageBox::Save << true << true;
            QTest::addRow("%s, Save failing", command) << command << QMessageBox::Save << true << false;
            QTest::addRow("%s, Save without a path, cancelled", command) << command << QMessageBox::Save << false << false;
            QTest::addRow("%s, Discard", command) << command << QMessageBox::Discard << false << true;
            QTest::addRow("%s, Cancel", command) << command << QMessageBox::Cancel << true << false;
        }
        // clang-format on
    }
    void unsavedChanges()
    {
        QFETCH(QString, command);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, hasPath);
        QFETCH(bool, goesOn);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("doc.json"));
        QVERIFY(writeFile(file, "[1]"));
        WindowFixture w(QStringLiteral("[1]"));
        if (hasPath)
            QVERIFY(w.runFileCommand("actionOpen", file));
        w.model->setData(w.at({0, 0}, 1), 2);
        const bool failing = hasPath && answer == QMessageBox::Save && !goesOn;
        if (failing) // the file became a folder: the save fails, and its box is answered
            QVERIFY(QFile::remove(file) && QDir().mkdir(file));
        const QString title = w.window->windowTitle();
        MessageBoxAnswer box(answer), error;
        ModalAnswer later(onDialog<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); }));
        if (command == QLatin1String("close"))
            w.window->close();
        else
            w.action(qPrintable(command))->trigger();
        QCOMPARE(QStringList({box.title, box.text, box.informativeText}),
                 QStringList({"Unsaved Changes", "The document has been modified.",
                              "Do you want to save your changes?"}));
        QVERIFY(box.icon == QMessageBox::Warning && box.defaultButton == QMessageBox::Save
                && box.buttons == (QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel));
        QCOMPARE(readFile(file),
                 QByteArray(failing                                          ? ""
                                    : answer == QMessageBox::Save && hasPath ? "[\n    2\n]"
                                                                             : "[1]"));
        QCOMPARE(error.answer.answered(), failing);
        QCOMPARE(w.window->isVisible(), command == QLatin1String("actionOpen") || !goesOn);
        QCOMPARE(later.answered(),
                 (answer == QMessageBox::Save && !hasPath) || (command == "actionOpen" && goesOn));
        if (!goesOn)
            QCOMPARE(w.window->windowTitle(), title);
    }
    void keyValueText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("member"); // key and value text; empty: none
        QTest::newRow("quoted key") << "\"a\\\"b\": [1]" << QStringList {"a\"b", "[1]"};
        QTest::newRow("quotes kept as they are")
                << "\"say \"hi\"\": 1" << QStringList {"say \"hi\"", "1"};
        QTest::newRow("plain key") << "k: true" << QStringList {"k", "true"};
        QTest::newRow("value no JSON") << "k: b c" << QStringList();
        QTest::newRow("JSON object") << "{\"k\": 1}" << QStringList();
    }
    void keyValueText()
    {
        QFETCH(QString, text);
        QString key;
        QString valueText;
        const bool member = MainWindow::parseKeyValue(text, key, valueText);
        QTEST(member ? QStringList({key, valueText}) : QStringList(), "member");
    }
    void limits()
    {
        WindowFixture w(QString::fromLatin1(nestedArrays(JsonReader::maxDepth)));
        QModelIndex deepest = w.at({0}); // the deepest array takes no array
        while (w.model->rowCount(deepest) > 0)
            deepest = w.model->index(0, 0, deepest);
        w.tree->setCurrentIndex(deepest);
        QGuiApplication::clipboard()->setText(QStringLiteral("[2]"));
        w.action("actionPaste")->trigger();
        QCOMPARE(w.status->text(), QStringLiteral("Nesting is deeper than 10000 levels"));
        w.status->clear();
        ModalAnswer add(onDialog<AddItemDialog>([](AddItemDialog *dialog) {
            dialog->findChild<QComboBox *>()->setCurrentIndex(4); // Array
            dialog->accept();
        }));
        w.tree->setIndentation(0);
        w.tree->scrollTo(deepest.parent());
        w.contextMenu(deepest.parent(), QStringLiteral("Add Item..."));
        QCOMPARE(w.status->text(), QStringLiteral("Nesting is deeper than 10000 levels"));
        // So is a member that would overwrite one, and nothing changes.
        WindowFixture member(QStringLiteral(R"({"o":1})"));
        member.tree->setCurrentIndex(member.at({0}));
        QGuiApplication::clipboard()->setText(
                QStringLiteral(R"("o": )")
                + QString::fromLatin1(nestedArrays(JsonReader::maxDepth)));
        MessageBoxAnswer overwrite(QMessageBox::Yes);
        member.action("actionPaste")->trigger();
        QCOMPARE(member.status->text(), QStringLiteral("Nesting is deeper than 10000 levels"));
        QCOMPARE(compact(*member.model), QStringLiteral(R"({"o":1})"));
        QVERIFY(!isModified(member) && !member.action("actionUndo")->isEnabled());

        // A cell shows the first 2000 characters of a longer text, never half a surrogate pair.
        ModelFixture f(QStringLiteral(R"(["%1","%1x","%2😀"])")
                               .arg(QString(2000, 'a'), QString(1999, 'b')));
        f.model.setMaxTextLength(0);
        struct Shown : TreeItemDelegate
        {
            using TreeItemDelegate::initStyleOption;
        } delegate;
        QStringList shown;
        for (int row = 0; row < 3; ++row) {
            QStyleOptionViewItem option;
            delegate.initStyleOption(&option, f.at({0, row}, 1));
            shown << QString::number(option.text.size()) + option.text.right(1);
        }
        QCOMPARE(shown, QStringList({"2000a", "2001…", "2000…"}));
        const QString key(1 << 20, QLatin1Char('k'));
        w.model->loadFromString(QStringLiteral(R"({"%1": 1})").arg(key));
        w.tree->expandAll();
        w.tree->resizeColumnToContents(0);
        QVERIFY(w.tree->columnWidth(0) > 1000 && w.tree->columnWidth(0) < 30000);

        QTest::keyClick(w.tree, Qt::Key_F2); // an editor open while the window goes
        w.window.reset();
    }
    void search()
    {
        WindowFixture w(QStringLiteral(R"({"a":1,"b":{"c":{"a":2}}})"));
        w.tree->collapseAll();
        auto *dialog = w.window->findChild<SearchDialog *>();
        w.action("actionFindNext")->trigger(); // before any search: only the dialog opens
        QTRY_VERIFY(dialog->isActiveWindow() && !w.tree->currentIndex().isValid());
        QTest::keyClicks(dialog->findChild<QLineEdit *>(), QStringLiteral("  a "));
        QTest::keyClick(dialog->findChild<QLineEdit *>(), Qt::Key_Return);
        QVERIFY(w.tree->currentIndex() == w.at({0, 0}) && dialog->isVisible());
        QCOMPARE(w.status->text(), QStringLiteral("Match found."));
        w.action("actionFindNext")->trigger();
        QCOMPARE(w.tree->currentIndex(), w.at({0, 1, 0, 0}));
        QVERIFY(w.tree->isExpanded(w.at({0, 1})) && w.tree->isExpanded(w.at({0, 1, 0})));
        w.action("actionFindNext")->trigger();
        QCOMPARE(w.status->text(), QStringLiteral("Reached end, continued from beginning."));
        w.action("actionFindPrevious")->trigger();
        QCOMPARE(w.tree->currentIndex(), w.at({0, 1, 0, 0}));

        emit dialog->findRequested({});
        QCOMPARE(w.status->text(), QStringLiteral("Search text is empty."));
        const SearchOptions options {QStringLiteral("a("), false, false, true, true, false};
        MessageBoxAnswer box;
        emit dialog->findRequested(options);
        QCOMPARE(QStringList({box.title, box.text}),
                 QStringList({"Search",
                              "Invalid regular expression: "
                                      + QRegularExpression(options.text).errorString()}));
        QCOMPARE(w.tree->currentIndex(), w.at({0, 1, 0, 0}));
        dialog->hide();
        w.action("actionFind")->trigger(); // shows the last search again
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->findChild<QLineEdit *>()->text(), options.text);
        QVERIFY(dialog->findChildren<QCheckBox *>().at(2)->isChecked()); // the expression
        emit dialog->findRequested({QStringLiteral("zz"), false, false, true, true, false});
        QCOMPARE(w.status->text(), QStringLiteral("No matches found."));
        QCOMPARE(w.tree->currentIndex(), w.at({0, 1, 0, 0}));
        w.model->removeRows(0, 1);
        w.action("actionFindPrevious")->trigger();
        QCOMPARE(w.status->text(), QStringLiteral("No searchable items."));
    }
    void searchStops()
    {
        // A long search shows its progress and can be cancelled; a text the
        // expression gives up on ends the search on its row, with a message.
        QString json = QStringLiteral("[");
        for (int i = 0; i < 150; ++i)
            json += '"' + QString(20, QLatin1Char('a')) + "!\",";
        json += '"' + QString(40, QLatin1Char('a')) + "!ab\"]";
        WindowFixture w(json);
        auto *dialog = w.window->findChild<SearchDialog *>();
        w.tree->setCurrentIndex(w.at({0, 0}));
        QString shown;
        ModalAnswer cancel(onDialog<QProgressDialog>([&shown](QProgressDialog *progress) {
            shown = progress->windowTitle() + ": " + progress->labelText();
            progress->cancel();
        }));
        emit dialog->findRequested({QStringLiteral("(a+)+$"), false, false, true, true, true});
        QCOMPARE(shown, QStringLiteral("Search: Searching…"));
        QCOMPARE(w.status->text(), QStringLiteral("Search cancelled."));
        QCOMPARE(w.tree->currentIndex(), w.at({0, 0}));

        w.tree->setCurrentIndex(w.at({0, 149}));
        MessageBoxAnswer box;
        emit dialog->findRequested({QStringLiteral("(a+)+b"), false, false, true, true, true});
        QCOMPARE(QStringList({box.title, box.text}),
                 QStringList({"Search",
                              "The regular expression is too complex to test against .[150]."}));
        QCOMPARE(w.tree->currentIndex(), w.at({0, 150}));
        QCOMPARE(w.status->text(), QStringLiteral("Search cancelled."));
    }
    void queryPanel()
    {
        // The panel's results lead to their rows, are copied exactly, and go with a change.
        WindowFixture w;
        QVERIFY(w.model->loadFromString(QStringLiteral(R"({"a":[12345678901234567890,2]})")));
        w.model->setPrettyPrint(false);
        auto *panel = w.window->findChild<QDockWidget *>(QStringLiteral("queryDock"));
        auto *field = panel->findChild<QLineEdit *>(QStringLiteral("queryField"));
        auto *status = panel->findChild<QLabel *>(QStringLiteral("queryStatus"));
        auto *results = panel->findChild<QTableView *>(QStringLiteral("queryResults"));
        const bool hidden = !panel->isVisible();
        w.action("actionQuery")->trigger();
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QVERIFY(hidden && panel->isVisible());
        QCOMPARE(field->placeholderText(), QStringLiteral("$..name"));
        QTest::keyClicks(field, QStringLiteral("x"));
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(!status->text().isEmpty());
        QCOMPARE(results->model()->rowCount(), 0);
        w.action("actionQuery")->trigger(); // ready for a new query
        QCOMPARE(field->selectedText(), QStringLiteral("x"));

        field->setText(QStringLiteral("$"));
        QTest::keyClick(field, Qt::Key_Return);
        w.tree->expandAll(); // makes the children on demand, which changes nothing
        QCOMPARE(status->text(), QStringLiteral("1 result"));
        QCOMPARE(results->model()->rowCount(), 1);
        QCOMPARE(results->model()->index(0, 0).data().toString(), QStringLiteral("."));
        w.tree->collapseAll();
        w.tree->setCurrentIndex(w.at({0, 0, 1}));
        results->setFocus();
        results->setCurrentIndex(results->model()->index(0, 1));
        QTest::keyClick(results, Qt::Key_Return);
        QCOMPARE(w.tree->currentIndex(), w.at({0}));

        ModalAnswer copy(onDialog<QMenu>([](QMenu *menu) {
            menu->setActiveAction(menu->actions().value(0));
            QTest::keyClick(menu, Qt::Key_Return);
        }));
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(1, 1),
                                results->viewport()->mapToGlobal(QPoint(1, 1)));
        QCoreApplication::sendEvent(results->viewport(), &click);
        QVERIFY(copy.answered());
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral(R"([{"a":[12345678901234567890,2]}])"));
        // Copied once each, in the results' order, whatever cells were selected in what order.
        field->setText(QStringLiteral("$.a[*]"));
        QTest::keyClick(field, Qt::Key_Return);
        for (const auto &[row, column] : {std::pair(1, 1), std::pair(0, 0), std::pair(1, 0)})
            results->selectionModel()->select(results->model()->index(row, column),
                                              QItemSelectionModel::Select);
        QMetaObject::invokeMethod(panel, "onCopyResults");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("[12345678901234567890,2]"));
        // A new query's results replace the last ones, even when there are none.
        field->setText(QStringLiteral("$.a["));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(results->model()->rowCount(), 0);
        field->setText(QStringLiteral("$.b"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(status->text(), QStringLiteral("No results"));
        field->setText(QStringLiteral("$.a[*]"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(results->model()->rowCount(), 2);
        const QHeaderView *columns = results->horizontalHeader();
        QCOMPARE(columns->sectionViewportPosition(1) + columns->sectionSize(1),
                 results->viewport()->width()); // the values take the rest of the width

        w.model->setData(w.at({0, 0, 1}, 1), 3);
        QCOMPARE(results->model()->rowCount(), 0);
        QCOMPARE(status->text(),
                 QStringLiteral("The document has changed: press Enter to run the query again."));
        // So do a removal, an insertion and a new document.
        const std::function<void()> changes[]
                = {[&] {
                       w.model->removeRows(0, 1, w.at({0, 0}));
                   },
                   [&] {
                       w.model->insertRows(0, 1, w.at({0, 0}));
                   },
                   [&] { w.model->loadFromString(QStringLiteral("[1]")); }};
        for (const std::function<void()> &change : changes) {
            QTest::keyClick(field, Qt::Key_Return);
            QVERIFY(results->model()->rowCount() > 0);
            change();
            QCOMPARE(results->model()->rowCount(), 0);
        }

        // The next window shows the panel where this one left it.
        MessageBoxAnswer discard(QMessageBox::Discard);
        QVERIFY(w.window->close());
        WindowFixture next;
        QVERIFY(next.window->findChild<QDockWidget *>(QStringLiteral("queryDock"))->isVisible());
    }
    void progressShare()
    {
        // The bar shows the share done; an unknown total makes it a busy bar.
        ProgressDialog progress(QStringLiteral("Open"), QStringLiteral("Opening…"), nullptr);
        progress.setShare(5, 0);
        QCOMPARE(progress.maximum(), 0);
        progress.setShare(1, 4);
        QCOMPARE(double(progress.value() - progress.minimum())
                         / (progress.maximum() - progress.minimum()),
                 0.25);
    }
    void deleteKey()
    {
        // Delete removes the current row as one step; never the top-level row, nor in an editor.
        WindowFixture w(QStringLiteral(R"({"a":[1,2],"b":3})"));
        w.tree->setFocus();
        w.tree->setCurrentIndex(w.at({0, 0, 0}));
        QTest::keyClick(w.tree, Qt::Key_Delete);
        QCOMPARE(compact(*w.model), QStringLiteral(R"({"a":[2],"b":3})"));
        QCOMPARE(w.action("actionUndo")->text(), QStringLiteral("&Undo Delete"));
        w.tree->setCurrentIndex(w.at({0}));
        QTest::keyClick(w.tree, Qt::Key_Delete);
        w.tree->edit(w.at({0, 1}, 1));
        QTRY_VERIFY(QApplication::focusWidget() != w.tree);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(compact(*w.model), QStringLiteral(R"({"a":[2],"b":3})"));
        w.action("actionUndo")->trigger();
        QCOMPARE(compact(*w.model), QStringLiteral(R"({"a":[1,2],"b":3})"));
    }
    void settings()
    {
        QSettings(QStringLiteral("Marbletrellis"), QStringLiteral("Marbletrellis")).clear();
        {
            WindowFixture w(QStringLiteral(R"(["abcdef"])"));
            QCOMPARE(w.model->maxTextLength(), 1024); // as nothing was set
            QCOMPARE(w.model->prettyPrint(), true);
            ModalAnswer answer(onDialog<SettingsDialog>([](SettingsDialog *dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Settings"));
                dialog->findChild<QSpinBox *>()->setValue(3);
                dialog->findChild<QCheckBox *>()->setChecked(false);
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            }));
            w.action("actionSettings")->trigger();
            QCOMPARE(w.at({0, 0}, 1).data().toString(), QStringLiteral("abc... (6 chars total)"));
            QCOMPARE(w.model->prettyPrint(), false);
            QVERIFY(isModified(w) && !w.action("actionUndo")->isEnabled()); // but no step
            w.model->setData(w.at({0, 0}, 1), QStringLiteral("x"));
            w.action("actionUndo")->trigger();
            QVERIFY(isModified(w)); // Save would still write it anew
        }
        QSettings store(QStringLiteral("Marbletrellis"), QStringLiteral("Marbletrellis"));
        QCOMPARE(store.value(QStringLiteral("maxTextLength")).toInt(), 3);
        QCOMPARE(store.value(QStringLiteral("prettyPrint")).toString(), QStringLiteral("false"));
        WindowFixture w;
        QCOMPARE(w.model->maxTextLength(), 3);
        QCOMPARE(w.model->prettyPrint(), false);
        w.model->setMaxTextLength(7);
        w.window->close();
        store.sync();
        QCOMPARE(store.value(QStringLiteral("maxTextLength")).toInt(), 7);
    }
    void menus()
    {
        WindowFixture w(QStringLiteral(R"({"a":{"b":1}})"));
        QStringList menus; // each menu's entries, "-" for a separator
        for (QAction *menu : w.window->menuBar()->actions()) {
            QStringList entries {menu->text()};
            for (QAction *entry : menu->menu()->actions())
                entries << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
            menus << entries.join(',');
        }
        QCOMPARE(
                menus,
                QStringList(
                        {"&File,&Open...,&Save,Save &As...,-,E&xit",
                         "&Edit,&Undo,&Redo,-,&Find...,Find &Next,Find &Previous,&Query...,-,&Copy,"
                         "Copy &Key,Copy &Value,Copy Pat&h,&Paste,-,&Settings...",
                         "&View,&Expand All,&Collapse All", "&Help,&About"}));
        w.action("actionCollapseAll")->trigger();
        const bool collapsed = !w.tree->isExpanded(w.at({0}));
        w.action("actionExpandAll")->trigger();
        QVERIFY(collapsed && w.tree->isExpanded(w.at({0, 0})));
    }
    void dialogs()
    {
        WindowFixture w(QStringLiteral(R"({"a":[]})"));
        const auto click = [](QDialogButtonBox::StandardButton which) {
            return onDialog<QDialog>([which](QDialog *dialog) {
                dialog->findChild<QDialogButtonBox *>()->button(which)->click();
            });
        };
        QString aboutTitle; // and About shows the program's icon
        ModalAnswer about(onDialog<QDialog>([&aboutTitle](QDialog *dialog) {
            aboutTitle = dialog->windowTitle()
                    + (dialog->findChild<QLabel *>()->pixmap().isNull() ? "" : " icon");
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        }));
        ModalAnswer settings(click(QDialogButtonBox::Cancel));
        w.action("actionAbout")->trigger();
        w.model->setMaxTextLength(5);
        w.action("actionSettings")->trigger();
        QVERIFY(settings.answered() && w.model->maxTextLength() == 5);
        QCOMPARE(aboutTitle, QStringLiteral("About Marbletrellis icon"));
        ModalAnswer cancel(click(QDialogButtonBox::Cancel));
        w.contextMenu(w.at({0, 0}), QStringLiteral("Add Item..."));
        w.action("actionFind")->trigger();
        w.window->findChild<SearchDialog *>()
                ->findChild<QDialogButtonBox *>()
                ->button(QDialogButtonBox::Close)
                ->click();
        QVERIFY(cancel.answered() && !w.window->findChild<SearchDialog *>()->isVisible());

        ModalAnswer add(onDialog<AddItemDialog>([](AddItemDialog *dialog) {
            auto *type = dialog->findChild<QComboBox *>();
            type->setCurrentIndex(type->findText(QStringLiteral("Number")));
            dialog->findChildren<QLineEdit *>().at(1)->setText(QStringLiteral("4.5"));
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        }));
        w.contextMenu(w.at({0, 0}), QStringLiteral("Add Item..."));
        QCOMPARE(compact(*w.model), QStringLiteral(R"({"a":[4.5]})"));

        ModalAnswer member(click(QDialogButtonBox::Ok)); // an object's member needs a key
        MessageBoxAnswer box;
        w.contextMenu(w.at({0}), QStringLiteral("Add Item..."));
        QCOMPARE(QStringList({box.title, box.text}),
                 QStringList({"Warning", "Key cannot be empty"}));
        QCOMPARE(compact(*w.model), QStringLiteral(R"({"a":[4.5]})"));
    }
    // Every label, field and button of a dialog lies inside it, apart from the others.
    void dialogLayouts()
    {
        QTranslator translator;
        setUpApplication(translator);
        QVERIFY(!QApplication::windowIcon().isNull());
        AboutDialog about;
        SettingsDialog settings(20000000, true);
        AddItemDialog add(false);
        SearchDialog find;
        for (QDialog *dialog : std::initializer_list<QDialog *> {&about, &settings, &add, &find}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QMultiHash<QObject *, QRect> taken; // by parent
            for (QWidget *child : dialog->findChildren<QWidget *>()) {
                if (child->parentWidget() != dialog && !qobject_cast<QGroupBox *>(child->parent()))
                    continue;
                const QRect place(child->mapTo(dialog, QPoint()), child->size());
                QVERIFY(dialog->rect().contains(place));
                for (const QRect &other : taken.values(child->parent()))
                    QVERIFY(!other.intersects(place));
                taken.insert(child->parent(), place);
            }
        }
        QVERIFY(about.minimumSize() == QSize(400, 300) && about.maximumSize() == QSize(400, 300));
        QString alignments; // the icon, name and version centred; the credits wrapped at the left
        for (const QLabel *label : about.findChildren<QLabel *>())
            alignments += QString::number(label->alignment() & Qt::AlignHorizontal_Mask)
                    + (label->wordWrap() ? "w " : " ");
        QCOMPARE(alignments, QStringLiteral("4 4 4 1w "));
        auto *spin = settings.findChild<QSpinBox *>();
        QCOMPARE(settings.maxTextLength(), 10000000); // a stored value beyond the range is clamped
        spin->setValue(-1);
        QCOMPARE(spin->text(), QStringLiteral("Unlimited"));
    }
    void addItemDialog_data()
    {
        QTest::addColumn<bool>("isArray");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text"); // typed as the value, or "checked" for a Boolean
        QTest::addColumn<QString>("item"); // the item added, compact; empty: refused with a warning
        QTest::addColumn<QString>("value"); // the value field: "typed", "off", or the check box
        // clang-format off
        QTest::newRow("string") << false << "String" << "x" << R"({"k":"x"})" << "typed";
        QTest::newRow("number") << false << "Number" << "18446744073709551616" << R"({"k":18446744073709551616})" << "typed";
        QTest::newRow("no number") << false << "Number" << "abc" << "" << "typed";
        QTest::newRow("boolean") << true << "Boolean" << "checked" << "[true]" << "check";
        QTest::newRow("object") << false << "Object" << "x" << R"({"k":{}})" << "off";
        QTest::newRow("array") << true << "Array" << "x" << "[[]]" << "off";
        QTest::newRow("null") << true << "Null" << "x" << "[null]" << "kept";
        // clang-format on
    }
    void addItemDialog()
    {
        QFETCH(bool, isArray);
        QFETCH(QString, type);
        QFETCH(QString, text);
        QFETCH(QString, item);
        AddItemDialog dialog(isArray);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Item"));
        auto *combo = dialog.findChild<QComboBox *>();
        const auto edits = dialog.findChildren<QLineEdit *>();
        QCOMPARE(edits.at(0)->isEnabled(), !isArray);
        QCOMPARE(edits.at(0)->placeholderText(), isArray ? QStringLiteral("Auto") : QString());
        QVERIFY(qobject_cast<QFormLayout *>(dialog.layout())->labelForField(edits.at(0)));
        edits.at(0)->setText(QStringLiteral("k"));
        combo->setCurrentIndex(combo->findText(QStringLiteral("Null"))); // no value field
        edits.at(1)->setText(text);
        combo->setCurrentIndex(combo->findText(type));
        QCOMPARE(combo->currentText(), type);
        dialog.findChild<QCheckBox *>()->setChecked(text == QLatin1String("checked"));
        const bool shown = edits.at(1)->isVisibleTo(&dialog);
        const bool typed = edits.at(1)->isEnabled(), empty = edits.at(1)->text().isEmpty();
        QTEST(QString::fromLatin1(!shown          ? "check"
                                          : typed ? "typed"
                                          : empty ? "off"
                                                  : "kept"),
              "value");
        MessageBoxAnswer warning;
        dialog.accept();
        QCOMPARE(QStringList({warning.title, warning.text}),
                 item.isEmpty() ? QStringList({"Warning", "Value is not a valid number"})
                                : QStringList({"", ""}));
        QCOMPARE(dialog.result(), item.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
        QVERIFY(!item.isEmpty() || !dialog.itemValue().isValid());
        ModelFixture f(isArray ? QStringLiteral("[]") : QStringLiteral("{}"));
        QVERIFY(f.model.appendNode(f.at({0}),
                                   new JsonNode(dialog.itemKey(), dialog.itemValue(),
                                                JsonNodeType(dialog.itemType()))));
        QCOMPARE(item.isEmpty() ? QString() : compact(f.model), item);
    }
    // The Find dialog sends what its widgets hold, trimmed, and shows what it is given.
    void searchDialog()
    {
        SearchDialog dialog;
        QVERIFY(!dialog.isModal()); // the window stays usable beside it
        QSignalSpy sent(&dialog, &SearchDialog::findRequested);
        auto *field = dialog.findChild<QLineEdit *>();
        const auto send = [&] { // the options sent: the text, and the letters of those set
            QTest::keyClick(field, Qt::Key_Return);
            const auto o = sent.takeLast().at(0).value<SearchOptions>();
            const bool set[]
                    = {o.backward, o.ignoreCase, o.wrapAround, o.useRegex, o.searchInValue};
            QString letters = o.text + '|';
            for (int i = 0; i < 5; ++i)
                letters += set[i] ? QStringLiteral("biwrv").at(i) : QChar();
            return letters.remove(QChar());
        };
        field->setText(QStringLiteral("  x "));
        QCOMPARE(send(), QStringLiteral("x|w"));
        dialog.setOptions({QStringLiteral("y"), true, true, false, true, true});
        QCOMPARE(send(), QStringLiteral("y|birv"));
        dialog.setSearchBackward(false);
        QCOMPARE(send(), QStringLiteral("y|irv"));
        dialog.focusSearchField(); // typing replaces the last text
        QCOMPARE(field->selectedText(), QStringLiteral("y"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
