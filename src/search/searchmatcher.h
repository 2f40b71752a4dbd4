#pragma once

#include "search/searchoptions.h"
#include "tree/textpool.h"

#include <QRegularExpression>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class JsonNode;
struct yyjson_val;

// Matches rows against one search: the key, then, if enabled, the value's
// whole text (a container's item count as the Value column shows it).
// Created once per search, it compiles the regular expression once and
// caches results along the way: keys are implicitly shared between rows, and
// a container's text depends only on its type and child count, so most rows
// are matched without building any text at all. Parsed values that are not
// nodes yet are matched as the nodes they would become, mostly on their
// UTF-8 text as it is.
class SearchMatcher
{
public:
    // What matchingColumn() answers when no column matched.
    enum Answer {
        NoMatch = -1,
        // The regular expression engine gave up on a text of the row (its
        // backtracking limit): whether the row matches is unknown.
        Undecided = -2,
        // keepGoing answered false; the row was not tested.
        Stopped = -3,
    };

    // `keepGoing`, when given, is asked between rows (every few rows for a
    // regular expression, whose matching can be slow); once it answers false
    // every row answers Stopped.
    explicit SearchMatcher(const SearchOptions &options, std::function<bool()> keepGoing = {});

    bool isValid() const;
    QString errorString() const;

    // Whether no row of a parsed subtree can match when its member names and
    // strings, stored together in `text`, do not hold the search text: a
    // case-sensitive plain search that no number, element label, item count,
    // true, false or null can match. Costs one scan of `text`.
    bool rulesOutRowsBelow(QByteArrayView text) const;

    // 0 when the key matches, 1 when only the value does, else an Answer.
    int matchingColumn(const JsonNode *node);
    // The same for a parsed value: a member named `name`, or without a name
    // the element at `position` of an array.
    int matchingColumn(yyjson_val *name, qsizetype position, yyjson_val *value);

private:
    // A text every match of the regular expression `pattern` holds; empty
    // when it cannot tell.
    static QString requiredLiteral(const QString &pattern);
    // Where the character class that starts before `i` ends; -1 when never.
    static qsizetype classEnd(const QString &pattern, qsizetype i);
    bool keepGoing();
    // The answer for a row whose key and value tests gave these results.
    int answer(bool keyMatched, bool valueMatched) const;
    bool matches(QStringView text);
    // Whether UTF-8 text matches, decoded only when it must be.
    bool utf8Matches(const char *utf8, size_t length);
    // Whether UTF-8 text as it is matches; nothing when it must be decoded
    // first.
    std::optional<bool> bytesMatch(const char *utf8, size_t length) const;
    bool keyMatches(const QString &key);
    bool valueMatches(const JsonNode *node);
    bool containerMatches(bool isObject, qsizetype count);
    bool nullMatches();

    const SearchOptions m_options;
    const Qt::CaseSensitivity m_sensitivity;
    std::function<bool()> m_keepGoing;
    int m_rowsSinceAsked = 0;
    bool m_stopped = false;
    bool m_undecided = false;
    QRegularExpression m_expression;
    // Whether the search text can occur in the text of a number at all, and
    // in an element's key ("[12]").
    bool m_numbersCanMatch = true;
    bool m_labelsCanMatch = true;
    // Whether only the text of member names and strings can match.
    bool m_onlyTextCanMatch = false;
    // The search text, or what every match of the expression holds (may be
    // empty); in UTF-8 too, null when UTF-8 text cannot be tested as it is
    // (nothing to test, or a search ignoring case for text beyond ASCII).
    QString m_literal;
    QByteArray m_utf8Text;
    TextPool m_texts;
    QString m_decoded;

    struct KeyMemo
    {
        const QChar *data = nullptr;
        qsizetype size = -1;
        bool matches = false;
    };
    std::array<KeyMemo, 4096> m_keyMemos;
    // Cached results by child count, for objects and arrays.
    std::vector<std::optional<bool>> m_objectMemos;
    std::vector<std::optional<bool>> m_arrayMemos;
    std::optional<bool> m_nullMemo;
    std::array<std::optional<bool>, 2> m_booleanMemos;
};
