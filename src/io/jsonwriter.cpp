#include "io/jsonwriter.h"

#include "tree/jsonnode.h"

#include <yyjson.h>

#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <cmath>
#include <vector>

namespace {

// A container with at least this many children is written incrementally;
// smaller ones go into a batch whole.
constexpr int piecewiseChildCount = 64;
// A batch ends once its children and grandchildren reach about this many.
constexpr int batchSize = 4096;
// Output is passed to the sink in chunks of about this many bytes.
constexpr qsizetype pieceSize = 1 << 20;

bool isPiecewise(const JsonNode *node)
{
    return node->isContainer() && node->childCount() >= piecewiseChildCount;
}

} // namespace

JsonWriter::JsonWriter(bool pretty, const Sink &sink)
    : m_pretty(pretty)
    , m_sink(sink)
    , m_allocator(yyjson_alc_dyn_new())
    , m_encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless)
{
}

JsonWriter::~JsonWriter()
{
    if (m_allocator)
        yyjson_alc_dyn_free(m_allocator);
}

bool JsonWriter::write(const JsonNode *node, bool pretty, const Sink &sink)
{
    JsonWriter writer(pretty, sink);
    if (!writer.m_allocator)
        return false;
    const bool written = isPiecewise(node)
            ? writer.writeTree(node)
            : writer.writeAlone([&](yyjson_mut_doc *doc) { return writer.convert(node, doc); });
    return written && sink(writer.m_text);
}

QString JsonWriter::toText(const JsonNode *node, bool pretty)
{
    if (!node)
        return QStringLiteral("{}");
    // Each chunk is decoded straight onto the end of the string, so the UTF-8
    // text of a large document never exists whole beside its UTF-16 form.
    // Chunks start between two values, never with a byte-order mark; the
    // decoder is told to keep one all the same.
    QString text;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const bool written = write(node, pretty, [&](QByteArrayView piece) {
        const qsizetype used = text.size();
        // Never more UTF-16 units than UTF-8 bytes.
        text.resize(used + piece.size());
        const QChar *end = decoder.appendToBuffer(text.data() + used, piece);
        text.truncate(end - text.constData());
        return true;
    });
    return written ? text : QString();
}

