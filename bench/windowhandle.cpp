#include "windowhandle.h"

#include "app/mainwindow.h"
#include "dialogs/searchdialog.h"
#include "model/jsontreemodel.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

WindowHandle::WindowHandle()
    : window(std::make_unique<MainWindow>())
    , tree(window->findChild<QTreeView *>())
    , model(window->findChild<JsonTreeModel *>())
    , searchDialog(window->findChild<SearchDialog *>())
    , status(window->statusBar()->findChild<QLabel *>())
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("The window was never exposed.");
}

WindowHandle::~WindowHandle() = default;

QAction *WindowHandle::action(const QString &text) const
{
    for (QAction *menuAction : window->menuBar()->actions())
        for (QAction *item : menuAction->menu()->actions())
            if (item->text() == text)
                return item;
    return nullptr;
}

bool WindowHandle::openFile(const QString &path, QString *error,
                            const std::function<void()> &beforeAccept)
{
    error->clear();
    bool answered = false;
    QString refusal;
    // Polls for the dialogs the command opens while trigger() waits in
    // their event loops.
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && !answered) {
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!name)
                return;
            answered = true;
            name->setText(path);
            if (beforeAccept)
                beforeAccept();
            // QDialog's accept: the file dialog's own would check the path again.
            static_cast<QDialog *>(dialog)->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            refusal = box->text();
            box->reject();
        }
    });
    poll.start();
    action(QStringLiteral("&Open..."))->trigger();
    poll.stop();

    if (!answered)
        *error = QStringLiteral("the file dialog never showed");
    else if (!refusal.isEmpty())
        *error = QStringLiteral("opening %1 failed: %2").arg(path, refusal);
    else if (!statusText().startsWith(QLatin1String("Loaded: ")))
        *error = QStringLiteral("opening %1 ended with \"%2\"").arg(path, statusText());
    return error->isEmpty();
}

void WindowHandle::settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

QString WindowHandle::statusText() const
{
    return status->text();
}
