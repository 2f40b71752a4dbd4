#include "app/mainwindow.h"
#include "dialogs/settingsdialog.h"
#include "model/jsontreemodel.h"
#include "testhelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace {

const QString maxTextLengthKey = QStringLiteral("maxTextLength");
const QString prettyPrintKey = QStringLiteral("prettyPrint");

QSettings store()
{
    return QSettings(QStringLiteral("Marbletrellis"), QStringLiteral("Marbletrellis"));
}

QSpinBox *lengthSpin(SettingsDialog *dialog)
{
    return dialog->findChild<QSpinBox *>();
}

QCheckBox *prettyCheck(SettingsDialog *dialog)
{
    return dialog->findChild<QCheckBox *>();
}

QPushButton *button(SettingsDialog *dialog, QDialogButtonBox::StandardButton which)
{
    return dialog->findChild<QDialogButtonBox *>()->button(which);
}

// What the dialog showed when it opened.
struct Shown
{
    int length = -1;
    QString lengthText;
    bool pretty = false;
};

// The main window, and Edit, Settings answered by a function of the open dialog.
struct Window
{
    Window()
        : window(std::make_unique<MainWindow>())
        , tree(window->findChild<QTreeView *>())
        , model(window->findChild<JsonTreeModel *>())
    {
    }

    bool settings(const std::function<void(SettingsDialog *)> &answer, Shown *shown = nullptr)
    {
        QAction *command = nullptr;
        for (QAction *item : window->menuBar()->actions().at(1)->menu()->actions())
            if (item->text() == QStringLiteral("&Settings..."))
                command = item;
        if (!command)
            return false;
        ModalAnswer modal(onDialog<SettingsDialog>([&](SettingsDialog *dialog) {
            if (shown)
                *shown = {lengthSpin(dialog)->value(), lengthSpin(dialog)->text(),
                          prettyCheck(dialog)->isChecked()};
            answer(dialog);
        }));
        command->trigger();
        return modal.answered();
    }

    // Accepts the dialog as it opened.
    bool acceptSettings(Shown *shown = nullptr)
    {
        return settings(
                [](SettingsDialog *dialog) { button(dialog, QDialogButtonBox::Ok)->click(); },
                shown);
    }

    std::unique_ptr<MainWindow> window;
    QTreeView *tree;
    JsonTreeModel *model;
};

// Remembers the text each cell was last painted with.
class PaintRecorder : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        painted[index] = index.data().toString();
        QStyledItemDelegate::paint(painter, option, index);
    }
    mutable QMap<QModelIndex, QString> painted;
};

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void dialogShowsValues_data();
    void dialogShowsValues();
    void dialogOpensWithModelValues();
    void outcome_data();
    void outcome();
    void storedValuesAtStart_data();
    void storedValuesAtStart();
    void valuesSurviveRestart();
    void nestedRowsShowNewLength();
};

void TestSettings::init()
{
    store().clear();
}

void TestSettings::dialogShowsValues_data()
{
    QTest::addColumn<int>("given");
    QTest::addColumn<bool>("pretty");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("default") << 1024 << true << 1024 << "1024 chars";
    QTest::newRow("no limit") << 0 << false << 0 << "Unlimited";
    QTest::newRow("negative shown as no limit") << -5 << true << 0 << "Unlimited";
    QTest::newRow("highest") << 10000000 << false << 10000000 << "10000000 chars";
    QTest::newRow("above the range") << 20000000 << true << 10000000 << "10000000 chars";
}

void TestSettings::dialogShowsValues()
{
    QFETCH(int, given);
    QFETCH(bool, pretty);
    QFETCH(int, value);
    QFETCH(QString, text);

    SettingsDialog dialog(given, pretty);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings"));
    QSpinBox *spin = lengthSpin(&dialog);
    QCheckBox *check = prettyCheck(&dialog);
    QCOMPARE(spin->value(), value);
    QCOMPARE(spin->text(), text);
    QCOMPARE(dialog.maxTextLength(), value);
    QCOMPARE(check->isChecked(), pretty);
    QCOMPARE(dialog.prettyPrint(), pretty);
    QVERIFY(check->text().isEmpty());

    auto *form = qobject_cast<QFormLayout *>(dialog.layout());
    QVERIFY(form);
    QCOMPARE(qobject_cast<QLabel *>(form->labelForField(spin))->text(),
             QStringLiteral("Max text display length:"));
    QCOMPARE(qobject_cast<QLabel *>(form->labelForField(check))->text(),
             QStringLiteral("Pretty print output:"));
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    int row = -1;
    QFormLayout::ItemRole role;
    form->getWidgetPosition(buttons, &row, &role);
    QCOMPARE(row, 2);
    QCOMPARE(role, QFormLayout::SpanningRole);

    // Stepping stops at both ends.
    spin->setValue(10000000);
    spin->stepBy(1);
    QCOMPARE(spin->value(), 10000000);
    spin->setValue(0);
    spin->stepBy(-1);
    QCOMPARE(spin->value(), 0);
    QCOMPARE(spin->text(), QStringLiteral("Unlimited"));
}

