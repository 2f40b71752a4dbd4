#pragma once

#include "io/jsonwriter.h"
#include "tree/jsonnode.h" // complete: its pointers travel in signals

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

class FileOpening;
class ParsedDocument;
class GroupCommand;
class QUndoCommand;
class QUndoStack;

// An open JSON document: its node tree under an invisible root, its undo
// stack, its file's reading and writing, and every change made to it.
//
// Each change is an undo command on the stack, whoever makes it. Commands
// keep the nodes they take out of the tree, so undoing one puts the very same
// nodes back: the document is restored exactly, and nothing is copied.
//
// Changes emit signals before and after the tree changes, in the order an
// item model needs them; the document knows no model and no view.
class JsonDocument : public QObject
{
    Q_OBJECT

public:
    // What a change altered of a node itself.
    enum class Field { Key = 0x1, Value = 0x2 };
    Q_DECLARE_FLAGS(Fields, Field)

    explicit JsonDocument(QObject *parent = nullptr);
    ~JsonDocument() override;

    // The invisible root, never null; its one child, when there is one, is
    // the document's top-level value.
    JsonNode *root() const { return m_root.get(); }
    // The top-level value; null for the empty document.
    JsonNode *topLevelNode() const;

    // Loading replaces the whole tree and clears the undo stack. On failure
    // nothing changes: readError() gives the system's reason when the file
    // could not be read, parseError() why and where the text did not parse.
    bool loadFile(const QString &path);
    // The same for a file read in the background, once it finished.
    bool adoptFile(FileOpening &opening);
    bool loadText(QByteArrayView utf8);
    // Makes a detached tree the whole document; false for a null tree.
    bool setTopLevelNode(std::unique_ptr<JsonNode> top);
    QString parseError() const { return m_parseError; }
    QString readError() const { return m_readError; }

    // Whether the document was read from a text with comments, which are
    // not kept: saving over that file drops them. False once saved.
    bool hasDroppedComments() const { return m_droppedComments; }
    // Writes the document to the file, indented or compact, or as JSON Lines
    // when the file's name asks for them (then the top-level value must be
    // an array), and marks it saved. On failure the file is left as it was and saveError() says
    // why; it is empty when `progress` cancelled the save.
    bool saveFile(const QString &path, bool pretty, const JsonWriter::Progress &progress = {});
    QString saveError() const { return m_saveError; }

    // Changes. Each returns false, and changes nothing, when its arguments are
    // out of range, when it would nest containers deeper than a file may, or
    // while a command is being undone or redone. A node handed over by
    // reference is taken on success and left with the caller otherwise.
    bool setKey(JsonNode *node, const QString &key);
    // A Number takes text as typed (kept as it was when the text is its own),
    // and a Null becomes the String it is given.
    bool setValue(JsonNode *node, const QVariant &value);
    bool insertNodes(JsonNode *parent, int row, std::vector<std::unique_ptr<JsonNode>> nodes);
    bool removeNodes(JsonNode *parent, int row, int count);
    bool appendNode(JsonNode *parent, std::unique_ptr<JsonNode> &node);
    // Puts the key, value, type and children of `replacement` into `node`,
    // which keeps its place.
    bool replaceNode(JsonNode *node, std::unique_ptr<JsonNode> &replacement);

    // Changes made between these calls, which may nest, are one undo command
    // named after the outermost `name`; a change made outside them is one of
    // its own. A group that changed nothing pushes no command.
    void beginGroup(const QString &name);
    void endGroup();

    QUndoStack *undoStack() const { return m_undoStack; }

    // Whether the document differs from what was last opened or saved: the
    // undo stack is away from its clean state, or markModified() was called.
    bool isModified() const { return m_modified; }
    // Marks a document that has a value modified without a command, for a
    // change Save would write that is no edit (the output format, say).
    void markModified();

    // The cell the user is at (column 0 the key, 1 the value), remembered by
    // each command so that undoing it can make that cell current again.
    void setCurrentCell(JsonNode *node, int column);

signals:
    void aboutToBeReset();
    void reset();
    void nodesAboutToBeInserted(JsonNode *parent, int first, int last);
    void nodesInserted(JsonNode *parent, int first, int last);
    void nodesAboutToBeRemoved(JsonNode *parent, int first, int last);
    void nodesRemoved(JsonNode *parent, int first, int last);
    void nodeChanged(JsonNode *node, JsonDocument::Fields fields);
    // Every element of the array took its position label again.
    void elementsRelabelled(JsonNode *array);
    // After an undo or redo: the cell to make current; null for none.
    void currentCellRequested(JsonNode *node, int column);
    void modifiedChanged(bool modified);

private:
    friend class GroupCommand;
    friend class RowsCommand;
    friend class SwapCommand;

    struct Cell
    {
        JsonNode *node = nullptr;
        int column = 0;
    };

    // The command the next change goes into, begun by the first change.
    QUndoCommand *openGroup();
    void updateModified();
    bool adoptParsed(std::unique_ptr<ParsedDocument> parsed);
    void restoreCurrentCell(const Cell &cell);

    // The changes commands are made of, each with its signals. Nodes are
    // moved in and out, never copied.
    void placeNodes(JsonNode *parent, int row, std::vector<std::unique_ptr<JsonNode>> &nodes);
    void takeNodes(JsonNode *parent, int row, int count,
                   std::vector<std::unique_ptr<JsonNode>> &nodes);
    void swapNode(JsonNode *node, JsonNode *other, Fields fields, bool withChildren);
    void relabelElements(JsonNode *node);

    std::unique_ptr<JsonNode> m_root;
    QUndoStack *m_undoStack;
    QString m_parseError;
    QString m_readError;
    QString m_saveError;
    GroupCommand *m_openGroup = nullptr;
    QString m_groupName;
    int m_groupDepth = 0;
    // True while a command is undone or redone: no change is made meanwhile.
    bool m_replaying = false;
    bool m_markedModified = false;
    bool m_droppedComments = false;
    bool m_modified = false;
    Cell m_currentCell;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(JsonDocument::Fields)
