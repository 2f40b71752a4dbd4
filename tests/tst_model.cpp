#include "fixture.h"

#include "io/jsonreader.h"
#include "search/preordercursor.h"
#include "tree/jsonnode.h"
#include "tree/nodeallocator.h"
#include "tree/textpool.h"

#include <unistd.h>

#include <set>

namespace {

// The address space the process has mapped, as the kernel counts it.
qint64 mappedBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE);
}

} // namespace

// What the model emitted, each with its parent's key ("-": the root): "-top
// 1..2" removed rows, "+top 1..1" inserted rows, "top (0,0)-(2,1)" changed cells.
struct Emitted
{
    static QString key(const QModelIndex &i) { return i.isValid() ? i.data().toString() : "-"; }
    QString text() const
    {
        QStringList lines;
        for (const QSignalSpy *spy : {&removed, &inserted})
            for (const QVariantList &a : *spy)
                lines << (spy == &removed ? '-' : '+') + key(a[0].toModelIndex())
                                + QString::asprintf(" %d..%d", a[1].toInt(), a[2].toInt());
        for (const QVariantList &a : changed) {
            const QModelIndex from = a[0].toModelIndex(), to = a[1].toModelIndex();
            lines << key(from.parent())
                            + QString::asprintf(" (%d,%d)-(%d,%d)", from.row(), from.column(),
                                                to.row(), to.column());
        }
        return lines.join(QStringLiteral("; "));
    }

    QAbstractItemModel *model;
    QSignalSpy inserted {model, &QAbstractItemModel::rowsInserted};
    QSignalSpy removed {model, &QAbstractItemModel::rowsRemoved};
    QSignalSpy changed {model, &QAbstractItemModel::dataChanged};
};

