#include "app/mainwindow.h"

#include "app/pathlabel.h"
#include "app/querypanel.h"
#include "app/treeitemdelegate.h"
#include "dialogs/searchdialog.h"
#include "document/jsondocument.h"
#include "model/jsontreemodel.h"
#include "tree/jsonnode.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

const QString maxTextLengthKey = QStringLiteral("maxTextLength");
const QString prettyPrintKey = QStringLiteral("prettyPrint");
const QString windowStateKey = QStringLiteral("windowState");

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_settings(
              new QSettings(QStringLiteral("Marbletrellis"), QStringLiteral("Marbletrellis"), this))
{
    setupUi();
    createActions();
    readSettings();
    setupFileWatching();

    m_searchDialog = new SearchDialog(this);
    connect(m_searchDialog, &SearchDialog::findRequested, this, &MainWindow::onSearchRequested);

    JsonDocument *document = m_model->document();
    connect(document, &JsonDocument::modifiedChanged, this, &MainWindow::setModified);
    connect(document, &JsonDocument::currentCellRequested, this, &MainWindow::showCurrentCell);
    connect(m_treeView->selectionModel(), &QItemSelectionModel::currentChanged, document,
            [document](const QModelIndex &current) {
                document->setCurrentCell(JsonTreeModel::nodeForIndex(current), current.column());
            });
}

MainWindow::~MainWindow()
{
    // The view, destroyed after this, may still commit an open editor: no
    // part of this half-destroyed window may hear of it.
    disconnect(m_model, nullptr, this, nullptr);
    disconnect(m_model->document(), nullptr, this, nullptr);
}

void MainWindow::setupUi()
{
    updateWindowTitle();
    resize(900, 700);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    setCentralWidget(central);

    m_treeView = new QTreeView(central);
    m_treeView->setAlternatingRowColors(true);
    m_treeView->setUniformRowHeights(true);
    // QTreeView's defaults select one whole row at a time, stretch the Value
    // column and start editing on a double-click or the platform's edit key.
    // Selected rows stay white on blue while the window is inactive too.
    m_treeView->setStyleSheet(QStringLiteral("QTreeView::item:selected {"
                                             "  background-color: #2d8cf0;"
                                             "  color: white;"
                                             "}"
                                             "QTreeView::item:selected:!active {"
                                             "  background-color: #2d8cf0;"
                                             "  color: white;"
                                             "}"));
    m_treeView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_treeView, &QWidget::customContextMenuRequested, this,
            &MainWindow::onCustomContextMenu);
    // The Delete key deletes the current row as the context menu's Delete
    // does; only while the tree itself has the focus, so a cell editor keeps
    // the key.
    auto *deleteRow = new QAction(tr("Delete"), m_treeView);
    deleteRow->setShortcut(QKeySequence::Delete);
    deleteRow->setShortcutContext(Qt::WidgetShortcut);
    connect(deleteRow, &QAction::triggered, this,
            [this] { runCommand(&MainWindow::deleteCurrentRow); });
    m_treeView->addAction(deleteRow);
    m_delegate = new TreeItemDelegate(m_treeView);
    m_treeView->setItemDelegate(m_delegate);
    layout->addWidget(m_treeView);

    m_model = new JsonTreeModel(this);
    m_treeView->setModel(m_model);
    // The header has its sections only once the model is set.
    m_treeView->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    m_statusLabel = new QLabel(tr("Ready"), this);
    statusBar()->addWidget(m_statusLabel);
    m_pathLabel = new PathLabel(this);
    m_pathLabel->setObjectName(QStringLiteral("pathLabel"));
    statusBar()->addPermanentWidget(m_pathLabel);
    // The path follows the current row, and every change that may rename or
    // relabel one of the rows above it: rows put in or taken out relabel an
    // array's elements with dataChanged, or move the current row.
    const auto update = [this] { updatePathLabel(); };
    connect(m_treeView->selectionModel(), &QItemSelectionModel::currentChanged, this, update);
    connect(m_model, &QAbstractItemModel::dataChanged, this, update);
    connect(m_model, &QAbstractItemModel::modelReset, this, update);

    // Hidden until Edit > Query; made here, so that readSettings() can
    // restore where it was and whether it showed.
    m_queryPanel = new QueryPanel(m_model, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_queryPanel);
    m_queryPanel->hide();
    connect(m_queryPanel, &QueryPanel::resultActivated, this, &MainWindow::onQueryResultActivated);

    setAcceptDrops(true);
}

QAction *MainWindow::addMenuAction(QMenu *menu, const QString &name, const QString &text,
                                   void (MainWindow::*slot)(), QKeySequence::StandardKey shortcut)
{
    auto *action = new QAction(text, this);
    action->setObjectName(name);
    if (shortcut != QKeySequence::UnknownKey)
        action->setShortcuts(shortcut);
    menu->addAction(action);
    if (slot)
        connect(action, &QAction::triggered, this, [this, slot] { runCommand(slot); });
    return action;
}

void MainWindow::runCommand(void (MainWindow::*command)())
{
    if (commitEditor())
        (this->*command)();
}

bool MainWindow::commitEditor()
{
    if (m_delegate->commitOpenEditor())
        return true;
    m_statusLabel->setText(tr("Value is not a valid number"));
    return false;
}

