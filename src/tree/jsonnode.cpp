#include "tree/jsonnode.h"

#include "tree/nodeallocator.h"
#include "tree/nodesource.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

inline void prefetch(const void *address)
{
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    Q_UNUSED(address);
#endif
}

} // namespace

JsonNode::JsonNode(QString key, QVariant value, JsonNodeType type, JsonNode *parent)
    : m_parent(parent)
    , m_key(std::move(key))
    , m_value(std::move(value))
    , m_type(type)
{
}

// Under AddressSanitizer every node gets memory of its own, so that a node
// used after it was destroyed is caught, which a reused slot would hide.
#if defined(__SANITIZE_ADDRESS__)
#define MARBLETRELLIS_NODE_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MARBLETRELLIS_NODE_POOL 0
#endif
#endif
#ifndef MARBLETRELLIS_NODE_POOL
#define MARBLETRELLIS_NODE_POOL 1
#endif

#if MARBLETRELLIS_NODE_POOL
namespace {

NodeAllocator &nodeAllocator()
{
    // Never destroyed: nodes may outlive every other static object.
    static auto *allocator = new NodeAllocator(sizeof(JsonNode));
    return *allocator;
}

} // namespace
#endif

void *JsonNode::operator new(std::size_t size)
{
#if MARBLETRELLIS_NODE_POOL
    Q_ASSERT(size == sizeof(JsonNode));
    Q_UNUSED(size);
    return nodeAllocator().allocate();
#else
    return ::operator new(size);
#endif
}

void JsonNode::operator delete(void *node) noexcept
{
#if MARBLETRELLIS_NODE_POOL
    nodeAllocator().deallocate(node);
#else
    ::operator delete(node);
#endif
}

JsonNode::~JsonNode()
{
    dropUnmadeChildren();
    // Detach each descendant's children before deleting it, so no destructor
    // ever recurses. Nodes go in document order, the order they were made
    // in, and each is fetched a few nodes ahead: a large tree is read as one
    // stream instead of one cache miss per node.
    constexpr size_t fetchAhead = 8;
    std::vector<JsonNode *> pending(m_children.crbegin(), m_children.crend());
    while (!pending.empty()) {
        JsonNode *node = pending.back();
        pending.pop_back();
        if (pending.size() > fetchAhead)
            prefetch(pending[pending.size() - 1 - fetchAhead]);
        pending.insert(pending.end(), node->m_children.crbegin(), node->m_children.crend());
        node->m_children.clear();
        delete node;
    }
}

void JsonNode::setUnmadeChildren(NodeSource *source, const void *value)
{
    Q_ASSERT(m_children.isEmpty() && !m_unmade);
    source->ref();
    m_source = source;
    m_unmade = value;
}

int JsonNode::unmadeChildCount() const
{
    return m_source->childCount(m_unmade);
}

int JsonNode::unmadeNestingDepth(int limit) const
{
    return m_unmade ? m_source->nestingDepth(m_unmade, limit) : 0;
}

void JsonNode::makeChildren() const
{
    NodeSource *source = std::exchange(m_source, nullptr);
    const void *value = std::exchange(m_unmade, nullptr);
    source->makeChildren(const_cast<JsonNode *>(this), value);
    source->deref();
}

void JsonNode::dropUnmadeChildren()
{
    if (!m_unmade)
        return;
    m_unmade = nullptr;
    std::exchange(m_source, nullptr)->deref();
}

void JsonNode::reserveChildren(int count)
{
    m_children.reserve(count);
}

void JsonNode::appendChild(JsonNode *child)
{
    if (m_unmade)
        makeChildren();
    child->m_row = int(m_children.size());
    m_children.append(child);
    child->m_parent = this;
}

void JsonNode::insertChild(int row, JsonNode *child)
{
    if (m_unmade)
        makeChildren();
    if (row < 0 || row > m_children.size()) {
        appendChild(child);
        return;
    }
    m_children.insert(row, child);
    child->m_parent = this;
    updateRowsFrom(row);
}

int JsonNode::row() const
{
    if (!m_parent)
        return 0;
    // The remembered row is right for every node its parent holds; a scan
    // remains for a node that names a parent which does not hold it.
    if (m_parent->m_children.value(m_row) == this)
        return m_row;
    return int(m_parent->m_children.indexOf(const_cast<JsonNode *>(this)));
}

