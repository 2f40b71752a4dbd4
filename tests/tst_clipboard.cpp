#include "app/mainwindow.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"
#include "testwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>
#include <QTreeView>

#include <limits>

namespace {

const QString sentinel = QStringLiteral("clipboard before");

QClipboard *clipboard()
{
    return QGuiApplication::clipboard();
}

// A pasted or refused paste, as the user sees it afterwards.
struct Outcome
{
    QString status;
    QString document;
    Path current;
    bool modified;
};

Path pathOf(QModelIndex index)
{
    Path path;
    for (; index.isValid(); index = index.parent())
        path.prepend(index.row());
    return path;
}

Outcome outcome(ShownWindow &w)
{
    const QModelIndex current = w.tree->currentIndex();
    if (current.isValid()) {
        QItemSelectionModel *selection = w.tree->selectionModel();
        // The current row is the one selected row.
        if (!selection->isRowSelected(current.row(), current.parent())
            || selection->selectedRows().size() != 1)
            return {QStringLiteral("<current row not the one selected>"), {}, {}, false};
    }
    return {w.status->text(), w.compact(), pathOf(current), w.title().endsWith(QLatin1Char('*'))};
}

// A document the paste table works on: an object with scalars, an array and
// an object inside.
const QString pasteDocument =
        QStringLiteral(R"({"port": 80, "name": "n", "list": [1, 2, 3], "cfg": {}})");

QString pastedDocument(const QString &insideTop, const QString &appendedToList = {})
{
    QString list = QStringLiteral("[1,2,3");
    if (!appendedToList.isEmpty())
        list += QLatin1Char(',') + appendedToList;
    return QStringLiteral(R"({"port":80,"name":"n","list":%1],"cfg":{}%2})").arg(list, insideTop);
}

// A million nested arrays: far deeper than a file may be.
QString tooDeep()
{
    const int depth = 1000000;
    return QString(depth, QLatin1Char('[')) + QString(depth, QLatin1Char(']'));
}

} // namespace

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void copy_data();
    void copy();
    void noCurrentItem_data();
    void noCurrentItem();
    void numberWithoutJsonText_data();
    void numberWithoutJsonText();
    void paste_data();
    void paste();
    void topLevelScalarHoldsNothing();
    void overwrite_data();
    void overwrite();
    void deepPaste_data();
    void deepPaste();
    void roundTrip_data();
    void roundTrip();
    void contextMenuAndShortcuts();
};

