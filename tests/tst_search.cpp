#include "app/mainwindow.h"
#include "dialogs/searchdialog.h"
#include "model/jsontreemodel.h"
#include "testhelpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace {

const QString doc = QStringLiteral(R"({"a":1,"b":{"a":2}})");
const QString found = QStringLiteral("Match found.");
const QString wrapped = QStringLiteral("Reached end, continued from beginning.");
const QString notFound = QStringLiteral("No matches found.");

// Search options from a text and letters: b backward, i ignore case,
// n no wrap-around, r regular expression, v search in value.
SearchOptions options(const QString &text, const QString &flags = {})
{
    SearchOptions result;
    result.text = text;
    result.backward = flags.contains(QLatin1Char('b'));
    result.ignoreCase = flags.contains(QLatin1Char('i'));
    result.wrapAround = !flags.contains(QLatin1Char('n'));
    result.useRegex = flags.contains(QLatin1Char('r'));
    result.searchInValue = flags.contains(QLatin1Char('v'));
    return result;
}

// The main window, its Find dialog and the parts a search changes. Rows are
// named by their keys from the top: "" is the top-level row, "/b/a" the
// member "a" of "b"; "none" is no row.
struct Window
{
    Window()
        : window(std::make_unique<MainWindow>())
        , tree(window->findChild<QTreeView *>())
        , model(window->findChild<JsonTreeModel *>())
        , status(window->statusBar()->findChild<QLabel *>())
        , dialog(window->findChild<SearchDialog *>())
    {
    }

    void trigger(const QString &text) const
    {
        for (QAction *menu : window->menuBar()->actions())
            for (QAction *item : menu->menu()->actions())
                if (item->text() == text)
                    return item->trigger();
        QFAIL(qPrintable(text));
    }

    // A search as the dialog sends it.
    void find(const SearchOptions &options) const
    {
        dialog->setOptions(options);
        button(QStringLiteral("Find Next"))->click();
    }

    QAbstractButton *button(const QString &text) const
    {
        for (QAbstractButton *candidate : dialog->findChildren<QAbstractButton *>())
            if (candidate->text() == text)
                return candidate;
        return nullptr;
    }

    QModelIndex row(const QString &path) const
    {
        QModelIndex index = model->index(0, 0);
        for (const QString &key : path.split(QLatin1Char('/')).mid(1)) {
            int childRow = 0;
            while (model->index(childRow, 0, index).data().toString() != key)
                ++childRow;
            index = model->index(childRow, 0, index);
        }
        return index;
    }

    QString current() const
    {
        QStringList keys;
        for (QModelIndex index = tree->currentIndex(); index.isValid(); index = index.parent())
            keys.prepend(index.siblingAtColumn(0).data().toString());
        return keys.isEmpty() ? QStringLiteral("none") : keys.join(QLatin1Char('/'));
    }

    // The selection is the current row, both cells, or nothing without one.
    bool selectionIsCurrentRow() const
    {
        const QModelIndex current = tree->currentIndex();
        QModelIndexList expected;
        if (current.isValid())
            expected = {current.siblingAtColumn(0), current.siblingAtColumn(1)};
        QModelIndexList selected = tree->selectionModel()->selectedIndexes();
        std::sort(selected.begin(), selected.end());
        return selected == expected;
    }

    std::unique_ptr<MainWindow> window;
    QTreeView *tree;
    JsonTreeModel *model;
    QLabel *status;
    SearchDialog *dialog;
};

// Fails the test when a message box shows up.
ModalAnswer noMessageBox()
{
    return ModalAnswer(onDialog<QMessageBox>([](QMessageBox *box) { box->reject(); }));
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void candidateOrder_data();
    void candidateOrder();
    void outcomes_data();
    void outcomes();
    void valueMatchInCollapsedSubtree();
    void currentValueCellStartsAtItsRow();
    void invalidExpression();
    void noDocument_data();
    void noDocument();
    void emptyText();
    void beforeAnySearch_data();
    void beforeAnySearch();
    void dialogFollowsSearches();
    void largeDocuments();
};

void TestSearch::candidateOrder_data()
{
    QTest::addColumn<bool>("backward");
    QTest::addColumn<QStringList>("visits"); // row and status: dialog, then the menu twice

    QTest::newRow("down, Find Next")
            << false << QStringList {"/a", found, "/b/a", found, "/a", wrapped};
    QTest::newRow("up, Find Previous")
            << true << QStringList {"/b/a", found, "/a", found, "/b/a", wrapped};
}

