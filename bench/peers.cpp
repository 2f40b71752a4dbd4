// The yardsticks: yyjson alone, QJsonDocument alone, and a tree of items
// built from a QJsonDocument.

#include "scenario.h"

#include <yyjson.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVariant>

#include <cstdlib>
#include <memory>

namespace {

using YyjsonDocument = std::shared_ptr<yyjson_doc>;

YyjsonDocument parseWithYyjson(const QByteArray &bytes)
{
    YyjsonDocument document(yyjson_read(bytes.constData(), size_t(bytes.size()), 0),
                            yyjson_doc_free);
    if (!document)
        throw ScenarioFailure(QStringLiteral("yyjson cannot parse the document"));
    return document;
}

QJsonDocument parseWithQt(const QByteArray &bytes)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (document.isNull())
        throw ScenarioFailure(QStringLiteral("QJsonDocument: %1").arg(error.errorString()));
    return document;
}

// An item of the tree JSON viewers commonly build from a QJsonDocument.
struct PeerItem
{
    ~PeerItem() { qDeleteAll(children); }

    QString key;
    QVariant value;
    QJsonValue::Type type;
    QList<PeerItem *> children;
    PeerItem *parent;
};

PeerItem *buildItem(const QJsonValue &value, QString key, PeerItem *parent)
{
    auto *item = new PeerItem {std::move(key), {}, value.type(), {}, parent};
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            item->children.append(buildItem(it.value(), it.key(), item));
    } else if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i)
            item->children.append(buildItem(array.at(i), QString::number(i), item));
    } else if (!value.isNull()) {
        item->value = value.toVariant();
    }
    return item;
}

// The whole opening: reading the file, parsing, building the tree.
std::unique_ptr<PeerItem> peerTree(const QString &path)
{
    const QJsonDocument document = parseWithQt(readWholeFile(path));
    return std::unique_ptr<PeerItem>(buildItem(document.isArray() ? QJsonValue(document.array())
                                                                  : QJsonValue(document.object()),
                                               QString(), nullptr));
}

ScenarioRun yyjsonParse(const QString &path, WorkerFindings &)
{
    return [bytes = readWholeFile(path)] {
        YyjsonDocument document;
        return timeMs([&] { document = parseWithYyjson(bytes); });
    };
}

ScenarioRun yyjsonWrite(const QString &path, WorkerFindings &)
{
    return [document = parseWithYyjson(readWholeFile(path))] {
        char *text = nullptr;
        const double ms = timeMs([&] {
            size_t length = 0;
            text = yyjson_write(document.get(), YYJSON_WRITE_PRETTY, &length);
        });
        if (!text)
            throw ScenarioFailure(QStringLiteral("yyjson could not write the document"));
        std::free(text);
        return ms;
    };
}

ScenarioRun qjsonParse(const QString &path, WorkerFindings &)
{
    return [bytes = readWholeFile(path)] {
        QJsonDocument document;
        return timeMs([&] { document = parseWithQt(bytes); });
    };
}

ScenarioRun qjsonWrite(const QString &path, WorkerFindings &)
{
    return [document = parseWithQt(readWholeFile(path))] {
        QByteArray text;
        const double ms = timeMs([&] { text = document.toJson(QJsonDocument::Indented); });
        if (text.isEmpty())
            throw ScenarioFailure(QStringLiteral("QJsonDocument wrote nothing"));
        return ms;
    };
}

ScenarioRun treeOpen(const QString &path, WorkerFindings &)
{
    return [path] {
        std::unique_ptr<PeerItem> root;
        return timeMs([&] { root = peerTree(path); });
    };
}

ScenarioRun treeClose(const QString &path, WorkerFindings &)
{
    return [path] {
        std::unique_ptr<PeerItem> root = peerTree(path);
        return timeMs([&] { root.reset(); });
    };
}

} // namespace

QList<Scenario> peerScenarios()
{
    return {
            {"yyjson-parse", Scenario::Peer, true, yyjsonParse},
            {"yyjson-write", Scenario::Peer, false, yyjsonWrite},
            {"qjson-parse", Scenario::Peer, true, qjsonParse},
            {"qjson-write", Scenario::Peer, false, qjsonWrite},
            {"qjsontree-open", Scenario::Peer, true, treeOpen},
            {"qjsontree-close", Scenario::Peer, false, treeClose},
    };
}