void TestClipboard::copy_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<Path>("item");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("pretty");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("clipboardText");
    QTest::addColumn<QString>("status");

    const QString copied = QStringLiteral("Copied to clipboard.");
    const QString copiedKey = QStringLiteral("Copied key to clipboard.");
    const QString copiedValue = QStringLiteral("Copied value to clipboard.");
    const QString copy = QStringLiteral("&Copy");
    const QString copyKey = QStringLiteral("Copy &Key");
    const QString copyValue = QStringLiteral("Copy &Value");
    const QString member = QStringLiteral(R"({"name": "x"})");

    QTest::newRow("member") << member << Path {0, 0} << 0 << true << copy
                            << R"("name": "x")" << copied;
    QTest::newRow("member, value column")
            << member << Path {0, 0} << 1 << true << copy << R"("name": "x")" << copied;
    QTest::newRow("member's value") << member << Path {0, 0} << 0 << true << copyValue << R"("x")"
                                    << copiedValue;
    QTest::newRow("member's value, value column")
            << member << Path {0, 0} << 1 << true << copyValue << R"("x")" << copiedValue;
    QTest::newRow("member's key") << member << Path {0, 0} << 0 << true << copyKey << "name"
                                  << copiedKey;
    QTest::newRow("member's key, value column")
            << member << Path {0, 0} << 1 << true << copyKey << "name" << copiedKey;

    const QString cfg = QStringLiteral(R"({"cfg": {"a": 1}})");
    QTest::newRow("object member, indented") << cfg << Path {0, 0} << 0 << true << copy
                                             << "\"cfg\": {\n    \"a\": 1\n}" << copied;
    QTest::newRow("object member, compact")
            << cfg << Path {0, 0} << 0 << false << copy << R"("cfg": {"a":1})" << copied;

    const QString array = QStringLiteral(R"({"list": [3, 4, 5]})");
    QTest::newRow("element") << array << Path {0, 0, 2} << 0 << true << copy << "5" << copied;
    QTest::newRow("element's key") << array << Path {0, 0, 2} << 0 << true << copyKey << "[2]"
                                   << copiedKey;

    QTest::newRow("key with quotation marks") << R"({"say \"hi\"": 1})" << Path {0, 0} << 0 << true
                                              << copy << R"("say "hi"": 1)" << copied;
    QTest::newRow("key with place markers") << R"({"%2 and %1": "%1"})" << Path {0, 0} << 0 << true
                                            << copy << R"("%2 and %1": "%1")" << copied;
    QTest::newRow("empty key") << R"({"": 1})" << Path {0, 0} << 0 << true << copy << "1"
                               << copied;
    QTest::newRow("U+0000 in key and string")
            << R"({"a\u0000b": "c\u0000d"})" << Path {0, 0} << 0 << true << copy
            << QStringLiteral("\"a") + QChar(0) + QStringLiteral("b\": \"c\\u0000d\"") << copied;

    QTest::newRow("top-level object") << R"({"a": [1]})" << Path {0} << 0 << false << copy
                                      << R"({"a":[1]})" << copied;
    QTest::newRow("top-level array") << "[1, 2]" << Path {0} << 1 << false << copy << "[1,2]"
                                     << copied;
    QTest::newRow("top-level number") << "42" << Path {0} << 0 << true << copy << sentinel
                                      << "Cannot copy standalone value.";
    QTest::newRow("top-level number's value")
            << "42" << Path {0} << 0 << true << copyValue << "42" << copiedValue;
    QTest::newRow("top-level key") << R"({"a": 1})" << Path {0} << 0 << true << copyKey << ""
                                   << copiedKey;
}

void TestClipboard::copy()
{
    QFETCH(QString, json);
    QFETCH(Path, item);
    QFETCH(int, column);
    QFETCH(bool, pretty);
    QFETCH(QString, command);
    QFETCH(QString, clipboardText);
    QFETCH(QString, status);

    ShownWindow w(json);
    w.model->setPrettyPrint(pretty);
    w.tree->setCurrentIndex(w.at(item, column));
    clipboard()->setText(sentinel);

    w.action(command)->trigger();

    QCOMPARE(clipboard()->text(), clipboardText);
    QCOMPARE(w.status->text(), status);
    QCOMPARE(w.title(), QStringLiteral("Marbletrellis"));
}

void TestClipboard::noCurrentItem_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("status");

    QTest::newRow("copy") << "&Copy" << "No item selected to copy.";
    QTest::newRow("copy key") << "Copy &Key" << "No item selected to copy.";
    QTest::newRow("copy value") << "Copy &Value" << "No item selected to copy.";
    QTest::newRow("paste") << "&Paste" << "No item selected to paste.";
}

void TestClipboard::noCurrentItem()
{
    QFETCH(QString, command);
    QFETCH(QString, status);

    ShownWindow w(QStringLiteral(R"({"a": [1]})"));
    QVERIFY(!w.tree->currentIndex().isValid());
    clipboard()->setText(QStringLiteral("[2]"));

    w.action(command)->trigger();

    QCOMPARE(w.status->text(), status);
    QCOMPARE(clipboard()->text(), QStringLiteral("[2]"));
    QCOMPARE(w.compact(), QStringLiteral(R"({"a":[1]})"));
    QCOMPARE(w.title(), QStringLiteral("Marbletrellis"));
}

// A number the writer cannot put out, given to the model as code may.
void TestClipboard::numberWithoutJsonText_data()
{
    QTest::addColumn<double>("number");

    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
}