void TestSearch::candidateOrder()
{
    QFETCH(bool, backward);
    QFETCH(QStringList, visits);
    Window w;
    QVERIFY(w.model->loadFromString(doc));
    QVERIFY(!w.tree->isExpanded(w.row(QString())));

    w.find(options(QStringLiteral("a"), backward ? QStringLiteral("b") : QString()));
    QStringList seen {w.current(), w.status->text()};
    for (int repeat = 0; repeat < 2; ++repeat) {
        w.trigger(backward ? QStringLiteral("Find &Previous") : QStringLiteral("Find &Next"));
        seen << w.current() << w.status->text();
        QVERIFY(w.selectionIsCurrentRow());
    }
    QCOMPARE(seen, visits);
    QVERIFY(w.tree->isExpanded(w.row(QStringLiteral("/b"))));
}

void TestSearch::outcomes_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("maxTextLength");
    QTest::addColumn<QString>("start");
    QTest::addColumn<SearchOptions>("search");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("status");

    const QString none = QStringLiteral("none");
    QTest::newRow("value text of containers")
            << doc << 1024 << none << options("items", "v") << "" << found;
    QTest::newRow("value text, next container")
            << doc << 1024 << "" << options("items", "v") << "/b" << found;
    QTest::newRow("value not searched unasked")
            << doc << 1024 << none << options("items") << none << notFound;
    QTest::newRow("case kept") << doc << 1024 << none << options("A") << none << notFound;
    QTest::newRow("case ignored") << doc << 1024 << none << options("A", "i") << "/a" << found;
    QTest::newRow("expression, case kept")
            << doc << 1024 << none << options("A", "r") << none << notFound;
    QTest::newRow("expression, case ignored")
            << doc << 1024 << none << options("A", "ri") << "/a" << found;

    const QString labels = QStringLiteral(R"({"k1":0,"list":[5,6]})");
    QTest::newRow("plain text [1] is a label")
            << labels << 1024 << none << options("[1]") << "/list/[1]" << found;
    QTest::newRow("expression [1] is a class")
            << labels << 1024 << none << options("[1]", "r") << "/k1" << found;
    QTest::newRow("expression anchors")
            << R"({"ab":1,"a":2})" << 1024 << none << options("^a$", "r") << "/a" << found;
    QTest::newRow("plain text has no anchors")
            << R"({"ab":1,"a":2})" << 1024 << none << options("^a$") << none << notFound;

    const QString longText = QStringLiteral(R"({"s":"abcdefghijKLMNOP"})");
    QTest::newRow("cut off text") << longText << 10 << none << options("KLM", "v") << none
                                  << notFound;
    QTest::newRow("note of the cut")
            << longText << 10 << none << options("(16 chars total)", "v") << "/s" << found;
    QTest::newRow("no limit") << longText << 0 << none << options("KLM", "v") << "/s" << found;

    QTest::newRow("no wrap, last row matches")
            << doc << 1024 << "/b/a" << options("a", "n") << "/b/a" << found;
    QTest::newRow("no wrap, last row does not match")
            << doc << 1024 << "/b/a" << options("b", "n") << "/b/a" << notFound;
    QTest::newRow("no wrap, up from the top row")
            << doc << 1024 << "" << options("items", "bnv") << "" << found;
    QTest::newRow("no wrap, nothing further")
            << doc << 1024 << "/a" << options("a", "bn") << "/a" << notFound;
    QTest::newRow("no wrap, invalid expression on the last row")
            << doc << 1024 << "/b/a" << options("a(", "nr") << "/b/a" << notFound;
    QTest::newRow("no wrap, no current row, up")
            << doc << 1024 << none << options("a", "bn") << "/b/a" << found;

    QTest::newRow("only match is the current row")
            << doc << 1024 << "/b" << options("b") << "/b" << wrapped;
    QTest::newRow("down from the last row")
            << doc << 1024 << "/b/a" << options("a") << "/a" << wrapped;
    QTest::newRow("up from the top row")
            << doc << 1024 << "" << options("a", "b") << "/b/a" << wrapped;
    QTest::newRow("no current row, no match")
            << doc << 1024 << none << options("zz") << none << notFound;
}

