#include "dialogs/searchdialog.h"
#include "testhelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// The text in quotes and the names of the options that are on.
QString describe(const SearchOptions &options)
{
    QStringList parts {QLatin1Char('\'') + options.text + QLatin1Char('\'')};
    const std::pair<bool, const char *> flags[] = {{options.backward, "backward"},
                                                   {options.ignoreCase, "ignoreCase"},
                                                   {options.wrapAround, "wrapAround"},
                                                   {options.useRegex, "useRegex"},
                                                   {options.searchInValue, "searchInValue"}};
    for (const auto &[on, name] : flags)
        if (on)
            parts << QString::fromLatin1(name);
    return parts.join(QLatin1Char(' '));
}

template<typename Button> Button *button(const QWidget &dialog, const QString &text)
{
    for (Button *candidate : dialog.findChildren<Button *>())
        if (candidate->text() == text)
            return candidate;
    return nullptr;
}

QStringList checkedBoxes(const SearchDialog &dialog)
{
    QStringList checked;
    for (const auto *box : dialog.findChildren<QAbstractButton *>())
        if (box->isCheckable() && box->isChecked())
            checked << box->text();
    return checked;
}

} // namespace

class TestSearchDialog : public QObject
{
    Q_OBJECT

private slots:
    void startState();
    void sendsWhatTheWidgetsHold_data();
    void sendsWhatTheWidgetsHold();
    void setOptionsFillsWidgets();
    void setSearchBackward();
    void focusSearchFieldSelectsText();
    void returnSearchesOnce();
    void closeAndEscapeHide();
};

void TestSearchDialog::startState()
{
    SearchDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Find"));
    QVERIFY(!dialog.isModal());
    QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    QCOMPARE(dialog.width(), 380);
    QCOMPARE(dialog.findChild<QLabel *>()->text(), QStringLiteral("Find what:"));
    QCOMPARE(dialog.findChild<QLineEdit *>()->text(), QString());
    QCOMPARE(dialog.findChild<QGroupBox *>()->title(), QStringLiteral("Direction"));
    QCOMPARE(checkedBoxes(dialog), QStringList({"Down", "Wrap around"}));

    QStringList boxes;
    for (const QCheckBox *box : dialog.findChildren<QCheckBox *>())
        boxes << box->text();
    QCOMPARE(boxes,
             QStringList(
                     {"Ignore case", "Wrap around", "Use regular expression", "Search in value"}));
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    QCOMPARE(buttons->buttons().size(), 2);
    QVERIFY(buttons->button(QDialogButtonBox::Close));
    QCOMPARE(buttons->buttonRole(button<QPushButton>(dialog, QStringLiteral("Find Next"))),
             QDialogButtonBox::ActionRole);
    QVERIFY(QMetaType::fromName("SearchOptions").isValid());
}

void TestSearchDialog::sendsWhatTheWidgetsHold_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("clicked");
    QTest::addColumn<QString>("sent");

    QTest::newRow("defaults") << "a" << QStringList() << "'a' wrapAround";
    QTest::newRow("trimmed") << " \t key value  " << QStringList() << "'key value' wrapAround";
    QTest::newRow("blank is sent empty") << "   " << QStringList() << "'' wrapAround";
    QTest::newRow("every option") << "a("
                                  << QStringList({"Up", "Ignore case", "Wrap around",
                                                  "Use regular expression", "Search in value"})
                                  << "'a(' backward ignoreCase useRegex searchInValue";
    QTest::newRow("up, then down again") << "x" << QStringList({"Up", "Down", "Search in value"})
                                         << "'x' wrapAround searchInValue";
}

void TestSearchDialog::sendsWhatTheWidgetsHold()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, clicked);
    QFETCH(QString, sent);
    SearchDialog dialog;
    QSignalSpy spy(&dialog, &SearchDialog::findRequested);
    dialog.findChild<QLineEdit *>()->setText(typed);
    for (const QString &text : clicked)
        button<QAbstractButton>(dialog, text)->click();

    button<QPushButton>(dialog, QStringLiteral("Find Next"))->click();
    QCOMPARE(spy.size(), 1);
    QCOMPARE(describe(spy.at(0).at(0).value<SearchOptions>()), sent);
    QCOMPARE(dialog.findChild<QLineEdit *>()->text(), typed); // the field keeps what was typed
}

void TestSearchDialog::setOptionsFillsWidgets()
{
    SearchDialog dialog;
    SearchOptions options;
    options.text = QStringLiteral("needle");
    options.backward = true;
    options.wrapAround = false;
    options.useRegex = true;
    dialog.setOptions(options);
    QCOMPARE(dialog.findChild<QLineEdit *>()->text(), QStringLiteral("needle"));
    QCOMPARE(checkedBoxes(dialog), QStringList({"Up", "Use regular expression"}));

    options = SearchOptions();
    options.ignoreCase = true;
    options.searchInValue = true;
    dialog.setOptions(options);
    QCOMPARE(dialog.findChild<QLineEdit *>()->text(), QString());
    QCOMPARE(checkedBoxes(dialog),
             QStringList({"Down", "Ignore case", "Wrap around", "Search in value"}));
}

void TestSearchDialog::setSearchBackward()
{
    SearchDialog dialog;
    dialog.setSearchBackward(true);
    QCOMPARE(checkedBoxes(dialog), QStringList({"Up", "Wrap around"}));
    dialog.setSearchBackward(true);
    QCOMPARE(checkedBoxes(dialog), QStringList({"Up", "Wrap around"}));
    dialog.setSearchBackward(false);
    QCOMPARE(checkedBoxes(dialog), QStringList({"Down", "Wrap around"}));
}

void TestSearchDialog::focusSearchFieldSelectsText()
{
    SearchDialog dialog;
    auto *field = dialog.findChild<QLineEdit *>();
    field->setText(QStringLiteral("last"));
    field->deselect();
    button<QAbstractButton>(dialog, QStringLiteral("Up"))->setFocus();
    dialog.focusSearchField();
    QCOMPARE(dialog.focusWidget(), field);
    QCOMPARE(field->selectedText(), QStringLiteral("last"));
}

void TestSearchDialog::returnSearchesOnce()
{
    SearchDialog dialog;
    QSignalSpy spy(&dialog, &SearchDialog::findRequested);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *field = dialog.findChild<QLineEdit *>();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("a"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(spy.size(), 1);
    QVERIFY(dialog.isVisible());
    QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(spy.size(), 2);
    QVERIFY(dialog.isVisible());
}

void TestSearchDialog::closeAndEscapeHide()
{
    SearchDialog dialog;
    QSignalSpy spy(&dialog, &SearchDialog::findRequested);
    dialog.show();
    dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Close)->click();
    QVERIFY(dialog.isHidden());

    dialog.show();
    QTest::keyClick(dialog.findChild<QLineEdit *>(), Qt::Key_Escape);
    QVERIFY(dialog.isHidden());
    QCOMPARE(spy.size(), 0);
}

MARBLETRELLIS_GUI_TEST_MAIN(TestSearchDialog)
#include "tst_searchdialog.moc"
