// Edit menu: Find, Find Next and Find Previous, and the search behind them.

#include "app/mainwindow.h"

#include "dialogs/searchdialog.h"
#include "model/jsontreemodel.h"
#include "model/preordercursor.h"
#include "model/searchmatcher.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QTreeView>

void MainWindow::onSearch()
{
    if (hasLastSearch)
        searchDialog->setOptions(lastSearchOptions);
    searchDialog->show();
    searchDialog->raise();
    searchDialog->activateWindow();
    searchDialog->focusSearchField();
}

void MainWindow::onFindNext()
{
    if (!hasLastSearch || lastSearchOptions.text.isEmpty()) {
        onSearch();
        return;
    }
    // The dialog's own next search goes the way the menu went last;
    // lastSearchOptions keeps the direction the dialog sent.
    SearchOptions options = lastSearchOptions;
    options.backward = false;
    searchDialog->setSearchBackward(false);
    performSearch(options);
}

void MainWindow::onFindPrevious()
{
    if (!hasLastSearch || lastSearchOptions.text.isEmpty()) {
        onSearch();
        return;
    }
    SearchOptions options = lastSearchOptions;
    options.backward = true;
    searchDialog->setSearchBackward(true);
    performSearch(options);
}

void MainWindow::onSearchRequested(const SearchOptions &options)
{
    if (options.text.isEmpty()) {
        statusLabel->setText(tr("Search text is empty."));
        return;
    }
    lastSearchOptions = options;
    hasLastSearch = true;
    performSearch(options);
}

bool MainWindow::performSearch(const SearchOptions &options)
{
    if (model->rowCount() == 0) {
        statusLabel->setText(tr("No searchable items."));
        return false;
    }

    // Made once for the whole walk; an invalid expression is reported at
    // the first row tested.
    SearchMatcher matcher(model, options);

    PreorderCursor candidate = collectSearchCandidates();
    const QModelIndex start = candidate.index();
    const auto step = [&] { options.backward ? candidate.previous() : candidate.next(); };
    const auto restart
            = [&] { options.backward ? candidate.moveToLast() : candidate.moveToFirst(); };

    // From the row after the current one to the end, then, wrapping, from
    // the other end up to and including the current row itself; without a
    // current row, the whole document and then its first row once more.
    if (start.isValid())
        step();
    else
        restart();
    bool wrapped = false;
    bool examined = false;
    for (;;) {
        if (!candidate.isValid()) {
            if (!options.wrapAround || wrapped)
                break;
            restart();
            wrapped = true;
        }
        QModelIndex matched;
        QString error;
        if (matchesSearch(candidate, matcher, &matched, &error)) {
            // The scroll aims at the matching cell and opens every collapsed
            // ancestor; the selection covers the whole row.
            treeView->scrollTo(matched, QAbstractItemView::EnsureVisible);
            treeView->expand(model->parent(matched));
            selectIndex(matched);
            statusLabel->setText(wrapped ? tr("Reached end, continued from beginning.")
                                         : tr("Match found."));
            return true;
        }
        if (!error.isEmpty()) {
            QMessageBox::warning(this, tr("Search"),
                                 tr("Invalid regular expression: %1").arg(error));
            return false;
        }
        examined = true;
        if (wrapped && (!start.isValid() || candidate.index() == start))
            break;
        step();
    }

    // Without wrap-around, a search from the last row (or the first, going
    // up) has nothing to walk: it tries the current row itself.
    if (!examined && start.isValid()) {
        candidate.moveTo(start);
        QModelIndex matched;
        if (matchesSearch(candidate, matcher, &matched)) {
            selectIndex(matched);
            statusLabel->setText(tr("Match found."));
            return true;
        }
    }
    statusLabel->setText(tr("No matches found."));
    return false;
}

PreorderCursor MainWindow::collectSearchCandidates() const
{
    // Every row of the document in document order, collapsed ones included,
    // walked on demand from the current row rather than listed for each
    // search: a search that stops early never visits the rest.
    PreorderCursor candidates(model);
    candidates.moveTo(treeView->currentIndex());
    return candidates;
}

bool MainWindow::matchesSearch(const PreorderCursor &candidate, SearchMatcher &matcher,
                               QModelIndex *matchedIndex, QString *errorMessage) const
{
    if (!matcher.isValid()) {
        if (errorMessage)
            *errorMessage = matcher.errorString();
        return false;
    }
    // The key first: when both match, the key wins.
    const int column = matcher.matchingColumn(candidate.node());
    if (column < 0)
        return false;
    if (matchedIndex)
        *matchedIndex = candidate.index(column);
    return true;
}

void MainWindow::selectIndex(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    treeView->selectionModel()->setCurrentIndex(index.siblingAtColumn(0),
                                                QItemSelectionModel::ClearAndSelect
                                                        | QItemSelectionModel::Rows);
}
