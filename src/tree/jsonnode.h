#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <cstddef>
#include <vector>

class NodeSource;

// The kinds of node. The numbers are stored as item data by the Add Item
// dialog and must never change.
enum class JsonNodeType : qint32 {
    None = 0, // the invisible root only
    Object = 1,
    Array = 2,
    String = 3,
    Number = 4,
    Boolean = 5,
    Null = 6,
};

// One value of a JSON document. A plain record: it knows nothing of models or
// views, owns its children and destroys them with itself.
//
// Building, copying and destroying walk the tree with an explicit stack, so a
// document nested thousands of levels deep costs heap, not call stack.
class JsonNode
{
public:
    JsonNode(QString key, QVariant value, JsonNodeType type, JsonNode *parent = nullptr);
    ~JsonNode();

    Q_DISABLE_COPY_MOVE(JsonNode)

    // Nodes come from a pool of their own: a document holds millions of them.
    static void *operator new(std::size_t size);
    static void operator delete(void *node) noexcept;

    void reserveChildren(int count);
    void appendChild(JsonNode *child);
    void insertChild(int row, JsonNode *child);
    // Inline: every walk of the tree calls these once per node.
    JsonNode *child(int row) const
    {
        if (m_unmade)
            makeChildren();
        return row >= 0 && row < m_children.size() ? m_children.at(row) : nullptr;
    }
    int childCount() const { return m_unmade ? unmadeChildCount() : int(m_children.size()); }

    // Leaves the children of this empty container to be made from `value`
    // of `source` when first asked for; the node holds a reference to the
    // source until then.
    void setUnmadeChildren(NodeSource *source, const void *value);
    // The source's handle for the children not made yet; null once they are.
    const void *unmadeChildren() const { return m_unmade; }
    // The source they will be made from; null once they are made.
    NodeSource *unmadeSource() const { return m_source; }
    // How many levels of containers the unmade children nest (0 when made),
    // as exact as NodeSource::nestingDepth() is up to `limit`.
    int unmadeNestingDepth(int limit) const;
    int row() const;
    void removeChild(int row);
    JsonNode *takeChild(int row);
    // Trades all children with `other`, each keeping its row: the cost is one
    // step per child, however many there are.
    void swapChildren(JsonNode *other);

    const QString &key() const { return m_key; }
    void setKey(const QString &key);
    const QVariant &value() const { return m_value; }
    void setValue(const QVariant &value);
    JsonNodeType type() const { return m_type; }
    bool isContainer() const
    {
        return m_type == JsonNodeType::Object || m_type == JsonNodeType::Array;
    }
    void setType(JsonNodeType type);
    // Trades key, value and type with `other`; the children stay where they are.
    void swapContent(JsonNode *other);
    JsonNode *parent() const { return m_parent; }

    JsonNode *clone(JsonNode *parent = nullptr) const;

    // Where this node sits in its document, in the form jq takes: ".", then
    // ".key" for a member named like an identifier, ["key"] for any other
    // member, [i] for an array element. Its cost grows with the depth only.
    QString path() const;
    // Where this node sits in the form of JSONPath's normalized paths
    // (RFC 9535): "$", then ['key'] for a member and [i] for an element.
    QString normalizedPath() const;

    // The text as a JSON string: quotation marks, backslashes and control
    // characters escaped, everything else as it is.
    static QString quoted(QStringView text);

    // The key an array element carries: "[0]", "[1]", ...
    static QString positionLabel(qsizetype position);

    // A Number's value from typed text, read without surrounding white space,
    // a leading "+" or an integer's leading zeros: a 64-bit integer (unsigned only above
    // the signed range), the digits of a longer integer, which are kept as
    // they are, or a finite double. Invalid for text that is no such number.
    static QVariant numberFromText(const QString &text);
    // Whether the text is an integer as JSON writes one: "-" and digits,
    // without leading zeros.
    static bool isIntegerText(QStringView text);

private:
    // The nodes from this one up to the top-level value, this one first.
    std::vector<const JsonNode *> stepsFromTop() const;
    void updateRowsFrom(int row);
    // Makes the unmade children. Const, like the reads that need them: the
    // node's content is the same before and after.
    void makeChildren() const;
    void dropUnmadeChildren();
    int unmadeChildCount() const;

    // Mutable for makeChildren() only.
    mutable QList<JsonNode *> m_children;
    mutable NodeSource *m_source = nullptr;
    mutable const void *m_unmade = nullptr;
    JsonNode *m_parent;
    QString m_key;
    QVariant m_value;
    JsonNodeType m_type;
    // Where this node sat in its parent's children when last placed or
    // shifted: row() looks there first, so finding a row costs no scan.
    int m_row = 0;
};
