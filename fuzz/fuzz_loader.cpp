// Loader: bytes load exactly when they are UTF-8 (one BOM aside) and parse, and reload intact;
// the first byte picks the format: JSON, JSON Lines or JSON with comments.

#include "fuzzchecks.h"
#include "io/jsonreader.h"
#include "io/jsonwriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const char *const names[] = {"input.json", "input.jsonl", "input.jsonc"};
    const int format = size > 0 ? data[0] % 3 : 0;
    const QString path = dir.filePath(QLatin1String(names[format]));
    const QByteArray bytes = QByteArrayView(data, size).sliced(size > 0).toByteArray();
    JsonTreeModel expected, model;
    const bool loaded = writeFile(path, bytes) && model.loadFromFile(path);
    const QByteArrayView text = QByteArrayView(bytes).startsWith("\xEF\xBB\xBF")
            ? QByteArrayView(bytes).sliced(3)
            : QByteArrayView(bytes);
    QString error;
    if (format == 1) {
        // Each non-blank line alone is one value of the array.
        auto array = std::make_unique<JsonNode>(QString(), QVariant(), JsonNodeType::Array);
        bool parsed = text.isValidUtf8();
        for (const QByteArray &line : text.toByteArray().split('\n')) {
            const bool blank = std::all_of(line.begin(), line.end(), [](char c) {
                return c == ' ' || c == '\t' || c == '\r';
            });
            if (parsed && !blank) {
                std::unique_ptr<JsonNode> value = JsonReader::parse(line, &error);
                parsed = value != nullptr;
                if (parsed) {
                    value->setKey(JsonNode::positionLabel(array->childCount()));
                    array->appendChild(value.release());
                }
            }
        }
        FUZZ_CHECK(loaded == (parsed && expected.document()->setTopLevelNode(std::move(array)))
                   && dumpTree(model) == dumpTree(expected));
        if (loaded) {
            const QString lines = dir.filePath(QStringLiteral("saved.jsonl"));
            JsonTreeModel reloaded;
            FUZZ_CHECK(model.saveToFile(lines) && reloaded.loadFromFile(lines)
                       && dumpTree(reloaded) == dumpTree(model));
        }
    } else if (format == 2) {
        // What strict JSON reads, the lenient reading reads alike.
        if (text.isValidUtf8()
            && expected.document()->setTopLevelNode(JsonReader::parse(text, &error)))
            FUZZ_CHECK(loaded && dumpTree(model) == dumpTree(expected)
                       && !model.document()->hasDroppedComments());
    } else {
        FUZZ_CHECK(loaded
                           == (text.isValidUtf8()
                               && expected.document()->setTopLevelNode(
                                       JsonReader::parse(text, &error)))
                   && dumpTree(model) == dumpTree(expected));
    }
    if (loaded)
        checkRoundTrip(model);
    return 0;
}
