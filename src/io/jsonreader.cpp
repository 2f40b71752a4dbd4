#include "io/jsonreader.h"

#include "io/cdeleter.h"
#include "io/linescanner.h"
#include "io/treebuilder.h"
#include "tree/jsonnode.h"

#include <QFile>
#include <QFileInfo>

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

// The first byte outside the text's strings for which `visit` is true; the
// size when there is none.
template<typename Visit> qsizetype findOutsideStrings(QByteArrayView text, Visit visit)
{
    bool inString = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (visit(i)) {
            return i;
        }
    }
    return text.size();
}

// The byte at which the nesting first goes deeper than the limit.
qsizetype depthFaultPosition(QByteArrayView text)
{
    int depth = 0;
    return findOutsideStrings(text, [&](qsizetype i) {
        if (text[i] == '[' || text[i] == '{')
            return ++depth > JsonReader::maxDepth;
        if (text[i] == ']' || text[i] == '}')
            --depth;
        return false;
    });
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

// The parser's flags for what a format allows beyond strict JSON.
yyjson_read_flag readFlags(JsonReader::Format format)
{
    return format == JsonReader::Format::JsonWithComments
            ? YYJSON_READ_ALLOW_COMMENTS | YYJSON_READ_ALLOW_TRAILING_COMMAS
            : YYJSON_READ_NOFLAG;
}

bool isBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

// Turns JSON Lines into the elements of an array: the line break after each
// non-blank line that another one follows becomes a comma. Returns how many
// lines are not blank.
size_t joinLines(char *text, qsizetype size)
{
    size_t lines = 0;
    char *pendingBreak = nullptr;
    for (char *line = text, *end = text + size; line < end;) {
        auto *lineEnd = static_cast<char *>(std::memchr(line, '\n', size_t(end - line)));
        if (!lineEnd)
            lineEnd = end;
        if (!isBlank(QByteArrayView(line, lineEnd))) {
            if (pendingBreak)
                *pendingBreak = ',';
            ++lines;
            pendingBreak = lineEnd < end ? lineEnd : nullptr;
        }
        line = lineEnd + 1;
    }
    return lines;
}

// Whether the text has a comment outside its strings. Trailing commas are
// dropped without a loss; comments are not kept.
bool containsComments(QByteArrayView text)
{
    return findOutsideStrings(text,
                              [text](qsizetype i) {
                                  return text[i] == '/' && i + 1 < text.size()
                                          && (text[i + 1] == '/' || text[i + 1] == '*');
                              })
            < text.size();
}

} // namespace

std::unique_ptr<JsonNode> JsonReader::parse(QByteArrayView utf8, QString *error)
{
    error->clear();
    // Integers beyond 64 bits come as their digits, to be kept as they are.
    const CPointer<yyjson_doc> doc(
            utf8.isEmpty() ? nullptr
                           : yyjson_read_opts(const_cast<char *>(utf8.data()), size_t(utf8.size()),
                                              YYJSON_READ_BIGNUM_AS_RAW, nullptr, nullptr));
    std::unique_ptr<JsonNode> tree
            = doc ? TreeBuilder::build(yyjson_doc_get_root(doc.get()), QString()) : nullptr;
    if (!tree)
        *error = faultOf(utf8);
    return tree;
}

QString JsonReader::faultOf(QByteArrayView utf8, Format format)
{
    // Of a text the parser takes, findFault() names the only fault left: the
    // nesting too deep.
    size_t position = 0;
    QString reason;
    findFault(utf8, format, &position, &reason);
    return describeFault(utf8, position, reason);
}

bool JsonReader::findFault(QByteArrayView utf8, Format format, size_t *position, QString *reason)
{
    if (utf8.isEmpty()) {
        // yyjson takes no empty input at all; say what it says of blank input.
        *position = 0;
        *reason = tr("Input data is empty");
        return true;
    }
    // A number with a fraction or exponent beyond a double's range comes as
    // raw text too, and no node takes it: read again without the flag, the
    // parser says what and where.
    const yyjson_read_flag lenient = readFlags(format);
    for (const yyjson_read_flag flags : {lenient | YYJSON_READ_BIGNUM_AS_RAW, lenient}) {
        yyjson_read_err readError;
        const CPointer<yyjson_doc> doc(yyjson_read_opts(
                const_cast<char *>(utf8.data()), size_t(utf8.size()), flags, nullptr, &readError));
        if (!doc) {
            *reason = QString::fromUtf8(readError.msg);
            if (!reason->isEmpty())
                (*reason)[0] = reason->at(0).toUpper(); // the parser's reasons start in lower case
            *position = readError.pos;
            return true;
        }
    }
    *position = size_t(depthFaultPosition(utf8));
    *reason = tr("Nesting is deeper than %1 levels").arg(maxDepth);
    return *position < size_t(utf8.size());
}

QString JsonReader::lineFault(QByteArrayView utf8)
{
    for (qsizetype start = 0; start < utf8.size();) {
        qsizetype end = utf8.indexOf('\n', start);
        if (end < 0)
            end = utf8.size();
        const QByteArrayView line = utf8.sliced(start, end - start);
        size_t position = 0;
        QString reason;
        if (!isBlank(line) && findFault(line, Format::Json, &position, &reason))
            return describeFault(utf8, size_t(start) + position, reason);
        start = end + 1;
    }
    // Every line is a value, but one nests as deep as a file may: in the
    // array of them it nests deeper.
    return describeFault(utf8, 0, tr("Nesting is deeper than %1 levels").arg(maxDepth));
}

