// Marbletrellis itself: the document model alone, then the main window's
// commands on an open document.

#include "benchapplication.h"
#include "documentgenerator.h"
#include "scenario.h"

#include "app/mainwindow.h"
#include "dialogs/searchdialog.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

#include <QAction>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <memory>

namespace {

// Found nowhere in a generated document, as key or as value.
const QString missingText = QStringLiteral("no such text: 7f3c");
const QString missingPattern = QStringLiteral("^zz[0-9]+qq$|no such text: \\d{5}");

// Lets the window lay out and paint what is pending.
void settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

std::unique_ptr<JsonTreeModel> loadedModel(const QString &path)
{
    auto model = std::make_unique<JsonTreeModel>();
    if (!model->loadFromFile(path))
        throw ScenarioFailure(QStringLiteral("cannot open %1: %2").arg(path, model->parseError()));
    return model;
}

qint64 countValues(const JsonTreeModel &model, const QModelIndex &parent = {})
{
    qint64 count = parent.isValid() ? 1 : 0;
    for (int row = 0, rows = model.rowCount(parent); row < rows; ++row)
        count += countValues(model, model.index(row, 0, parent));
    return count;
}

// The real main window, shown offscreen.
struct Window
{
    Window()
    {
        main.show();
        if (!QTest::qWaitForWindowExposed(&main))
            throw ScenarioFailure(QStringLiteral("the window was never exposed"));
    }

    QAction *action(const char *name) { return main.findChild<QAction *>(QLatin1String(name)); }
    SearchDialog *searchDialog()
    {
        action("actionFind")->trigger();
        return main.findChild<SearchDialog *>();
    }
    QModelIndex current() const { return tree->currentIndex(); }

    // File > Open, the file dialog answered as a user would; `beforeAccept`
    // runs just before the dialog is accepted.
    void open(const QString &path, const std::function<void()> &beforeAccept = {})
    {
        bool answered = false;
        QString refusal;
        // trigger() waits in the dialogs' event loops; the timer answers them.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && !answered) {
                if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
                    answered = true;
                    name->setText(path);
                    if (beforeAccept)
                        beforeAccept();
                    // Protected in QFileDialog; its override still runs.
                    static_cast<QDialog *>(dialog)->accept();
                }
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                refusal = box->text();
                box->reject();
            }
        });
        poll.start(5);
        action("actionOpen")->trigger();
        if (!answered)
            throw ScenarioFailure(QStringLiteral("the file dialog never showed"));
        if (!refusal.isEmpty() || model->rowCount() == 0)
            throw ScenarioFailure(QStringLiteral("opening %1 failed: %2").arg(path, refusal));
    }

    MainWindow main;
    QTreeView *tree = main.findChild<QTreeView *>();
    JsonTreeModel *model = qobject_cast<JsonTreeModel *>(tree->model());
};

std::shared_ptr<Window> openWindow(const QString &path)
{
    auto window = std::make_shared<Window>();
    window->open(path);
    return window;
}

ScenarioRun openModel(const QString &path, WorkerFindings &findings)
{
    return [path, &findings] {
        // Each run opens into a fresh model, so no run pays for destroying
        // the document of the one before.
        auto model = std::make_unique<JsonTreeModel>();
        const qint64 residentBefore = memoryStatus("VmRSS");
        bool loaded = false;
        const double ms = timeMs([&] { loaded = model->loadFromFile(path); });
        if (!loaded)
            throw ScenarioFailure(
                    QStringLiteral("cannot open %1: %2").arg(path, model->parseError()));
        if (findings.values < 0) {
            findings.heldBytes = memoryStatus("VmRSS") - residentBefore;
            findings.values = countValues(*model);
        }
        return ms;
    };
}

ScenarioRun closeModel(const QString &path, WorkerFindings &)
{
    return [path] {
        std::unique_ptr<JsonTreeModel> model = loadedModel(path);
        return timeMs([&] { model.reset(); });
    };
}

ScenarioRun saveModel(const QString &path, bool pretty)
{
    std::shared_ptr<JsonTreeModel> model = loadedModel(path);
    model->setPrettyPrint(pretty);
    auto folder = std::make_shared<QTemporaryDir>();
    return [model, folder] {
        const QString target = folder->filePath(QStringLiteral("saved.json"));
        bool saved = false;
        const double ms = timeMs([&] { saved = model->saveToFile(target); });
        if (!saved)
            throw ScenarioFailure(QStringLiteral("saving to %1 failed").arg(target));
        QFile::remove(target);
        return ms;
    };
}

ScenarioRun copyTopRow(const QString &path, WorkerFindings &)
{
    const std::shared_ptr<Window> window = openWindow(path);
    window->tree->setCurrentIndex(window->model->index(0, 0));
    settle();
    return [window] {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        const double ms = timeMs([&] { window->action("actionCopy")->trigger(); });
        // A document has at least "[]" to copy.
        if (clipboard->text().size() < 2)
            throw ScenarioFailure(QStringLiteral("Copy left the clipboard empty"));
        return ms;
    };
}

// Duplicate as the context menu does it on an array element, timed; the
// copy is taken out again untimed.
ScenarioRun duplicate(const std::shared_ptr<Window> &window, const QModelIndex &index)
{
    return [window, element = QPersistentModelIndex(index)] {
        JsonTreeModel *model = window->model;
        const QModelIndex array = model->parent(element);
        const int rows = model->rowCount(array);
        const double ms = timeMs(
                [&] { model->appendNode(array, JsonTreeModel::nodeForIndex(element)->clone()); });
        if (model->rowCount(array) != rows + 1)
            throw ScenarioFailure(QStringLiteral("the duplicate was not appended"));
        settle();
        model->removeRows(rows, 1, array);
        settle();
        return ms;
    };
}

