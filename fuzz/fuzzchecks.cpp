#include "fuzzchecks.h"

#include "io/jsonreader.h"
#include "io/jsonwriter.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

void fuzzFailure(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}

namespace {

// The offscreen platform warns about every window it sizes; that says nothing
// about the program.
void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.contains(QLatin1String("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

void startOffscreenApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    qInstallMessageHandler(quietMessages);
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    // Never destroyed, like the windows the targets keep between inputs.
    new QApplication(argc, argv);
}

QList<JsonNode *> documentNodes(const JsonTreeModel &model)
{
    QList<JsonNode *> nodes;
    QList<JsonNode *> pending;
    for (int row = model.rowCount() - 1; row >= 0; --row)
        pending.append(JsonTreeModel::nodeForIndex(model.index(row, 0)));
    while (!pending.isEmpty()) {
        JsonNode *node = pending.takeLast();
        nodes.append(node);
        for (int row = node->childCount() - 1; row >= 0; --row)
            pending.append(node->child(row));
    }
    return nodes;
}

void checkTree(const JsonTreeModel &model, const QSet<const JsonNode *> &typedLabels)
{
    const JsonNode *root = nullptr;
    for (int row = 0; row < model.rowCount(); ++row) {
        const JsonNode *top = JsonTreeModel::nodeForIndex(model.index(row, 0));
        FUZZ_CHECK(top && top->parent());
        FUZZ_CHECK(!root || top->parent() == root);
        root = top->parent();
        FUZZ_CHECK(root->type() == JsonNodeType::None && !root->parent());
        FUZZ_CHECK(top->row() == row);
    }
    for (const JsonNode *node : documentNodes(model)) {
        FUZZ_CHECK(node->type() != JsonNodeType::None);
        FUZZ_CHECK(node->isContainer() || node->childCount() == 0);
        const bool labelled = node->type() == JsonNodeType::Array && !typedLabels.contains(node);
        for (int row = 0; row < node->childCount(); ++row) {
            const JsonNode *child = node->child(row);
            FUZZ_CHECK(child->parent() == node);
            FUZZ_CHECK(child->row() == row);
            FUZZ_CHECK(!labelled || child->key() == JsonNode::positionLabel(row));
        }
    }
}

void checkWrites(const JsonTreeModel &model)
{
    FUZZ_CHECK(!model.toJsonString().isEmpty());
    for (int row = 0; row < model.rowCount(); ++row) {
        const JsonNode *top = JsonTreeModel::nodeForIndex(model.index(row, 0));
        for (const bool pretty : {true, false}) {
            QByteArray text;
            FUZZ_CHECK(JsonWriter::write(top, pretty, [&text](QByteArrayView piece) {
                text += piece;
                return true;
            }));
            QString error;
            const std::unique_ptr<JsonNode> reread(JsonReader::parse(text, &error));
            FUZZ_CHECK(reread);
        }
    }
}

bool sameTree(const JsonNode *first, const JsonNode *second)
{
    QList<std::pair<const JsonNode *, const JsonNode *>> pending {{first, second}};
    while (!pending.isEmpty()) {
        const auto [a, b] = pending.takeLast();
        if (a->key() != b->key() || a->type() != b->type() || a->value() != b->value()
            || a->childCount() != b->childCount())
            return false;
        for (int row = 0; row < a->childCount(); ++row)
            pending.append(std::make_pair(a->child(row), b->child(row)));
    }
    return true;
}

FuzzInput::FuzzInput(const uint8_t *data, size_t size)
    : data(data)
    , size(size)
{
}

uint8_t FuzzInput::byte()
{
    return position < size ? data[position++] : 0;
}

QByteArray FuzzInput::bytes(int maxLength)
{
    const size_t wanted = size_t(byte() % (maxLength + 1));
    const size_t length = std::min(wanted, size - std::min(position, size));
    const QByteArray taken(reinterpret_cast<const char *>(data + position), qsizetype(length));
    position += length;
    return taken;
}

QString FuzzInput::text(const QList<QString> &choices)
{
    const uint8_t choice = byte();
    if (choice % 2 == 0 && !choices.isEmpty())
        return choices.at((choice / 2) % choices.size());
    return QString::fromUtf8(bytes(24));
}
