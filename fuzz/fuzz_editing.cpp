// Editing: the window's and the editors' changes, undone and redone among them, under the
// model tester; then a round trip, and the whole history back and forth.

#include "fuzzchecks.h"

#include "io/pasteparser.h"

#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *documents[] = {R"({"a": 1, "b": [true, null, "s"], "c": {"d": [[], {}]}})",
                               R"([1, 2.5, -3, 18446744073709551615, {"k": "v"}])",
                               R"({"": null, "dup": 1, "dup": [0]})", "7"};
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray document = documents[size > 0 ? data[0] % 4 : 0];
    JsonTreeModel model;
    // Opened from a file, rows are made as the changes reach them: no tester walks them first.
    static QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("opened.json"));
    std::optional<QAbstractItemModelTester> tester;
    if (size > 0 && data[0] & 4)
        FUZZ_CHECK(writeFile(file, document) && model.loadFromFile(file));
    else
        tester.emplace(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FUZZ_CHECK(tester ? model.loadFromString(QString::fromUtf8(document)) : model.rowCount() == 1);
    QUndoStack *history = model.undoStack();
    QItemSelectionModel selection(&model); // each step brings back a current row
    followCurrentCell(model, selection);
    model.setPrettyPrint(false); // as the round trip leaves it
    const QString opened = model.toJsonString();
    // Then each line is a change: bytes choosing it, then the text it types or pastes.
    for (const QByteArray &line : input.mid(1).split('\n').mid(0, 64)) {
        qsizetype at = 0;
        const auto byte = [&]() -> int { return at < line.size() ? uchar(line[at++]) : 0; };
        QModelIndex index = model.index(0, 0); // a row from the top; the top one has no parent
        while (model.rowCount(index) > 0 && byte() % 4)
            index = model.index(byte() % model.rowCount(index), 0, index);
        JsonNode *node = JsonTreeModel::nodeForIndex(index);
        const QModelIndex parent = index.parent(), cell = index.siblingAtColumn(byte() % 2);
        const QModelIndex container // whose rows change: the row's own or the one holding it
                = node->isContainer() && (byte() % 2 || !parent.isValid()) ? index : parent;
        const int row = byte() % (model.rowCount(container) + 3) - 1, count = byte() % 3;
        const int operation = byte() % 8;
        selection.setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
        const QString text = QString::fromUtf8(line.mid(at));
        std::unique_ptr<JsonNode> pasted = PasteParser::parse(text).node;
        if (operation == 0 // a member's key or a value, but a Boolean's editor is a yes/no choice
            && (cell.column() ? node->type() != JsonNodeType::Boolean
                              : node->parent()->type() == JsonNodeType::Object))
            model.setData(cell, text);
        else if (operation == 1 && container.isValid()) // Delete
            model.removeRows(row, count, container);
        else if (operation == 2 && container.isValid())
            model.insertRows(row, count, container);
        else if (operation == 3 && parent.isValid()) // Paste over a member
            model.document()->replaceNode(node, pasted);
        else if (operation == 4 && container.isValid()) // Add Item, or Paste into a container
            model.document()->appendNode(JsonTreeModel::nodeForIndex(container), pasted);
        else if (operation == 5 && parent.isValid() && model.nodeToJsonString(index).size() < 200)
            FUZZ_CHECK(model.appendNode(parent, node->clone())); // Duplicate, of a small row
        else if (operation == 6)
            history->undo();
        else if (operation == 7)
            history->redo();
    }
    checkRoundTrip(model);
    const QString edited = model.toJsonString();
    const int reached = history->index();
    history->setIndex(0);
    FUZZ_CHECK(model.toJsonString() == opened);
    history->setIndex(reached);
    FUZZ_CHECK(model.toJsonString() == edited);
    return 0;
}
