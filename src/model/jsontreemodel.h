#pragma once

#include <QAbstractItemModel>
#include <QPointer>

class JsonNode;
class QItemSelectionModel;
class QUndoCommand;
class QUndoStack;
struct yyjson_val;

// The item model over a JSON document: one row per value, two columns
// ("Key", "Value"). Every valid index carries its JsonNode as the internal
// pointer, in both columns; the invalid index stands for the invisible root.
//
// Every change made through setData, insertRows, removeRows, appendNode and
// replaceNode is a step of the document's history, whoever makes it. A step
// keeps the nodes it removed or replaced, so undoing it puts the very same
// nodes back: the document is restored exactly and no step copies it.
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
    // and the caller keeps `node`, when it would nest containers deeper than
    // the reader takes.
    bool appendNode(const QModelIndex &parentIndex, JsonNode *node);
    // Moves the content of `node` into the node at `index`, which keeps its
    // place. On success `node` is destroyed; on failure (as for appendNode)
    // the caller keeps it.
    bool replaceNode(const QModelIndex &index, JsonNode *node);

    // The document's history: undo and redo, and the state last saved.
    // Opening a document starts a new one.
    QUndoStack *undoStack() const { return m_undoStack; }
    // Changes made between these calls, which may nest, are one step named
    // `name`, the outermost one; each change made outside them is a step of
    // its own. A command that changes nothing leaves no step.
    void beginStep(const QString &name);
    void endStep();
    // The selection whose current row each step remembers: undoing a step
    // makes current the row that was current before it, redoing it the one
    // that was current when it was undone.
    void setSelectionModel(QItemSelectionModel *selection);

    QModelIndex indexForNode(JsonNode *node) const;
    // The node an index carries; null for the invalid index.
    static JsonNode *nodeForIndex(const QModelIndex &index);

    // The Value column's text for the node: item counts for containers, the
    // value shortened to maxTextLength() otherwise.
    QString displayValue(const JsonNode *node) const;

    int maxTextLength() const { return m_maxTextLength; }
    void setMaxTextLength(int length);
    bool prettyPrint() const { return m_prettyPrint; }
    void setPrettyPrint(bool pretty);

    // Loading. On failure the document stays exactly as it was; when the
    // text did not parse, parseError() says why and where.
    bool loadFromFile(const QString &path);
    bool loadFromString(const QString &text);
    QString parseError() const { return m_parseError; }
    // Takes ownership of a detached tree and makes it the whole document, in
    // one reset. False, and nothing changes, for a null tree.
    bool setDocument(JsonNode *document);

    // Writing, indented or compact according to prettyPrint().
    QString toJsonString() const;
    QString nodeToJsonString(const QModelIndex &index) const;
    bool saveToFile(const QString &path) const;
    // Why the last saveToFile() failed: the system's reason, or the number
    // that has no JSON text.
    QString saveError() const { return m_saveError; }

    // A detached subtree built from a parsed value; null when the value nests
    // deeper than the reader allows.
    static JsonNode *buildNode(yyjson_val *value, const QString &key);

private:
    class NodeSwap;
    class RowsChange;
    class Step;
    struct Cell
    {
        JsonNode *node = nullptr;
        int column = 0;
    };

    static JsonNode *newRootNode();
    // The step the next change goes into, begun by the first change.
    QUndoCommand *openStep();
    Cell currentCell() const;
    void setCurrentCell(const Cell &cell);
    // The changes steps are made of, each announced with the item-model
    // signals. Nodes are moved in and out, never copied.
    void placeNodes(JsonNode *parent, int row, QList<JsonNode *> &nodes);
    void takeNodes(JsonNode *parent, int row, int count, QList<JsonNode *> &nodes);
    void swapNode(JsonNode *node, int column, JsonNode *holder, bool withChildren);
    void renumberArrayKeys(JsonNode *node);
    void announceArrayRelabelling(JsonNode *node, const QModelIndex &nodeIndex);
    // The document's top-level value; null for the empty document.
    const JsonNode *documentNode() const;

    JsonNode *rootNode;
    int m_maxTextLength = 1024;
    bool m_prettyPrint = true;
    QString m_parseError;
    mutable QString m_saveError;
    QUndoStack *m_undoStack;
    QPointer<QItemSelectionModel> m_selection;
    Step *m_openStep = nullptr;
    QString m_stepName;
    int m_stepDepth = 0;
};
