#include "search/treesearch.h"

#include "model/jsontreemodel.h"
#include "search/parsedsearch.h"
#include "search/preordercursor.h"
#include "search/searchmatcher.h"
#include "tree/jsonnode.h"

TreeSearch::Result TreeSearch::find(const JsonTreeModel *model, const QModelIndex &current,
                                    const SearchOptions &options)
{
    Result result;
    if (model->rowCount() == 0) {
        result.outcome = Outcome::NoItems;
        return result;
    }

    // Created once for the whole search; an invalid expression is reported
    // at the first row tested.
    SearchMatcher matcher(model, options);
    PreorderCursor candidate(model);
    candidate.moveTo(current);
    const QModelIndex start = candidate.index();
    const auto step = [&] { options.backward ? candidate.previous() : candidate.next(); };
    const auto restart
            = [&] { options.backward ? candidate.moveToLast() : candidate.moveToFirst(); };

    // The rows below one whose children are unmade are searched on their
    // parsed values: going down right after the row itself, going up right
    // before it.
    bool wrapped = false;
    bool examined = false;
    const auto searchBelow = [&](const JsonNode *node) {
        if (!node->unmadeChildren() || !matcher.isValid())
            return false;
        examined = true;
        int column = 0;
        JsonNode *match = ParsedSearch::find(const_cast<JsonNode *>(node), options.backward,
                                             matcher, &column);
        if (!match)
            return false;
        result.match = model->indexForNode(match).siblingAtColumn(column);
        result.outcome = wrapped ? Outcome::FoundAfterWrap : Outcome::Found;
        return true;
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
        if (matches(candidate, matcher, &result.match, &result.error)) {
            result.outcome = wrapped ? Outcome::FoundAfterWrap : Outcome::Found;
            return result;
        }
        if (!result.error.isEmpty()) {
            result.outcome = Outcome::InvalidExpression;
            return result;
        }
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
        if (matches(candidate, matcher, &result.match)) {
            result.outcome = Outcome::Found;
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
