// File menu: Open, Save and Save As.

#include "app/mainwindow.h"

#include "model/jsontreemodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QTreeView>

namespace {

// A file larger than this opens collapsed, so the view never lays out
// millions of rows at once.
constexpr qint64 largeFileThreshold = 8 * 1024 * 1024;
constexpr int largeFileKeyColumnWidth = 260;

} // namespace

void MainWindow::onOpen()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Open JSON File"), QString(),
                                                      tr("JSON Files (*.json);;All Files (*)"));
    if (path.isEmpty())
        return;

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

void MainWindow::onSave()
{
    if (currentFilePath.isEmpty()) {
        onSaveAs();
        return;
    }
    if (!model->saveToFile(currentFilePath)) {
        QMessageBox::critical(this, tr("Error"), tr("Failed to save JSON file."));
        return;
    }
    setModified(false);
    statusLabel->setText(tr("Saved: %1").arg(currentFilePath));
}

void MainWindow::onSaveAs()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save JSON File"), QString(),
                                                      tr("JSON Files (*.json);;All Files (*)"));
    if (path.isEmpty())
        return;
    if (!model->saveToFile(path)) {
        QMessageBox::critical(this, tr("Error"), tr("Failed to save JSON file."));
        return;
    }
    currentFilePath = path;
    modified = false;
    updateWindowTitle();
    statusLabel->setText(tr("Saved: %1").arg(path));
}
