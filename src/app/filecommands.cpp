// File menu: Open, Save and Save As; and files dropped on the window.

#include "app/mainwindow.h"

#include "app/progressdialog.h"
#include "document/fileopening.h"
#include "document/jsondocument.h"
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
#include <QScopeGuard>
#include <QTimer>
#include <QTreeView>

namespace {

// A file larger than this opens collapsed, so the view never lays out
// millions of rows at once.
constexpr qint64 largeFileThreshold = 8 * 1024 * 1024;
constexpr int largeFileKeyColumnWidth = 260;

// The file dialogs' filters; the first is the one chosen at first.
QString fileFilters()
{
    return QStringList {MainWindow::tr("JSON files (*.json)"),
                        MainWindow::tr("JSON Lines (*.jsonl *.ndjson)"),
                        MainWindow::tr("All files (*)")}
            .join(QLatin1String(";;"));
}

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
    const QString path
            = QFileDialog::getOpenFileName(this, tr("Open JSON File"), QString(), fileFilters());
    if (!path.isEmpty())
        openFile(path);
}

void MainWindow::openFile(const QString &path)
{
    openFile(path, JsonReader::formatForPath(path));
}

bool MainWindow::openFile(const QString &path, JsonReader::Format format)
{
    const QFileInfo info(path);
    QElapsedTimer timer;
    timer.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);

    FileOpening opening(path, format);
    if (!waitForOpening(opening)) {
        QApplication::restoreOverrideCursor();
        return false;
    }
    if (!m_model->document()->adoptFile(opening)) {
        QApplication::restoreOverrideCursor();
        const JsonDocument *document = m_model->document();
        if (!document->readError().isEmpty()) {
            showFailure(tr("Failed to load JSON file."), path, document->readError());
        } else if (opening.readsWithComments()) {
            // Strict JSON is what the file claims to be: its reason stays,
            // and opening it anyway is the user's choice.
            QMessageBox box(QMessageBox::Critical, tr("Error"),
                            tr("Failed to parse JSON file.") + QStringLiteral("\n\n")
                                    + document->parseError(),
                            QMessageBox::Open | QMessageBox::Cancel, this);
            box.setInformativeText(tr("This file contains comments or trailing commas, which "
                                      "JSON does not allow. Open it anyway?"));
            box.setDefaultButton(QMessageBox::Cancel);
            return box.exec() == QMessageBox::Open
                    && openFile(path, JsonReader::Format::JsonWithComments);
        } else {
            QMessageBox::critical(this, tr("Error"),
                                  tr("Failed to parse JSON file.") + QStringLiteral("\n\n")
                                          + document->parseError());
        }
        return false;
    }
    const qint64 parseMs = timer.elapsed();

    m_currentFilePath = path;
    m_currentFileFormat = format;
    updateWindowTitle();

    const qint64 size = info.size();
    const bool large = size > largeFileThreshold;
    QHeaderView *header = m_treeView->header();
    if (large) {
        header->setSectionResizeMode(0, QHeaderView::Interactive);
        header->resizeSection(0, largeFileKeyColumnWidth);
    } else {
        header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        m_treeView->expandToDepth(1);
    }
    const qint64 totalMs = timer.elapsed();

    if (large) {
        // Whole KiB first, then MiB with two decimals.
        const double mebibytes = double(size / 1024) / 1024.0;
        m_statusLabel->setText(tr("Loaded: %1 (filesize: %2mb, parse %3 ms, total %4 ms)")
                                       .arg(path, QString::number(mebibytes, 'f', 2),
                                            QString::number(parseMs), QString::number(totalMs)));
    } else {
        m_statusLabel->setText(tr("Loaded: %1 (%2 ms)").arg(path, QString::number(totalMs)));
    }
    QApplication::restoreOverrideCursor();
    watchFile();
    return true;
}

bool MainWindow::waitForOpening(FileOpening &opening)
{
    // A progress dialog shows what was read, once an opening takes a while;
    // until then the window paints but takes no input.
    ProgressDialog progress(tr("Open"), tr("Opening %1…").arg(QFileInfo(opening.path()).fileName()),
                            this);
    QTimer poll;
    connect(&poll, &QTimer::timeout, &progress, [&opening, &progress] {
        // Once all is read the parser runs, for which there is no share to
        // show: the bar turns busy.
        const bool read = opening.bytesRead() >= opening.size();
        progress.setShare(opening.bytesRead(), read ? 0 : opening.size());
    });
    poll.start(ProgressDialog::pollMs);
    while (!opening.isFinished() && !progress.wasCanceled()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents
                                        | (progress.isVisible()
                                                   ? QEventLoop::AllEvents
                                                   : QEventLoop::ExcludeUserInputEvents));
    }
    return !progress.wasCanceled();
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
    return m_currentFilePath.isEmpty() ? saveAs() : saveTo(m_currentFilePath);
}

bool MainWindow::saveAs()
{
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, tr("Save JSON File"), QString(),
                                                fileFilters(), &filter);
    if (path.isEmpty())
        return false;
    // A name without an extension takes the chosen kind's.
    if (QFileInfo(path).suffix().isEmpty()) {
        if (filter.contains(QLatin1String("*.jsonl")))
            path += QLatin1String(".jsonl");
        else if (filter.contains(QLatin1String("*.json)")))
            path += QLatin1String(".json");
    }
    return saveTo(path);
}

bool MainWindow::saveTo(const QString &path)
{
    // Comments read with the file are not kept: writing over it loses them.
    if (path == m_currentFilePath && m_model->document()->hasDroppedComments()) {
        QMessageBox box(QMessageBox::Warning, tr("Save"),
                        tr("Saving removes the comments from %1. Save anyway?").arg(path),
                        QMessageBox::Save | QMessageBox::Cancel, this);
        box.setDefaultButton(QMessageBox::Cancel);
        if (box.exec() != QMessageBox::Save)
            return false;
    }
    // The window paints while a large document is written, and shows how
    // far it got once that takes a while; between the pieces it takes no
    // input but the progress dialog's.
    ProgressDialog progress(tr("Save"), tr("Saving %1…").arg(QFileInfo(path).fileName()), this);
    QElapsedTimer sincePoll;
    sincePoll.start();
    const auto report = [&progress, &sincePoll](qint64 done, qint64 total) {
        if (sincePoll.elapsed() < ProgressDialog::pollMs)
            return true;
        sincePoll.restart();
        progress.setShare(done, total);
        return progress.processEvents();
    };
    // The program's own write is no change on disk to hear of.
    stopWatchingFile();
    const auto watchAgain = qScopeGuard([this] { watchFile(); });
    if (!m_model->document()->saveFile(path, m_model->prettyPrint(), report)) {
        const QString reason = m_model->document()->saveError();
        if (!reason.isEmpty()) // else cancelled
            showFailure(tr("Failed to save JSON file."), path, reason);
        return false;
    }
    m_currentFilePath = path;
    m_currentFileFormat = JsonReader::formatForPath(path);
    updateWindowTitle();
    m_statusLabel->setText(tr("Saved: %1").arg(path));
    return true;
}

void MainWindow::showFailure(const QString &text, const QString &path, const QString &reason)
{
    QMessageBox box(QMessageBox::Critical, tr("Error"), text, QMessageBox::Ok, this);
    box.setInformativeText(QStringLiteral("%1\n\n%2").arg(path, reason));
    box.exec();
}

bool MainWindow::maybeSave()
{
    if (!m_modified)
        return true;
    QMessageBox box(QMessageBox::Warning, tr("Unsaved Changes"),
                    tr("The document has been modified."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setInformativeText(tr("Do you want to save your changes?"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}