void MainWindow::createActions()
{
    QMenu *fileMenu = menuBar()->addMenu(tr("&File"));
    addMenuAction(fileMenu, QStringLiteral("actionOpen"), tr("&Open..."), &MainWindow::onOpen,
                  QKeySequence::Open);
    addMenuAction(fileMenu, QStringLiteral("actionSave"), tr("&Save"), &MainWindow::onSave,
                  QKeySequence::Save);
    addMenuAction(fileMenu, QStringLiteral("actionSaveAs"), tr("Save &As..."),
                  &MainWindow::onSaveAs, QKeySequence::SaveAs);
    fileMenu->addSeparator();
    // Closing commits an open editor itself, however the window is closed.
    connect(addMenuAction(fileMenu, QStringLiteral("actionExit"), tr("E&xit"), nullptr,
                          QKeySequence::Quit),
            &QAction::triggered, this, &QWidget::close);

    QMenu *editMenu = menuBar()->addMenu(tr("&Edit"));
    addHistoryActions(editMenu);
    editMenu->addSeparator();
    addMenuAction(editMenu, QStringLiteral("actionFind"), tr("&Find..."), &MainWindow::onSearch,
                  QKeySequence::Find);
    addMenuAction(editMenu, QStringLiteral("actionFindNext"), tr("Find &Next"),
                  &MainWindow::onFindNext, QKeySequence::FindNext);
    addMenuAction(editMenu, QStringLiteral("actionFindPrevious"), tr("Find &Previous"),
                  &MainWindow::onFindPrevious, QKeySequence::FindPrevious);
    addMenuAction(editMenu, QStringLiteral("actionQuery"), tr("&Query..."), &MainWindow::onQuery)
            ->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
    editMenu->addSeparator();
    addMenuAction(editMenu, QStringLiteral("actionCopy"), tr("&Copy"), &MainWindow::onCopy,
                  QKeySequence::Copy);
    addMenuAction(editMenu, QStringLiteral("actionCopyKey"), tr("Copy &Key"),
                  &MainWindow::onCopyKey);
    addMenuAction(editMenu, QStringLiteral("actionCopyValue"), tr("Copy &Value"),
                  &MainWindow::onCopyValue);
    addMenuAction(editMenu, QStringLiteral("actionCopyPath"), tr("Copy Pat&h"),
                  &MainWindow::onCopyPath);
    addMenuAction(editMenu, QStringLiteral("actionPaste"), tr("&Paste"), &MainWindow::onPaste,
                  QKeySequence::Paste);
    editMenu->addSeparator();
    addMenuAction(editMenu, QStringLiteral("actionSettings"), tr("&Settings..."),
                  &MainWindow::onSettings);

    QMenu *viewMenu = menuBar()->addMenu(tr("&View"));
    addMenuAction(viewMenu, QStringLiteral("actionExpandAll"), tr("&Expand All"),
                  &MainWindow::onExpandAll);
    addMenuAction(viewMenu, QStringLiteral("actionCollapseAll"), tr("&Collapse All"),
                  &MainWindow::onCollapseAll);

    QMenu *helpMenu = menuBar()->addMenu(tr("&Help"));
    addMenuAction(helpMenu, QStringLiteral("actionAbout"), tr("&About"), &MainWindow::onAbout);
}

// Undo and Redo, each named after the command it would undo or redo, and
// disabled when there is none.
void MainWindow::addHistoryActions(QMenu *menu)
{
    QUndoStack *history = m_model->undoStack();
    // The text naming the command; the plain one when there is none.
    const auto naming = [](QAction *action, const QString &named) {
        return [action, plain = action->text(), named](const QString &step) {
            action->setText(step.isEmpty() ? plain : named.arg(step));
        };
    };
    QAction *undo = addMenuAction(menu, QStringLiteral("actionUndo"), tr("&Undo"),
                                  &MainWindow::onUndo, QKeySequence::Undo);
    connect(history, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(history, &QUndoStack::undoTextChanged, undo, naming(undo, tr("&Undo %1")));
    QAction *redo = addMenuAction(menu, QStringLiteral("actionRedo"), tr("&Redo"),
                                  &MainWindow::onRedo, QKeySequence::Redo);
    connect(history, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(history, &QUndoStack::redoTextChanged, redo, naming(redo, tr("&Redo %1")));
    undo->setEnabled(false);
    redo->setEnabled(false);
}

void MainWindow::readSettings()
{
    m_model->setMaxTextLength(m_settings->value(maxTextLengthKey, 1024).toInt());
    m_model->setPrettyPrint(m_settings->value(prettyPrintKey, true).toBool());
    restoreState(m_settings->value(windowStateKey).toByteArray());
}

void MainWindow::writeSettings()
{
    m_settings->setValue(maxTextLengthKey, m_model->maxTextLength());
    m_settings->setValue(prettyPrintKey, m_model->prettyPrint());
    m_settings->setValue(windowStateKey, saveState());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!commitEditor() || !maybeSave()) {
        event->ignore();
        return;
    }
    writeSettings();
    event->accept();
}

void MainWindow::setModified(bool isModified)
{
    if (m_modified == isModified)
        return;
    m_modified = isModified;
    updateWindowTitle();
}

void MainWindow::updateWindowTitle()
{
    const QString marker = m_modified ? QStringLiteral("*") : QString();
    if (m_currentFilePath.isEmpty())
        setWindowTitle(tr("Marbletrellis%1").arg(marker));
    else
        setWindowTitle(tr("Marbletrellis - %1%2").arg(m_currentFilePath, marker));
}

void MainWindow::updatePathLabel()
{
    const QModelIndex current = m_treeView->currentIndex();
    m_pathLabel->setText(current.isValid() ? JsonTreeModel::nodeForIndex(current)->path()
                                           : QString());
}

void MainWindow::onUndo()
{
    m_model->undoStack()->undo();
}

void MainWindow::onRedo()
{
    m_model->undoStack()->redo();
}

void MainWindow::showCurrentCell(JsonNode *node, int column)
{
    if (!node) {
        m_treeView->selectionModel()->clear();
        return;
    }
    // The only selected row, as the window selects a row it finds.
    m_treeView->selectionModel()->setCurrentIndex(
            m_model->indexForNode(node).siblingAtColumn(column),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
