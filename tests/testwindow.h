#pragma once

#include "testhelpers.h"

#include <QMessageBox>

#include <memory>

class JsonTreeModel;
class MainWindow;
class QAction;
class QLabel;
class QTreeView;

// The main window with handles on the parts a user sees.
struct Window
{
    Window();
    ~Window();

    // The menu bar's entry with this text.
    QAction *action(const QString &text) const;
    QString title() const;

    std::unique_ptr<MainWindow> window;
    QTreeView *tree;
    JsonTreeModel *model;
    QLabel *status;
};

// Triggers a File command and answers its file dialog with `path`.
bool runFileCommand(Window &w, const QString &command, const QString &path);

// Answers the next message box with `button`, reporting its title and text.
struct MessageBoxAnswer
{
    explicit MessageBoxAnswer(QMessageBox::StandardButton button = QMessageBox::Ok);

    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    ModalAnswer answer;
};
