#include "fixture.h"

#include "io/jsonreader.h"
#include "io/jsonwriter.h"
#include "model/jsonnode.h"
#include "model/nodeallocator.h"
#include "model/preordercursor.h"
#include "model/textpool.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

#include <set>
#include <vector>

namespace {

// The keys below `node`, nested in brackets; "!" marks a child that names
// another parent or does not know its row.
QString shape(const JsonNode &node)
{
    QStringList parts;
    for (int row = 0; row < node.childCount(); ++row) {
        const JsonNode *child = node.child(row);
        const bool linked = child->parent() == &node && child->row() == row;
        parts << (linked ? QString() : QStringLiteral("!")) + child->key() + shape(*child);
    }
    return parts.isEmpty() ? QString() : '(' + parts.join(' ') + ')';
}

} // namespace

class Testnodetree : public QObject
{
    Q_OBJECT

private slots:
    void childrenKeepTheirRows()
    {
        const auto leaf
                = [](char key) { return new JsonNode(QString(key), 1, JsonNodeType::Number); };
        JsonNode node(QString(), {}, JsonNodeType::Object);
        node.appendChild(leaf('b'));
        node.insertChild(0, leaf('a'));
        node.insertChild(2, leaf('d')); // at the end
        node.insertChild(2, leaf('c'));
        node.insertChild(-1, leaf('e')); // out of range: appended
        node.insertChild(6, leaf('f'));
        QCOMPARE(shape(node), QStringLiteral("(a b c d e f)"));
        QVERIFY(!node.child(6) && !node.child(-1));

        JsonNode *taken = node.takeChild(1);
        QCOMPARE(taken->parent(), nullptr);
        QVERIFY(!node.takeChild(5) && !node.takeChild(-1));
        node.removeChild(0);
        node.removeChild(4); // out of range: nothing
        QCOMPARE(shape(node), QStringLiteral("(c d e f)"));
        node.insertChild(2, taken);
        QCOMPARE(shape(node), QStringLiteral("(c d b e f)"));

        const JsonNode stray(QString(), {}, JsonNodeType::Null, &node); // not among its children
        QCOMPARE(stray.row(), -1);
    }

    void cloneIsDeepAndIndependent()
    {
        const QByteArray text = R"({"l":[{"n":7,"e":[]},true,null,"s",-2.5],"o":{}})";
        QString error;
        std::unique_ptr<JsonNode> source(JsonReader::parse(text, &error));
        source->setKey(QStringLiteral("top"));
        JsonNode parent(QString(), {}, JsonNodeType::Object);
        std::unique_ptr<JsonNode> copy(source->clone(&parent));
        QCOMPARE(copy->parent(), &parent);
        QCOMPARE(copy->key(), QStringLiteral("top"));
        QCOMPARE(shape(*copy), QStringLiteral("(l([0](n e) [1] [2] [3] [4]) o)"));
        QCOMPARE(JsonWriter::toText(copy.get(), false), QString::fromLatin1(text));

        source->child(0)->child(0)->removeChild(0);
        source->child(0)->child(1)->setValue(false);
        QCOMPARE(JsonWriter::toText(copy.get(), false), QString::fromLatin1(text));
    }

    void deepTreeClonedAndDestroyed()
    {
        // Far deeper than a call stack would take with a frame per level.
        constexpr int depth = 1000000;
        auto *top = new JsonNode(QString(), {}, JsonNodeType::Array);
        JsonNode *tail = top;
        for (int i = 0; i < depth; ++i, tail = tail->child(0))
            tail->appendChild(new JsonNode(QString(), {}, JsonNodeType::Array));
        std::unique_ptr<JsonNode> copy(top->clone());
        delete top;
        int levels = 0;
        for (const JsonNode *node = copy.get(); node->childCount() > 0; node = node->child(0))
            ++levels;
        QCOMPARE(levels, depth);
    }

