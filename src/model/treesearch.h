#pragma once

#include "model/searchoptions.h"

#include <QModelIndex>
#include <QString>

class JsonTreeModel;
class PreorderCursor;
class SearchMatcher;

// One search over a model: from the row after `current` (the top or the
// bottom without one) in the options' direction, through every row in
// document order, collapsed ones included, wrapping around when asked to.
// It changes nothing; the caller shows the outcome.
class TreeSearch
{
public:
    enum class Outcome {
        NoItems, // the document has no rows
        Found,
        FoundAfterWrap,
        NotFound,
        InvalidExpression,
    };

    struct Result
    {
        Outcome outcome = Outcome::NotFound;
        // The matching cell: the Key column's, or the Value column's when
        // only the value matched.
        QModelIndex match;
        // False when the match is the current row itself, found without
        // walking: there is nothing to scroll to or open.
        bool reveal = true;
        // The expression's fault, for InvalidExpression.
        QString error;
    };

    static Result find(const JsonTreeModel *model, const QModelIndex &current,
                       const SearchOptions &options);

    // Tests the cursor's row: the key first, so when both match the key wins.
    // False with the expression's fault in *errorMessage when it is invalid.
    static bool matches(const PreorderCursor &candidate, SearchMatcher &matcher,
                        QModelIndex *matchedIndex = nullptr, QString *errorMessage = nullptr);
};
