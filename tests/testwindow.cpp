#include "testwindow.h"

#include "app/mainwindow.h"
#include "model/jsontreemodel.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

Window::Window()
    : window(std::make_unique<MainWindow>())
    , tree(window->findChild<QTreeView *>())
    , model(window->findChild<JsonTreeModel *>())
    , status(window->statusBar()->findChild<QLabel *>())
{
}

Window::~Window() = default;

QAction *Window::action(const QString &text) const
{
    for (QAction *menuAction : window->menuBar()->actions())
        for (QAction *item : menuAction->menu()->actions())
            if (item->text() == text)
                return item;
    return nullptr;
}

QString Window::title() const
{
    return window->windowTitle();
}

ShownWindow::ShownWindow(const QString &json)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QVERIFY(model->loadFromString(json));
    tree->expandAll();
}

QString ShownWindow::compact() const
{
    model->setPrettyPrint(false);
    return model->toJsonString();
}

QStringList contextMenu(Window &w, const QModelIndex &cell, const QString &entry)
{
    QStringList shown;
    ModalAnswer answer(onDialog<QMenu>([&](QMenu *menu) {
        QAction *chosen = nullptr;
        for (QAction *action : menu->actions()) {
            shown << action->text();
            if (action->text() == entry)
                chosen = action;
        }
        if (chosen) {
            menu->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            QTest::keyClick(menu, Qt::Key_Escape);
        }
    }));
    const QPoint pos = w.tree->visualRect(cell).center();
    QMetaObject::invokeMethod(w.window.get(), "onCustomContextMenu", Q_ARG(QPoint, pos));
    return shown;
}

bool runFileCommand(Window &w, const QString &command, const QString &path,
                    const std::function<void()> &meanwhile)
{
    ModalAnswer answer(onDialog<QFileDialog>([&path, &meanwhile](QFileDialog *dialog) {
        // Typed, as a user would: selectFile() leaves a focused name field alone.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(path);
        static_cast<QDialog *>(dialog)->accept(); // the file dialog's own accept checks the path
        // The dialog is closed, but its event loop returns only after this.
        if (meanwhile)
            meanwhile();
    }));
    w.action(command)->trigger();
    return answer.answered();
}

MessageBoxAnswer::MessageBoxAnswer(QMessageBox::StandardButton button)
    : answer(onDialog<QMessageBox>([this, button](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        defaultButton = box->standardButton(box->defaultButton());
        box->button(button)->click();
    }))
{
}