void TestClipboard::numberWithoutJsonText()
{
    QFETCH(double, number);

    ShownWindow w(QStringLiteral(R"({"n": 1})"));
    const QModelIndex item = w.at({0, 0});
    QVERIFY(w.model->setData(item.siblingAtColumn(1), number));
    w.tree->setCurrentIndex(item);

    for (const QString &command : {QStringLiteral("&Copy"), QStringLiteral("Copy &Value")}) {
        clipboard()->setText(sentinel);
        w.action(command)->trigger();
        QCOMPARE(w.status->text(), QStringLiteral("Failed to copy item."));
        QCOMPARE(clipboard()->text(), sentinel);
    }
    w.action(QStringLiteral("Copy &Key"))->trigger();
    QCOMPARE(w.status->text(), QStringLiteral("Copied key to clipboard."));
    QCOMPARE(clipboard()->text(), QStringLiteral("n"));
}

void TestClipboard::paste_data()
{
    QTest::addColumn<Path>("item");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("clipboardText");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("document");
    QTest::addColumn<Path>("current"); // afterwards

    const QString keyAndValue = QStringLiteral("Pasted key and value.");
    const QString valueIntoArray = QStringLiteral("Pasted value into Array.");
    const QString jsonIntoArray = QStringLiteral("Pasted JSON into Array.");
    const QString textIntoArray = QStringLiteral("Pasted text into Array.");
    const QString formatOnly = QStringLiteral("Object can only paste \"key\": value format.");
    const QString unchanged = pastedDocument({});
    const Path port {0, 0};
    const Path list {0, 2};
    const Path newMember {0, 4};
    const Path newElement {0, 2, 3};

    // Into an object: the current one, or the one holding the current scalar.
    QTest::newRow("beside a scalar member") << port << 0 << R"("host": "a")" << keyAndValue
                                            << pastedDocument(R"(,"host":"a")") << newMember;
    QTest::newRow("into the object, value column")
            << Path {0} << 1 << R"("host": "a")" << keyAndValue << pastedDocument(R"(,"host":"a")")
            << newMember;
    QTest::newRow("into an empty object") << Path {0, 3} << 0 << R"("a": {"b": [null]})"
                                          << keyAndValue
                                          << R"({"port":80,"name":"n","list":[1,2,3],"cfg":{"a":{"b":[null]}}})"
                                          << Path {0, 3, 0};
    QTest::newRow("keys compared exactly") << port << 0 << R"("Name": 1)" << keyAndValue
                                           << pastedDocument(R"(,"Name":1)") << newMember;
    QTest::newRow("key without quotation marks")
            << port << 0 << "a: 1" << keyAndValue << pastedDocument(R"(,"a":1)") << newMember;
    QTest::newRow("empty key") << port << 0 << R"("": 5)" << keyAndValue
                               << pastedDocument(R"(,"":5)") << newMember;
    QTest::newRow("quotation marks inside the key")
            << port << 0 << R"("say "hi"": 1)" << keyAndValue
            << pastedDocument(R"(,"say \"hi\"":1)") << newMember;
    QTest::newRow("indented member")
            << port << 0 << "\"m\": {\n    \"a\": [\n        1\n    ]\n}" << keyAndValue
            << pastedDocument(R"(,"m":{"a":[1]})") << newMember;
    QTest::newRow("U+0000 in key and string")
            << port << 0 << QStringLiteral("\"a") + QChar(0) + QStringLiteral("b\": \"c\\u0000d\"")
            << keyAndValue << pastedDocument(R"(,"a\u0000b":"c\u0000d")") << newMember;
    QTest::newRow("integer above the signed range")
            << port << 0 << "big: 18446744073709551615" << keyAndValue
            << pastedDocument(R"(,"big":18446744073709551615)") << newMember;
    QTest::newRow("blank lines around") << port << 0 << "\n\n  \"host\": \"a\"\t\n\n"
                                        << keyAndValue << pastedDocument(R"(,"host":"a")")
                                        << newMember;
    QTest::newRow("no space after the colon, object")
            << port << 0 << R"("a":1)" << formatOnly << unchanged << port;
    QTest::newRow("JSON text, object")
            << port << 0 << R"({"a": 1})" << formatOnly << unchanged << port;
    QTest::newRow("plain text, object") << port << 0 << "hello" << formatOnly << unchanged << port;

    // Into an array: always appended at the end.
    QTest::newRow("key and value, array") << Path {0, 2, 0} << 0 << R"("k": [true])"
                                          << valueIntoArray << pastedDocument({}, "[true]")
                                          << newElement;
    QTest::newRow("into the array, value column")
            << list << 1 << "7" << jsonIntoArray << pastedDocument({}, "7") << newElement;
    QTest::newRow("object text") << list << 0 << R"({"a": 1})" << jsonIntoArray
                                 << pastedDocument({}, R"({"a":1})") << newElement;
    QTest::newRow("no space after the colon, array")
            << list << 0 << R"("a":1)" << textIntoArray << pastedDocument({}, R"("\"a\":1")")
            << newElement;
    QTest::newRow("value that is no JSON") << list << 0 << R"("a": hello)" << textIntoArray
                                           << pastedDocument({}, R"("\"a\": hello")") << newElement;
    QTest::newRow("bracket in the key") << list << 0 << R"("x[1]": 2)" << textIntoArray
                                        << pastedDocument({}, R"("\"x[1]\": 2")") << newElement;
    QTest::newRow("number out of range") << list << 0 << "1e400" << textIntoArray
                                         << pastedDocument({}, R"("1e400")") << newElement;
    QTest::newRow("plain text is trimmed") << Path {0, 2, 1} << 0 << "\n  hello world \n"
                                           << textIntoArray
                                           << pastedDocument({}, R"("hello world")") << newElement;

    // Nothing to paste, or nowhere to paste it.
    QTest::newRow("empty clipboard") << port << 0 << "" << "Clipboard is empty." << unchanged
                                     << port;
    QTest::newRow("only white space") << list << 0 << " \n\t " << "Clipboard is empty."
                                      << unchanged << list;
}

