// Loader: any bytes as a file's content. What loads must write in both modes,
// read back as the same tree, and write again as the same text.

#include "fuzzchecks.h"

#include "io/jsonreader.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

QString folder()
{
    static QTemporaryDir dir;
    return dir.path();
}

bool writeBytes(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
            && file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
}

const JsonNode *topNode(const JsonTreeModel &model)
{
    return JsonTreeModel::nodeForIndex(model.index(0, 0));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = folder() + QStringLiteral("/input.json");
    const QString written = folder() + QStringLiteral("/written.json");
    FUZZ_CHECK(writeBytes(input, data, size));

    // The file's text is its bytes decoded as UTF-8, one leading byte-order
    // mark dropped and malformed sequences replaced; it loads exactly when
    // that text parses, and as what it parses to.
    const QByteArray decoded
            = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).toUtf8();
    QString error;
    const std::unique_ptr<JsonNode> expected(JsonReader::parse(decoded, &error));

    JsonTreeModel model;
    if (!model.loadFromFile(input)) {
        FUZZ_CHECK(!expected);
        FUZZ_CHECK(model.rowCount() == 0);
        FUZZ_CHECK(!model.parseError().isEmpty());
        return 0;
    }
    FUZZ_CHECK(expected);
    FUZZ_CHECK(model.rowCount() == 1);
    FUZZ_CHECK(sameTree(expected.get(), topNode(model)));
    checkTree(model);
    checkWrites(model);

    for (const bool pretty : {true, false}) {
        model.setPrettyPrint(pretty);
        const QString text = model.toJsonString();
        FUZZ_CHECK(!text.isEmpty());
        FUZZ_CHECK(model.saveToFile(written));

        JsonTreeModel reloaded;
        reloaded.setPrettyPrint(pretty);
        FUZZ_CHECK(reloaded.loadFromFile(written));
        FUZZ_CHECK(reloaded.rowCount() == 1);
        FUZZ_CHECK(sameTree(topNode(model), topNode(reloaded)));
        FUZZ_CHECK(reloaded.toJsonString() == text);
    }
    return 0;
}
