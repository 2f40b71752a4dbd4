#include "io/jsonreader.h"

#include "model/jsonnode.h"

#include <QFile>

#include <yyjson.h>

#if YYJSON_VERSION_HEX < 0x000A00
#error "yyjson 0.10 or newer is needed"
#endif

namespace {

const QByteArrayView byteOrderMark("\xEF\xBB\xBF");

// The byte at which the nesting first goes deeper than the limit.
qsizetype depthFaultPosition(QByteArrayView text)
{
    int depth = 0;
    bool inString = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > JsonReader::maxDepth)
                return i;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return text.size();
}

} // namespace

JsonNode *JsonReader::parse(QByteArrayView utf8, QString *error)
{
    error->clear();
    if (utf8.isEmpty()) {
        // yyjson takes no empty input at all; say what it says of blank input.
        *error = describeFault(utf8, 0, tr("Input data is empty"));
        return nullptr;
    }
    yyjson_read_err readError;
    yyjson_doc *doc = yyjson_read_opts(const_cast<char *>(utf8.data()), size_t(utf8.size()),
                                       YYJSON_READ_NOFLAG, nullptr, &readError);
    if (!doc) {
        QString reason = QString::fromUtf8(readError.msg);
        if (!reason.isEmpty())
            reason[0] = reason[0].toUpper(); // the parser's reasons start in lower case
        *error = describeFault(utf8, readError.pos, reason);
        return nullptr;
    }
    JsonNode *tree = buildTree(yyjson_doc_get_root(doc), QString());
    yyjson_doc_free(doc);
    if (!tree) {
        *error = describeFault(utf8, size_t(depthFaultPosition(utf8)),
                               tr("Nesting is deeper than %1 levels").arg(maxDepth));
    }
    return tree;
}

JsonNode *JsonReader::readFile(const QString &path, QString *error)
{
    error->clear();
    QFile file(path);
    // Read as it is, not in text mode: that drops every CR, even inside a
    // string or between two digits, so "[1<CR>2]" would load as [12]. The
    // parser takes CR LF and CR as the white space they are.
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.readAll();
    file.close();

    // Valid UTF-8 goes to the parser as it is; anything else takes the way
    // through UTF-16, which turns every malformed sequence into U+FFFD. Both
    // drop one leading byte-order mark.
    QByteArrayView text(bytes);
    if (text.startsWith(byteOrderMark))
        text = text.sliced(byteOrderMark.size());
    if (text.isValidUtf8())
        return parse(text, error);
    return parse(QString::fromUtf8(bytes).toUtf8(), error);
}

QString JsonReader::describeFault(QByteArrayView utf8, size_t position, const QString &reason)
{
    size_t line = 1;
    size_t column = 1;
    size_t character = 0;
    if (!utf8.isEmpty())
        yyjson_locate_pos(utf8.data(), size_t(utf8.size()), position, &line, &column, &character);
    return tr("%1 at line %2, column %3")
            .arg(reason, QString::number(line), QString::number(column));
}
