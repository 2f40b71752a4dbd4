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
    }
};

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
