#include "app/mainwindow.h"
#include "dialogs/additemdialog.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"
#include "testwindow.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeView>

namespace {

// Opens the cell's editor with the edit key, types `text` over its content
// (none: leaves it), and confirms with Return. Returns the text it showed.
QString editCell(ShownWindow &w, const QModelIndex &cell, const QString *text = nullptr)
{
    w.tree->setCurrentIndex(cell);
    QTest::keyClick(w.tree, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (!editor)
        return QStringLiteral("<no line editor>");
    const QString shown = editor->text();
    if (text) {
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, *text);
    }
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits and closes the editor from the event loop.
    const QPointer<QLineEdit> closing(editor);
    if (!QTest::qWaitFor([&closing] { return !closing; }))
        return QStringLiteral("<editor still open>");
    return shown;
}

} // namespace

class TestItemCommands : public QObject
{
    Q_OBJECT

private slots:
    void editorCommits_data();
    void editorCommits();
    void confirmingNumberKeepsIt_data();
    void confirmingNumberKeepsIt();
    void confirmingTextKeepsIt_data();
    void confirmingTextKeepsIt();
    void menuEntries_data();
    void menuEntries();
    void clickBelowRowsOpensNoMenu();
    void duplicate();
    void deleteItem_data();
    void deleteItem();
    void deepSubtreeDuplicatedAndDeleted();
    void addItem_data();
    void addItem();
    void emptyKeyRefused();
    void addItemDialogWidgets();
    void numberValues_data();
    void numberValues();
    void viewCommandsLeaveDocumentAlone();
};

void TestItemCommands::editorCommits_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<Path>("path");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");

    QTest::newRow("null becomes string") << R"({"a":null})" << Path {0, 0} << 1 << "abc"
                                         << R"({"a":"abc"})";
    QTest::newRow("key") << R"({"a":1})" << Path {0, 0} << 0 << "b"
                         << R"({"b":1})";
    QTest::newRow("integer stays integer") << "[0.5]" << Path {0, 0} << 1 << "43"
                                           << "[43]";
    QTest::newRow("every digit kept") << "[0]" << Path {0, 0} << 1 << "9007199254740993"
                                      << "[9007199254740993]";
    QTest::newRow("fraction not rounded") << "[0]" << Path {0, 0} << 1 << "0.125"
                                          << "[0.125]";
    QTest::newRow("no number refused") << "[7]" << Path {0, 0} << 1 << "abc"
                                       << "[7]";
    QTest::newRow("empty refused") << "[7]" << Path {0, 0} << 1 << ""
                                   << "[7]";
    QTest::newRow("infinity refused") << "[7]" << Path {0, 0} << 1 << "inf"
                                      << "[7]";
}

void TestItemCommands::editorCommits()
{
    QFETCH(QString, json);
    QFETCH(Path, path);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, saved);

    ShownWindow w(json);
    editCell(w, w.at(path, column), &typed);
    QCOMPARE(w.compact(), saved);
    // Only a stored edit marks the document.
    QCOMPARE(w.title().endsWith(QLatin1Char('*')), saved != json);
}

void TestItemCommands::confirmingNumberKeepsIt_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("shown");

    QTest::newRow("0.1") << "[0.1]"
                         << "0.1";
    QTest::newRow("0.125") << "[0.125]"
                           << "0.125";
    QTest::newRow("many digits") << "[0.1234567890123456]"
                                 << "0.1234567890123456";
    QTest::newRow("1e300") << "[1e300]"
                           << "1e+300";
    QTest::newRow("beyond doubles' precision") << "[9007199254740993]"
                                               << "9007199254740993";
    QTest::newRow("unsigned") << "[18446744073709551615]"
                              << "18446744073709551615";
    QTest::newRow("written as real") << "[1.0]"
                                     << "1";
}

void TestItemCommands::confirmingTextKeepsIt_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("column");

    QTest::newRow("U+0000 in key") << R"({"a\u0000b":1})" << 0;
    QTest::newRow("U+0000 in string") << R"(["a\u0000b"])" << 1;
    QTest::newRow("line break in string") << R"(["a\nb"])" << 1;
    QTest::newRow("tab in key") << R"({"a\tb":1})" << 0;
}