void TestClipboard::paste()
{
    QFETCH(Path, item);
    QFETCH(int, column);
    QFETCH(QString, clipboardText);
    QFETCH(QString, status);
    QFETCH(QString, document);
    QFETCH(Path, current);

    ShownWindow w(pasteDocument);
    w.tree->setCurrentIndex(w.at(item, column));
    clipboard()->setText(clipboardText);
    const bool pastes = status.startsWith(QLatin1String("Pasted"));

    w.action(QStringLiteral("&Paste"))->trigger();

    const Outcome after = outcome(w);
    QCOMPARE(after.status, status);
    QCOMPARE(after.document, document);
    QCOMPARE(after.current, current);
    QCOMPARE(after.modified, pastes);
}

void TestClipboard::topLevelScalarHoldsNothing()
{
    ShownWindow w(QStringLiteral("5"));
    w.tree->setCurrentIndex(w.at({0}, 1));
    clipboard()->setText(QStringLiteral("[1]"));

    w.action(QStringLiteral("&Paste"))->trigger();

    const Outcome after = outcome(w);
    QCOMPARE(after.status, QStringLiteral("Can only paste into Object or Array."));
    QCOMPARE(after.document, QStringLiteral("5"));
    QCOMPARE(after.current, Path {0});
    QVERIFY(!after.modified);
}

