// Loader: bytes load exactly when they are UTF-8 (one BOM aside) and parse, and reload intact.

#include "fuzzchecks.h"
#include "io/jsonreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.json"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    JsonTreeModel expected, model;
    const bool loaded = writeFile(path, bytes) && model.loadFromFile(path);
    const QByteArrayView text = QByteArrayView(bytes).startsWith("\xEF\xBB\xBF")
            ? QByteArrayView(bytes).sliced(3)
            : QByteArrayView(bytes);
    QString error;
    FUZZ_CHECK(loaded
                       == (text.isValidUtf8()
                           && expected.document()->setTopLevelNode(JsonReader::parse(text, &error)))
               && dumpTree(model) == dumpTree(expected));
    if (loaded)
        checkRoundTrip(model);
    return 0;
}
