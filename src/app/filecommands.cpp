// File menu: Open, Save and Save As; and files dropped on the window.

#include "app/mainwindow.h"

#include "model/jsontreemodel.h"

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QTreeView>
#include <QUndoStack>

namespace {

// A file larger than this opens collapsed, so the view never lays out
// millions of rows at once.
constexpr qint64 largeFileThreshold = 8 * 1024 * 1024;
constexpr int largeFileKeyColumnWidth = 260;

// The first local file among dropped data; empty when there is none.
QString droppedFile(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

void MainWindow::onOpen()
{
    if (!maybeSave())
        return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Open JSON File"), QString(),
                                                      tr("JSON Files (*.json);;All Files (*)"));
    if (!path.isEmpty())
        openFile(path);
}

void MainWindow::openFile(const QString &path)
{
    const QFileInfo info(path);
    QElapsedTimer timer;
    timer.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);

    if (!model->loadFromFile(path)) {
        QApplication::restoreOverrideCursor();
        const QString parseError = model->parseError();
        const QString message = parseError.isEmpty()
                ? tr("Failed to load JSON file.")
                : tr("Failed to parse JSON file.") + QStringLiteral("\n\n") + parseError;
        QMessageBox::critical(this, tr("Error"), message);
        return;
    }
    const qint64 parseMs = timer.elapsed();

    currentFilePath = path;
    modified = false;
    updateWindowTitle();

    const qint64 size = info.size();
    const bool large = size > largeFileThreshold;
    QHeaderView *header = treeView->header();
    if (large) {
        treeView->collapseAll();
        header->setSectionResizeMode(0, QHeaderView::Interactive);
        header->resizeSection(0, largeFileKeyColumnWidth);
    } else {
        header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        treeView->expandToDepth(1);
    }
    const qint64 totalMs = timer.elapsed();

    if (large) {
        // Whole KiB first, then MiB with two decimals.
        const double mebibytes = double(size / 1024) / 1024.0;
        statusLabel->setText(tr("Loaded: %1 (filesize: %2mb, parse %3 ms, total %4 ms)")
                                     .arg(path, QString::number(mebibytes, 'f', 2),
                                          QString::number(parseMs), QString::number(totalMs)));
    } else {
        statusLabel->setText(tr("Loaded: %1 (%2 ms)").arg(path, QString::number(totalMs)));
    }
    QApplication::restoreOverrideCursor();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    if (maybeSave())
        openFile(path);
}

void MainWindow::onSave()
{
    save();
}

void MainWindow::onSaveAs()
{
    saveAs();
}

bool MainWindow::save()
{
    return currentFilePath.isEmpty() ? saveAs() : saveTo(currentFilePath);
}

bool MainWindow::saveAs()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save JSON File"), QString(),
                                                      tr("JSON Files (*.json);;All Files (*)"));
    return !path.isEmpty() && saveTo(path);
}

bool MainWindow::saveTo(const QString &path)
{
    if (!model->saveToFile(path)) {
        QMessageBox box(QMessageBox::Critical, tr("Error"), tr("Failed to save JSON file."),
                        QMessageBox::Ok, this);
        box.setInformativeText(QStringLiteral("%1\n\n%2").arg(path, model->saveError()));
        box.exec();
        return false;
    }
    currentFilePath = path;
    model->undoStack()->setClean();
    modified = false;
    updateWindowTitle();
    statusLabel->setText(tr("Saved: %1").arg(path));
    return true;
}

bool MainWindow::maybeSave()
{
    if (!modified)
        return true;
    QMessageBox box(QMessageBox::Warning, tr("Unsaved Changes"),
                    tr("The document has been modified."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setInformativeText(tr("Do you want to save your changes?"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}
