#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class QJsonValue;

// A tree item of the kind JSON viewers commonly build from a QJsonDocument:
// key, value as a QVariant, type, children in a list, parent. Built here only
// as a yardstick for opening and closing.
class PeerTreeItem
{
public:
    enum class Type { Object, Array, String, Number, Boolean, Null };

    explicit PeerTreeItem(PeerTreeItem *parent = nullptr);
    ~PeerTreeItem();

    Q_DISABLE_COPY_MOVE(PeerTreeItem)

    // Reads and parses the file, then builds the tree recursively from the
    // document. Null, with *error set, when the file does not parse.
    static PeerTreeItem *fromFile(const QString &path, QString *error);
    static PeerTreeItem *fromValue(const QJsonValue &value, PeerTreeItem *parent);

    // The number of items in this subtree, itself included.
    qint64 itemCount() const;

private:
    QString key;
    QVariant value;
    Type type = Type::Null;
    QList<PeerTreeItem *> children;
    PeerTreeItem *parent;
};
