#pragma once

#include "query/queryvalue.h"

#include <QHash>
#include <QtGlobal>

#include <deque>
#include <utility>
#include <vector>

class JsonNode;
class NodeSource;

// The values a query selected, in its order, kept in 16 bytes each: a node
// is made only when asked for. Valid while the document is unchanged.
class QueryResults
{
public:
    QueryResults() = default;
    ~QueryResults();
    Q_DISABLE_COPY_MOVE(QueryResults)

    qsizetype size() const { return qsizetype(m_values.size()); }
    bool isEmpty() const { return m_values.empty(); }
    void append(const QueryValue &value);
    void clear();
    void swap(QueryResults &other) noexcept
    {
        m_values.swap(other.m_values);
        m_containers.swap(other.m_containers);
        std::swap(m_lastAnchor, other.m_lastAnchor);
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

    // A made node, or a parsed value and the made node above it: its
    // parsed container is the same for all of that node's values.
    struct Entry
    {
        JsonNode *node;
        yyjson_val *value;
    };

    std::deque<Entry> m_values;
    QHash<JsonNode *, yyjson_val *> m_containers;
    JsonNode *m_lastAnchor = nullptr;
    // The sources of the parsed values held: they must outlive the results,
    // even once every node made from them is gone.
    std::vector<NodeSource *> m_sources;
    std::vector<Step> m_lastWalk;
};
