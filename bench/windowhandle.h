#pragma once

#include <QString>

#include <functional>
#include <memory>

class JsonTreeModel;
class MainWindow;
class QAction;
class QLabel;
class QTreeView;
class SearchDialog;

// The real main window, shown offscreen, with handles on the parts the
// scenarios drive.
class WindowHandle
{
public:
    WindowHandle();
    ~WindowHandle();

    // The menu command with this text ("&Copy", "Find &Next", ...).
    QAction *action(const QString &text) const;

    // Opens the file through File > Open, answering the file dialog as a
    // user would. `beforeAccept` runs just before the dialog is accepted.
    // On failure *error says why.
    bool openFile(const QString &path, QString *error,
                  const std::function<void()> &beforeAccept = {});
    // Lets the window lay out and paint what is pending.
    void settle();

    QString statusText() const;

    std::unique_ptr<MainWindow> window;
    QTreeView *tree = nullptr;
    JsonTreeModel *model = nullptr;
    SearchDialog *searchDialog = nullptr;
    QLabel *status = nullptr;
};
