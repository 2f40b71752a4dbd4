#include "app/mainwindow.h"

#include "app/pathlabel.h"
#include "app/treeitemdelegate.h"
#include "dialogs/searchdialog.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

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

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , settings(
              new QSettings(QStringLiteral("Marbletrellis"), QStringLiteral("Marbletrellis"), this))
{
    setupUi();
    createActions();
    readSettings();

    searchDialog = new SearchDialog(this);
    connect(searchDialog, &SearchDialog::findRequested, this, &MainWindow::onSearchRequested);

    // Connected only after the settings reached the model: applying them
    // announces a data change that is no edit of the document.
    const auto markModified = [this] { setModified(true); };
    connect(model, &QAbstractItemModel::dataChanged, this, markModified);
    connect(model, &QAbstractItemModel::rowsInserted, this, markModified);
    connect(model, &QAbstractItemModel::rowsRemoved, this, markModified);
    // The history speaks after the changes of an undo or redo were announced:
    // back at the state last opened or saved, the document is unmodified.
    connect(model->undoStack(), &QUndoStack::cleanChanged, this,
            [this](bool clean) { setModified(!clean); });
}

MainWindow::~MainWindow()
{
    // The view, destroyed after this, may still commit an open editor: no
    // part of this half-destroyed window may hear of it.
    disconnect(model, nullptr, this, nullptr);
    disconnect(model->undoStack(), nullptr, this, nullptr);
}

void MainWindow::setupUi()
{
    updateWindowTitle();
    resize(900, 700);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    setCentralWidget(central);

    treeView = new QTreeView(central);
    treeView->setAlternatingRowColors(true);
    treeView->setUniformRowHeights(true);
    treeView->setSelectionMode(QAbstractItemView::SingleSelection);
    treeView->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Selected rows stay white on blue while the window is inactive too.
    treeView->setStyleSheet(QStringLiteral("QTreeView::item:selected {"
                                           "  background-color: #2d8cf0;"
                                           "  color: white;"
                                           "}"
                                           "QTreeView::item:selected:!active {"
                                           "  background-color: #2d8cf0;"
                                           "  color: white;"
                                           "}"));
    treeView->header()->setStretchLastSection(true);
    treeView->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    treeView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(treeView, &QWidget::customContextMenuRequested, this, &MainWindow::onCustomContextMenu);
    treeView->setItemDelegate(new TreeItemDelegate(treeView));
    layout->addWidget(treeView);

    model = new JsonTreeModel(this);
    treeView->setModel(model);
    model->setSelectionModel(treeView->selectionModel());
    // The header has its sections only once the model is set.
    treeView->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    statusLabel = new QLabel(tr("Ready"), this);
    statusBar()->addWidget(statusLabel);
    pathLabel = new PathLabel(this);
    pathLabel->setObjectName(QStringLiteral("pathLabel"));
    statusBar()->addPermanentWidget(pathLabel);
    // The path follows the current row, and every change that may rename or
    // relabel one of the rows above it.
    const auto update = [this] { updatePathLabel(); };
    connect(treeView->selectionModel(), &QItemSelectionModel::currentChanged, this, update);
    connect(model, &QAbstractItemModel::dataChanged, this, update);
    connect(model, &QAbstractItemModel::rowsInserted, this, update);
    connect(model, &QAbstractItemModel::rowsRemoved, this, update);
    connect(model, &QAbstractItemModel::modelReset, this, update);

    setAcceptDrops(true);
}

QAction *MainWindow::addMenuAction(QMenu *menu, const QString &name, const QString &text,
                                   QKeySequence::StandardKey shortcut)
{
    auto *action = new QAction(text, this);
    action->setObjectName(name);
    if (shortcut != QKeySequence::UnknownKey)
        action->setShortcuts(shortcut);
    menu->addAction(action);
    return action;
}

