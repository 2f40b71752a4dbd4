#pragma once

#include <QKeySequence>
#include <QMainWindow>

class JsonTreeModel;
class QLabel;
class QMenu;
class QSettings;
class QTreeView;

// The program's one window: menus, the tree view of the document, the status
// line, and the title with the current path and the modified marker. Each
// command is a slot; the slots live in src/commands/, grouped by concern.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void onOpen();
    void onSave();
    void onSaveAs();
    void onSettings();
    void onAbout();

private:
    void setupUi();
    void createActions();
    QAction *addMenuAction(QMenu *menu, const QString &text,
                           QKeySequence::StandardKey shortcut = QKeySequence::UnknownKey);
    void readSettings();
    void writeSettings();
    void setModified(bool isModified);
    void updateWindowTitle();

    QTreeView *treeView = nullptr;
    JsonTreeModel *model = nullptr;
    QLabel *statusLabel = nullptr;
    QString currentFilePath;
    QSettings *settings = nullptr;
    bool modified = false;
};