ScenarioRun duplicateSmall(const QString &path, WorkerFindings &)
{
    // The last record of the large top-level array.
    const std::shared_ptr<Window> window = openWindow(path);
    const QModelIndex top = window->model->index(0, 0);
    return duplicate(window, window->model->index(window->model->rowCount(top) - 1, 0, top));
}

ScenarioRun duplicateLarge(const QString &path, WorkerFindings &)
{
    // The whole document, as the only element of an array.
    QTemporaryDir folder;
    QFile wrapped(folder.filePath(QStringLiteral("wrapped.json")));
    if (!wrapped.open(QIODevice::WriteOnly) || !wrapped.putChar('[')
        || wrapped.write(readWholeFile(path)) < 0 || !wrapped.putChar(']') || !wrapped.flush())
        throw ScenarioFailure(QStringLiteral("cannot write %1").arg(wrapped.fileName()));
    const std::shared_ptr<Window> window = openWindow(wrapped.fileName());
    return duplicate(window, window->model->index(0, 0, window->model->index(0, 0)));
}

// A search that matches nothing, sent as the Find dialog sends it.
ScenarioRun search(const QString &path, bool inValues, bool regex)
{
    const std::shared_ptr<Window> window = openWindow(path);
    SearchDialog *dialog = window->searchDialog();
    SearchOptions options;
    options.text = regex ? missingPattern : missingText;
    options.searchInValue = inValues;
    options.useRegex = regex;
    return [window, dialog, options] {
        // From no current row the search walks the whole document.
        window->tree->setCurrentIndex({});
        settle();
        const double ms = timeMs([&] { emit dialog->findRequested(options); });
        if (window->current().isValid())
            throw ScenarioFailure(QStringLiteral("the search found a match"));
        return ms;
    };
}

ScenarioRun findNextNearby(const QString &path, WorkerFindings &)
{
    const std::shared_ptr<Window> window = openWindow(path);
    const QModelIndex top = window->model->index(0, 0);
    window->tree->setCurrentIndex(window->model->index(window->model->rowCount(top) / 2, 0, top));
    settle();
    // The first search, untimed, makes a match in the middle current and
    // leaves the options for Find Next.
    SearchOptions options;
    options.text = QLatin1String(DocumentGenerator::recordIdKey);
    emit window->searchDialog()->findRequested(options);
    settle();
    return [window, findNext = window->action("actionFindNext")] {
        const QModelIndex before = window->current();
        const double ms = timeMs([&] { findNext->trigger(); });
        if (!before.isValid() || !window->current().isValid() || window->current() == before)
            throw ScenarioFailure(QStringLiteral("Find Next found no next match"));
        settle();
        return ms;
    };
}

// From accepting File > Open's dialog to the end of the tree's first paint.
ScenarioRun firstPaint(const QString &path, WorkerFindings &)
{
    auto *application = qobject_cast<BenchApplication *>(QCoreApplication::instance());
    return [application, path] {
        // A fresh window each run: the first paint of a new document is what
        // is measured, not a repaint over the last one.
        Window window;
        settle();
        const QObject *viewport = window.tree->viewport();
        QElapsedTimer timer;
        bool loaded = false;
        double paintedMs = -1;
        QObject::connect(window.model, &QAbstractItemModel::modelReset, [&] { loaded = true; });
        application->afterEvent = [&](const QObject *receiver, QEvent::Type type) {
            if (loaded && paintedMs < 0 && receiver == viewport && type == QEvent::Paint)
                paintedMs = double(timer.nsecsElapsed()) / 1e6;
        };
        const auto unhook = qScopeGuard([application] { application->afterEvent = nullptr; });
        window.open(path, [&timer] { timer.start(); });
        const QDeadlineTimer deadline(600 * 1000);
        while (paintedMs < 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (paintedMs < 0)
            throw ScenarioFailure(QStringLiteral("the tree was never painted"));
        return paintedMs;
    };
}

} // namespace

QList<Scenario> ownScenarios()
{
    const auto saveIndented
            = [](const QString &path, WorkerFindings &) { return saveModel(path, true); };
    const auto saveCompact
            = [](const QString &path, WorkerFindings &) { return saveModel(path, false); };
    const auto searchKeys
            = [](const QString &path, WorkerFindings &) { return search(path, false, false); };
    const auto searchValues
            = [](const QString &path, WorkerFindings &) { return search(path, true, false); };
    const auto searchRegex
            = [](const QString &path, WorkerFindings &) { return search(path, true, true); };
    return {
            {"open", Scenario::Model, true, openModel},
            {"close", Scenario::Model, false, closeModel},
            {"save-indented", Scenario::Model, false, saveIndented},
            {"save-compact", Scenario::Model, false, saveCompact},
            {"copy", Scenario::Window, false, copyTopRow},
            {"duplicate-small", Scenario::Window, false, duplicateSmall},
            {"duplicate-large", Scenario::Window, false, duplicateLarge},
            {"search-keys", Scenario::Window, false, searchKeys},
            {"search-values", Scenario::Window, false, searchValues},
            {"search-regex", Scenario::Window, false, searchRegex},
            {"find-next-nearby", Scenario::Window, false, findNextNearby},
            {"first-paint", Scenario::Window, true, firstPaint},
    };
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ScenarioFailure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

qint64 memoryStatus(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // "VmHWM:	  123456 kB"
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(QByteArray(field) + ':'))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}
