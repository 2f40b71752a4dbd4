// Changes others make to the open file on disk: the document is read again,
// after asking when that would drop unsaved changes.

#include "app/mainwindow.h"

#include "app/progressdialog.h"
#include "app/treeitemdelegate.h"
#include "document/jsondocument.h"
#include "model/jsontreemodel.h"
#include "query/jsonpath.h"
#include "tree/jsonnode.h"

#include <QApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

namespace {

// Writers often write a file in several steps, each with its notification:
// the file is looked at once, this long after the first.
constexpr int settleMs = 200;

void unwatchAll(QFileSystemWatcher *watcher)
{
    const QStringList watched = watcher->files() + watcher->directories();
    if (!watched.isEmpty())
        watcher->removePaths(watched);
}

} // namespace

void MainWindow::setupFileWatching()
{
    m_fileWatcher = new QFileSystemWatcher(this);
    m_fileChangeTimer = new QTimer(this);
    m_fileChangeTimer->setSingleShot(true);
    m_fileChangeTimer->setInterval(settleMs);
    // Not restarted by each notification, so that a file written without
    // pause is still read again every little while.
    const auto noteChange = [this] {
        if (!m_fileChangeTimer->isActive())
            m_fileChangeTimer->start();
    };
    connect(m_fileWatcher, &QFileSystemWatcher::fileChanged, this, noteChange);
    connect(m_fileWatcher, &QFileSystemWatcher::directoryChanged, this, noteChange);
    connect(m_fileChangeTimer, &QTimer::timeout, this, &MainWindow::onFileChangedOnDisk);
}

void MainWindow::watchFile()
{
    // A change noted for the file watched before is no news about this one.
    if (m_watchedFilePath != m_currentFilePath) {
        m_fileChangeTimer->stop();
        m_fileDeleted = false;
    }
    m_watchedFilePath = m_currentFilePath;
    unwatchAll(m_fileWatcher);
    if (m_currentFilePath.isEmpty())
        return;
    // The watcher follows the file itself, which a writer replacing it by a
    // rename, or deleting it, takes away: the file now under the path is
    // watched anew each time, or its folder while there is none, to notice
    // the file coming back.
    const QFileInfo file(m_currentFilePath);
    if (file.exists()) {
        m_fileDeleted = false;
        m_fileWatcher->addPath(file.filePath());
    } else {
        m_fileWatcher->addPath(file.absolutePath());
    }
}

void MainWindow::stopWatchingFile()
{
    // A change noted before is overwritten by what is saved now.
    m_fileChangeTimer->stop();
    unwatchAll(m_fileWatcher);
}

bool MainWindow::isBusy() const
{
    // Each opening, save, search or query has its progress dialog from its
    // first look at the clock, shown or not yet.
    return QApplication::activeModalWidget() || QApplication::activePopupWidget()
            || findChild<ProgressDialog *>() || m_delegate->hasOpenEditor();
}

void MainWindow::onFileChangedOnDisk()
{
    // One question at a time, and no document replaced under another
    // command or a cell being typed in: the change waits for them.
    if (isBusy()) {
        m_fileChangeTimer->start();
        return;
    }
    const QString path = m_currentFilePath;
    watchFile();
    if (!QFileInfo::exists(path)) {
        if (!m_fileDeleted) {
            m_fileDeleted = true;
            // What is shown is no longer saved anywhere.
            m_model->document()->markModified();
            m_statusLabel->setText(tr("%1 was deleted on disk.").arg(path));
        }
        return;
    }
    if (!m_model->document()->isModified() || askReload(path))
        reloadFile();
}

bool MainWindow::askReload(const QString &path)
{
    QMessageBox box(
            QMessageBox::Warning, tr("File Changed"),
            tr("The file %1 has changed on disk. Reload it and lose your changes?").arg(path),
            QMessageBox::NoButton, this);
    const QPushButton *reload = box.addButton(tr("Reload"), QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(tr("Keep my version"), QMessageBox::RejectRole));
    box.exec();
    // Further writes while the user decided are part of the change decided
    // on: Reload reads them, and Keep keeps the document over them too.
    m_fileChangeTimer->stop();
    return box.clickedButton() == reload;
}

void MainWindow::reloadFile()
{
    const QModelIndex current = m_treeView->currentIndex();
    const QString currentPath = current.isValid()
            ? JsonTreeModel::nodeForIndex(current)->normalizedPath()
            : QString();
    const int column = current.column();
    const QString path = m_currentFilePath;
    // openFile() reports its own failures, and leaves the document as it
    // was. A file opened despite its comments is read so again.
    if (!openFile(path, m_currentFileFormat))
        return;
    if (!currentPath.isEmpty()) {
        const QList<JsonNode *> found
                = JsonPath(currentPath).select(m_model->document()->topLevelNode());
        if (!found.isEmpty())
            showCurrentCell(found.first(), column);
    }
    m_statusLabel->setText(tr("Reloaded: %1 (changed on disk).").arg(path));
}
