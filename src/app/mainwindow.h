#pragma once

#include "io/jsonreader.h"
#include "search/searchoptions.h"
#include "search/treesearch.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QModelIndex>

#include <memory>

class FileOpening;
class JsonNode;
class JsonTreeModel;
class PathLabel;
class PreorderCursor;
class QFileSystemWatcher;
class QLabel;
class QMenu;
class QSettings;
class QTimer;
class QTreeView;
class QueryPanel;
class SearchDialog;
class SearchMatcher;
class TreeItemDelegate;
struct yyjson_val;

// The program's one window: menus, the tree view of the document, the Query
// panel docked below it, the status line with the path of the current row,
// and the title with the file's path and the modified marker. Each command is
// a slot; the slots live in the *commands.cpp files beside this one, grouped
// by concern.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens the file as File > Open does once a file is chosen, with the same
    // messages and error boxes.
    void openFile(const QString &path);

    // Whether a pasted text is one member, "key": value, as Paste reads it:
    // then its key, decoded, and the JSON text of its value.
    static bool parseKeyValue(const QString &text, QString &key, QString &valueText);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void onOpen();
    void onSave();
    void onSaveAs();
    void onSettings();
    void onSearch();
    void onFindNext();
    void onFindPrevious();
    void onSearchRequested(const SearchOptions &options);
    void onQuery();
    void onQueryResultActivated(JsonNode *node);
    void onExpandAll();
    void onCollapseAll();
    void onCustomContextMenu(const QPoint &pos);
    void onDuplicateArrayItem();
    void onAddItem();
    void onDeleteItem();
    void onCopy();
    void onCopyKey();
    void onCopyValue();
    void onCopyPath();
    void onPaste();
    void onAbout();
    void onUndo();
    void onRedo();
    // The current file changed on disk, a moment ago.
    void onFileChangedOnDisk();

private:
    // Opens the file read in `format` rather than the one its name asks for;
    // false when it was not read.
    bool openFile(const QString &path, JsonReader::Format format);
    void setupUi();
    void createActions();
    // A menu entry whose command first commits an open cell editor.
    QAction *addMenuAction(QMenu *menu, const QString &name, const QString &text,
                           void (MainWindow::*slot)(),
                           QKeySequence::StandardKey shortcut = QKeySequence::UnknownKey);
    void addHistoryActions(QMenu *menu);
    // Runs a command of a menu, the context menu or a shortcut, once an open
    // cell editor is committed.
    void runCommand(void (MainWindow::*command)());
    // Commits an open cell editor as Enter does, so that a command sees its
    // text. False, with the editor left open and the refusal shown, when the
    // text is refused: the command then does not run.
    bool commitEditor();
    // Makes the cell the document names after an undo or redo current.
    void showCurrentCell(JsonNode *node, int column);
    void readSettings();
    void writeSettings();
    void setModified(bool isModified);
    // Save, or Save As without a path; false when nothing was written.
    bool save();
    bool saveAs();
    bool saveTo(const QString &path);
    // A failed file operation: `text`, then the path and the system's reason.
    void showFailure(const QString &text, const QString &path, const QString &reason);
    // Whether the document may be dropped: with unsaved changes it asks, and
    // Save goes on only once the file is written.
    bool maybeSave();
    // Runs the event loop until the opening finished; false when cancelled.
    bool waitForOpening(FileOpening &opening);
    void updateWindowTitle();
    void updatePathLabel();

    // Find Next and Find Previous: the last search again, in that direction,
    // or the Find dialog when there was none.
    void findAgain(bool backward);
    bool performSearch(const SearchOptions &options);
    // Scrolls to a search's row, unless it is the current one, and selects it.
    void revealMatch(const TreeSearch::Result &result);
    PreorderCursor collectSearchCandidates() const;
    bool matchesSearch(const PreorderCursor &candidate, SearchMatcher &matcher,
                       QModelIndex *matchedIndex = nullptr, QString *errorMessage = nullptr) const;
    void selectIndex(const QModelIndex &index);
    // Copy Key and Copy Path: puts `text` of the current row on the clipboard
    // and shows `copied`.
    void copyRowText(QString (*text)(const JsonNode *node), const QString &copied);

    bool pasteIntoObject(const QModelIndex &objectIndex, JsonNode *object, const QString &key,
                         yyjson_val *value);
    bool pasteIntoObject(JsonNode *object, std::unique_ptr<JsonNode> member);
    bool appendPasted(JsonNode *container, std::unique_ptr<JsonNode> node);
    // The Delete key: the current row, unless it is the top-level row, which
    // a stray key press would take with the whole document.
    void deleteCurrentRow();
    // An edit refused for nesting deeper than a file may.
    void reportTooDeep();

    // The current file, watched for changes others make on disk; the
    // program's own saves stop watching it until they are written.
    void setupFileWatching();
    void watchFile();
    void stopWatchingFile();
    // Whether a dialog, a menu, a long operation or a cell editor is open,
    // which a change on disk waits for.
    bool isBusy() const;
    bool askReload(const QString &path);
    // Reads the current file again, and makes the row that was current so
    // again when its path is still in the document.
    void reloadFile();

    QTreeView *m_treeView = nullptr;
    TreeItemDelegate *m_delegate = nullptr;
    JsonTreeModel *m_model = nullptr;
    SearchDialog *m_searchDialog = nullptr;
    QueryPanel *m_queryPanel = nullptr;
    QLabel *m_statusLabel = nullptr;
    PathLabel *m_pathLabel = nullptr;
    QString m_currentFilePath;
    // How the current file was read, and is read again when it changes.
    JsonReader::Format m_currentFileFormat = JsonReader::Format::Json;
    QSettings *m_settings = nullptr;
    // The cell the last context menu was opened on; its commands act on it.
    QModelIndex m_contextIndex;
    SearchOptions m_lastSearchOptions;
    bool m_hasLastSearch = false;
    bool m_modified = false;
    QFileSystemWatcher *m_fileWatcher = nullptr;
    // Coalesces the notifications of a writer that writes in several steps.
    QTimer *m_fileChangeTimer = nullptr;
    QString m_watchedFilePath;
    // The file is gone, and that was told.
    bool m_fileDeleted = false;
};
