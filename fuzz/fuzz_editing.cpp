// Editing: a sequence of the model's changes decoded from the input, made the
// way the window's commands and the view's editors make them, with the model
// tester watching every signal. The document then saves and reloads intact,
// which also holds its array elements to their at labels.

#include "fuzzchecks.h"

#include "fixture.h"
#include "io/jsonreader.h"
#include "model/jsonnode.h"

namespace {

const QString documents[]
        = {QStringLiteral(R"({"a": 1, "b": [true, null, "s"], "c": {"d": [[], {}]}})"),
           QStringLiteral(R"([1, 2.5, -3, 18446744073709551615, {"k": "v"}])"),
           QStringLiteral(R"({"": null, "dup": 1, "dup": [0]})"), QStringLiteral("7")};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    qsizetype at = 0;
    const auto byte = [&]() -> int { return at < input.size() ? uchar(input[at++]) : 0; };
    // Up to `max` bytes of the input as UTF-8, as many as the next byte says.
    const auto text = [&](int max) {
        const int length = byte() % (max + 1);
        return QString::fromUtf8(input.mid((at += length) - length, length));
    };
    JsonTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FUZZ_CHECK(model.loadFromString(documents[byte() % 4]));
    for (int steps = 0; steps < 64 && at < input.size(); ++steps) {
        // A row reached from the top, in either column; the top row has no parent.
        QModelIndex index = model.index(0, 0);
        while (model.rowCount(index) > 0 && byte() % 4)
            index = model.index(byte() % model.rowCount(index), 0, index);
        JsonNode *node = nodeOf(index);
        const QModelIndex parent = model.parent(index);
        index = index.siblingAtColumn(byte() % 2);
        // A container to change the rows of: the row's own or the one holding it.
        const QModelIndex container = node->isContainer() && (byte() % 2 || !parent.isValid())
                ? index.siblingAtColumn(0)
                : parent;
        const int children = model.rowCount(container), row = byte() % (children + 3) - 1;
        const int count = byte() % 3;
        const auto newNode = [&] {
            QString error;
            JsonNode *parsed = JsonReader::parse(text(32).toUtf8(), &error);
            parsed = parsed ? parsed : new JsonNode(QString(), QVariant(), JsonNodeType::Null);
            parsed->setKey(text(8));
            return parsed;
        };
        switch (byte() % 5) {
        case 0: // a member's key or a value typed in; a Boolean's editor is a yes/no choice
            if (index.column() == 1 || node->parent()->type() == JsonNodeType::Object) {
                const bool flag = node->type() == JsonNodeType::Boolean && index.column() == 1;
                const QVariant typed = flag ? QVariant(byte() % 2 == 0) : QVariant(text(24));
                FUZZ_CHECK(model.setData(index, typed) || node->type() == JsonNodeType::Number);
            }
            break;
        case 1: // Delete, or rows removed or inserted through the standard interface
            if (container.isValid() && byte() % 2)
                FUZZ_CHECK(model.removeRows(row, count, container)
                           == (row >= 0 && count > 0 && row + count <= children));
            else if (container.isValid())
                FUZZ_CHECK(model.insertRows(row, count, container)
                           == (row >= 0 && row <= children && count > 0));
            break;
        case 2: // Paste over a member
            if (parent.isValid())
                FUZZ_CHECK(model.replaceNode(index, newNode()));
            break;
        case 3: // Add Item or Paste at the end of a container, from either of its cells
            if (container.isValid())
                FUZZ_CHECK(model.appendNode(container == parent ? parent : index, newNode()));
            break;
        default: // Duplicate, of a row small enough to keep the document small
            if (parent.isValid() && model.nodeToJsonString(index).size() < 200)
                FUZZ_CHECK(model.appendNode(model.parent(index), node->clone()));
        }
    }
    checkRoundTrip(model);
    return 0;
}
