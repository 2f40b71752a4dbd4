#pragma once

#include <QKeySequence>
#include <QMainWindow>
#include <QModelIndex>

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
    void onExpandAll();
    void onCollapseAll();
    void onCustomContextMenu(const QPoint &pos);
    void onDuplicateArrayItem();
    void onAddItem();
    void onDeleteItem();

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
    // The cell the last context menu was opened on; its commands act on it.
    QModelIndex contextIndex;
    bool modified = false;
};
