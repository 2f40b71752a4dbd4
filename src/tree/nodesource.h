#pragma once

#include <QtGlobal>

class JsonNode;

// Where the children of a large document's containers come from: a container
// is made with its children left unmade, and they are made from the source
// when first asked for. The source lives while any node may still make
// children from it: every such node holds a reference.
//
// Not thread-safe, like the nodes themselves.
class NodeSource
{
public:
    // Appends to `node` the children that `value` (the source's own handle
    // for the container's content) holds.
    virtual void makeChildren(JsonNode *node, const void *value) = 0;
    // How many children `value` holds, without making them.
    virtual int childCount(const void *value) const = 0;
    // How many levels of containers the children of `value` nest, without
    // making them: 0 when none of them is a container. Only whether that is
    // more than `limit` counts: at most `limit` may stand for any depth up
    // to it, and more than `limit` for any depth beyond it.
    virtual int nestingDepth(const void *value, int limit) const = 0;

    void ref() { ++m_refs; }
    void deref()
    {
        if (--m_refs == 0)
            delete this;
    }

protected:
    NodeSource() = default;
    // Public in a source that may exist before any node refers to it.
    virtual ~NodeSource() = default;

private:
    Q_DISABLE_COPY_MOVE(NodeSource)

    qsizetype m_refs = 0;
};
