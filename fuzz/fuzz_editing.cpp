// Editing: a sequence of the model's changes, decoded from the input, on a
// small loaded document, done the way the program's own commands and the
// view's editors do them. After every step the tree's links and labels hold,
// the model tester is satisfied and the document writes.

#include "fuzzchecks.h"

#include "io/jsonreader.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

#include <QAbstractItemModelTester>

#include <memory>

namespace {

const QList<QString> documents = {
        QStringLiteral(R"({"a": 1, "b": [true, null, "s"], "c": {"d": [[], {}]}})"),
        QStringLiteral(R"([1, 2.5, -3, 18446744073709551615, {"k": "v"}])"),
        QStringLiteral(R"({"": null, "dup": 1, "dup": [0]})"),
        QStringLiteral("7"),
};

const QList<QString> keys = {QString(), QStringLiteral("a"), QStringLiteral("[0]"),
                             QStringLiteral("[7]"), QStringLiteral("new")};

// What a user might type into a number's editor.
const QList<QString> numberTexts = {
        QStringLiteral("0"),
        QStringLiteral("-0"),
        QStringLiteral("1.0"),
        QStringLiteral("2.50"),
        QStringLiteral("1e308"),
        QStringLiteral("1e400"),
        QStringLiteral("-1e-400"),
        QStringLiteral("inf"),
        QStringLiteral("nan"),
        QStringLiteral("9223372036854775808"),
        QStringLiteral("18446744073709551616"),
        QStringLiteral("-9223372036854775809"),
        QStringLiteral("0x10"),
        QStringLiteral(" 1"),
        QStringLiteral("1,5"),
        QStringLiteral("abc"),
};

const QList<QByteArray> fragments = {
        "1",
        "\"s\"",
        "[]",
        "{}",
        "null",
        "true",
        "1.5",
        R"([1, [2, {"a": null}]])",
        R"({"k": [true, false], "k": {}})",
};

// Nodes the steps add are capped, so that a run stays quick.
constexpr int maxNodes = 400;

class Editor
{
public:
    Editor(JsonTreeModel &model, FuzzInput &input)
        : model(model)
        , input(input)
    {
    }

    void step();
    const QSet<const JsonNode *> &labelsTyped() const { return typedLabels; }
    void forgetRemovedNodes();

private:
    JsonNode *pick(bool containersOnly = false);
    QModelIndex cell(JsonNode *node)
    {
        return model.indexForNode(node).siblingAtColumn(input.byte() & 1);
    }
    JsonNode *newNode();
    JsonNode *cloneOf(const JsonNode *source);
    void changedChildren(const JsonNode *container) { typedLabels.remove(container); }