class TestModel : public QObject
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

        const QString text = QStringLiteral(R"({"l":[{"n":7,"e":[]},true,null,"s",-2.5],"o":{}})");
        ModelFixture source(text), copied;
        JsonNode *copy = JsonTreeModel::nodeForIndex(source.at({0}))->clone(&n);
        QCOMPARE(copy->parent(), &n);
        QVERIFY(source.model.removeRows(0, 1, source.at({0, 0})));
        QVERIFY(source.model.setData(source.at({0, 0, 0}, 1), false));
        QVERIFY(copied.model.document()->setTopLevelNode(std::unique_ptr<JsonNode>(copy)));
        QCOMPARE(compact(copied.model), text);
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
        const qint64 mapped = mappedBytes();
        for (void *record : records) // emptied blocks go back, all but one
            allocator.deallocate(record);
        allocator.deallocate(allocator.allocate());
        QCOMPARE(allocator.blockCount(), 1);
        QVERIFY(mappedBytes() <= mapped - qint64(2 * 96 * allocator.slotsPerBlock()));
        for (void *&record : records) // and are never handed out again
            std::memset(record = allocator.allocate(), 1, 96);

        TextPool pool; // pools texts of up to 4 bytes here
        const auto text = [&pool](const QByteArray &t) { return pool.text(t, t.size(), 4); };
        for (const char *utf8 : {"", "a", "b", "é", "abcd", "abcde", "a", "é", "abcde"})
            QCOMPARE(text(utf8), QString::fromUtf8(utf8));
        QCOMPARE(text("\xEF\xBB\xBFx"), QStringLiteral("\uFEFFx"));
        QVERIFY(text("abcd").constData() == text("abcd").constData()); // shared, not copied
    }

    void typedNumbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("number"); // the value's type and text; " ": no number
        // clang-format off
        QTest::newRow("space before a long integer") << " 123456789012345678901234567890" << "QString 123456789012345678901234567890";
        QTest::newRow("plus before a long integer") << "+18446744073709551616" << "QString 18446744073709551616";
        QTest::newRow("leading zeros") << "-000123456789012345678901" << "QString -123456789012345678901";
        QTest::newRow("plus, space") << "+5 " << "qlonglong 5";
        QTest::newRow("unsigned") << "018446744073709551615" << "qulonglong 18446744073709551615";
        QTest::newRow("fraction") << " 00.5" << "double 0.5";
        QTest::newRow("two signs") << "+-5" << " ";
        QTest::newRow("two plus signs") << "++5" << " ";
        QTest::newRow("plus alone") << " + " << " ";
        // clang-format on
    }
    void typedNumbers()
    {
        QFETCH(QString, typed);
        const QVariant number = JsonNode::numberFromText(typed);
        QTEST(QString::fromLatin1(number.typeName()) + ' ' + number.toString(), "number");
    }
    void presentation_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("tree"); // the lines of dumpTree, joined by "|"
        // clang-format off
        QTest::newRow("kinds") << R"({"l":[{"k":true},[],false],"o":{},"n":null,"s":"a é"})" << 1024 << " = { 4 items }|  l = [ 3 items ]|    [0] = { 1 items }|      k = true|    [1] = [ 0 items ]|    [2] = false|  o = { 0 items }|  n = null|  s = a é";
        QTest::newRow("numbers") << "[2.50,-9223372036854775808,18446744073709551615,1e300]" << 1024 << " = [ 4 items ]|  [0] = 2.5|  [1] = -9223372036854775808|  [2] = 18446744073709551615|  [3] = 1e+300";
        QTest::newRow("at the limit") << R"(["abcde"])" << 5 << " = [ 1 items ]|  [0] = abcde";
        QTest::newRow("over the limit") << R"({"abcdef":"abcdef"})" << 5 << " = { 1 items }|  abcdef = abcde... (6 chars total)";
        QTest::newRow("no half character") << R"(["ab😀c"])" << 3 << " = [ 1 items ]|  [0] = ab... (5 chars total)";
        QTest::newRow("no limit") << R"(["abcdef"])" << 0 << " = [ 1 items ]|  [0] = abcdef";
        QTest::newRow("counts and null never cut") << "[null,[],{}]" << 1 << " = [ 3 items ]|  [0] = null|  [1] = [ 0 items ]|  [2] = { 0 items }";
        // clang-format on
    }

    void presentation()
    {
        QFETCH(QString, json);
        QFETCH(int, maxLength);
        QFETCH(QString, tree);
        ModelFixture f(json);
        f.model.setMaxTextLength(maxLength);
        QCOMPARE(dumpTree(f.model).join('|'), tree);
    }

    void paths_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<Path>("row");
        QTest::addColumn<QString>("path");
        // clang-format off
        const QString doc = QStringLiteral(R"({"o":{"arr":[0,1],"x.y":0},"a b":1,"9x":2,"":3,"q\u0022\\":4,"ä":5,"_AZaz09":6,"\u001f\n":7})");
        QTest::newRow("top") << doc << Path {0} << ".";
        QTest::newRow("members and element") << doc << Path {0, 0, 0, 1} << ".o.arr[1]";
        QTest::newRow("not an identifier") << doc << Path {0, 0, 1} << R"(.o["x.y"])";
        QTest::newRow("space") << doc << Path {0, 1} << R"(.["a b"])";
        QTest::newRow("digit first") << doc << Path {0, 2} << R"(.["9x"])";
        QTest::newRow("empty") << doc << Path {0, 3} << R"(.[""])";
        QTest::newRow("escapes") << doc << Path {0, 4} << ".[\"q\\\"\\\\\"]";
        QTest::newRow("beyond ASCII") << doc << Path {0, 5} << R"(.["ä"])";
        QTest::newRow("identifier") << doc << Path {0, 6} << "._AZaz09";
        QTest::newRow("control characters") << doc << Path {0, 7} << R"(.["\u001f\n"])";
        QTest::newRow("top-level array") << "[0,[1,{\"k\":2}]]" << Path {0, 1, 1, 0} << ".[1][1].k";
        // clang-format on
    }

    void paths()
    {
        QFETCH(QString, json);
        QFETCH(Path, row);
        ModelFixture f(json);
        QTEST(JsonTreeModel::nodeForIndex(f.at(row))->path(), "path");
    }

    void frameAndRefusals()
    {
        ModelFixture f(QStringLiteral(R"({"a":[7]})"));
        QCOMPARE(f.model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Value"));
        QVERIFY(!f.model.headerData(0, Qt::Vertical).isValid());
        QString editable;
        for (const Path &path : {Path {0}, Path {0, 0}, Path {0, 0, 0}})
            for (const int column : {0, 1})
                editable += f.model.flags(f.at(path, column))
                                == (Qt::ItemIsSelectable | Qt::ItemIsEnabled)
                        ? '0'
                        : '1';
        QCOMPARE(editable, QStringLiteral("001001"));
        QCOMPARE(f.at({0, 0, 0}, 1).data(Qt::EditRole), QVariant::fromValue(qint64(7)));

        Emitted emitted {&f.model};
        QVERIFY(!f.model.setData({}, QStringLiteral("x")));
        QVERIFY(!f.model.setData(f.at({0, 0}), QStringLiteral("x"), Qt::DisplayRole));
        JsonNode node(QString(), QVariant(), JsonNodeType::Null);
        QVERIFY(!f.model.replaceNode({}, &node) && !f.model.replaceNode(f.at({0, 0}), nullptr));
        QString integers; // as JSON writes them: "0" and "-0" are, "01", "+1" and "1.0" are not
        for (const char *text : {"0", "-0", "-123456789012345678901", "01", "-", "", "1.0", "+1"})
            integers += JsonNode::isIntegerText(QString::fromLatin1(text)) ? '1' : '0';
        QCOMPARE(integers, QStringLiteral("11100000"));
        QCOMPARE(compact(f.model) + emitted.text(), QStringLiteral(R"({"a":[7]})"));
        f.model.setMaxTextLength(3); // the Value column of every top-level row
        QCOMPARE(emitted.text(), QStringLiteral("- (0,1)-(0,1)"));
        QCOMPARE(emitted.changed.at(0).at(2).value<QList<int>>(), QList<int>({Qt::DisplayRole}));
    }

    void nestingLimit()
    {
        ModelFixture f(QString::fromLatin1(nestedArrays(JsonReader::maxDepth - 1)));
        PreorderCursor cursor(&f.model);
        cursor.moveToLast();
        const QModelIndex one = cursor.index(), inner = one.parent();
        QString error;
        std::unique_ptr<JsonNode> tooDeep(JsonReader::parse("[[2]]", &error));
        QVERIFY(!f.model.appendNode(inner, tooDeep.get())
                && !f.model.replaceNode(one, tooDeep.get()));
        QVERIFY(f.model.replaceNode(one, JsonReader::parse("[2]", &error).release()));
        QVERIFY(f.model.appendNode(inner, JsonReader::parse("3", &error).release()));
        QCOMPARE(compact(f.model).toLatin1(),
                 QByteArray(9998, '[') + "[[2],3]" + QByteArray(9998, ']'));
        ModelFixture empty; // and an empty document emits no cells
        Emitted none {&empty.model};
        empty.model.setMaxTextLength(5);
        QCOMPARE(none.text(), QString());
    }
    void steps()
    {
        // A command's changes are one step, however nested; a command changing nothing leaves none.
        ModelFixture f(QStringLiteral(R"({"a":[1,2],"b":3})"));
        QUndoStack *history = f.model.undoStack();
        f.model.beginStep(QStringLiteral("Both"));
        QVERIFY(f.model.removeRows(0, 1, f.at({0, 0})));
        f.model.beginStep(QStringLiteral("Inner"));
        QVERIFY(f.model.setData(f.at({0, 1}, 1), 4));
        f.model.endStep();
        f.model.endStep();
        f.model.beginStep(QStringLiteral("Nothing"));
        f.model.endStep();
        QCOMPARE(history->count(), 1);
        QCOMPARE(history->undoText(), QStringLiteral("Both"));
        history->undo();
        QCOMPARE(compact(f.model), QStringLiteral(R"({"a":[1,2],"b":3})"));
        history->redo();
        QCOMPARE(compact(f.model), QStringLiteral(R"({"a":[2],"b":4})"));
        QVERIFY(f.model.loadFromString(QStringLiteral("[]")));
        QVERIFY(history->count() == 0 && history->isClean());
    }
    void edits_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<QString>("operation"); // on the top-level value's rows
        QTest::addColumn<QString>("outcome"); // the document and the signals; empty: refused
        // clang-format off
        const auto row = [](const char *json, const char *operation, const QString &outcome) { QTest::addRow("%s %s", json, operation) << json << operation << outcome; };
        row(R"({"a":1})", "set 0 b", R"({"b":1} top (0,0)-(0,0))");
        row(R"(["x"])", "set 1 y", R"(["y"] top (0,1)-(0,1))");
        row("[true]", "set 1 false", "[false] top (0,1)-(0,1)");
        row("[null]", "set 1 n", R"(["n"] top (0,1)-(0,1))");
        row(R"({"o":{"k":1}})", "set 1 x", R"({"o":{"k":1}} top (0,1)-(0,1))");
        for (const char *number : {"43", "-9223372036854775808", "9223372036854775808", "18446744073709551615", "0.1234567890123456", "2.5"})
            row("[2.5]", ("set 1 " + QByteArray(number)).constData(), '[' + QString::fromLatin1(number) + "] top (0,1)-(0,1)");
        row("[2.5]", "set 1 18446744073709551616", "[18446744073709551616] top (0,1)-(0,1)");
        row("[2.5]", "set 1 -123456789012345678901234567890", "[-123456789012345678901234567890] top (0,1)-(0,1)");
        row("[2.5]", "set 1 1e3", "[1000.0] top (0,1)-(0,1)");
        row("[1.0]", "set 1 1", "[1.0] top (0,1)-(0,1)"); // the same text keeps the value
        for (const char *refused : {"set 1 abc", "set 1 ", "set 1 inf", "set 1 nan", "set 1 1e400", "set 1 0x10", "insert 3 1", "insert -1 1", "insert 0 0", "remove 1 2", "remove -1 1", "remove 0 0"})
            row("[1,2.5]", refused, QString());
        row(R"({"a":1})", "insert 0 2", R"({"new":null,"new":null,"a":1} +top 0..1)");
        row("[1,2]", "insert 1 1", "[1,null,2] +top 1..1; top (0,0)-(2,1)");
        row("[1]", "insert 1 1", "[1,null] +top 1..1; top (0,0)-(1,1)");
        row("[1,2,3]", "remove 1 1", "[1,3] -top 1..1; top (0,0)-(1,1)");
        row("[1,2,3]", "remove 1 2", "[1] -top 1..2; top (0,0)-(0,1)");
        row("[1,2]", "remove 0 2", "[] -top 0..1");
        row(R"({"a":1,"b":2,"c":3})", "remove 0 2", R"({"c":3} -top 0..1)");
        row("[1]", "append 0 0 \"x\"", R"([1,"x"] +top 1..1; top (0,0)-(1,1))");
        row(R"({"k":1})", "append 1 0 \"x\"", R"({"k":1,"r":"x"} +top 1..1)");
        row(R"({"a":1,"o":{"x":1,"y":2},"z":3})", "replace 1 0 \"s\"", R"({"a":1,"r":"s","z":3} -r 0..1; top (1,0)-(1,1))");
        row(R"({"o":{"x":1}})", "replace 0 1 [2,[3]]", R"({"r":[2,[3]]} -r 0..0; +r 0..1; top (0,0)-(0,1))");
        row("[1]", "replace 0 0 2", "[2] top (0,0)-(0,1); top (0,0)-(0,1)");
        row("[1,[2,3]]", "replace 1 0 {}", "[1,{}] -[1] 0..1; top (1,0)-(1,1); top (0,0)-(1,1)");
        // clang-format on
    }

    void edits()
    {
        QFETCH(QString, json);
        QFETCH(QString, operation);
        QFETCH(QString, outcome);
        ModelFixture f(json);
        QItemSelectionModel selection(&f.model);
        followCurrentCell(f.model, selection);
        QUndoStack *history = f.model.undoStack();
        const QModelIndex top = f.at({0});
        f.model.setData(top, QStringLiteral("top")); // a name for it in the signals
        history->setClean();
        const QStringList before = dumpTree(f.model);
        selection.setCurrentIndex(f.at({0, 0}, 1), QItemSelectionModel::NoUpdate);
        const QStringList op = operation.split(' ');
        const int a = op.value(1).toInt(), b = op.value(2).toInt();
        QString error;
        std::unique_ptr<JsonNode> node(JsonReader::parse(op.value(3, "0").toUtf8(), &error));
        node->setKey(QStringLiteral("r"));
        Emitted spies {&f.model};
        const bool done = op[0] == "insert" ? f.model.insertRows(a, b, top)
                : op[0] == "remove"         ? f.model.removeRows(a, b, top)
                : op[0] == "append"         ? f.model.appendNode(f.at({0}, a), node.release())
                : op[0] == "set"
                ? f.model.setData(f.at({0, 0}, a), op[2] == "false" ? QVariant(false) : op[2])
                : f.model.replaceNode(f.at({0, a}, b), node.get()) && node.release(); // deleted
        QCOMPARE(done, !outcome.isEmpty());
        QCOMPARE(compact(f.model) + ' ' + spies.text(), outcome.isEmpty() ? json + ' ' : outcome);
        for (int row = 0; json.startsWith('[') && row < f.model.rowCount(top); ++row)
            QCOMPARE(f.at({0, row}).data().toString(), JsonNode::positionLabel(row));

        // Undo brings back the document, its labels and its current row; redo the change.
        QCOMPARE(history->count(), done ? 2 : 1); // a refused change leaves no step
        if (!done)
            return;
        const QHash<QString, QString> names {{"insert", "Insert"},
                                             {"remove", "Delete"},
                                             {"append", "Add Item"},
                                             {"replace", "Replace"}};
        QCOMPARE(history->undoText(), names.value(op[0], a ? "Edit Value" : "Edit Key"));
        const QStringList after = dumpTree(f.model);
        const QString saved = compact(f.model);
        selection.setCurrentIndex(top, QItemSelectionModel::NoUpdate);
        history->undo();
        QCOMPARE(dumpTree(f.model), before);
        QCOMPARE(compact(f.model), json);
        QCOMPARE(selection.currentIndex(), f.at({0, 0}, 1));
        QVERIFY(history->isClean());
        history->redo();
        QCOMPARE(dumpTree(f.model), after);
        QCOMPARE(compact(f.model), saved);
        QCOMPARE(selection.currentIndex(), top);
        QVERIFY(!history->isClean());
    }
};

QTEST_MAIN(TestModel)
#include "tst_model.moc"
