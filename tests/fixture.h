#pragma once

#include "model/jsontreemodel.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

class MainWindow;

// The model as indented lines of "key = value": one comparison checks a whole tree.
QStringList dumpTree(const QAbstractItemModel &model, const QModelIndex &parent = {},
                     const QString &indent = {});

using Path = QList<int>;
QModelIndex indexAt(const QAbstractItemModel &model, const Path &path, int column = 0);

QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray nestedArrays(int depth);
// Bytes the heap holds, the blocks it maps for large allocations included.
size_t heapInUse();
QString compact(JsonTreeModel &model);
// The document follows and restores the selection's current cell, as with the window's view.
void followCurrentCell(JsonTreeModel &model, QItemSelectionModel &selection);

// A model holding `json`, watched by the model tester from the start.
struct ModelFixture
{
    explicit ModelFixture(const QString &json = {});
    QModelIndex at(const Path &path, int column = 0) const { return indexAt(model, path, column); }

    JsonTreeModel model;
    QAbstractItemModelTester tester {&model,
                                     QAbstractItemModelTester::FailureReportingMode::QtTest};
};

// Answers the next modal dialog or popup `answer` takes; closes all after 10 s, so none hangs.
class ModalAnswer
{
public:
    explicit ModalAnswer(std::function<bool(QWidget *)> answer);
    bool answered() const { return m_answered && !m_deadline.hasExpired(); }

private:
    void poll();

    std::function<bool(QWidget *)> m_answer;
    QTimer m_timer;
    QDeadlineTimer m_deadline {10000};
    bool m_answered = false;
};

template<typename Dialog>
std::function<bool(QWidget *)> onDialog(std::function<void(Dialog *)> answer)
{
    return [answer](QWidget *widget) {
        auto *dialog = qobject_cast<Dialog *>(widget);
        if (dialog)
            answer(dialog);
        return dialog != nullptr;
    };
}

// Answers the next message box that has `button` with it, keeping what it showed; with
// NoButton, the button the box was given with `buttonText`.
struct MessageBoxAnswer
{
    explicit MessageBoxAnswer(QMessageBox::StandardButton button = QMessageBox::Ok,
                              const QString &buttonText = {});

    QString title;
    QString text;
    QString informativeText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QString defaultButtonText;
    ModalAnswer answer;
};

// The main window, shown, active, holding `json` fully expanded.
struct WindowFixture
{
    explicit WindowFixture(const QString &json = {});
    ~WindowFixture();

    QAction *action(const char *objectName) const;
    QModelIndex at(const Path &path, int column = 0) const { return indexAt(*model, path, column); }
    // Types `path` into the file dialog, the kind of file chosen by `nameFilter` if given.
    bool runFileCommand(const char *action, const QString &path, const QString &nameFilter = {});
    // Right-clicks the cell, chooses `entry` (none: dismisses), returns the entries shown.
    QStringList contextMenu(const QModelIndex &cell, const QString &entry = {});

    std::unique_ptr<MainWindow> window;
    QTreeView *tree;
    JsonTreeModel *model;
    QLabel *status;
};
