#include "fixture.h"

#include "model/jsonnode.h"
#include "model/nodeallocator.h"
#include "model/preordercursor.h"
#include "model/textpool.h"

#include <QApplication>
#include <QTest>

#include <set>

class Testnodetree : public QObject
{
    Q_OBJECT

private slots:
    void childrenAndClones()
    {
        JsonNode n(QString(), {}, JsonNodeType::Object);
        const auto keys = [&n] { // "!" for a child wrong about its parent or row
            QString keys;
            for (int r = 0; const JsonNode *c = n.child(r); ++r)
                keys += c->row() == r && c->parent() == &n ? c->key() : "!";
            return keys;
        };
        for (const char *k : {"b0", "a0", "d2", "c2", "e-1", "f6"}) // -1 and 6: appended
            n.insertChild(QByteArray(k + 1).toInt(), new JsonNode(QString(k[0]), {}, {}));
        QCOMPARE(keys(), QStringLiteral("abcdef"));
        QVERIFY(!n.child(6) && !n.child(-1));
        JsonNode *taken = n.takeChild(1);
        QVERIFY(!taken->parent() && !n.takeChild(5) && !n.takeChild(-1));
        n.removeChild(0);
        n.insertChild(2, taken);
        QCOMPARE(keys(), QStringLiteral("cdbef"));
        QCOMPARE(JsonNode(QString(), {}, {}, &n).row(), -1); // not among its children

        const QString text = QStringLiteral(R"({"l":[{"n":7,"e":[]},true,null,"s",-2.5],"o":{}})");
        ModelFixture source(text), copied;
        JsonNode *copy = JsonTreeModel::nodeForIndex(source.at({0}))->clone(&n);
        QCOMPARE(copy->parent(), &n);
        QVERIFY(source.model.removeRows(0, 1, source.at({0, 0})));
        QVERIFY(source.model.setData(source.at({0, 0, 0}, 1), false));
        QVERIFY(copied.model.setDocument(copy));
        QCOMPARE(copied.compact(), text);
        std::unique_ptr<JsonNode> deep(new JsonNode(QString(), {}, {}));
        JsonNode *tail = deep.get();
        for (int i = 0; i < 1000000; ++i, tail = tail->child(0)) // deeper than a call stack goes
            tail->appendChild(new JsonNode(QString(), {}, {}));
        deep.reset(deep->clone());
    }

    void pools()
    {
        NodeAllocator allocator(96);
        QList<void *> records(allocator.slotsPerBlock() * 3);
        for (void *&record : records)
            record = allocator.allocate();
        const std::multiset<void *> sorted(records.begin(), records.end());
        for (auto i = std::next(sorted.begin()); i != sorted.end(); ++i) // none overlaps the next
            QVERIFY(static_cast<char *>(*i) - static_cast<char *>(*std::prev(i)) >= 96);
        for (qsizetype i = 0; i < records.size(); i += 2)
            allocator.deallocate(records[i]);
        for (qsizetype i = 0; i < records.size(); i += 2)
            records[i] = allocator.allocate();
        QVERIFY(std::multiset<void *>(records.begin(), records.end()) == sorted);
        QCOMPARE(allocator.blockCount(), 3);
        for (void *record : records) // emptied blocks go back, all but one
            allocator.deallocate(record);
        allocator.deallocate(allocator.allocate());
        QCOMPARE(allocator.blockCount(), 1);

        TextPool pool; // pools texts of up to 4 bytes here
        const auto text = [&pool](const QByteArray &t) { return pool.text(t, t.size(), 4); };
        for (const char *utf8 : {"", "a", "b", "é", "abcd", "abcde", "a", "é", "abcde"})
            QCOMPARE(text(utf8), QString::fromUtf8(utf8));
        QCOMPARE(text("\xEF\xBB\xBFx"), QStringLiteral("\uFEFFx"));
        QCOMPARE(text("abcd").constData(), text("abcd").constData());
        QVERIFY(text("abcde").constData() != text("abcde").constData());
    }

    void cursorWalk()
    {
        ModelFixture f(R"({"a":1,"b":{"c":{"e":{"f":2,"g":{}}},"h":[]},"i":{"j":3}})");
        PreorderCursor cursor(&f.model);
        QString walk;
        for (cursor.moveToFirst(); cursor.isValid(); cursor.next())
            walk += cursor.index().data().toString() + '.';
        cursor.next(); // off the end stays off
        for (cursor.moveToLast(); cursor.isValid(); cursor.previous())
            walk += cursor.index().data().toString() + '.';
        cursor.previous();
        QCOMPARE(cursor.index(1), QModelIndex());
        QCOMPARE(walk, QStringLiteral(".a.b.c.e.f.g.h.i.j.j.i.h.g.f.e.c.b.a.."));
        cursor.moveTo(f.at({0, 1, 0}, 1));
        cursor.next();
        QCOMPARE(cursor.index(1), f.at({0, 1, 0, 0}, 1));
    }
};

MARBLETRELLIS_TEST_MAIN(Testnodetree)
#include "tst_nodetree.moc"
