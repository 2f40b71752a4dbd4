#include "app/mainwindow.h"
#include "dialogs/aboutdialog.h"
#include "testhelpers.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace {

QAction *aboutAction(MainWindow &window)
{
    for (QAction *item : window.menuBar()->actions().constLast()->menu()->actions())
        if (item->text() == QStringLiteral("&About"))
            return item;
    return nullptr;
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void contents();
    void closing_data();
    void closing();
};

void TestAbout::contents()
{
    MainWindow window;
    QAction *about = aboutAction(window);
    QVERIFY(about);
    QVERIFY(about->shortcut().isEmpty());

    bool checked = false;
    ModalAnswer answer(onDialog<AboutDialog>([&checked](AboutDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("About Marbletrellis"));
        QCOMPARE(dialog->size(), QSize(400, 300));
        QCOMPARE(dialog->minimumSize(), QSize(400, 300));
        QCOMPARE(dialog->maximumSize(), QSize(400, 300));

        auto *layout = qobject_cast<QVBoxLayout *>(dialog->layout());
        QVERIFY(layout);
        QCOMPARE(layout->count(), 7);
        const auto label
                = [layout](int i) { return qobject_cast<QLabel *>(layout->itemAt(i)->widget()); };

        QVERIFY(label(0));
        const QPixmap picture = label(0)->pixmap();
        QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(64, 64));
        QCOMPARE(picture.toImage(),
                 QIcon(QStringLiteral(":/icon.png")).pixmap(QSize(64, 64)).toImage());
        QCOMPARE(label(0)->alignment(), Qt::AlignCenter);

        QCOMPARE(label(1)->text(), QStringLiteral("<h2>Marbletrellis</h2>"));
        QCOMPARE(label(1)->textFormat(), Qt::RichText);
        QCOMPARE(label(1)->alignment(), Qt::AlignCenter);
        QCOMPARE(label(2)->text(), QStringLiteral("Version 1.0.0"));
        QCOMPARE(label(2)->alignment(), Qt::AlignCenter);

        QLabel *credits = label(4);
        QCOMPARE(credits->text(),
                 QStringLiteral("This application uses the following open source components:"
                                "<br><b>yyjson</b> - A high performance JSON library"
                                "<br>Licensed under the MIT License"));
        QCOMPARE(credits->textFormat(), Qt::RichText);
        QCOMPARE(credits->alignment(), Qt::AlignLeft);
        QVERIFY(credits->wordWrap());
        // Wrapped within the dialog, and all of it shown.
        QVERIFY(dialog->rect().contains(credits->geometry()));
        QVERIFY(credits->heightForWidth(credits->width()) <= credits->height());

        auto *buttons = qobject_cast<QDialogButtonBox *>(layout->itemAt(6)->widget());
        QVERIFY(buttons);
        QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok);
        QCOMPARE(layout->itemAt(6)->alignment(), Qt::AlignCenter);
        QVERIFY(qAbs(buttons->geometry().center().x() - dialog->rect().center().x()) <= 1);
        checked = true;
        buttons->button(QDialogButtonBox::Ok)->click();
    }));
    about->trigger();
    QVERIFY(answer.answered());
    QVERIFY(checked);
}

void TestAbout::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Ok") << "Ok";
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("close button") << "close";
}

// Every way of ending the dialog returns to the window, which stays as it was.
void TestAbout::closing()
{
    QFETCH(QString, how);
    MainWindow window;
    ModalAnswer answer(onDialog<AboutDialog>([&how](AboutDialog *dialog) {
        if (how == QStringLiteral("Ok"))
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        else if (how == QStringLiteral("Escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
    }));
    aboutAction(window)->trigger();
    QVERIFY(answer.answered());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(window.findChildren<AboutDialog *>().isEmpty());
    QCOMPARE(window.windowTitle(), QStringLiteral("Marbletrellis"));
}

MARBLETRELLIS_GUI_TEST_MAIN(TestAbout)
#include "tst_about.moc"