void TestSearch::outcomes()
{
    QFETCH(QString, json);
    QFETCH(int, maxTextLength);
    QFETCH(QString, start);
    QFETCH(SearchOptions, search);
    QFETCH(QString, current);
    QFETCH(QString, status);
    Window w;
    w.model->setMaxTextLength(maxTextLength);
    QVERIFY(w.model->loadFromString(json));
    if (start != QStringLiteral("none"))
        w.tree->setCurrentIndex(w.row(start));

    ModalAnswer box = noMessageBox();
    w.find(search);
    QVERIFY(!box.answered());
    QCOMPARE(w.current(), current);
    QCOMPARE(w.status->text(), status);
    QVERIFY(w.selectionIsCurrentRow());
}

void TestSearch::valueMatchInCollapsedSubtree()
{
    Window w;
    QVERIFY(w.model->loadFromString(QStringLiteral(R"({"w":1,"x":{"y":{"z":"needle"}}})")));
    w.find(options(QStringLiteral("needle"), QStringLiteral("v")));
    QCOMPARE(w.current(), QStringLiteral("/x/y/z"));
    QCOMPARE(w.status->text(), found);
    for (const QString path : {"", "/x", "/x/y"})
        QVERIFY2(w.tree->isExpanded(w.row(path)), qPrintable(path));
    QVERIFY(w.selectionIsCurrentRow());
    QCOMPARE(w.tree->currentIndex().column(), 0);
}

void TestSearch::currentValueCellStartsAtItsRow()
{
    Window w;
    QVERIFY(w.model->loadFromString(doc));
    w.tree->setCurrentIndex(w.row(QStringLiteral("/a")).siblingAtColumn(1));
    w.find(options(QStringLiteral("a")));
    QCOMPARE(w.current(), QStringLiteral("/b/a"));
    QCOMPARE(w.status->text(), found);
}

void TestSearch::invalidExpression()
{
    Window w;
    QVERIFY(w.model->loadFromString(doc));
    w.tree->setCurrentIndex(w.row(QStringLiteral("/a")));
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    ModalAnswer answer(onDialog<QMessageBox>([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    }));
    w.find(options(QStringLiteral("a("), QStringLiteral("r")));
    QVERIFY(answer.answered());
    QCOMPARE(title, QStringLiteral("Search"));
    QCOMPARE(text,
             QStringLiteral("Invalid regular expression: ")
                     + QRegularExpression(QStringLiteral("a(")).errorString());
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(buttons, QMessageBox::Ok);
    QCOMPARE(w.current(), QStringLiteral("/a"));
    QVERIFY(w.selectionIsCurrentRow());
    QCOMPARE(w.status->text(), QStringLiteral("Ready"));
}

void TestSearch::noDocument_data()
{
    QTest::addColumn<SearchOptions>("search");
    QTest::newRow("text") << options("a");
    QTest::newRow("invalid expression") << options("a(", "r");
}

void TestSearch::noDocument()
{
    QFETCH(SearchOptions, search);
    Window w;
    ModalAnswer box = noMessageBox();
    w.find(search);
    QCOMPARE(w.status->text(), QStringLiteral("No searchable items."));
    w.status->clear();
    w.trigger(QStringLiteral("Find &Previous"));
    QCOMPARE(w.status->text(), QStringLiteral("No searchable items."));
    QVERIFY(!box.answered());
}

void TestSearch::emptyText()
{
    Window w;
    QVERIFY(w.model->loadFromString(doc));
    w.find(options(QStringLiteral("   ")));
    QCOMPARE(w.status->text(), QStringLiteral("Search text is empty."));
    // No search is in force yet: Find Next only opens the dialog.
    w.dialog->hide();
    w.trigger(QStringLiteral("Find &Next"));
    QVERIFY(w.dialog->isVisible());
    QCOMPARE(w.status->text(), QStringLiteral("Search text is empty."));
    QCOMPARE(w.current(), QStringLiteral("none"));

    w.find(options(QStringLiteral("a")));
    QCOMPARE(w.current(), QStringLiteral("/a"));
    w.find(options(QString()));
    QCOMPARE(w.status->text(), QStringLiteral("Search text is empty."));
    QCOMPARE(w.current(), QStringLiteral("/a"));
    w.trigger(QStringLiteral("Find &Next")); // the last search still stands
    QCOMPARE(w.current(), QStringLiteral("/b/a"));
    QCOMPARE(w.status->text(), found);
}

