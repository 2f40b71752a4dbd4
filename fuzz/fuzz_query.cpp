// Query: any text compiles to a query or to an error at a position inside
// it; a query selects the same nodes whether the nodes were made whole or on
// demand.

#include "fuzzchecks.h"
#include "io/jsonreader.h"
#include "query/jsonpath.h"

#include <QTemporaryFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QByteArray json = R"({"a": [1, 2.5, "x", true, null, {"b": [{"c": "ab"}]}],
        "b": {"a": -1, "": 100000000000000000000, "c": [[], {}]}, "é": "\u00e9"})";
    static QTemporaryFile *file = [] {
        auto *made = new QTemporaryFile;
        FUZZ_CHECK(made->open() && made->write(json) == json.size() && made->flush());
        return made;
    }();
    const QString text = QString::fromUtf8(QByteArrayView(data, size));
    const JsonPath path(text);
    if (!path.isValid()) {
        FUZZ_CHECK(path.errorPosition() >= 0 && path.errorPosition() <= text.size());
        FUZZ_CHECK(!path.errorString().isEmpty());
        return 0;
    }
    FUZZ_CHECK(path.errorPosition() == -1 && path.errorString().isEmpty());
    QString error;
    QString readError;
    const std::unique_ptr<JsonNode> whole = JsonReader::parse(json, &error);
    const std::unique_ptr<JsonNode> onDemand
            = JsonReader::readFile(file->fileName(), &error, &readError);
    const QList<JsonNode *> a = path.select(whole.get());
    const QList<JsonNode *> b = path.select(onDemand.get());
    FUZZ_CHECK(a.size() == b.size());
    for (qsizetype i = 0; i < a.size(); ++i)
        FUZZ_CHECK(a[i]->normalizedPath() == b[i]->normalizedPath());
    return 0;
}
