// JsonTreeModel's loading and writing: the reader and writer do the work, the
// model takes a finished tree or hands its own over.

#include "model/jsontreemodel.h"

#include "io/jsonreader.h"
#include "io/jsonwriter.h"
#include "model/jsonnode.h"

#include <QUndoStack>

JsonNode *JsonTreeModel::buildNode(yyjson_val *value, const QString &key)
{
    return JsonReader::buildTree(value, key);
}

bool JsonTreeModel::loadFromFile(const QString &path)
{
    return setDocument(JsonReader::readFile(path, &m_parseError));
}

bool JsonTreeModel::loadFromString(const QString &text)
{
    return setDocument(JsonReader::parse(text.toUtf8(), &m_parseError));
}

bool JsonTreeModel::setDocument(JsonNode *document)
{
    // The text was parsed and the new tree built before anything is reset, so
    // a text that does not parse leaves the current document as it was.
    if (!document)
        return false;
    JsonNode *root = newRootNode();
    root->appendChild(document);
    beginResetModel();
    delete rootNode;
    rootNode = root;
    endResetModel();
    // The steps before concern a document that is gone.
    m_undoStack->clear();
    return true;
}

const JsonNode *JsonTreeModel::documentNode() const
{
    return rootNode->child(0);
}

QString JsonTreeModel::toJsonString() const
{
    return JsonWriter::toText(documentNode(), m_prettyPrint);
}

QString JsonTreeModel::nodeToJsonString(const QModelIndex &index) const
{
    const JsonNode *node = nodeForIndex(index);
    if (!index.isValid() || !node)
        return {};
    return JsonWriter::toText(node, m_prettyPrint);
}

bool JsonTreeModel::saveToFile(const QString &path) const
{
    m_saveError.clear();
    return JsonWriter::writeFile(path, documentNode(), m_prettyPrint, &m_saveError);
}