void TestClipboard::overwrite_data()
{
    QTest::addColumn<QString>("clipboardText");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("document");
    QTest::addColumn<Path>("current");

    const QString json = QStringLiteral(R"({"name":"old","a":1,"a":{"b":2},"%1":1})");
    QTest::newRow("declined") << R"("name": "x")" << QMessageBox::No
                              << R"(Key "name" already exists. Overwrite?)" << json << Path {0};
    QTest::newRow("replaced in place")
            << R"("name": "x")" << QMessageBox::Yes << R"(Key "name" already exists. Overwrite?)"
            << R"({"name":"x","a":1,"a":{"b":2},"%1":1})" << Path {0, 0};
    QTest::newRow("first of two equal keys")
            << R"("a": [true])" << QMessageBox::Yes << R"(Key "a" already exists. Overwrite?)"
            << R"({"name":"old","a":[true],"a":{"b":2},"%1":1})" << Path {0, 1};
    QTest::newRow("container by scalar")
            << "a: null" << QMessageBox::Yes << R"(Key "a" already exists. Overwrite?)"
            << R"({"name":"old","a":null,"a":{"b":2},"%1":1})" << Path {0, 1};
    QTest::newRow("key with place markers")
            << R"("%1": 2)" << QMessageBox::No << R"(Key "%1" already exists. Overwrite?)" << json
            << Path {0};
}

void TestClipboard::overwrite()
{
    QFETCH(QString, clipboardText);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, question);
    QFETCH(QString, document);
    QFETCH(Path, current);

    ShownWindow w(QStringLiteral(R"({"name":"old","a":1,"a":{"b":2},"%1":1})"));
    w.status->setText(QStringLiteral("before"));
    w.tree->setCurrentIndex(w.at({0}));
    clipboard()->setText(clipboardText);

    MessageBoxAnswer box(answer);
    w.action(QStringLiteral("&Paste"))->trigger();

    QVERIFY(box.answer.answered());
    QCOMPARE(box.title, QStringLiteral("Paste"));
    QCOMPARE(box.text, question);
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.defaultButton, QMessageBox::No);
    const Outcome after = outcome(w);
    const bool replaced = answer == QMessageBox::Yes;
    QCOMPARE(after.status,
             replaced ? QStringLiteral("Pasted key and value.") : QStringLiteral("before"));
    QCOMPARE(after.document, document);
    QCOMPARE(after.current, current);
    QCOMPARE(after.modified, replaced);
}

// Text nested deeper than a file may be is pasted like text that is no JSON.
void TestClipboard::deepPaste_data()
{
    QTest::addColumn<Path>("item");
    QTest::addColumn<QString>("clipboardText");
    QTest::addColumn<QString>("status");

    const QString deep = tooDeep();
    QTest::newRow("into an array") << Path {0, 0} << deep << "Pasted text into Array.";
    QTest::newRow("member into an array")
            << Path {0, 0} << QStringLiteral("\"deep\": ") + deep << "Pasted text into Array.";
    QTest::newRow("into an object") << Path {0} << deep
                                    << "Object can only paste \"key\": value format.";
    QTest::newRow("member into an object")
            << Path {0} << QStringLiteral("\"deep\": ") + deep
            << "Object can only paste \"key\": value format.";
    QTest::newRow("at the limit") << Path {0, 0} << QString::fromUtf8(nestedArrays(10000))
                                  << "Pasted JSON into Array.";
}

void TestClipboard::deepPaste()
{
    QFETCH(Path, item);
    QFETCH(QString, clipboardText);
    QFETCH(QString, status);

    ShownWindow w(QStringLiteral(R"({"list": []})"));
    w.tree->setCurrentIndex(w.at(item));
    clipboard()->setText(clipboardText);

    w.action(QStringLiteral("&Paste"))->trigger();

    QCOMPARE(w.status->text(), status);
    const JsonNode *list = nodeOf(w.at({0, 0}));
    if (status == QLatin1String("Pasted text into Array.")) {
        QCOMPARE(list->childCount(), 1);
        QCOMPARE(list->child(0)->type(), JsonNodeType::String);
        QCOMPARE(list->child(0)->value().toString(), clipboardText);
    } else if (status == QLatin1String("Pasted JSON into Array.")) {
        QCOMPARE(list->childCount(), 1);
        QCOMPARE(list->child(0)->type(), JsonNodeType::Array);
    } else {
        QCOMPARE(list->childCount(), 0);
    }
}