    void allocatorReusesSlotsAndReturnsBlocks()
    {
        NodeAllocator allocator(96);
        std::vector<void *> records(allocator.slotsPerBlock() * 3);
        for (void *&slot : records)
            slot = allocator.allocate();
        const std::set<void *> distinct(records.begin(), records.end());
        QCOMPARE(distinct.size(), records.size());
        for (auto it = std::next(distinct.begin()); it != distinct.end(); ++it)
            QVERIFY(static_cast<char *>(*it) - static_cast<char *>(*std::prev(it)) >= 96);
        QCOMPARE(allocator.blockCount(), 3);

        // Freed slots, in every block, are handed out again before any new block.
        for (std::size_t i = 0; i < records.size(); i += 2)
            allocator.deallocate(records[i]);
        for (std::size_t i = 0; i < records.size(); i += 2)
            records[i] = allocator.allocate();
        QVERIFY(std::set<void *>(records.begin(), records.end()) == distinct);
        QCOMPARE(allocator.blockCount(), 3);

        // Emptied blocks go back, all but one, whatever the order.
        std::rotate(records.begin(), records.begin() + records.size() / 3, records.end());
        for (void *slot : records)
            allocator.deallocate(slot);
        QCOMPARE(allocator.blockCount(), 1);
        allocator.deallocate(allocator.allocate());
        allocator.deallocate(allocator.allocate());
        QCOMPARE(allocator.blockCount(), 1);
    }

    void textPool()
    {
        TextPool pool; // pools texts of up to 4 bytes here
        const auto text = [&pool](const QByteArray &utf8) {
            return pool.text(utf8.constData(), utf8.size(), 4);
        };
        // Each asked for twice, pooled or not.
        for (const QByteArray &utf8 :
             QByteArrayList {"", "\0"_qba, "a", "b", "é", "abcd", "abcde"}) {
            QCOMPARE(text(utf8), QString::fromUtf8(utf8));
            QCOMPARE(text(utf8), QString::fromUtf8(utf8));
        }
        // At the start of a text U+FEFF is a character, not a mark to drop.
        QCOMPARE(text("\xEF\xBB\xBFx"), QStringLiteral("\uFEFFx"));
        QCOMPARE(text("\xEF\xBB\xBFxyz"), QStringLiteral("\uFEFFxyz"));
        QCOMPARE(text("abcd").constData(), text("abcd").constData());
        QVERIFY(text("abcde").constData() != text("abcde").constData());
    }

    void cursorWalk()
    {
        ModelFixture f(QStringLiteral(R"({"a":1,"b":{"c":[3,[4,[]],{}]},"d":[6]})"));
        PreorderCursor cursor(&f.model);
        const auto line = [&cursor] {
            return cursor.index().data().toString() + " = " + cursor.index(1).data().toString();
        };
        // Document order is the order of the dump's lines, indent aside.
        QStringList forward, backward, dump = dumpTree(f.model);
        for (cursor.moveToFirst(); cursor.isValid(); cursor.next())
            forward << line();
        cursor.next(); // off the end stays off
        QVERIFY(!cursor.isValid());
        for (cursor.moveToLast(); cursor.isValid(); cursor.previous())
            backward.prepend(line());
        cursor.previous();
        QCOMPARE(cursor.index(1), QModelIndex());
        const QRegularExpression indent(QStringLiteral("^ +"));
        QCOMPARE(forward.replaceInStrings(indent, {}), dump.replaceInStrings(indent, {}));
        QCOMPARE(backward.replaceInStrings(indent, {}), dump);

        cursor.moveTo(f.at({0, 1, 0}, 1));
        QCOMPARE(cursor.node(), nodeOf(f.at({0, 1, 0})));
        QCOMPARE(cursor.index(), f.at({0, 1, 0}));
        cursor.next();
        QCOMPARE(cursor.index(1), f.at({0, 1, 0, 0}, 1));
        cursor.moveTo({});
        QVERIFY(!cursor.isValid());
    }
};

MARBLETRELLIS_TEST_MAIN(Testnodetree)
#include "tst_nodetree.moc"