void TestItemCommands::confirmingTextKeepsIt()
{
    QFETCH(QString, json);
    QFETCH(int, column);

    ShownWindow w(json);
    const QString saved = w.compact();
    editCell(w, w.at({0, 0}, column));
    QCOMPARE(w.compact(), saved);
}

void TestItemCommands::confirmingNumberKeepsIt()
{
    QFETCH(QString, json);
    QFETCH(QString, shown);

    ShownWindow w(json);
    const QString saved = w.compact();
    const QVariant value = w.at({0, 0}, 1).data(Qt::EditRole);
    QCOMPARE(editCell(w, w.at({0, 0}, 1)), shown);
    QCOMPARE(w.at({0, 0}, 1).data(Qt::EditRole), value);
    QCOMPARE(w.compact(), saved);
}

void TestItemCommands::menuEntries_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<Path>("path");
    QTest::addColumn<QStringList>("entries");

    const QStringList always {"Copy", "Copy Key", "Copy Value", "Paste", "Delete"};
    const QStringList add = QStringList {"Add Item..."} + always;
    const QStringList duplicate = QStringList {"Duplicate"} + always;
    const QStringList both = QStringList {"Duplicate"} + add;
    const QString doc = QStringLiteral(R"({"o":{},"s":1,"a":[[],"x"]})");
    QTest::newRow("top-level container") << doc << Path {0} << add;
    QTest::newRow("top-level scalar") << "true" << Path {0} << always;
    QTest::newRow("member container") << doc << Path {0, 0} << add;
    QTest::newRow("member scalar") << doc << Path {0, 1} << always;
    QTest::newRow("element container") << doc << Path {0, 2, 0} << both;
    QTest::newRow("element scalar") << doc << Path {0, 2, 1} << duplicate;
}

void TestItemCommands::menuEntries()
{
    QFETCH(QString, json);
    QFETCH(Path, path);
    QFETCH(QStringList, entries);

    ShownWindow w(json);
    w.tree->setCurrentIndex(w.model->index(0, 0));
    for (int column : {0, 1}) {
        QCOMPARE(contextMenu(w, w.at(path, column)), entries);
        // The clicked row is now the current and only selected row.
        QCOMPARE(w.tree->currentIndex(), w.at(path));
        QCOMPARE(w.tree->selectionModel()->selectedRows(), QModelIndexList {w.at(path)});
    }
    QVERIFY(!w.title().endsWith(QLatin1Char('*')));
}

void TestItemCommands::clickBelowRowsOpensNoMenu()
{
    ShownWindow w(QStringLiteral("[1]"));
    w.tree->setCurrentIndex(w.at({0, 0}));
    bool opened = false;
    ModalAnswer answer(onDialog<QMenu>([&opened](QMenu *menu) {
                           opened = true;
                           menu->close();
                       }),
                       300);
    const QPoint below(10, w.tree->viewport()->height() - 2);
    QVERIFY(!w.tree->indexAt(below).isValid());
    QMetaObject::invokeMethod(w.window.get(), "onCustomContextMenu", Q_ARG(QPoint, below));
    QTest::qWait(50);
    QVERIFY(!opened);
    QCOMPARE(w.tree->currentIndex(), w.at({0, 0}));
}

void TestItemCommands::duplicate()
{
    ShownWindow w(QStringLiteral(R"([10,{"k":[1]},30])"));
    contextMenu(w, w.at({0, 0}, 1), QStringLiteral("Duplicate"));
    contextMenu(w, w.at({0, 1}), QStringLiteral("Duplicate"));
    QCOMPARE(w.tree->currentIndex(), w.at({0, 1}));
    QCOMPARE(w.at({0, 4}).data().toString(), QStringLiteral("[4]"));
    QVERIFY(w.title().endsWith(QLatin1Char('*')));

    // The copy is a copy: changing it leaves its source alone.
    QVERIFY(w.model->setData(w.at({0, 4, 0, 0}, 1), 2, Qt::EditRole));
    QCOMPARE(w.compact(), QStringLiteral(R"([10,{"k":[1]},30,10,{"k":[2]}])"));
}

