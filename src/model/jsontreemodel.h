#pragma once

#include "document/jsondocument.h"

#include <QAbstractItemModel>

class JsonNode;
class QUndoStack;
struct yyjson_val;

// The item model over a JsonDocument: one row per value, two columns ("Key",
// "Value"). Every valid index carries its JsonNode as the internal pointer,
// in both columns; the invalid index stands for the invisible root.
//
// The model owns its document and turns the document's signals into the
// item-model signals; its changing members hand the change to the document,
// which pushes it on its undo stack.
class JsonTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit JsonTreeModel(QObject *parent = nullptr);
    ~JsonTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Takes ownership of `node` and makes it the last child of the container
    // at `parentIndex` (either cell of its row; invalid for the root). False,
    // and the caller keeps `node`, when the document refuses it.
    bool appendNode(const QModelIndex &parentIndex, JsonNode *node);
    // Moves the content of `node` into the node at `index`, which keeps its
    // place. On success `node` is destroyed; on failure (as for appendNode)
    // the caller keeps it.
    bool replaceNode(const QModelIndex &index, JsonNode *node);

    JsonDocument *document() const { return m_document; }
    QUndoStack *undoStack() const;
    // Changes made between these calls are one undo command (see
    // JsonDocument::beginGroup).
    void beginStep(const QString &name);
    void endStep();

    QModelIndex indexForNode(JsonNode *node) const;
    // The node an index carries; null for the invalid index.
    static JsonNode *nodeForIndex(const QModelIndex &index);

    // The Value column's text for the node: item counts for containers, the
    // value shortened to maxTextLength() otherwise.
    QString displayValue(const JsonNode *node) const;
    // The same text never shortened: a scalar's whole text.
    static QString valueText(const JsonNode *node);
    // What the Value column shows for an object or array of `count` items.
    static QString itemCountText(bool isObject, qsizetype count);

    int maxTextLength() const { return m_maxTextLength; }
    void setMaxTextLength(int length);
    bool prettyPrint() const { return m_prettyPrint; }
    void setPrettyPrint(bool pretty);

    // Loading. On failure the document stays exactly as it was; when the
    // text did not parse, parseError() says why and where.
    bool loadFromFile(const QString &path);
    bool loadFromString(const QString &text);
    QString parseError() const;

    // Writing, indented or compact according to prettyPrint().
    QString toJsonString() const;
    QString nodeToJsonString(const QModelIndex &index) const;
    // Also marks the document saved; JsonDocument::saveError() says why not.
    bool saveToFile(const QString &path);

    // A detached subtree built from a parsed value; null when the value nests
    // deeper than the reader allows.
    static JsonNode *buildNode(yyjson_val *value, const QString &key);

private:
    void connectDocument();
    void emitElementsChanged(JsonNode *array);

    JsonDocument *m_document;
    int m_maxTextLength = 1024;
    bool m_prettyPrint = true;
};