    JsonTreeModel &model;
    FuzzInput &input;
    // Arrays whose element keys were typed over since their children last changed.
    QSet<const JsonNode *> typedLabels;
};

JsonNode *Editor::pick(bool containersOnly)
{
    QList<JsonNode *> nodes = documentNodes(model);
    if (containersOnly)
        nodes.removeIf([](const JsonNode *node) { return !node->isContainer(); });
    return nodes.isEmpty() ? nullptr : nodes.at(input.byte() % nodes.size());
}

// A copy that carries the typed-over labels of its source along.
JsonNode *Editor::cloneOf(const JsonNode *source)
{
    JsonNode *copy = source->clone();
    QList<std::pair<const JsonNode *, const JsonNode *>> pending {{source, copy}};
    while (!pending.isEmpty()) {
        const auto [from, to] = pending.takeLast();
        if (typedLabels.contains(from))
            typedLabels.insert(to);
        for (int row = 0; row < from->childCount(); ++row)
            pending.append(std::make_pair(from->child(row), to->child(row)));
    }
    return copy;
}

JsonNode *Editor::newNode()
{
    const uint8_t how = input.byte() % 3;
    if (how == 2) {
        if (const JsonNode *source = pick())
            return cloneOf(source);
    }
    QString error;
    if (how == 1) {
        if (JsonNode *parsed = JsonReader::parse(input.bytes(32), &error))
            return parsed;
    }
    JsonNode *node = JsonReader::parse(fragments.at(input.byte() % fragments.size()), &error);
    FUZZ_CHECK(node);
    return node;
}

void Editor::step()
{
    const bool growing = documentNodes(model).size() < maxNodes;
    switch (input.byte() % 9) {
    case 0: { // a key typed in
        if (JsonNode *node = pick()) {
            FUZZ_CHECK(model.setData(model.indexForNode(node), input.text(keys), Qt::EditRole));
            if (node->parent()->type() == JsonNodeType::Array)
                typedLabels.insert(node->parent());
        }
        break;
    }
    case 1: // a value typed in; a Boolean's editor is a yes/no choice
    case 2: {
        JsonNode *node = pick();
        if (!node)
            break;
        const QModelIndex value = model.indexForNode(node).siblingAtColumn(1);
        const JsonNodeType typeBefore = node->type();
        const QVariant typed = typeBefore == JsonNodeType::Boolean
                ? QVariant(bool(input.byte() & 1))
                : QVariant(input.byte() & 1 ? input.text(numberTexts) : input.text(keys));
        const bool stored = model.setData(value, typed, Qt::EditRole);
        FUZZ_CHECK(stored || typeBefore == JsonNodeType::Number);
        FUZZ_CHECK(node->type() == typeBefore
                   || (typeBefore == JsonNodeType::Null && node->type() == JsonNodeType::String));
        break;
    }
    case 3: { // rows inserted through the standard interface
        JsonNode *node = input.byte() & 1 ? nullptr : pick(true);
        const QModelIndex parent = node ? cell(node) : QModelIndex();
        const int children = model.rowCount(parent.siblingAtColumn(0));
        const int row = int(input.byte() % (children + 3)) - 1;
        const int count = input.byte() % 3;
        const bool valid = row >= 0 && row <= children && count >= 1 && growing;
        FUZZ_CHECK(model.insertRows(row, growing ? count : 0, parent.siblingAtColumn(0)) == valid);
        if (valid && node)
            changedChildren(node);
        break;
    }
    case 4: { // rows removed through the standard interface
        JsonNode *node = input.byte() & 1 ? nullptr : pick(true);
        const QModelIndex parent = node ? model.indexForNode(node) : QModelIndex();
        const int children = model.rowCount(parent);
        const int row = int(input.byte() % (children + 2)) - 1;
        const int count = input.byte() % 3;
        const bool valid = row >= 0 && count >= 1 && row + count <= children;
        FUZZ_CHECK(model.removeRows(row, count, parent) == valid);
        if (valid && node)
            changedChildren(node);
        break;
    }
    case 5: { // Add Item or Paste: a node appended to a container
        JsonNode *container = growing ? pick(true) : nullptr;
        if (!container)
            break;
        const QModelIndex parent = cell(container);
        JsonNode *node = newNode();
        node->setKey(input.text(keys));
        FUZZ_CHECK(model.appendNode(parent, node));
        FUZZ_CHECK(node->parent() == container && node->row() == container->childCount() - 1);
        changedChildren(container);
        break;
    }
    case 6: { // Paste over an existing member
        JsonNode *replaced = growing ? pick() : nullptr;
        if (!replaced)
            break;
        // Paste hands over the member's Key cell, never its Value cell.
        const QModelIndex index = model.indexForNode(replaced);
        JsonNode *node = newNode();
        const bool typed = typedLabels.contains(node);
        typedLabels.remove(node);
        FUZZ_CHECK(model.replaceNode(index, node));
        typedLabels.remove(replaced);
        if (typed)
            typedLabels.insert(replaced);
        changedChildren(replaced->parent());
        break;
    }
    case 7: { // Duplicate of an array element
        JsonNode *element = growing ? pick() : nullptr;
        if (!element || element->parent()->type() != JsonNodeType::Array)
            break;
        JsonNode *array = element->parent();
        const QModelIndex index = cell(element);
        FUZZ_CHECK(model.appendNode(model.parent(index), cloneOf(element)));
        changedChildren(array);
        break;
    }
    default: { // Delete
        JsonNode *node = pick();
        if (!node)
            break;
        JsonNode *parent = node->parent();
        const QModelIndex index = cell(node);
        FUZZ_CHECK(model.removeRows(index.row(), 1, model.parent(index)));
        changedChildren(parent);
        break;
    }
    }
}

// A removed node's address may come back for a new one.
void Editor::forgetRemovedNodes()
{
    const QList<JsonNode *> nodes = documentNodes(model);
    const QSet<const JsonNode *> present(nodes.cbegin(), nodes.cend());
    typedLabels.removeIf([&present](const JsonNode *node) { return !present.contains(node); });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    JsonTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FUZZ_CHECK(model.loadFromString(documents.at(input.byte() % documents.size())));
    Editor editor(model, input);
    for (int steps = 0; steps < 64 && !input.atEnd(); ++steps) {
        editor.step();
        editor.forgetRemovedNodes();
        checkTree(model, editor.labelsTyped());
        checkWrites(model);
    }
    return 0;
}
