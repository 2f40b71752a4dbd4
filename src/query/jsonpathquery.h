#pragma once

#include "query/querynumber.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

struct JsonPathFilter;

// One selector of a segment: `name`, `*`, an index, a slice or a filter.
struct JsonPathSelector
{
    enum class Kind { Name, Wildcard, Index, Slice, Filter };

    Kind kind = Kind::Wildcard;
    // Name: the member's name, also in UTF-8 as parsed documents hold it.
    QString name;
    QByteArray utf8Name;
    // Index; the slice's start, end and step.
    qint64 index = 0;
    std::optional<qint64> start;
    std::optional<qint64> end;
    qint64 step = 1;
    std::shared_ptr<const JsonPathFilter> filter;
};

struct JsonPathSegment
{
    bool descendant = false;
    std::vector<JsonPathSelector> selectors;
};

// A query: `$` or `@`, then its segments.
struct JsonPathQuery
{
    bool relative = false;
    std::vector<JsonPathSegment> segments;

    // Whether it selects at most one node: names and indexes only, one per
    // segment, no descendant segment.
    bool isSingular() const;
};

// A literal of a filter expression.
struct JsonPathLiteral
{
    enum class Kind { String, Number, True, False, Null };

    Kind kind = Kind::Null;
    QByteArray utf8; // a string, in UTF-8: its byte order is the code points' order
    QueryNumber number;
};

// A node of a filter expression's syntax tree.
struct JsonPathFilter
{
    enum class Kind { Or, And, Not, Comparison, Literal, Query, Function };
    enum class Comparison { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };
    enum class Function { Length, Count, Match, Search, Value };

    Kind kind = Kind::Literal;
    // Or, And: two or more; Not: one; Comparison: two; Function: its arguments.
    std::vector<std::unique_ptr<JsonPathFilter>> operands;
    Comparison comparison = Comparison::Equal;
    Function function = Function::Length;
    JsonPathLiteral literal;
    JsonPathQuery query;
    // match() and search() with a string literal as their pattern compile it
    // once; nullopt when the pattern comes from the document.
    std::optional<QRegularExpression> regularExpression;
};
