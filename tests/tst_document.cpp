#include "fixture.h"

#include "document/jsondocument.h"
#include "io/jsonreader.h"
#include "tree/jsonnode.h"

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void noChangeWhileUndoing()
    {
        // An editor committed during an undo must not push onto the stack mid-walk.
        JsonDocument document;
        QVERIFY(document.loadText(R"({"a":[1]})"));
        JsonNode *top = document.topLevelNode(), *list = top->child(0);
        QVERIFY(document.setValue(list->child(0), 2));
        QString changes, error; // a 1 for each change made
        connect(&document, &JsonDocument::nodeChanged, this, [&] {
            auto node = std::make_unique<JsonNode>(QString(), 3, JsonNodeType::Number);
            std::vector<std::unique_ptr<JsonNode>> nodes;
            nodes.push_back(std::make_unique<JsonNode>(QString(), 4, JsonNodeType::Number));
            for (const bool made :
                 {document.setKey(list, QStringLiteral("b")), document.setValue(list->child(0), 5),
                  document.insertNodes(list, 0, std::move(nodes)), document.removeNodes(list, 0, 1),
                  document.appendNode(list, node), document.replaceNode(list->child(0), node),
                  !node})
                changes += made ? '1' : '0';
        });
        std::vector<std::unique_ptr<JsonNode>> deep;
        deep.push_back(JsonReader::parse(nestedArrays(JsonReader::maxDepth - 1), &error));
        QVERIFY(!document.insertNodes(list, 0, std::move(deep))); // deeper than a file may be
        document.undoStack()->undo();
        document.undoStack()->redo();
        QCOMPARE(changes, QStringLiteral("00000000000000"));
        QCOMPARE(document.undoStack()->count(), 1);
        QCOMPARE(list->child(0)->value(), QVariant(2));
    }

    void changeSignals()
    {
        // Each change is announced before and after, with the rows it takes or gives.
        JsonDocument document;
        QVERIFY(document.loadText("[1, [2, 3], 4]"));
        QStringList log;
        const auto note = [&log](const char *what) {
            return [&log, what](JsonNode *parent, int first, int last) {
                log << QStringLiteral("%1 %2 %3-%4")
                                .arg(QLatin1String(what), parent->normalizedPath())
                                .arg(first)
                                .arg(last);
            };
        };
        connect(&document, &JsonDocument::nodesAboutToBeRemoved, this, note("removing"));
        connect(&document, &JsonDocument::nodesRemoved, this, note("removed"));
        connect(&document, &JsonDocument::nodesAboutToBeInserted, this, note("inserting"));
        connect(&document, &JsonDocument::nodesInserted, this, note("inserted"));
        JsonNode *top = document.topLevelNode();
        QVERIFY(document.removeNodes(top, 1, 2));
        document.undoStack()->undo();
        QString error;
        std::unique_ptr<JsonNode> single = JsonReader::parse("[5]", &error);
        QVERIFY(document.replaceNode(top->child(1), single));
        QCOMPARE(log,
                 QStringList({"removing $ 1-2", "removed $ 1-2", "inserting $ 1-2",
                              "inserted $ 1-2", "removing $[1] 0-1", "removed $[1] 0-1",
                              "inserting $[1] 0-0", "inserted $[1] 0-0"}));
        document.undoStack()->undo();
        document.undoStack()->redo();
        QVERIFY(document.removeNodes(top, 0, 1)); // changes go on after a redo
    }

    void modifiedMark()
    {
        JsonDocument document;
        QSignalSpy marks(&document, &JsonDocument::modifiedChanged);
        document.markModified(); // nothing to save yet
        QVERIFY(document.loadText("[1]"));
        document.markModified();
        QVERIFY(document.setValue(document.topLevelNode()->child(0), 2));
        document.undoStack()->undo(); // back to the text opened, but not as Save writes it
        QVERIFY(document.isModified());
        const QTemporaryDir dir;
        QVERIFY(document.saveFile(dir.filePath(QStringLiteral("saved.json")), false));
        QVERIFY(!document.isModified());
        QCOMPARE(marks.count(), 2);

        // A document going away with its changes tells no one: its undo
        // commands go in silence.
        auto *edited = new JsonDocument;
        QVERIFY(edited->loadText("[1]") && edited->setValue(edited->topLevelNode()->child(0), 2));
        QSignalSpy lastMarks(edited, &JsonDocument::modifiedChanged);
        delete edited;
        QCOMPARE(lastMarks.count(), 0);
    }
    void nodesOnDemand()
    {
        // An opened file makes its nodes as they are asked for; a copy shares the unmade ones.
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("deep.json"));
        QVERIFY(writeFile(path, '[' + nestedArrays(5000) + ',' + nestedArrays(5000) + ",{}]"));
        JsonDocument document;
        QVERIFY(!document.loadFile(path + 'x') && !document.readError().isEmpty());
        QVERIFY(!document.loadText("[")
                && document.readError().isEmpty()); // not the file's any more
        QVERIFY(document.loadFile(path));
        JsonNode *top = document.topLevelNode();
        QVERIFY(top->unmadeChildren() && top->childCount() == 3);
        JsonNode *container = top->child(0), *other = top->child(1);
        QVERIFY(!top->unmadeChildren() && container->unmadeChildren() && other->unmadeChildren());
        for (int depth = 2; depth < 5000; ++depth)
            container = container->child(0);
        std::unique_ptr<JsonNode> copy(other->clone()), tooDeep(other->clone());
        QVERIFY(!document.appendNode(container->child(0), tooDeep)); // 5001 + 5000 levels
        QVERIFY(document.appendNode(container, copy) && !copy);
        QVERIFY(document.saveFile(path, false)); // writes what is unmade without making it
        QVERIFY(other->unmadeChildren() && container->child(1)->unmadeChildren());
        QCOMPARE(readFile(path),
                 '[' + nestedArrays(4999).replace("1", "[1]," + nestedArrays(5000)) + ','
                         + nestedArrays(5000) + ",{}]");
        document.undoStack()->undo();
        QCOMPARE(container->childCount(), 1);
        auto flat = std::make_unique<JsonNode>(QString(), 5, JsonNodeType::Number);
        QVERIFY(document.replaceNode(other, flat)); // its unmade subtree goes into the history
        QVERIFY(document.loadText("[]")); // which lets it go
    }

    void memoryReturned()
    {
        // Whatever an opened file holds goes back to the heap with its last node;
        // a failed or a cancelled read keeps nothing, and a save holds a piece
        // of the text at a time.
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.json"));
        const QString broken = dir.filePath(QStringLiteral("broken.json"));
        const QString deep = dir.filePath(QStringLiteral("deep.json"));
        const QString saved = dir.filePath(QStringLiteral("saved.json"));
        QByteArray text = "{";
        for (int i = 0; i < 50000; ++i)
            text += '"' + QByteArray::number(i)
                    + "\": {\"key\": \"text\", \"list\": [1, 2.5, true]},";
        QVERIFY(writeFile(path, text + "\"end\": {}}") && writeFile(broken, text)
                && writeFile(deep, nestedArrays(JsonReader::maxDepth + 1)));
        const auto cycle = [&] {
            JsonDocument document;
            QVERIFY(!document.loadFile(broken) && !document.loadFile(deep));
            QVERIFY(document.loadFile(path));
            for (const bool made : {false, true}) {
                const size_t before = heapInUse();
                size_t peak = before;
                int pieces = 0;
                QVERIFY(document.saveFile(saved, true, [&peak, &pieces](qint64, qint64) {
                    peak = std::max(peak, heapInUse());
                    return ++pieces > 0;
                }));
                // The indented text is more than twice the file, written a
                // megabyte or so at a time.
                QVERIFY2(pieces >= 2 && peak < before + size_t(text.size()) * 5 / 4,
                         qPrintable(QStringLiteral("%1 pieces, %2 bytes")
                                            .arg(pieces)
                                            .arg(peak - before)));
                if (!made) {
                    std::unique_ptr<JsonNode> copy(document.topLevelNode()->child(1)->clone());
                    QVERIFY(document.removeNodes(document.topLevelNode(), 0, 1));
                }
            }
            QString parseError, readError;
            QVERIFY(!JsonReader::parseFile(saved, JsonReader::Format::JsonLines, &parseError,
                                           &readError, nullptr,
                                           [](qint64, qint64) { return false; }));
        };
        cycle(); // what stays for good: caches, the first use of a code path
        const size_t before = heapInUse();
        for (int i = 0; i < 3; ++i)
            cycle();
        QVERIFY2(heapInUse() < before + 8192, qPrintable(QString::number(heapInUse() - before)));
    }
};

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
