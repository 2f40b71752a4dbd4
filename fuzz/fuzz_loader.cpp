// Loader: any bytes as a file to open. It loads exactly when its text (UTF-8,
// one leading byte-order mark dropped, malformed sequences replaced) parses,
// as what that parses to, and then saves and reloads intact.

#include "fuzzchecks.h"

#include "fixture.h"
#include "io/jsonreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.json"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FUZZ_CHECK(writeFile(path, bytes));

    QString error;
    JsonTreeModel expected, model;
    expected.setDocument(JsonReader::parse(QString::fromUtf8(bytes).toUtf8(), &error));
    const bool loaded = model.loadFromFile(path);
    FUZZ_CHECK(loaded == (expected.rowCount() == 1) && loaded == model.parseError().isEmpty());
    FUZZ_CHECK(dumpTree(model) == dumpTree(expected));
    FUZZ_CHECK(model.toJsonString() == expected.toJsonString());
    if (loaded)
        checkRoundTrip(model);
    return 0;
}
