#include "io/jsonreader.h"

#include "io/treebuilder.h"
#include "tree/jsonnode.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <yyjson.h>

#if YYJSON_VERSION_HEX < 0x000A00
#error "yyjson 0.10 or newer is needed"
#endif

namespace {

const QByteArrayView byteOrderMark("\xEF\xBB\xBF");
// Progress is reported, and a cancel noticed, after each read of this size.
constexpr qint64 readChunkSize = qint64(1) << 24;

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

// Where the text stops being UTF-8: the offset of the first byte that begins
// no valid sequence, or the size when all of it is valid.
qsizetype firstInvalidUtf8(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const uchar lead = uchar(text[i]);
        const qsizetype length = lead < 0x80 ? 1
                : (lead >> 5) == 0x6         ? 2
                : (lead >> 4) == 0xE         ? 3
                : (lead >> 3) == 0x1E        ? 4
                                             : 0;
        if (length == 0 || i + length > text.size() || !text.sliced(i, length).isValidUtf8())
            break;
        i += length;
    }
    return i;
}

} // namespace

std::unique_ptr<JsonNode> JsonReader::parse(QByteArrayView utf8, QString *error)
{
    error->clear();
    // Integers beyond 64 bits come as their digits, to be kept as they are.
    yyjson_doc *doc = utf8.isEmpty()
            ? nullptr
            : yyjson_read_opts(const_cast<char *>(utf8.data()), size_t(utf8.size()),
                               YYJSON_READ_BIGNUM_AS_RAW, nullptr, nullptr);
    std::unique_ptr<JsonNode> tree;
    if (doc) {
        tree = TreeBuilder::build(yyjson_doc_get_root(doc), QString());
        yyjson_doc_free(doc);
    }
    if (!tree)
        *error = faultOf(utf8);
    return tree;
}

QString JsonReader::faultOf(QByteArrayView utf8)
{
    if (utf8.isEmpty()) {
        // yyjson takes no empty input at all; say what it says of blank input.
        return describeFault(utf8, 0, tr("Input data is empty"));
    }
    // A number with a fraction or exponent beyond a double's range comes as
    // raw text too, and no node takes it: read again without the flag, the
    // parser says what and where.
    for (const yyjson_read_flag flags : {YYJSON_READ_BIGNUM_AS_RAW, YYJSON_READ_NOFLAG}) {
        yyjson_read_err readError;
        yyjson_doc *doc = yyjson_read_opts(const_cast<char *>(utf8.data()), size_t(utf8.size()),
                                           flags, nullptr, &readError);
        if (!doc) {
            QString reason = QString::fromUtf8(readError.msg);
            if (!reason.isEmpty())
                reason[0] = reason[0].toUpper(); // the parser's reasons start in lower case
            return describeFault(utf8, readError.pos, reason);
        }
        yyjson_doc_free(doc);
    }
    return describeFault(utf8, size_t(depthFaultPosition(utf8)),
                         tr("Nesting is deeper than %1 levels").arg(maxDepth));
}

std::unique_ptr<JsonNode> JsonReader::readFile(const QString &path, QString *parseError,
                                               QString *readError)
{
    std::unique_ptr<ParsedDocument> parsed = parseFile(path, parseError, readError);
    return parsed ? ParsedDocument::topLevelNode(std::move(parsed)) : nullptr;
}

std::unique_ptr<ParsedDocument> JsonReader::parseFile(const QString &path, QString *parseError,
                                                      QString *readError, const Progress &progress)
{
    parseError->clear();
    readError->clear();
    QFile file(path);
    // Read as it is, not in text mode: that drops every CR, even inside a
    // string or between two digits, so "[1<CR>2]" would load as [12]. The
    // parser takes CR LF and CR as the white space they are.
    if (!file.open(QIODevice::ReadOnly)) {
        *readError = file.errorString();
        return nullptr;
    }
    // One buffer, parsed in place and kept: the text is never copied. Its
    // size is the file's, grown only for a device that tells none.
    const qint64 size = file.size();
    qint64 capacity = std::max<qint64>(size, 1 << 16);
    qint64 used = 0;
    char *buffer = static_cast<char *>(std::malloc(size_t(capacity) + YYJSON_PADDING_SIZE));
    for (qint64 read = 1; buffer && read > 0;) {
        if (used == capacity && file.atEnd())
            break; // all of it, as the size said
        if (used == capacity) {
            capacity *= 2;
            char *grown = static_cast<char *>(
                    std::realloc(buffer, size_t(capacity) + YYJSON_PADDING_SIZE));
            if (!grown)
                std::free(std::exchange(buffer, nullptr));
            buffer = grown;
            if (!buffer)
                break;
        }
        read = file.read(buffer + used, std::min(capacity - used, readChunkSize));
        used += std::max<qint64>(read, 0);
        if (progress && !progress(used, size)) {
            std::free(buffer);
            return nullptr;
        }
    }
    if (!buffer || file.error() != QFileDevice::NoError) {
        *readError = buffer ? file.errorString() : qt_error_string(ENOMEM);
        std::free(buffer);
        return nullptr;
    }
    std::memset(buffer + used, 0, YYJSON_PADDING_SIZE);

    const qsizetype start
            = QByteArrayView(buffer, used).startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    yyjson_doc *doc
            = yyjson_read_opts(buffer + start, size_t(used - start),
                               YYJSON_READ_INSITU | YYJSON_READ_BIGNUM_AS_RAW, nullptr, nullptr);
    int depth = 0;
    if (doc && ParsedDocument::fitsTree(doc, &depth))
        return std::make_unique<ParsedDocument>(buffer, doc, depth);
    yyjson_doc_free(doc);
    std::free(buffer);

    // Parsing in place changed the text: read it again to say why and where.
    // A valid document is valid UTF-8, so only a failed one is checked.
    file.seek(0);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *readError = file.errorString();
        return nullptr;
    }
    *parseError = diagnose(bytes);
    return nullptr;
}

QString JsonReader::diagnose(QByteArrayView bytes)
{
    // Only UTF-8 is read, one leading byte-order mark dropped: anything else
    // would be read as other characters, and saving would write those.
    const std::pair<QByteArrayView, const char *> otherEncodings[]
            = {{QByteArrayView("\xFF\xFE\0\0", 4), "UTF-32"},
               {QByteArrayView("\0\0\xFE\xFF", 4), "UTF-32"},
               {"\xFF\xFE", "UTF-16"},
               {"\xFE\xFF", "UTF-16"}};
    for (const auto &[mark, encoding] : otherEncodings) {
        if (bytes.startsWith(mark))
            return tr("The file is encoded in %1, not UTF-8").arg(QLatin1String(encoding));
    }
    if (bytes.startsWith(byteOrderMark))
        bytes = bytes.sliced(byteOrderMark.size());
    if (const qsizetype bad = firstInvalidUtf8(bytes); bad < bytes.size())
        return describeFault(bytes, size_t(bad), tr("Invalid UTF-8"));
    return faultOf(bytes);
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
