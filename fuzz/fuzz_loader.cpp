// Loader: any bytes as a file load exactly when their text (UTF-8, one leading
// byte-order mark dropped) parses, as that parses, and then save and reload intact.

#include "fuzzchecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.json"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    JsonTreeModel expected, model;
    const bool loaded = writeFile(path, bytes) && model.loadFromFile(path);
    FUZZ_CHECK(loaded == expected.loadFromString(QString::fromUtf8(bytes))
               && dumpTree(model) == dumpTree(expected));
    if (loaded)
        checkRoundTrip(model);
    return 0;
}