void TestSettings::dialogOpensWithModelValues()
{
    {
        QSettings settings = store();
        settings.setValue(maxTextLengthKey, 7);
        settings.setValue(prettyPrintKey, false);
    }
    Window w;
    w.model->setMaxTextLength(300);
    w.model->setPrettyPrint(true);
    Shown shown;
    QVERIFY(w.settings([](SettingsDialog *dialog) { dialog->reject(); }, &shown));
    QCOMPARE(shown.length, 300);
    QCOMPARE(shown.pretty, true);
}

void TestSettings::outcome_data()
{
    QTest::addColumn<bool>("document");
    QTest::addColumn<QString>("answer"); // "Ok", "Cancel" or "Escape"
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("pretty");

    QTest::newRow("accepted with new values") << true << "Ok" << 5 << false;
    QTest::newRow("accepted as opened, no document") << false << "Ok" << 1024 << true;
    QTest::newRow("set to no limit") << true << "Ok" << 0 << true;
    QTest::newRow("cancelled") << true << "Cancel" << 5 << false;
    QTest::newRow("closed with Escape") << false << "Escape" << 5 << false;
}

// Acceptance applies the values to the model, stores them and counts as a
// change of the document; cancelling changes nothing anywhere.
void TestSettings::outcome()
{
    QFETCH(bool, document);
    QFETCH(QString, answer);
    QFETCH(int, length);
    QFETCH(bool, pretty);

    Window w;
    if (document)
        QVERIFY(w.model->loadFromString(QStringLiteral(R"({"a": "abcdefghij"})")));
    const QString title = w.window->windowTitle();
    QCOMPARE(title, QStringLiteral("Marbletrellis"));

    QVERIFY(w.settings([&](SettingsDialog *dialog) {
        lengthSpin(dialog)->setValue(length);
        prettyCheck(dialog)->setChecked(pretty);
        if (answer == QStringLiteral("Escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            button(dialog,
                   answer == QStringLiteral("Ok") ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                    ->click();
    }));

    QSettings settings = store();
    if (answer != QStringLiteral("Ok")) {
        QCOMPARE(w.model->maxTextLength(), 1024);
        QCOMPARE(w.model->prettyPrint(), true);
        QVERIFY(!settings.contains(maxTextLengthKey));
        QVERIFY(!settings.contains(prettyPrintKey));
        QCOMPARE(w.window->windowTitle(), title);
        return;
    }
    QCOMPARE(w.model->maxTextLength(), length);
    QCOMPARE(w.model->prettyPrint(), pretty);
    QCOMPARE(settings.value(maxTextLengthKey).toInt(), length);
    QCOMPARE(settings.value(prettyPrintKey).toBool(), pretty);
    QCOMPARE(w.window->windowTitle(), title + QLatin1Char('*'));
    if (document) {
        const QModelIndex value = w.model->index(0, 1, w.model->index(0, 0));
        QCOMPARE(value.data().toString(),
                 length == 5 ? QStringLiteral("abcde... (10 chars total)")
                             : QStringLiteral("abcdefghij"));
    }
}

void TestSettings::storedValuesAtStart_data()
{
    QTest::addColumn<QString>("storedLength"); // empty: not stored
    QTest::addColumn<QString>("storedPretty");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("pretty");
    QTest::addColumn<int>("shownLength");
    QTest::addColumn<QString>("shownText");

    QTest::newRow("nothing stored") << ""
                                    << "" << 1024 << true << 1024 << "1024 chars";
    QTest::newRow("both stored") << "7"
                                 << "false" << 7 << false << 7 << "7 chars";
    QTest::newRow("negative by hand") << "-5"
                                      << "true" << -5 << true << 0 << "Unlimited";
    QTest::newRow("not a number") << "many"
                                  << "false" << 0 << false << 0 << "Unlimited";
    QTest::newRow("above the range") << "20000000"
                                     << "true" << 20000000 << true << 10000000 << "10000000 chars";
}

// Values stored as text, the way a hand-edited settings file reads, reach the
// model as they are; the dialog shows them clamped and accepting it stores that.
void TestSettings::storedValuesAtStart()
{
    QFETCH(QString, storedLength);
    QFETCH(QString, storedPretty);
    QFETCH(int, length);
    QFETCH(bool, pretty);
    QFETCH(int, shownLength);
    QFETCH(QString, shownText);

    if (!storedLength.isEmpty()) {
        QSettings settings = store();
        settings.setValue(maxTextLengthKey, storedLength);
        settings.setValue(prettyPrintKey, storedPretty);
    }
    Window w;
    QCOMPARE(w.model->maxTextLength(), length);
    QCOMPARE(w.model->prettyPrint(), pretty);
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Marbletrellis"));

    const QString text(1500, QLatin1Char('x'));
    QVERIFY(w.model->loadFromString(QLatin1Char('"') + text + QLatin1Char('"')));
    const QString expected = length > 0 && length < text.size()
            ? text.left(length) + QStringLiteral("... (1500 chars total)")
            : text;
    QCOMPARE(w.model->index(0, 1).data().toString(), expected);

    Shown shown;
    QVERIFY(w.acceptSettings(&shown));
    QCOMPARE(shown.length, shownLength);
    QCOMPARE(shown.lengthText, shownText);
    QCOMPARE(shown.pretty, pretty);
    QCOMPARE(w.model->maxTextLength(), shownLength);
    QCOMPARE(store().value(maxTextLengthKey).toInt(), shownLength);
    QCOMPARE(store().value(prettyPrintKey).toBool(), pretty);
}

// Accepted values come back after a restart; closing writes the model's
// values again, over whatever the store holds by then.
void TestSettings::valuesSurviveRestart()
{
    {
        Window w;
        QVERIFY(w.settings([](SettingsDialog *dialog) {
            lengthSpin(dialog)->setValue(42);
            prettyCheck(dialog)->setChecked(false);
            dialog->accept();
        }));
        QSettings settings = store();
        settings.setValue(maxTextLengthKey, 9);
        settings.setValue(prettyPrintKey, true);
        QVERIFY(w.window->close());
    }
    QCOMPARE(store().value(maxTextLengthKey).toInt(), 42);
    QCOMPARE(store().value(prettyPrintKey).toBool(), false);

    Window w;
    QCOMPARE(w.model->maxTextLength(), 42);
    QCOMPARE(w.model->prettyPrint(), false);
    Shown shown;
    QVERIFY(w.settings([](SettingsDialog *dialog) { dialog->reject(); }, &shown));
    QCOMPARE(shown.lengthText, QStringLiteral("42 chars"));
    QCOMPARE(shown.pretty, false);
}

// Rows below the top level must show the new cut as soon as the dialog
// closes, not only once something else makes the view paint them.
void TestSettings::nestedRowsShowNewLength()
{
    Window w;
    QVERIFY(w.model->loadFromString(
            QStringLiteral(R"({"outer": {"inner": "abcdefghijklmnopqrstuvwxyz"}})")));
    auto *recorder = new PaintRecorder(w.tree);
    w.tree->setItemDelegate(recorder);
    w.tree->expandAll();
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));

    const QModelIndex outer = w.model->index(0, 0, w.model->index(0, 0));
    const QModelIndex inner = w.model->index(0, 1, outer);
    QTRY_COMPARE(recorder->painted.value(inner), QStringLiteral("abcdefghijklmnopqrstuvwxyz"));

    recorder->painted.clear();
    QVERIFY(w.settings([](SettingsDialog *dialog) {
        lengthSpin(dialog)->setValue(3);
        dialog->accept();
    }));
    QTRY_COMPARE(recorder->painted.value(inner), QStringLiteral("abc... (26 chars total)"));
}

MARBLETRELLIS_GUI_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