JsonReader::Format JsonReader::formatForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jsonl") || suffix == QLatin1String("ndjson"))
        return Format::JsonLines;
    if (suffix == QLatin1String("jsonc"))
        return Format::JsonWithComments;
    return Format::Json;
}

std::unique_ptr<JsonNode> JsonReader::readFile(const QString &path, QString *parseError,
                                               QString *readError)
{
    std::unique_ptr<ParsedDocument> parsed
            = parseFile(path, formatForPath(path), parseError, readError);
    return parsed ? ParsedDocument::topLevelNode(std::move(parsed)) : nullptr;
}

std::unique_ptr<ParsedDocument> JsonReader::parseFile(const QString &path, Format format,
                                                      QString *parseError, QString *readError,
                                                      bool *readsWithComments,
                                                      const Progress &progress)
{
    parseError->clear();
    readError->clear();
    if (readsWithComments)
        *readsWithComments = false;
    QFile file(path);
    // Read as it is, not in text mode: that drops every CR, even inside a
    // string or between two digits, so "[1<CR>2]" would load as [12]. The
    // parser takes CR LF and CR as the white space they are.
    if (!file.open(QIODevice::ReadOnly)) {
        *readError = file.errorString();
        return nullptr;
    }
    // One buffer, parsed in place and kept: the text is never copied. Its
    // size is the file's, grown only for a device that tells none. A byte
    // before the text and one after it take the brackets that make JSON
    // Lines an array.
    const qint64 size = file.size();
    qint64 capacity = std::max<qint64>(size, 1 << 16);
    qint64 used = 0;
    const auto allocation = [&capacity] { return size_t(capacity) + 2 + YYJSON_PADDING_SIZE; };
    CPointer<char> buffer(static_cast<char *>(std::malloc(allocation())));
    for (qint64 read = 1; buffer && read > 0;) {
        if (used == capacity && file.atEnd())
            break; // all of it, as the size said
        if (used == capacity) {
            capacity *= 2;
            char *grown = static_cast<char *>(std::realloc(buffer.get(), allocation()));
            if (grown)
                (void)buffer.release(); // moved by realloc
            buffer.reset(grown); // on failure, frees the old buffer
            if (!buffer)
                break;
        }
        read = file.read(buffer.get() + 1 + used, std::min(capacity - used, readChunkSize));
        used += std::max<qint64>(read, 0);
        if (progress && !progress(used, size))
            return nullptr;
    }
    if (!buffer || file.error() != QFileDevice::NoError) {
        *readError = buffer ? file.errorString() : qt_error_string(ENOMEM);
        return nullptr;
    }
    char *const text = buffer.get() + 1;
    std::memset(text + used, 0, 1 + YYJSON_PADDING_SIZE);

    const qsizetype start
            = QByteArrayView(text, used).startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    const bool hasComments = format == Format::JsonWithComments
            && containsComments(QByteArrayView(text + start, used - start));
    const yyjson_read_flag flags
            = YYJSON_READ_INSITU | YYJSON_READ_BIGNUM_AS_RAW | readFlags(format);
    CPointer<yyjson_doc> doc;
    if (format == Format::JsonLines) {
        // The lines, joined by commas, between brackets: the array of their
        // values. As each line closes what it opens, every comma put in parts
        // two lines; a line that holds more than one value shows in the count.
        char *array = text + start - 1;
        const bool closed = LineScanner::closesEveryLine(QByteArrayView(array + 1, used - start));
        const size_t lines = joinLines(array + 1, used - start);
        array[0] = '[';
        array[used - start + 1] = ']';
        if (closed)
            doc.reset(yyjson_read_opts(array, size_t(used - start + 2), flags, nullptr, nullptr));
        if (doc && yyjson_arr_size(yyjson_doc_get_root(doc.get())) != lines)
            doc.reset();
    } else {
        doc.reset(yyjson_read_opts(text + start, size_t(used - start), flags, nullptr, nullptr));
    }
    int depth = 0;
    if (doc && ParsedDocument::fitsTree(doc.get(), &depth)) {
        auto parsed = std::make_unique<ParsedDocument>(std::move(buffer), std::move(doc), depth);
        parsed->setHasComments(hasComments);
        return parsed;
    }
    // The text is read once more below: free this copy first.
    doc.reset();
    buffer.reset();

    // Parsing in place changed the text: read it again to say why and where.
    // A valid document is valid UTF-8, so only a failed one is checked.
    file.seek(0);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *readError = file.errorString();
        return nullptr;
    }
    *parseError = diagnose(bytes, format);
    if (readsWithComments && format == Format::Json) {
        QByteArrayView content = bytes;
        if (content.startsWith(byteOrderMark))
            content = content.sliced(byteOrderMark.size());
        size_t position = 0;
        QString reason;
        *readsWithComments = !findFault(content, Format::JsonWithComments, &position, &reason);
    }
    return nullptr;
}

QString JsonReader::diagnose(QByteArrayView bytes, Format format)
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
    return format == Format::JsonLines ? lineFault(bytes) : faultOf(bytes, format);
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