bool JsonWriter::writeFile(const QString &path, const JsonNode *node, bool pretty, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    // QSaveFile discards what it holds unless committed.
    if (!writeDevice(&file, node, pretty, error))
        return false;
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool JsonWriter::writeDevice(QIODevice *device, const JsonNode *node, bool pretty, QString *error)
{
    bool shortWrite = false;
    int systemError = 0;
    const auto sink = [&](QByteArrayView piece) {
        errno = 0;
        if (device->write(piece.data(), piece.size()) == piece.size())
            return true;
        // A piece not taken whole is a failed write, even when the device
        // reports no error of its own (a full disk takes part of a write).
        shortWrite = true;
        systemError = errno;
        return false;
    };
    if (node ? write(node, pretty, sink) : sink("{}"))
        return true;
    if (!shortWrite) {
        *error = unwritableNumber(node);
        return false;
    }
    const auto *file = qobject_cast<const QFileDevice *>(device);
    const bool unreported = file && file->error() == QFileDevice::NoError && systemError != 0;
    *error = unreported ? qt_error_string(systemError) : device->errorString();
    return false;
}

QString JsonWriter::unwritableNumber(const JsonNode *top)
{
    std::vector<const JsonNode *> pending {top};
    while (!pending.empty()) {
        const JsonNode *node = pending.back();
        pending.pop_back();
        const QVariant &value = node->value();
        if (node->type() == JsonNodeType::Number && value.typeId() == QMetaType::Double
            && !std::isfinite(value.toDouble())) {
            return tr("The number %1 of \"%2\" has no JSON text.")
                    .arg(value.toString(), node->key());
        }
        for (int row = node->childCount() - 1; row >= 0; --row)
            pending.push_back(node->child(row));
    }
    return tr("The document could not be turned into JSON text.");
}

// The containers with many children are opened and closed here; the runs of
// children between them are written in batches. An explicit stack keeps deep
// trees off the call stack.
bool JsonWriter::writeTree(const JsonNode *top)
{
    struct Frame
    {
        const JsonNode *container;
        int next;
        int depth;
        bool first;
    };
    const auto open = [this](const JsonNode *container) {
        m_text += container->type() == JsonNodeType::Object ? '{' : '[';
        if (m_pretty)
            m_text += '\n';
    };
    std::vector<Frame> stack;
    open(top);
    stack.push_back({top, 0, 0, true});
    while (!stack.empty()) {
        Frame &frame = stack.back();
        const int count = frame.container->childCount();
        if (frame.next == count) {
            if (m_pretty) {
                m_text += '\n';
                indent(frame.depth);
            }
            m_text += frame.container->type() == JsonNodeType::Object ? '}' : ']';
            stack.pop_back();
            continue;
        }
        separate(frame.first);
        const JsonNode *child = frame.container->child(frame.next);
        if (!isPiecewise(child)) {
            int end = frame.next;
            for (int size = 0; end < count && size < batchSize; ++end) {
                const JsonNode *next = frame.container->child(end);
                if (isPiecewise(next))
                    break;
                size += 1 + next->childCount();
            }
            if (!writeBatch(frame.container, frame.next, end, frame.depth) || !flushIfFull())
                return false;
            frame.next = end;
            continue;
        }
        if (m_pretty)
            indent(frame.depth + 1);
        if (frame.container->type() == JsonNodeType::Object) {
            const QString &key = child->key();
            if (!writeAlone([&](yyjson_mut_doc *doc) { return copiedString(doc, key); }))
                return false;
            m_text += m_pretty ? ": " : ":";
        }
        ++frame.next;
        open(child);
        stack.push_back({child, 0, frame.depth + 1, true});
    }
    return true;
}

// One value as a document of its own: a whole small tree, or a member name.
bool JsonWriter::writeAlone(const std::function<yyjson_mut_val *(yyjson_mut_doc *)> &value)
{
    // Without memory for the document its values are null, and so is the text.
    yyjson_mut_doc *doc = newDocument();
    const bool written = writeDocument(doc, value(doc), 0, 0);
    yyjson_mut_doc_free(doc);
    return written;
}

// The children first..end-1 of the container, written as the members of a
// container of the same kind, without its brackets: exactly the text they
// have inside the real one.
bool JsonWriter::writeBatch(const JsonNode *container, int first, int end, int depth)
{
    yyjson_mut_doc *doc = newDocument();
    const bool isObject = container->type() == JsonNodeType::Object;
    yyjson_mut_val *batch = isObject ? yyjson_mut_obj(doc) : yyjson_mut_arr(doc);
    bool built = batch != nullptr;
    for (int row = first; built && row < end; ++row) {
        const JsonNode *child = container->child(row);
        yyjson_mut_val *value = convert(child, doc);
        if (isObject) {
            yyjson_mut_val *key = keyString(doc, child->key());
            built = value && key && yyjson_mut_obj_add(batch, key, value);
        } else {
            built = value && yyjson_mut_arr_append(batch, value);
        }
    }
    // Pretty text starts with "[\n" and ends with "\n]"; compact with "[" and "]".
    const bool written = built && writeDocument(doc, batch, m_pretty ? 2 : 1, depth);
    yyjson_mut_doc_free(doc);
    return written;
}

// Appends the document's text without `trim` bytes at either end. A text that
// belongs `depth` levels down is indented by as many more levels on every
// line; in yyjson's output every line break is between values, since
// strings escape theirs.
bool JsonWriter::writeDocument(yyjson_mut_doc *doc, yyjson_mut_val *root, qsizetype trim, int depth)
{
    if (!root)
        return false;
    yyjson_mut_doc_set_root(doc, root);
    size_t length = 0;
    const yyjson_write_flag flags = m_pretty ? YYJSON_WRITE_PRETTY : YYJSON_WRITE_NOFLAG;
    char *written = yyjson_mut_write_opts(doc, flags, m_allocator, &length, nullptr);
    if (!written)
        return false;
    const QByteArrayView part
            = QByteArrayView(written, qsizetype(length)).sliced(trim, qsizetype(length) - 2 * trim);
    if (!m_pretty || depth == 0) {
        m_text += part;
    } else {
        const QByteArray margin(4 * depth, ' ');
        qsizetype lineStart = 0;
        for (;;) {
            m_text += margin;
            const qsizetype lineEnd = part.indexOf('\n', lineStart);
            if (lineEnd < 0) {
                m_text += part.sliced(lineStart);
                break;
            }
            m_text += part.sliced(lineStart, lineEnd + 1 - lineStart);
            lineStart = lineEnd + 1;
        }
    }
    m_allocator->free(m_allocator->ctx, written);
    return true;
}

bool JsonWriter::flushIfFull()
{
    if (m_text.size() < pieceSize)
        return true;
    const bool taken = m_sink(m_text);
    m_text.resize(0); // keeps its capacity for the next chunk, unlike clear()
    return taken;
}

void JsonWriter::separate(bool &first)
{
    if (!first)
        m_text += m_pretty ? ",\n" : ",";
    first = false;
}

void JsonWriter::indent(int depth)
{
    m_text.append(4 * depth, ' ');
}

// Depth first, in pre-order: the order the nodes were allocated in and lie
// in memory, so that they are read sequentially.
yyjson_mut_val *JsonWriter::convert(const JsonNode *node, yyjson_mut_doc *doc)
{
    yyjson_mut_val *top = shallowValue(node, doc);
    struct Frame
    {
        const JsonNode *container;
        yyjson_mut_val *value;
        int next;
    };
    std::vector<Frame> stack;
    if (top && node->childCount() > 0)
        stack.push_back({node, top, 0});
    while (!stack.empty()) {
        Frame &frame = stack.back();
        if (frame.next == frame.container->childCount()) {
            stack.pop_back();
            continue;
        }
        const JsonNode *child = frame.container->child(frame.next++);
        yyjson_mut_val *childValue = shallowValue(child, doc);
        if (!childValue)
            return nullptr;
        if (yyjson_mut_is_obj(frame.value)) {
            yyjson_mut_val *key = keyString(doc, child->key());
            if (!key || !yyjson_mut_obj_add(frame.value, key, childValue))
                return nullptr;
        } else if (!yyjson_mut_arr_append(frame.value, childValue)) {
            return nullptr;
        }
        if (child->childCount() > 0)
            stack.push_back({child, childValue, 0});
    }
    return top;
}

// The value of one node, without its children.
yyjson_mut_val *JsonWriter::shallowValue(const JsonNode *node, yyjson_mut_doc *doc)
{
    switch (node->type()) {
    case JsonNodeType::Object:
        return yyjson_mut_obj(doc);
    case JsonNodeType::Array:
        return yyjson_mut_arr(doc);
    case JsonNodeType::String: {
        const QVariant &value = node->value();
        if (value.typeId() == QMetaType::QString)
            return copiedString(doc, *static_cast<const QString *>(value.constData()));
        return copiedString(doc, value.toString());
    }
    case JsonNodeType::Number: {
        const QVariant &value = node->value();
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            return yyjson_mut_sint(doc, value.toLongLong());
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return yyjson_mut_uint(doc, value.toULongLong());
        case QMetaType::QString: {
            // An integer beyond 64 bits, written with exactly its digits.
            const auto *digits = static_cast<const QString *>(value.constData());
            if (JsonNode::isIntegerText(*digits))
                return yyjson_mut_rawncpy(doc, digits->toLatin1().constData(),
                                          size_t(digits->size()));
            return yyjson_mut_real(doc, value.toDouble());
        }
        default:
            // Text that is no number converts to 0; NaN and infinities make
            // the writer fail.
            return yyjson_mut_real(doc, value.toDouble());
        }
    }
    case JsonNodeType::Boolean:
        return yyjson_mut_bool(doc, node->value().toBool());
    default:
        return yyjson_mut_null(doc);
    }
}

