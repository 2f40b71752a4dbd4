#pragma once

#include "query/queryvalue.h"

#include <QtGlobal>

#include <deque>
#include <vector>

class JsonNode;
class NodeSource;

// The values a query selected, in its order, kept as QueryValue: a node is
// made only when asked for. Valid while the document is unchanged.
class QueryResults
{
public:
    QueryResults() = default;
    ~QueryResults();
    Q_DISABLE_COPY_MOVE(QueryResults)

    qsizetype size() const { return qsizetype(m_values.size()); }
    bool isEmpty() const { return m_values.empty(); }
    const QueryValue &at(qsizetype i) const { return m_values[size_t(i)]; }
    void append(const QueryValue &value);
    void clear();
    void swap(QueryResults &other) noexcept
    {
        m_values.swap(other.m_values);
        m_sources.swap(other.m_sources);
        m_lastWalk.swap(other.m_lastWalk);
    }

    // The node of result `i`, made with the nodes on its way when it was
    // not made yet.
    JsonNode *node(qsizetype i);

private:
    // One step of the last walk down the parsed values: results come mostly
    // in document order, so the next walk starts where this one stopped.
    struct Step
    {
        yyjson_val *container;
        yyjson_val *child;
        int row;
    };

    std::deque<QueryValue> m_values;
    // The sources of the parsed values held: they must outlive the results,
    // even once every node made from them is gone.
    std::vector<NodeSource *> m_sources;
    std::vector<Step> m_lastWalk;
};
