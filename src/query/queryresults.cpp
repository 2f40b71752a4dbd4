#include "query/queryresults.h"

#include "io/parseddocument.h"
#include "tree/jsonnode.h"
#include "tree/nodesource.h"

#include <algorithm>
#include <utility>

#include <yyjson.h>

QueryResults::~QueryResults()
{
    clear();
}

void QueryResults::append(const QueryValue &value)
{
    // Results come in runs below the same node: one look-up per run.
    if (value.parsedValue() && value.anchor() != m_lastAnchor) {
        m_lastAnchor = value.anchor();
        m_containers.insert(m_lastAnchor, value.container());
        // Its children are unmade: it has a source.
        NodeSource *source = m_lastAnchor->unmadeSource();
        if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end()) {
            source->ref();
            m_sources.push_back(source);
        }
    }
    m_values.push_back({value.anchor(), value.parsedValue()});
}

void QueryResults::clear()
{
    m_values.clear();
    m_containers.clear();
    m_lastAnchor = nullptr;
    m_lastWalk.clear();
    for (NodeSource *source : std::exchange(m_sources, {}))
        source->deref();
}

JsonNode *QueryResults::node(qsizetype i)
{
    const Entry &entry = m_values[size_t(i)];
    if (!entry.value)
        return entry.node;
    // The parsed values lie in document order, each container followed by
    // its subtree: the child on the way is the one whose subtree holds the
    // value. The nodes are made level by level on the way down.
    yyjson_val *const target = entry.value;
    JsonNode *node = entry.node;
    yyjson_val *container = m_containers.value(node);
    for (size_t depth = 0;; ++depth) {
        // A member's name comes before its value.
        const size_t nameSize = yyjson_is_obj(container) ? 1 : 0;
        Step step {container, container + 1 + nameSize, 0};
        if (depth < m_lastWalk.size() && m_lastWalk[depth].container == container
            && m_lastWalk[depth].child <= target)
            step = m_lastWalk[depth];
        while (target >= step.child + ParsedDocument::subtreeSize(step.child)) {
            step.child += ParsedDocument::subtreeSize(step.child) + nameSize;
            ++step.row;
        }
        m_lastWalk.resize(depth);
        m_lastWalk.push_back(step);
        node = node->child(step.row);
        if (step.child == target)
            return node;
        container = step.child;
    }
}
