#include "peertreeitem.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

PeerTreeItem::PeerTreeItem(PeerTreeItem *parent)
    : parent(parent)
{
}

PeerTreeItem::~PeerTreeItem()
{
    qDeleteAll(children);
}

PeerTreeItem *PeerTreeItem::fromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return nullptr;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (document.isNull()) {
        *error = parseError.errorString();
        return nullptr;
    }
    return fromValue(document.isArray() ? QJsonValue(document.array())
                                        : QJsonValue(document.object()),
                     nullptr);
}

PeerTreeItem *PeerTreeItem::fromValue(const QJsonValue &value, PeerTreeItem *parent)
{
    auto *item = new PeerTreeItem(parent);
    switch (value.type()) {
    case QJsonValue::Object: {
        item->type = Type::Object;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            PeerTreeItem *child = fromValue(it.value(), item);
            child->key = it.key();
            item->children.append(child);
        }
        break;
    }
    case QJsonValue::Array: {
        item->type = Type::Array;
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            PeerTreeItem *child = fromValue(array.at(i), item);
            child->key = QString::number(i);
            item->children.append(child);
        }
        break;
    }
    case QJsonValue::String:
        item->type = Type::String;
        item->value = value.toString();
        break;
    case QJsonValue::Double:
        item->type = Type::Number;
        item->value = value.toVariant();
        break;
    case QJsonValue::Bool:
        item->type = Type::Boolean;
        item->value = value.toBool();
        break;
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return item;
}

qint64 PeerTreeItem::itemCount() const
{
    qint64 count = 1;
    for (const PeerTreeItem *child : children)
        count += child->itemCount();
    return count;
}
