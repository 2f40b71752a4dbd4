// JsonTreeModel's conversions between JSON text and the tree: loading and writing.

#include "model/jsontreemodel.h"

#include "io/jsonreader.h"
#include "io/jsonwriter.h"
#include "model/jsonnode.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

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

QString JsonTreeModel::toJsonString() const
{
    if (rootNode->childCount() == 0)
        return QStringLiteral("{}");
    return nodeText(rootNode->child(0));
}

QString JsonTreeModel::nodeToJsonString(const QModelIndex &index) const
{
    const JsonNode *node = nodeForIndex(index);
    if (!index.isValid() || !node)
        return {};
    return nodeText(node);
}

QString JsonTreeModel::nodeText(const JsonNode *node) const
{
    // Each piece is decoded straight onto the end of the text, so the UTF-8
    // text of a large document never exists whole beside its UTF-16 form.
    // Pieces start between two values, never with a byte-order mark; the
    // decoder is told to keep one all the same.
    QString text;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const bool written = JsonWriter::write(node, m_prettyPrint, [&](QByteArrayView piece) {
        const qsizetype used = text.size();
        // Never more UTF-16 units than UTF-8 bytes.
        text.resize(used + piece.size());
        const QChar *end = decoder.appendToBuffer(text.data() + used, piece);
        text.truncate(end - text.constData());
        return true;
    });
    return written ? text : QString();
}

bool JsonTreeModel::saveToFile(const QString &path) const
{
    // Written to a temporary file that replaces the real one only when every
    // byte is out, so a failed save (the writer's or the disk's) leaves the
    // file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const auto sink = [&file](QByteArrayView piece) {
        return file.write(piece.data(), piece.size()) == piece.size();
    };
    const bool written = rootNode->childCount() == 0
            ? sink("{}")
            : JsonWriter::write(rootNode->child(0), m_prettyPrint, sink);
    if (!written) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
