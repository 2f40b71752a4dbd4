// The window's search, sent as the Find dialog sends it, and Find Next.

#include "scenariofunctions.h"

#include "documentgenerator.h"
#include "windowhandle.h"

#include "dialogs/searchdialog.h"
#include "model/jsontreemodel.h"

#include <QAction>
#include <QElapsedTimer>
#include <QTreeView>

namespace {

// Found nowhere in a generated document, as key or as value.
const QString missingText = QStringLiteral("no such text: 7f3c");
const QString missingPattern = QStringLiteral("^zz[0-9]+qq$|no such text: \\d{5}");

void timeMissingSearch(const QString &path, int runs, const SearchOptions &options,
                       ScenarioResult &result)
{
    WindowHandle handle;
    if (!handle.openFile(path, &result.error))
        return;
    for (int run = 0; run < runs; ++run) {
        // From no current row the search walks the whole document.
        handle.tree->setCurrentIndex({});
        handle.settle();
        QElapsedTimer timer;
        timer.start();
        emit handle.searchDialog->findRequested(options);
        result.timesMs << elapsedMs(timer);
        if (handle.statusText() != QLatin1String("No matches found.")) {
            result.error = QStringLiteral("the search ended with \"%1\"").arg(handle.statusText());
            return;
        }
    }
}

} // namespace

void runSearchKeys(const QString &path, int runs, ScenarioResult &result)
{
    SearchOptions options;
    options.text = missingText;
    timeMissingSearch(path, runs, options, result);
}

void runSearchValues(const QString &path, int runs, ScenarioResult &result)
{
    SearchOptions options;
    options.text = missingText;
    options.searchInValue = true;
    timeMissingSearch(path, runs, options, result);
}

void runSearchRegex(const QString &path, int runs, ScenarioResult &result)
{
    SearchOptions options;
    options.text = missingPattern;
    options.useRegex = true;
    options.searchInValue = true;
    timeMissingSearch(path, runs, options, result);
}

void runFindNextNearby(const QString &path, int runs, ScenarioResult &result)
{
    WindowHandle handle;
    if (!handle.openFile(path, &result.error))
        return;
    const QModelIndex top = handle.model->index(0, 0);
    const int records = handle.model->rowCount(top);
    handle.tree->setCurrentIndex(handle.model->index(records / 2, 0, top));
    handle.settle();

    // The first search, untimed, makes a match in the middle current and
    // leaves the options for Find Next.
    SearchOptions options;
    options.text = QString::fromLatin1(DocumentGenerator::recordIdKey);
    emit handle.searchDialog->findRequested(options);
    handle.settle();
    QAction *findNext = handle.action(QStringLiteral("Find &Next"));
    for (int run = 0; run < runs; ++run) {
        const QModelIndex before = handle.tree->currentIndex();
        QElapsedTimer timer;
        timer.start();
        findNext->trigger();
        result.timesMs << elapsedMs(timer);
        if (handle.statusText() != QLatin1String("Match found.")
            || handle.tree->currentIndex() == before) {
            result.error = QStringLiteral("Find Next ended with \"%1\"").arg(handle.statusText());
            return;
        }
        handle.settle();
    }
}
