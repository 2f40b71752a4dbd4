#pragma once

#include "query/queryvalue.h"

#include <QtGlobal>

#include <deque>
#include <vector>

class JsonNode;

// The values a query selected, in its order, kept as QueryValue: a node is
// made only when asked for. Valid while the document is unchanged.
class QueryResults
{
public:
    qsizetype size() const { return qsizetype(m_values.size()); }
    bool isEmpty() const { return m_values.empty(); }
    const QueryValue &at(qsizetype i) const { return m_values[size_t(i)]; }
    void append(const QueryValue &value) { m_values.push_back(value); }
    void clear();

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
    std::vector<Step> m_lastWalk;
};