void TestItemCommands::deleteItem_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<Path>("path");
    QTest::addColumn<QStringList>("tree");

    QTest::newRow("element") << "[10,20,30]" << Path {0, 1}
                             << QStringList {" = [ 2 items ]", "  [0] = 10", "  [1] = 30"};
    QTest::newRow("member with subtree") << R"({"a":{"b":[1]},"c":2})" << Path {0, 0}
                                         << QStringList {" = { 1 items }", "  c = 2"};
    QTest::newRow("top-level row") << R"({"a":1})" << Path {0} << QStringList {};
}

void TestItemCommands::deleteItem()
{
    QFETCH(QString, json);
    QFETCH(Path, path);
    QFETCH(QStringList, tree);

    ShownWindow w(json);
    contextMenu(w, w.at(path, 1), QStringLiteral("Delete"));
    QCOMPARE(dumpTree(*w.model), tree);
    QVERIFY(w.title().endsWith(QLatin1Char('*')));
    if (tree.isEmpty())
        QCOMPARE(w.compact(), QStringLiteral("{}"));
}

void TestItemCommands::deepSubtreeDuplicatedAndDeleted()
{
    ShownWindow w(QString::fromLatin1("[" + nestedArrays(9999) + "]"));
    contextMenu(w, w.at({0, 0}), QStringLiteral("Duplicate"));
    QCOMPARE(w.model->rowCount(w.at({0})), 2);
    w.tree->expandAll();
    contextMenu(w, w.at({0, 0}), QStringLiteral("Delete"));
    contextMenu(w, w.at({0, 0}), QStringLiteral("Delete"));
    QCOMPARE(w.compact(), QStringLiteral("[]"));
}

void TestItemCommands::addItem_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("column"); // of the container's row, right-clicked
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("saved");

    QTest::newRow("string member") << R"({"a":1})" << 0 << "String"
                                   << "name"
                                   << "x"
                                   << R"({"a":1,"name":"x"})";
    QTest::newRow("through the value cell") << R"({"a":1})" << 1 << "Null"
                                            << "n"
                                            << ""
                                            << R"({"a":1,"n":null})";
    QTest::newRow("spaces as key, same name twice") << R"({" ":1})" << 0 << "Number"
                                                    << " "
                                                    << "4.5"
                                                    << R"({" ":1," ":4.5})";
    QTest::newRow("element") << "[1,2,3]" << 0 << "Number"
                             << ""
                             << "42"
                             << "[1,2,3,42]";
    QTest::newRow("unchecked boolean") << "[]" << 0 << "Boolean"
                                       << ""
                                       << ""
                                       << "[false]";
    QTest::newRow("object") << "[]" << 0 << "Object"
                            << ""
                            << ""
                            << "[{}]";
    QTest::newRow("array") << "{}" << 1 << "Array"
                           << "k"
                           << ""
                           << R"({"k":[]})";
}

void TestItemCommands::addItem()
{
    QFETCH(QString, json);
    QFETCH(int, column);
    QFETCH(QString, type);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, saved);

    ShownWindow w(json);
    ModalAnswer answer(onDialog<AddItemDialog>([&](AddItemDialog *dialog) {
        auto *combo = dialog->findChild<QComboBox *>();
        combo->setCurrentIndex(combo->findText(type));
        const auto edits = dialog->findChildren<QLineEdit *>();
        QTest::keyClicks(edits.at(0), key);
        QTest::keyClicks(edits.at(1), value);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    }));
    contextMenu(w, w.at({0}, column), QStringLiteral("Add Item..."));
    QVERIFY(answer.answered());
    QCOMPARE(w.compact(), saved);
    QCOMPARE(w.tree->currentIndex(), w.at({0}));
    const QModelIndex added = w.model->index(w.model->rowCount(w.at({0})) - 1, 0, w.at({0}));
    QVERIFY(w.tree->visualRect(added).isValid()); // shown under the row at once
}