void TestSearch::beforeAnySearch_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("Find...") << "&Find...";
    QTest::newRow("Find Next") << "Find &Next";
    QTest::newRow("Find Previous") << "Find &Previous";
}

void TestSearch::beforeAnySearch()
{
    QFETCH(QString, command);
    Window w;
    QVERIFY(w.model->loadFromString(doc));
    QVERIFY(w.dialog->isHidden());
    w.trigger(command);
    QVERIFY(w.dialog->isVisible());
    QCOMPARE(w.dialog->focusWidget(), w.dialog->findChild<QLineEdit *>());
    QVERIFY(w.button(QStringLiteral("Down"))->isChecked());
    QCOMPARE(w.current(), QStringLiteral("none"));
    QCOMPARE(w.status->text(), QStringLiteral("Ready"));
}

void TestSearch::dialogFollowsSearches()
{
    Window w;
    QVERIFY(w.model->loadFromString(doc));
    auto *field = w.dialog->findChild<QLineEdit *>();
    w.find(options(QStringLiteral("  a "), QStringLiteral("bi")));
    QCOMPARE(w.current(), QStringLiteral("/b/a"));
    // Changes that were never sent are dropped at the next showing.
    w.button(QStringLiteral("Ignore case"))->click();
    field->setText(QStringLiteral("unsent"));
    w.dialog->hide();
    w.trigger(QStringLiteral("&Find..."));
    QCOMPARE(field->text(), QStringLiteral("a"));
    QCOMPARE(field->selectedText(), QStringLiteral("a"));
    QVERIFY(w.button(QStringLiteral("Up"))->isChecked());
    QVERIFY(w.button(QStringLiteral("Ignore case"))->isChecked());

    // The menu sets the direction of the hidden dialog...
    w.dialog->hide();
    w.trigger(QStringLiteral("Find &Next"));
    QVERIFY(w.button(QStringLiteral("Down"))->isChecked());
    w.trigger(QStringLiteral("Find &Previous"));
    QVERIFY(w.button(QStringLiteral("Up"))->isChecked());
    w.trigger(QStringLiteral("Find &Next"));
    QVERIFY(w.dialog->isHidden());
    // ...but the last search keeps the direction the dialog sent.
    w.trigger(QStringLiteral("&Find..."));
    QVERIFY(w.button(QStringLiteral("Up"))->isChecked());
}

void TestSearch::largeDocuments()
{
    // A million rows in 500,000 small arrays, where any look-up of a row's
    // position among its siblings would make the walk quadratic.
    QByteArray many = QByteArrayLiteral("[");
    for (int i = 0; i < 500000; ++i)
        many += "[1],";
    many.back() = ']';
    Window w;
    QVERIFY(w.model->loadFromString(QString::fromLatin1(many)));
    w.find(options(QStringLiteral("x"), QStringLiteral("v")));
    QCOMPARE(w.status->text(), notFound);
    w.find(options(QStringLiteral("[499999]")));
    QCOMPARE(w.current(), QStringLiteral("/[499999]"));
    w.trigger(QStringLiteral("Find &Next"));
    QCOMPARE(w.current(), QStringLiteral("/[499999]"));
    QCOMPARE(w.status->text(), wrapped);

    // 10,000 levels: up from nowhere to the innermost value, then on down,
    // around to the top.
    QVERIFY(w.model->loadFromString(QString::fromLatin1(nestedArrays(10000))));
    w.find(options(QStringLiteral("1"), QStringLiteral("bv")));
    QCOMPARE(w.current(), QString() + QStringLiteral("/[0]").repeated(10000));
    QCOMPARE(w.tree->currentIndex().siblingAtColumn(1).data().toString(), QStringLiteral("1"));
    QVERIFY(w.tree->isExpanded(w.tree->currentIndex().parent()));
    w.trigger(QStringLiteral("Find &Next"));
    QCOMPARE(w.current(), QString());
    QCOMPARE(w.status->text(), wrapped);
}

MARBLETRELLIS_GUI_TEST_MAIN(TestSearch)
#include "tst_search.moc"
