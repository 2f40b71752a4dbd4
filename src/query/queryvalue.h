#pragma once

class JsonNode;
struct yyjson_val;

// A value a query reads: a made node, or a parsed value below a node whose
// children are not made yet. Reading a parsed value makes no node, so a
// query over a document of gigabytes costs what its results cost.
//
// Three pointers: a query's results are kept in this form, millions of them.
class QueryValue
{
public:
    QueryValue() = default;
    explicit QueryValue(JsonNode *node)
        : m_node(node)
    {
    }
    // `value` lies below `anchor`, whose unmade children are `container`.
    QueryValue(JsonNode *anchor, yyjson_val *container, yyjson_val *value)
        : m_node(anchor)
        , m_container(container)
        , m_value(value)
    {
    }

    bool isNull() const { return !m_node; }
    // The node when it is made; null for a parsed value.
    JsonNode *madeNode() const { return m_value ? nullptr : m_node; }
    // For a parsed value: the nearest made node above it, that node's
    // parsed container and the value itself.
    JsonNode *anchor() const { return m_node; }
    yyjson_val *container() const { return m_container; }
    yyjson_val *parsedValue() const { return m_value; }

    friend bool operator==(const QueryValue &a, const QueryValue &b)
    {
        return a.m_node == b.m_node && a.m_value == b.m_value;
    }

private:
    JsonNode *m_node = nullptr;
    yyjson_val *m_container = nullptr;
    yyjson_val *m_value = nullptr;
};
