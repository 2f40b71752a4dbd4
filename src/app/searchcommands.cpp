// Edit menu: Find, Find Next and Find Previous, and the search behind them.

#include "app/mainwindow.h"

#include "app/busyprogress.h"
#include "dialogs/searchdialog.h"
#include "model/jsontreemodel.h"
#include "search/preordercursor.h"
#include "search/searchmatcher.h"
#include "tree/jsonnode.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QTreeView>

void MainWindow::onSearch()
{
    if (m_hasLastSearch)
        m_searchDialog->setOptions(m_lastSearchOptions);
    m_searchDialog->show();
    m_searchDialog->raise();
    m_searchDialog->activateWindow();
    m_searchDialog->focusSearchField();
}

void MainWindow::onFindNext()
{
    findAgain(false);
}

void MainWindow::onFindPrevious()
{
    findAgain(true);
}

void MainWindow::findAgain(bool backward)
{
    // A search with an empty text is never kept, so a kept one has a text.
    if (!m_hasLastSearch) {
        onSearch();
        return;
    }
    // The dialog's own next search goes the way the menu went last;
    // lastSearchOptions keeps the direction the dialog sent.
    SearchOptions options = m_lastSearchOptions;
    options.backward = backward;
    m_searchDialog->setSearchBackward(backward);
    performSearch(options);
}

void MainWindow::onSearchRequested(const SearchOptions &options)
{
    if (options.text.isEmpty()) {
        m_statusLabel->setText(tr("Search text is empty."));
        return;
    }
    m_lastSearchOptions = options;
    m_hasLastSearch = true;
    performSearch(options);
}

bool MainWindow::performSearch(const SearchOptions &options)
{
    // A search that takes a while shows a progress dialog and can be
    // cancelled; until then, and between its pieces, the window paints but
    // takes no input but the dialog's. Most searches end sooner than the
    // first look at the clock, and make no dialog at all.
    BusyProgress progress(tr("Search"), tr("Searching…"), this);
    const TreeSearch::Result result
            = TreeSearch::find(m_model, m_treeView->currentIndex(), options,
                               [&progress] { return progress.keepGoing(); });
    progress.close(); // before any message
    switch (result.outcome) {
    case TreeSearch::Outcome::NoItems:
        m_statusLabel->setText(tr("No searchable items."));
        break;
    case TreeSearch::Outcome::InvalidExpression:
        QMessageBox::warning(this, tr("Search"),
                             tr("Invalid regular expression: %1").arg(result.error));
        break;
    case TreeSearch::Outcome::NotFound:
        m_statusLabel->setText(tr("No matches found."));
        break;
    case TreeSearch::Outcome::Cancelled:
        m_statusLabel->setText(tr("Search cancelled."));
        break;
    case TreeSearch::Outcome::TooComplex:
        // The search stops on the row it could not decide, so the user sees
        // which text the expression is too complex for.
        revealMatch(result);
        QMessageBox::warning(this, tr("Search"),
                             tr("The regular expression is too complex to test against %1.")
                                     .arg(JsonTreeModel::nodeForIndex(result.match)->path()));
        break;
    case TreeSearch::Outcome::Found:
        revealMatch(result);
        m_statusLabel->setText(tr("Match found."));
        break;
    case TreeSearch::Outcome::FoundAfterWrap:
        revealMatch(result);
        m_statusLabel->setText(tr("Reached end, continued from beginning."));
        break;
    }
    return result.outcome == TreeSearch::Outcome::Found
            || result.outcome == TreeSearch::Outcome::FoundAfterWrap;
}

void MainWindow::revealMatch(const TreeSearch::Result &result)
{
    // The scroll aims at the matching cell and expands every collapsed
    // ancestor; the selection covers the whole row.
    if (result.reveal)
        m_treeView->scrollTo(result.match, QAbstractItemView::EnsureVisible);
    selectIndex(result.match);
}

PreorderCursor MainWindow::collectSearchCandidates() const
{
    // Every row of the document in document order, collapsed ones included,
    // walked on demand from the current row rather than listed.
    PreorderCursor candidates(m_model);
    candidates.moveTo(m_treeView->currentIndex());
    return candidates;
}

bool MainWindow::matchesSearch(const PreorderCursor &candidate, SearchMatcher &matcher,
                               QModelIndex *matchedIndex, QString *errorMessage) const
{
    return TreeSearch::matches(candidate, matcher, matchedIndex, errorMessage);
}

void MainWindow::selectIndex(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    m_treeView->selectionModel()->setCurrentIndex(index.siblingAtColumn(0),
                                                  QItemSelectionModel::ClearAndSelect
                                                          | QItemSelectionModel::Rows);
}
