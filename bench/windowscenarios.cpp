// The window's commands on an open document: Copy and Duplicate.

#include "scenariofunctions.h"

#include "windowhandle.h"

#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTreeView>

namespace {

// Duplicates the array element at `index` exactly as the context menu's
// Duplicate does, timed, then takes the copy out again untimed.
void timeDuplicate(WindowHandle &handle, const QModelIndex &index, int runs, ScenarioResult &result)
{
    JsonTreeModel *model = handle.model;
    const QPersistentModelIndex element(index);
    const QModelIndex array = model->parent(index);
    for (int run = 0; run < runs; ++run) {
        const int rows = model->rowCount(array);
        QElapsedTimer timer;
        timer.start();
        const bool appended = model->appendNode(model->parent(element),
                                                JsonTreeModel::nodeForIndex(element)->clone());
        result.timesMs << elapsedMs(timer);
        if (!appended || model->rowCount(array) != rows + 1) {
            result.error = QStringLiteral("the duplicate was not appended");
            return;
        }
        handle.settle();
        model->removeRows(rows, 1, array);
        handle.settle();
    }
}

} // namespace

void runCopy(const QString &path, int runs, ScenarioResult &result)
{
    WindowHandle handle;
    if (!handle.openFile(path, &result.error))
        return;
    handle.tree->setCurrentIndex(handle.model->index(0, 0));
    handle.settle();
    QClipboard *clipboard = QGuiApplication::clipboard();
    QAction *copy = handle.action(QStringLiteral("&Copy"));
    for (int run = 0; run < runs; ++run) {
        clipboard->clear();
        QElapsedTimer timer;
        timer.start();
        copy->trigger();
        result.timesMs << elapsedMs(timer);
        // A document has at least "[]" to copy; an empty clipboard means the
        // command did not copy at all.
        if (clipboard->text().size() < 2) {
            result.error = QStringLiteral("Copy left the clipboard empty (status \"%1\")")
                                   .arg(handle.statusText());
            return;
        }
    }
    clipboard->clear();
}

void runDuplicateSmall(const QString &path, int runs, ScenarioResult &result)
{
    WindowHandle handle;
    if (!handle.openFile(path, &result.error))
        return;
    const QModelIndex top = handle.model->index(0, 0);
    const int records = handle.model->rowCount(top);
    if (records == 0) {
        result.error = QStringLiteral("the document holds no records");
        return;
    }
    timeDuplicate(handle, handle.model->index(records - 1, 0, top), runs, result);
}

void runDuplicateLarge(const QString &path, int runs, ScenarioResult &result)
{
    // The whole document becomes element [0] of an array of its own.
    QTemporaryDir folder;
    QByteArray wrapped = readWholeFile(path, result);
    if (!result.error.isEmpty())
        return;
    wrapped.prepend('[');
    wrapped.append(']');
    const QString wrappedPath = folder.filePath(QStringLiteral("wrapped.json"));
    QFile file(wrappedPath);
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly)
        || file.write(wrapped) != wrapped.size()) {
        result.error = QStringLiteral("cannot write %1").arg(wrappedPath);
        return;
    }
    file.close();
    wrapped = QByteArray();

    WindowHandle handle;
    if (!handle.openFile(wrappedPath, &result.error))
        return;
    const QModelIndex top = handle.model->index(0, 0);
    timeDuplicate(handle, handle.model->index(0, 0, top), runs, result);
}
