#pragma once

#include "model/jsontreemodel.h"
#include "testhelpers.h"

#include <QAbstractItemModelTester>
#include <QMessageBox>

#include <memory>

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

// A shown, active window holding `json`, fully expanded, watched by the
// model tester.
struct ShownWindow : Window
{
    explicit ShownWindow(const QString &json);

    QModelIndex at(const Path &path, int column = 0) const { return indexAt(*model, path, column); }
    // The whole document, compact.
    QString compact() const;

    QAbstractItemModelTester tester {model, QAbstractItemModelTester::FailureReportingMode::QtTest};
};

// Right-clicks the cell and chooses `entry` from the menu (none: dismisses it).
// Returns the entries the menu showed.
QStringList contextMenu(Window &w, const QModelIndex &cell, const QString &entry = {});

// Triggers a File command and answers its file dialog with `path`. Once the
// dialog has taken the name, and before the command goes on, `meanwhile`
// runs: the file may change in between, as it may for a user.
bool runFileCommand(Window &w, const QString &command, const QString &path,
                    const std::function<void()> &meanwhile = {});

// Answers the next message box with `button`, reporting its title and text.
struct MessageBoxAnswer
{
    explicit MessageBoxAnswer(QMessageBox::StandardButton button = QMessageBox::Ok);

    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    ModalAnswer answer;
};