void TestItemCommands::emptyKeyRefused()
{
    ShownWindow w(QStringLiteral(R"({"a":1})"));
    ModalAnswer answer(onDialog<AddItemDialog>([](AddItemDialog *dialog) { dialog->accept(); }));
    MessageBoxAnswer box;
    contextMenu(w, w.at({0}), QStringLiteral("Add Item..."));
    QVERIFY(answer.answered());
    QVERIFY(box.answer.answered());
    QCOMPARE(box.title, QStringLiteral("Warning"));
    QCOMPARE(box.text, QStringLiteral("Key cannot be empty"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::Ok);
    QCOMPARE(w.compact(), QStringLiteral(R"({"a":1})"));
    QVERIFY(!w.title().endsWith(QLatin1Char('*')));
}

void TestItemCommands::addItemDialogWidgets()
{
    AddItemDialog forArray(true);
    QCOMPARE(forArray.windowTitle(), QStringLiteral("Add Item"));
    auto *key = forArray.findChildren<QLineEdit *>().at(0);
    QVERIFY(!key->isEnabled());
    QCOMPARE(key->placeholderText(), QStringLiteral("Auto"));

    AddItemDialog dialog(false);
    auto *combo = dialog.findChild<QComboBox *>();
    QStringList types;
    QList<int> numbers;
    for (int i = 0; i < combo->count(); ++i) {
        types << combo->itemText(i);
        numbers << combo->itemData(i, Qt::UserRole).toInt();
    }
    QCOMPARE(types, (QStringList {"String", "Number", "Boolean", "Object", "Array", "Null"}));
    QCOMPARE(numbers, (QList<int> {3, 4, 5, 1, 2, 6}));
    QCOMPARE(dialog.itemType(), 3);

    auto *value = dialog.findChildren<QLineEdit *>().at(1);
    auto *stack = dialog.findChild<QStackedWidget *>();
    auto *check = dialog.findChild<QCheckBox *>();
    QCOMPARE(check->text(), QStringLiteral("true"));
    QTest::keyClicks(value, QStringLiteral(" kept "));
    combo->setCurrentIndex(2); // Boolean: the check box, the text kept behind it
    QCOMPARE(stack->currentWidget(), check);
    check->setChecked(true);
    QCOMPARE(dialog.itemValue(), QVariant(true));
    combo->setCurrentIndex(0);
    QCOMPARE(dialog.itemValue(), QVariant(QStringLiteral(" kept ")));
    combo->setCurrentIndex(3); // Object: no value
    QVERIFY(!value->isEnabled());
    QCOMPARE(value->text(), QString());
    QVERIFY(!dialog.itemValue().isValid());
    combo->setCurrentIndex(2);
    QVERIFY(check->isChecked());
    combo->setCurrentIndex(0);
    QVERIFY(value->isEnabled());
    QCOMPARE(dialog.itemValue(), QVariant(QString()));
}

void TestItemCommands::numberValues_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("integer") << "42" << QVariant(qint64(42));
    QTest::newRow("fraction") << "4.5" << QVariant(4.5);
    QTest::newRow("exponent") << "1e3" << QVariant(1000.0);
    QTest::newRow("above signed range") << "9223372036854775808" << QVariant(9223372036854775808.0);
    QTest::newRow("no number") << "abc" << QVariant(0.0);
    QTest::newRow("empty") << "" << QVariant(0.0);
}

void TestItemCommands::numberValues()
{
    QFETCH(QString, text);
    QFETCH(QVariant, value);

    AddItemDialog dialog(false);
    dialog.findChild<QComboBox *>()->setCurrentIndex(1);
    QTest::keyClicks(dialog.findChildren<QLineEdit *>().at(1), text);
    QCOMPARE(dialog.itemValue(), value);
    QCOMPARE(dialog.itemValue().typeId(), value.typeId());
}

void TestItemCommands::viewCommandsLeaveDocumentAlone()
{
    ShownWindow w(QStringLiteral(R"({"a":{"b":[1]}})"));
    w.action(QStringLiteral("&Collapse All"))->trigger();
    QVERIFY(!w.tree->isExpanded(w.at({0})));
    w.action(QStringLiteral("&Expand All"))->trigger();
    QVERIFY(w.tree->isExpanded(w.at({0, 0, 0})));
    QVERIFY(!w.title().endsWith(QLatin1Char('*')));
}

MARBLETRELLIS_GUI_TEST_MAIN(TestItemCommands)
#include "tst_itemcommands.moc"