// What Copy puts on the clipboard, Paste takes back as the same member or
// element, indented or compact.
void TestClipboard::roundTrip_data()
{
    QTest::addColumn<Path>("item");
    QTest::addColumn<Path>("destination");
    QTest::addColumn<bool>("pretty");

    const Path intoObject {0, 1};
    const Path intoArray {0, 2};
    for (const bool pretty : {true, false}) {
        const char *mode = pretty ? "indented" : "compact";
        QTest::addRow("scalar member, %s", mode) << Path {0, 0, 0} << intoObject << pretty;
        QTest::addRow("array member, %s", mode) << Path {0, 0, 1} << intoObject << pretty;
        QTest::addRow("empty object member, %s", mode) << Path {0, 0, 2} << intoObject << pretty;
        QTest::addRow("object member, %s", mode) << Path {0, 0} << intoObject << pretty;
        QTest::addRow("scalar element, %s", mode) << Path {0, 0, 1, 1} << intoArray << pretty;
        QTest::addRow("object element, %s", mode) << Path {0, 0, 1, 2} << intoArray << pretty;
        QTest::addRow("whole document, %s", mode) << Path {0} << intoArray << pretty;
    }
}

void TestClipboard::roundTrip()
{
    QFETCH(Path, item);
    QFETCH(Path, destination);
    QFETCH(bool, pretty);

    ShownWindow w(QStringLiteral(
            R"({"src": {"s": "x\u0000y \"q\" \\ é 😀", "n": [-1, 2.5, {"deep": [null, true, 1e300]}],)"
            R"( "e": {}}, "dst": {}, "arr": []})"));
    const QModelIndex copied = w.at(item);
    w.model->setPrettyPrint(false);
    const QString value = w.model->nodeToJsonString(copied);
    const bool isMember = nodeOf(copied)->parent()->type() == JsonNodeType::Object;
    const QString expected = isMember
            ? QStringLiteral("{\"%1\":%2}").arg(nodeOf(copied)->key(), value)
            : QStringLiteral("[%1]").arg(value);

    w.model->setPrettyPrint(pretty);
    w.tree->setCurrentIndex(copied);
    w.action(QStringLiteral("&Copy"))->trigger();
    w.tree->setCurrentIndex(w.at(destination));
    w.action(QStringLiteral("&Paste"))->trigger();

    QCOMPARE(w.status->text(), isMember ? QStringLiteral("Pasted key and value.")
                                        : QStringLiteral("Pasted JSON into Array."));
    w.model->setPrettyPrint(false);
    QCOMPARE(w.model->nodeToJsonString(w.at(destination)), expected);
}

// The context menu's entries and the standard shortcuts reach the same commands.
void TestClipboard::contextMenuAndShortcuts()
{
    ShownWindow w(QStringLiteral(R"({"k": "v", "list": []})"));
    const QModelIndex member = w.at({0, 0});

    contextMenu(w, member, QStringLiteral("Copy Key"));
    QCOMPARE(clipboard()->text(), QStringLiteral("k"));
    contextMenu(w, member.siblingAtColumn(1), QStringLiteral("Copy Value"));
    QCOMPARE(clipboard()->text(), QStringLiteral("\"v\""));
    contextMenu(w, member, QStringLiteral("Copy"));
    QCOMPARE(clipboard()->text(), QStringLiteral("\"k\": \"v\""));
    contextMenu(w, w.at({0, 1}), QStringLiteral("Paste"));
    QCOMPARE(w.status->text(), QStringLiteral("Pasted value into Array."));

    // The view's own copy of the cell's text must not win over the command.
    // Shortcuts reach only the active window; offscreen, the window that a
    // closed menu leaves behind may lose that a moment later.
    w.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    w.tree->setFocus();
    w.tree->setCurrentIndex(member);
    QTest::keyClick(w.tree, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(w.status->text(), QStringLiteral("Copied to clipboard."));
    w.tree->setCurrentIndex(w.at({0, 1}));
    QTest::keyClick(w.tree, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.compact(), QStringLiteral(R"({"k":"v","list":["v","v"]})"));
}

MARBLETRELLIS_GUI_TEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
