#include "search/treesearch.h"

#include "model/jsontreemodel.h"
#include "search/parsedsearch.h"
#include "search/preordercursor.h"
#include "search/searchmatcher.h"
#include "tree/jsonnode.h"

TreeSearch::Result TreeSearch::find(const JsonTreeModel *model, const QModelIndex &current,
                                    const SearchOptions &options, std::function<bool()> keepGoing)
{
    Result result;
    if (model->rowCount() == 0) {
        result.outcome = Outcome::NoItems;
        return result;
    }

    // Created once for the whole search; an invalid expression is reported
    // at the first row tested.
    SearchMatcher matcher(options, std::move(keepGoing));
    PreorderCursor candidate(model);
    candidate.moveTo(current);
    const QModelIndex start = candidate.index();
    const auto step = [&] { options.backward ? candidate.previous() : candidate.next(); };
    const auto restart
            = [&] { options.backward ? candidate.moveToLast() : candidate.moveToFirst(); };

    // Whether the matcher's answer for a row ends the search, with the
    // outcome it ends with.
    bool wrapped = false;
    const auto endsAt = [&](JsonNode *row, int column) {
        switch (column) {
        case SearchMatcher::NoMatch:
            return false;
        case SearchMatcher::Stopped:
            result.outcome = Outcome::Cancelled;
            return true;
        case SearchMatcher::Undecided:
            result.outcome = Outcome::TooComplex;
            result.match = model->indexForNode(row);
            return true;
        default:
            result.outcome = wrapped ? Outcome::FoundAfterWrap : Outcome::Found;
            result.match = model->indexForNode(row).siblingAtColumn(column);
            return true;
        }
    };

    // The rows below one whose children are unmade are searched on their
    // parsed values: going down right after the row itself, going up right
    // before it.
    bool examined = false;
    const auto searchBelow = [&](const JsonNode *node) {
        if (!node->unmadeChildren() || !matcher.isValid())
            return false;
        examined = true;
        int column = SearchMatcher::NoMatch;
        JsonNode *row = ParsedSearch::find(const_cast<JsonNode *>(node), options.backward, matcher,
                                           &column);
        return endsAt(row, column);
    };

    // From the row after the current one to the end, then, wrapping, from
    // the other end up to and including the current row itself; without a
    // current row, the whole document and then its first row once more.
    if (start.isValid() && !options.backward && searchBelow(candidate.node()))
        return result;
    if (start.isValid())
        step();
    else
        restart();
    for (;;) {
        if (!candidate.isValid()) {
            if (!options.wrapAround || wrapped)
                break;
            restart();
            wrapped = true;
        }
        // Without a current row, the wrap comes back to a row whose subtree
        // was searched already.
        if (options.backward && (!wrapped || start.isValid()) && searchBelow(candidate.node()))
            return result;
        if (!matcher.isValid()) {
            result.outcome = Outcome::InvalidExpression;
            result.error = matcher.errorString();
            return result;
        }
        if (endsAt(const_cast<JsonNode *>(candidate.node()),
                   matcher.matchingColumn(candidate.node())))
            return result;
        examined = true;
        if (wrapped && (!start.isValid() || candidate.index() == start))
            break;
        if (!options.backward && searchBelow(candidate.node()))
            return result;
        step();
    }

    // Without wrap-around, a search from the last row (or the first, going
    // up) has nothing to iterate over: it tests the current row itself.
    if (!examined && start.isValid()) {
        candidate.moveTo(start);
        if (endsAt(const_cast<JsonNode *>(candidate.node()),
                   matcher.matchingColumn(candidate.node()))) {
            result.reveal = false;
            return result;
        }
    }
    result.outcome = Outcome::NotFound;
    return result;
}

bool TreeSearch::matches(const PreorderCursor &candidate, SearchMatcher &matcher,
                         QModelIndex *matchedIndex, QString *errorMessage)
{
    if (!matcher.isValid()) {
        if (errorMessage)
            *errorMessage = matcher.errorString();
        return false;
    }
    const int column = matcher.matchingColumn(candidate.node());
    if (column < 0)
        return false;
    if (matchedIndex)
        *matchedIndex = candidate.index(column);
    return true;
}
