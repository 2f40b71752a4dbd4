// JsonTreeModel's conversions between JSON text and the tree: loading and writing.

#include "model/jsontreemodel.h"

#include "io/jsonreader.h"
#include "io/jsonwriter.h"
#include "model/jsonnode.h"

#include <QFile>
#include <QSaveFile>

namespace {

const QByteArrayView byteOrderMark("\xEF\xBB\xBF");

} // namespace

bool JsonTreeModel::loadFromFile(const QString &path)
{
    m_parseError.clear();
    QFile file(path);
    // Read as it is, not in text mode: that drops every CR, even inside a
    // string or between two digits, so "[1<CR>2]" would load as [12]. The
    // parser takes CR LF and CR as the white space they are.
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    file.close();

    // Valid UTF-8 goes to the parser as it is; anything else takes the way
    // through UTF-16, which turns every malformed sequence into U+FFFD. Both
    // drop one leading byte-order mark.
    QByteArrayView text(bytes);
    if (text.startsWith(byteOrderMark))
        text = text.sliced(byteOrderMark.size());
    if (text.isValidUtf8())
        return loadFromUtf8(text);
    return loadFromUtf8(QString::fromUtf8(bytes).toUtf8());
}

bool JsonTreeModel::loadFromString(const QString &text)
{
    m_parseError.clear();
    return loadFromUtf8(text.toUtf8());
}

bool JsonTreeModel::loadFromUtf8(QByteArrayView utf8)
{
    // The text is parsed and the new tree built before anything is reset, so
    // a text that does not parse leaves the current document as it was.
    JsonNode *document = JsonReader::parse(utf8, &m_parseError);
    if (!document)
        return false;

    JsonNode *root = newRootNode();
    root->appendChild(document);
    beginResetModel();
    delete rootNode;
    rootNode = root;
    endResetModel();
    return true;
}

QByteArray JsonTreeModel::documentUtf8() const
{
    if (rootNode->childCount() == 0)
        return QByteArrayLiteral("{}");
    return JsonWriter::write(rootNode->child(0), m_prettyPrint);
}

QString JsonTreeModel::toJsonString() const
{
    return QString::fromUtf8(documentUtf8());
}

QString JsonTreeModel::nodeToJsonString(const QModelIndex &index) const
{
    const JsonNode *node = nodeForIndex(index);
    if (!index.isValid() || !node)
        return {};
    return QString::fromUtf8(JsonWriter::write(node, m_prettyPrint));
}

bool JsonTreeModel::saveToFile(const QString &path) const
{
    // The whole text first: when the writer fails, the file is never touched.
    const QByteArray text = documentUtf8();
    if (text.isNull())
        return false;
    // Written to a temporary file that replaces the real one only when every
    // byte is out, so a failed save leaves the file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