void JsonNode::removeChild(int row)
{
    delete takeChild(row);
}

JsonNode *JsonNode::takeChild(int row)
{
    if (m_unmade)
        makeChildren();
    if (row < 0 || row >= m_children.size())
        return nullptr;
    JsonNode *child = m_children.takeAt(row);
    child->m_parent = nullptr;
    updateRowsFrom(row);
    return child;
}

void JsonNode::swapChildren(JsonNode *other)
{
    // Unmade children change hands unmade.
    std::swap(m_source, other->m_source);
    std::swap(m_unmade, other->m_unmade);
    m_children.swap(other->m_children);
    for (JsonNode *child : m_children)
        child->m_parent = this;
    for (JsonNode *child : other->m_children)
        child->m_parent = other;
}

void JsonNode::updateRowsFrom(int row)
{
    for (qsizetype i = row; i < m_children.size(); ++i)
        m_children[i]->m_row = int(i);
}

void JsonNode::setKey(const QString &key)
{
    m_key = key;
}

void JsonNode::setValue(const QVariant &value)
{
    m_value = value;
}

void JsonNode::setType(JsonNodeType type)
{
    m_type = type;
}

void JsonNode::swapContent(JsonNode *other)
{
    m_key.swap(other->m_key);
    m_value.swap(other->m_value);
    std::swap(m_type, other->m_type);
}

JsonNode *JsonNode::clone(JsonNode *parent) const
{
    // Unmade children are not made for a copy: the copy shares their source.
    const auto copyUnmade = [](const JsonNode *source, JsonNode *target) {
        if (source->m_unmade)
            target->setUnmadeChildren(source->m_source, source->m_unmade);
    };
    auto *copy = new JsonNode(m_key, m_value, m_type, parent);
    copyUnmade(this, copy);
    // Depth first, so that the copies are made, and lie, in document order.
    struct Frame
    {
        const JsonNode *source;
        JsonNode *target;
        qsizetype next;
    };
    std::vector<Frame> stack {{this, copy, 0}};
    copy->m_children.reserve(m_children.size());
    while (!stack.empty()) {
        Frame &frame = stack.back();
        if (frame.next == frame.source->m_children.size()) {
            stack.pop_back();
            continue;
        }
        const JsonNode *child = frame.source->m_children.at(frame.next++);
        auto *childCopy = new JsonNode(child->m_key, child->m_value, child->m_type);
        frame.target->appendChild(childCopy);
        copyUnmade(child, childCopy);
        if (!child->m_children.isEmpty()) {
            childCopy->m_children.reserve(child->m_children.size());
            stack.push_back({child, childCopy, 0});
        }
    }
    return copy;
}

QVariant JsonNode::numberFromText(const QString &typed)
{
    // White space around the number and a leading "+" are no part of it, and
    // leading zeros of an integer change nothing: without them the integer
    // keeps every digit, however long.
    QStringView text = QStringView(typed).trimmed();
    if (text.size() > 1 && text.front() == u'+' && text.at(1) != u'-' && text.at(1) != u'+')
        text = text.sliced(1);
    QString number = text.toString();
    const qsizetype sign = number.startsWith(u'-') ? 1 : 0;
    qsizetype zeros = 0;
    while (sign + zeros + 1 < number.size() && number.at(sign + zeros) == u'0')
        ++zeros;
    if (isIntegerText(QStringView(number).sliced(sign + zeros)))
        number.remove(sign, zeros);

    bool ok = false;
    const qint64 integer = number.toLongLong(&ok, 10);
    if (ok)
        return QVariant::fromValue(integer);
    const quint64 unsignedInteger = number.toULongLong(&ok, 10);
    if (ok)
        return QVariant::fromValue(unsignedInteger);
    if (isIntegerText(number))
        return number;
    const double real = number.toDouble(&ok);
    if (ok && std::isfinite(real))
        return QVariant(real);
    return {};
}

bool JsonNode::isIntegerText(QStringView text)
{
    const QStringView digits = text.startsWith(u'-') ? text.sliced(1) : text;
    if (digits.isEmpty() || (digits.size() > 1 && digits.front() == u'0'))
        return false;
    return std::all_of(digits.begin(), digits.end(),
                       [](QChar c) { return c >= u'0' && c <= u'9'; });
}
