#include "fixture.h"

#include "model/jsonnode.h"
#include "model/nodeallocator.h"
#include "model/preordercursor.h"
#include "model/textpool.h"

#include <QApplication>
#include <QTest>

#include <algorithm>

// The keys below `node`, nested; "!" marks a child that is wrong about its parent or row.
static QString shape(const JsonNode &node)
{
    QStringList parts;
    for (int row = 0; row < node.childCount(); ++row) {
        const JsonNode *child = node.child(row);
        const bool linked = child->parent() == &node && child->row() == row;
        parts << (linked ? QString() : QStringLiteral("!")) + child->key() + shape(*child);
    }
    return parts.isEmpty() ? QString() : '(' + parts.join(' ') + ')';
}

class Testnodetree : public QObject
{
    Q_OBJECT

private slots:
    void childrenKeepTheirRows()
    {
        const auto leaf = [](char k) { return new JsonNode(QString(k), 1, JsonNodeType::Number); };
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
        QVERIFY(!taken->parent() && !node.takeChild(5) && !node.takeChild(-1));
        node.removeChild(0);
        node.removeChild(4); // out of range: nothing
        node.insertChild(2, taken);
        QCOMPARE(shape(node), QStringLiteral("(c d b e f)"));

        const JsonNode stray(QString(), {}, JsonNodeType::Null, &node); // not among its children
        QCOMPARE(stray.row(), -1);
    }

    void clone()
    {
        const QString text = QStringLiteral(R"({"l":[{"n":7,"e":[]},true,null,"s",-2.5],"o":{}})");
        ModelFixture source(text), copied;
        JsonNode parent(QString(), {}, JsonNodeType::Object);
        JsonNode *copy = nodeOf(source.at({0}))->clone(&parent);
        QCOMPARE(copy->parent(), &parent);
        QCOMPARE(shape(*copy), QStringLiteral("(l([0](n e) [1] [2] [3] [4]) o)"));
        QVERIFY(source.model.removeRows(0, 1, source.at({0, 0})));
        QVERIFY(source.model.setData(source.at({0, 0, 0}, 1), false));
        QVERIFY(copied.model.setDocument(copy));
        QCOMPARE(copied.compact(), text);

        // Far deeper than a call stack would take with a frame per level.
        constexpr int depth = 1000000;
        auto *top = new JsonNode(QString(), {}, JsonNodeType::Array);
        JsonNode *tail = top;
        for (int i = 0; i < depth; ++i, tail = tail->child(0))
            tail->appendChild(new JsonNode(QString(), {}, JsonNodeType::Array));
        std::unique_ptr<JsonNode> deep(top->clone());
        delete top;
        int levels = 0;
        for (const JsonNode *node = deep.get(); node->childCount() > 0; node = node->child(0))
            ++levels;
        QCOMPARE(levels, depth);
    }

    void allocatorReusesSlotsAndReturnsBlocks()
    {
        NodeAllocator allocator(96);
        QList<void *> records(allocator.slotsPerBlock() * 3);
        for (void *&record : records)
            record = allocator.allocate();
        QList<void *> sorted = records;
        std::sort(sorted.begin(), sorted.end());
        for (qsizetype i = 1; i < sorted.size(); ++i) // none overlaps the next
            QVERIFY(static_cast<char *>(sorted[i]) - static_cast<char *>(sorted[i - 1]) >= 96);
        // Freed slots, in every block, are handed out again before any new block.
        for (qsizetype i = 0; i < records.size(); i += 2)
            allocator.deallocate(records[i]);
        for (qsizetype i = 0; i < records.size(); i += 2)
            records[i] = allocator.allocate();
        std::sort(records.begin(), records.end());
        QVERIFY(records == sorted);
        QCOMPARE(allocator.blockCount(), 3);
        for (void *record : records) // emptied blocks go back, all but one
            allocator.deallocate(record);
        allocator.deallocate(allocator.allocate());
        QCOMPARE(allocator.blockCount(), 1);
    }

    void textPool()
    {
        TextPool pool; // pools texts of up to 4 bytes here
        const auto text = [&pool](const QByteArray &t) { return pool.text(t, t.size(), 4); };
        for (const char *utf8 : {"", "a", "b", "é", "abcd", "abcde", "a", "é", "abcde"})
            QCOMPARE(text(utf8), QString::fromUtf8(utf8));
        // At the start of a text U+FEFF is a character, not a mark to drop.
        QCOMPARE(text("\xEF\xBB\xBFx"), QStringLiteral("\uFEFFx"));
        QCOMPARE(text("\xEF\xBB\xBFxyz"), QStringLiteral("\uFEFFxyz"));
        QCOMPARE(text("abcd").constData(), text("abcd").constData());
        QVERIFY(text("abcde").constData() != text("abcde").constData());
    }

    void cursorWalk()
    {
        ModelFixture f(
                QStringLiteral(R"({"a":1,"b":{"c":{"e":{"f":2,"g":{}}},"h":[]},"i":{"j":3}})"));
        PreorderCursor cursor(&f.model);
        QString forward, backward;
        for (cursor.moveToFirst(); cursor.isValid(); cursor.next())
            forward += cursor.index().data().toString() + '.';
        cursor.next(); // off the end stays off
        for (cursor.moveToLast(); cursor.isValid(); cursor.previous())
            backward.prepend(cursor.index().data().toString() + '.');
        cursor.previous();
        QCOMPARE(cursor.index(1), QModelIndex());
        QCOMPARE(forward, QStringLiteral(".a.b.c.e.f.g.h.i.j."));
        QCOMPARE(backward, forward);

        cursor.moveTo(f.at({0, 1, 0}, 1));
        QCOMPARE(cursor.index(), f.at({0, 1, 0}));
        cursor.next();
        QCOMPARE(cursor.index(1), f.at({0, 1, 0, 0}, 1));
    }
};

MARBLETRELLIS_TEST_MAIN(Testnodetree)
#include "tst_nodetree.moc"