void MainWindow::createActions()
{
    QMenu *fileMenu = menuBar()->addMenu(tr("&File"));
    connect(addMenuAction(fileMenu, QStringLiteral("actionOpen"), tr("&Open..."),
                          QKeySequence::Open),
            &QAction::triggered, this, &MainWindow::onOpen);
    connect(addMenuAction(fileMenu, QStringLiteral("actionSave"), tr("&Save"), QKeySequence::Save),
            &QAction::triggered, this, &MainWindow::onSave);
    connect(addMenuAction(fileMenu, QStringLiteral("actionSaveAs"), tr("Save &As..."),
                          QKeySequence::SaveAs),
            &QAction::triggered, this, &MainWindow::onSaveAs);
    fileMenu->addSeparator();
    connect(addMenuAction(fileMenu, QStringLiteral("actionExit"), tr("E&xit"), QKeySequence::Quit),
            &QAction::triggered, this, &QWidget::close);

    QMenu *editMenu = menuBar()->addMenu(tr("&Edit"));
    addHistoryActions(editMenu);
    editMenu->addSeparator();
    connect(addMenuAction(editMenu, QStringLiteral("actionFind"), tr("&Find..."),
                          QKeySequence::Find),
            &QAction::triggered, this, &MainWindow::onSearch);
    connect(addMenuAction(editMenu, QStringLiteral("actionFindNext"), tr("Find &Next"),
                          QKeySequence::FindNext),
            &QAction::triggered, this, &MainWindow::onFindNext);
    connect(addMenuAction(editMenu, QStringLiteral("actionFindPrevious"), tr("Find &Previous"),
                          QKeySequence::FindPrevious),
            &QAction::triggered, this, &MainWindow::onFindPrevious);
    editMenu->addSeparator();
    connect(addMenuAction(editMenu, QStringLiteral("actionCopy"), tr("&Copy"), QKeySequence::Copy),
            &QAction::triggered, this, &MainWindow::onCopy);
    connect(addMenuAction(editMenu, QStringLiteral("actionCopyKey"), tr("Copy &Key")),
            &QAction::triggered, this, &MainWindow::onCopyKey);
    connect(addMenuAction(editMenu, QStringLiteral("actionCopyValue"), tr("Copy &Value")),
            &QAction::triggered, this, &MainWindow::onCopyValue);
    connect(addMenuAction(editMenu, QStringLiteral("actionCopyPath"), tr("Copy Pat&h")),
            &QAction::triggered, this, &MainWindow::onCopyPath);
    connect(addMenuAction(editMenu, QStringLiteral("actionPaste"), tr("&Paste"),
                          QKeySequence::Paste),
            &QAction::triggered, this, &MainWindow::onPaste);
    editMenu->addSeparator();
    connect(addMenuAction(editMenu, QStringLiteral("actionSettings"), tr("&Settings...")),
            &QAction::triggered, this, &MainWindow::onSettings);

    QMenu *viewMenu = menuBar()->addMenu(tr("&View"));
    connect(addMenuAction(viewMenu, QStringLiteral("actionExpandAll"), tr("&Expand All")),
            &QAction::triggered, this, &MainWindow::onExpandAll);
    connect(addMenuAction(viewMenu, QStringLiteral("actionCollapseAll"), tr("&Collapse All")),
            &QAction::triggered, this, &MainWindow::onCollapseAll);

    QMenu *helpMenu = menuBar()->addMenu(tr("&Help"));
    connect(addMenuAction(helpMenu, QStringLiteral("actionAbout"), tr("&About")),
            &QAction::triggered, this, &MainWindow::onAbout);
}

// Undo and Redo, each named after the step it would take and disabled when
// there is none.
void MainWindow::addHistoryActions(QMenu *menu)
{
    QUndoStack *history = model->undoStack();
    // The text for the step's name; the plain one when there is no step.
    const auto naming = [](QAction *action, const QString &named) {
        return [action, plain = action->text(), named](const QString &step) {
            action->setText(step.isEmpty() ? plain : named.arg(step));
        };
    };
    QAction *undo
            = addMenuAction(menu, QStringLiteral("actionUndo"), tr("&Undo"), QKeySequence::Undo);
    connect(undo, &QAction::triggered, history, &QUndoStack::undo);
    connect(history, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(history, &QUndoStack::undoTextChanged, undo, naming(undo, tr("&Undo %1")));
    QAction *redo
            = addMenuAction(menu, QStringLiteral("actionRedo"), tr("&Redo"), QKeySequence::Redo);
    connect(redo, &QAction::triggered, history, &QUndoStack::redo);
    connect(history, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(history, &QUndoStack::redoTextChanged, redo, naming(redo, tr("&Redo %1")));
    undo->setEnabled(false);
    redo->setEnabled(false);
}

void MainWindow::readSettings()
{
    model->setMaxTextLength(settings->value(maxTextLengthKey, 1024).toInt());
    model->setPrettyPrint(settings->value(prettyPrintKey, true).toBool());
}

void MainWindow::writeSettings()
{
    settings->setValue(maxTextLengthKey, model->maxTextLength());
    settings->setValue(prettyPrintKey, model->prettyPrint());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    writeSettings();
    event->accept();
}

void MainWindow::setModified(bool isModified)
{
    if (modified == isModified)
        return;
    modified = isModified;
    updateWindowTitle();
}

void MainWindow::updateWindowTitle()
{
    const QString marker = modified ? QStringLiteral("*") : QString();
    if (currentFilePath.isEmpty())
        setWindowTitle(tr("Marbletrellis%1").arg(marker));
    else
        setWindowTitle(tr("Marbletrellis - %1%2").arg(currentFilePath, marker));
}

void MainWindow::updatePathLabel()
{
    const QModelIndex current = treeView->currentIndex();
    pathLabel->setText(current.isValid() ? JsonTreeModel::nodeForIndex(current)->path()
                                         : QString());
}
