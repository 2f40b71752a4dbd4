#include "model/jsonnode.h"

#include <QTest>

#include <memory>

namespace {

JsonNode *number(const QString &key, qint64 value)
{
    return new JsonNode(key, QVariant::fromValue(value), JsonNodeType::Number);
}

QStringList keysOf(const JsonNode &node)
{
    QStringList keys;
    for (int row = 0; row < node.childCount(); ++row)
        keys << node.child(row)->key();
    return keys;
}

// Every parent link below `node` points at the node whose children hold it.
bool linksConsistent(const JsonNode *node)
{
    for (int row = 0; row < node->childCount(); ++row) {
        const JsonNode *child = node->child(row);
        if (child->parent() != node || child->row() != row || !linksConsistent(child))
            return false;
    }
    return true;
}

} // namespace

class TestJsonNode : public QObject
{
    Q_OBJECT

private slots:
    void insertAndAppend();
    void takeAndRemove();
    void cloneIsDeepAndRelinked();
    void deepChainsCostNoCallStack();
};

void TestJsonNode::insertAndAppend()
{
    JsonNode node(QString(), {}, JsonNodeType::Array);
    node.appendChild(number(QStringLiteral("b"), 2));
    node.insertChild(0, number(QStringLiteral("a"), 1));
    node.insertChild(2, number(QStringLiteral("d"), 4));
    node.insertChild(2, number(QStringLiteral("c"), 3));
    node.insertChild(-1, number(QStringLiteral("e"), 5)); // out of range: appended
    node.insertChild(99, number(QStringLiteral("f"), 6));
    QCOMPARE(keysOf(node), QStringList({"a", "b", "c", "d", "e", "f"}));
    QVERIFY(linksConsistent(&node));
    QCOMPARE(node.child(-1), nullptr);
    QCOMPARE(node.child(6), nullptr);

    JsonNode detached(QString(), {}, JsonNodeType::Null, &node); // not among node's children
    QCOMPARE(detached.row(), -1);
}

void TestJsonNode::takeAndRemove()
{
    JsonNode node(QString(), {}, JsonNodeType::Array);
    for (int i = 0; i < 4; ++i)
        node.appendChild(number(JsonNode::positionLabel(i), i));

    std::unique_ptr<JsonNode> taken(node.takeChild(1));
    QCOMPARE(taken->key(), QStringLiteral("[1]"));
    QCOMPARE(taken->parent(), nullptr);
    QCOMPARE(node.takeChild(3), nullptr);
    QCOMPARE(node.takeChild(-1), nullptr);

    node.removeChild(0);
    node.removeChild(5); // out of range: nothing
    QCOMPARE(keysOf(node), QStringList({"[2]", "[3]"}));
    QVERIFY(linksConsistent(&node));

    // A taken node put back elsewhere knows its new row.
    node.insertChild(1, taken.release());
    QCOMPARE(keysOf(node), QStringList({"[2]", "[1]", "[3]"}));
    QVERIFY(linksConsistent(&node));
}

void TestJsonNode::cloneIsDeepAndRelinked()
{
    JsonNode source(QStringLiteral("top"), {}, JsonNodeType::Object);
    auto *list = new JsonNode(QStringLiteral("list"), {}, JsonNodeType::Array);
    source.appendChild(list);
    auto *inner = new JsonNode(JsonNode::positionLabel(0), {}, JsonNodeType::Array);
    list->appendChild(inner);
    inner->appendChild(number(JsonNode::positionLabel(0), 7));
    list->appendChild(new JsonNode(JsonNode::positionLabel(1), true, JsonNodeType::Boolean));

    JsonNode parent(QStringLiteral("p"), {}, JsonNodeType::Object);
    std::unique_ptr<JsonNode> copy(source.clone(&parent));
    QCOMPARE(copy->parent(), &parent);
    QCOMPARE(copy->key(), QStringLiteral("top"));
    QCOMPARE(copy->childCount(), 1);
    const JsonNode *copiedList = copy->child(0);
    QVERIFY(copiedList != list);
    QCOMPARE(keysOf(*copiedList), QStringList({"[0]", "[1]"}));
    QCOMPARE(copiedList->child(0)->child(0)->value(), QVariant::fromValue(qint64(7)));
    QCOMPARE(copiedList->child(1)->type(), JsonNodeType::Boolean);
    QVERIFY(linksConsistent(copy.get()));

    // The copy is independent of its source.
    inner->setValue(QStringLiteral("changed"));
    list->removeChild(0);
    QCOMPARE(copiedList->childCount(), 2);
    QCOMPARE(copiedList->child(0)->value(), QVariant());
}

void TestJsonNode::deepChainsCostNoCallStack()
{
    // Far deeper than any call stack would take with one frame per level.
    constexpr int depth = 1000000;
    auto *top = new JsonNode(QString(), {}, JsonNodeType::Array);
    JsonNode *tail = top;
    for (int i = 0; i < depth; ++i) {
        auto *next = new JsonNode(JsonNode::positionLabel(0), {}, JsonNodeType::Array);
        tail->appendChild(next);
        tail = next;
    }
    std::unique_ptr<JsonNode> copy(top->clone());
    delete top;
    int levels = 0;
    for (const JsonNode *node = copy.get(); node->childCount() > 0; node = node->child(0))
        ++levels;
    QCOMPARE(levels, depth);
}

QTEST_GUILESS_MAIN(TestJsonNode)
#include "tst_jsonnode.moc"
