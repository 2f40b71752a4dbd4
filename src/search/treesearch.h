#pragma once

#include "search/searchoptions.h"

#include <QModelIndex>
#include <QString>

#include <functional>

class JsonTreeModel;
class PreorderCursor;
class SearchMatcher;

// One search over a model: from the row after `current` (the top or the
// bottom without one) in the options' direction, through every row in
// pre-order, collapsed ones included, wrapping around if enabled. It
// modifies nothing; the caller shows the result.
class TreeSearch
{
public:
    enum class Outcome {
        NoItems, // the document has no rows
        Found,
        FoundAfterWrap,
        NotFound,
        InvalidExpression,
        // The regular expression engine gave up on a text of `match`'s row.
        TooComplex,
        Cancelled,
    };

    struct Result
    {
        Outcome outcome = Outcome::NotFound;
        // The matching cell: the Key column's, or the Value column's when
        // only the value matched; for TooComplex, the row's Key cell.
        QModelIndex match;
        // False when the match is the current row itself, found without
        // iterating: there is nothing to scroll to or expand.
        bool reveal = true;
        // The regular expression's error string, for InvalidExpression.
        QString error;
    };

    // `keepGoing`, when given, is asked between rows; once it answers false
    // the search ends as Cancelled.
    static Result find(const JsonTreeModel *model, const QModelIndex &current,
                       const SearchOptions &options, std::function<bool()> keepGoing = {});

    // Tests the cursor's row: the key first, so when both match the key wins.
    // Returns false, with the error string in *errorMessage, when the
    // regular expression is invalid, and false when the matcher could not
    // decide or was stopped.
    static bool matches(const PreorderCursor &candidate, SearchMatcher &matcher,
                        QModelIndex *matchedIndex = nullptr, QString *errorMessage = nullptr);
};
