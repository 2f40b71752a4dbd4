// The yardsticks: yyjson alone, QJsonDocument alone, and a tree of items
// built from a QJsonDocument.

#include "scenariofunctions.h"

#include "peertreeitem.h"

#include <yyjson.h>

#include <QElapsedTimer>
#include <QJsonDocument>

#include <cstdlib>
#include <memory>

namespace {

yyjson_doc *parseWithYyjson(const QByteArray &bytes, ScenarioResult &result)
{
    yyjson_read_err error;
    yyjson_doc *document
            = yyjson_read_opts(const_cast<char *>(bytes.constData()), size_t(bytes.size()),
                               YYJSON_READ_NOFLAG, nullptr, &error);
    if (!document)
        result.error = QStringLiteral("yyjson: %1 at byte %2")
                               .arg(QString::fromUtf8(error.msg))
                               .arg(error.pos);
    return document;
}

QJsonDocument parseWithQt(const QByteArray &bytes, ScenarioResult &result)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (document.isNull())
        result.error = QStringLiteral("QJsonDocument: %1").arg(error.errorString());
    return document;
}

} // namespace

void runYyjsonParse(const QString &path, int runs, ScenarioResult &result)
{
    const QByteArray bytes = readWholeFile(path, result);
    for (int run = 0; run < runs && result.error.isEmpty(); ++run) {
        QElapsedTimer timer;
        timer.start();
        yyjson_doc *document = parseWithYyjson(bytes, result);
        result.timesMs << elapsedMs(timer);
        yyjson_doc_free(document);
    }
}

void runYyjsonWrite(const QString &path, int runs, ScenarioResult &result)
{
    yyjson_doc *document = parseWithYyjson(readWholeFile(path, result), result);
    for (int run = 0; run < runs && document; ++run) {
        QElapsedTimer timer;
        timer.start();
        size_t length = 0;
        char *text = yyjson_write_opts(document, YYJSON_WRITE_PRETTY, nullptr, &length, nullptr);
        result.timesMs << elapsedMs(timer);
        if (!text) {
            result.error = QStringLiteral("yyjson could not write the document");
            break;
        }
        std::free(text);
    }
    yyjson_doc_free(document);
}

void runQJsonParse(const QString &path, int runs, ScenarioResult &result)
{
    const QByteArray bytes = readWholeFile(path, result);
    for (int run = 0; run < runs && result.error.isEmpty(); ++run) {
        QElapsedTimer timer;
        timer.start();
        const QJsonDocument document = parseWithQt(bytes, result);
        result.timesMs << elapsedMs(timer);
    }
}

void runQJsonWrite(const QString &path, int runs, ScenarioResult &result)
{
    const QJsonDocument document = parseWithQt(readWholeFile(path, result), result);
    for (int run = 0; run < runs && result.error.isEmpty(); ++run) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray text = document.toJson(QJsonDocument::Indented);
        result.timesMs << elapsedMs(timer);
        if (text.isEmpty())
            result.error = QStringLiteral("QJsonDocument wrote nothing");
    }
}

void runQJsonTreeOpen(const QString &path, int runs, ScenarioResult &result)
{
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        std::unique_ptr<PeerTreeItem> root(PeerTreeItem::fromFile(path, &result.error));
        result.timesMs << elapsedMs(timer);
        if (!root)
            return;
        if (run == 0)
            result.values = root->itemCount();
    }
}

void runQJsonTreeClose(const QString &path, int runs, ScenarioResult &result)
{
    for (int run = 0; run < runs; ++run) {
        std::unique_ptr<PeerTreeItem> root(PeerTreeItem::fromFile(path, &result.error));
        if (!root)
            return;
        QElapsedTimer timer;
        timer.start();
        root.reset();
        result.timesMs << elapsedMs(timer);
    }
}
