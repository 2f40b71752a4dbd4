#pragma once

#include "query/jsonpathquery.h"
#include "query/queryvalue.h"
#include "query/queryvaluereader.h"

#include <QHash>

#include <functional>

// Runs a compiled query over a document, on made nodes and parsed values
// alike, passing each selected value on as soon as it is found: nothing in
// between is collected, so a query over a document of gigabytes holds no more
// than its results.
class JsonPathEvaluator
{
public:
    using Sink = std::function<void(const QueryValue &)>;

    // `keepGoing` is asked every few thousand values; once it says no, the
    // run ends as soon as it can.
    JsonPathEvaluator(JsonNode *top, const std::function<bool()> &keepGoing);

    // False when `keepGoing` stopped the run.
    bool run(const JsonPathQuery &query, const Sink &sink);

private:
    // Where the selected values go after a segment: through the query's
    // remaining segments, then to `sink`.
    struct Continuation
    {
        const std::vector<JsonPathSegment> *segments;
        size_t next;
        const Sink *sink;
    };
    // An operand of a comparison or a function: a literal, a computed
    // number, a node's value, or Nothing.
    struct Operand
    {
        enum class Kind { Nothing, Literal, Number, Node };
        Kind kind = Kind::Nothing;
        const JsonPathLiteral *literal = nullptr;
        QueryNumber number;
        QueryValue node;
    };

    void pass(const Continuation &continuation, const QueryValue &value);
    void applySegment(const JsonPathSegment &segment, const QueryValue &input,
                      const Continuation &continuation);
    // Whether a descendant segment may select anything from `value` or
    // below it; false only when it selects by names found nowhere there.
    static bool mayHoldNames(const JsonPathSegment &segment, const QueryValue &value);
    void applySelector(const JsonPathSelector &selector, const QueryValue &input,
                       const Continuation &continuation);
    void applySlice(const JsonPathSelector &selector, const QueryValue &array,
                    const Continuation &continuation);
    void select(const JsonPathQuery &query, const QueryValue &current, const Sink &sink);
    bool tick();

    bool test(const JsonPathFilter &filter, const QueryValue &current);
    Operand operand(const JsonPathFilter &filter, const QueryValue &current);
    static QueryValueReader::Type typeOf(const Operand &operand);
    static QByteArray textOf(const Operand &operand);
    static QueryNumber numberOf(const Operand &operand);
    static bool equal(const Operand &a, const Operand &b);
    static bool less(const Operand &a, const Operand &b);
    bool matches(const JsonPathFilter &call, const QueryValue &current);

    QueryValue m_top;
    std::function<bool()> m_keepGoing;
    int m_untilAsking = 0;
    bool m_stopped = false;
    // Patterns read from the document, compiled once each.
    QHash<QByteArray, QRegularExpression> m_patterns[2];
};