yyjson_mut_doc *JsonWriter::newDocument()
{
    ++m_generation; // invalidates the key cache entries of the previous document
    return yyjson_mut_doc_new(m_allocator);
}

// Member names are implicitly shared between nodes: within one document each
// is encoded and copied once, and its later uses point at that copy.
yyjson_mut_val *JsonWriter::keyString(yyjson_mut_doc *doc, const QString &key)
{
    const QChar *data = key.constData();
    CachedKey &cached = m_keyCache[std::hash<const void *> {}(data) % m_keyCache.size()];
    // Strings that share their data share their length too.
    if (cached.generation == m_generation && cached.data == data)
        return yyjson_mut_strn(doc, cached.utf8, cached.length);
    yyjson_mut_val *string = copiedString(doc, key);
    if (string)
        cached = {m_generation, data, yyjson_mut_get_str(string), yyjson_mut_get_len(string)};
    return string;
}

// Copies the text with its length, so a U+0000 inside it is written too. The
// text is encoded into one reused buffer; the rare text with an unpaired
// surrogate takes QString::toUtf8(), which writes "?" for it.
yyjson_mut_val *JsonWriter::copiedString(yyjson_mut_doc *doc, const QString &text)
{
    const qsizetype space = m_encoder.requiredSpace(text.size());
    if (m_scratch.size() < space)
        m_scratch.resize(space);
    const char *end = m_encoder.appendToBuffer(m_scratch.data(), text);
    if (m_encoder.hasError()) {
        m_encoder.resetState();
        const QByteArray utf8 = text.toUtf8();
        return yyjson_mut_strncpy(doc, utf8.constData(), size_t(utf8.size()));
    }
    return yyjson_mut_strncpy(doc, m_scratch.constData(), size_t(end - m_scratch.constData()));
}
