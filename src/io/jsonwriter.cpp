#include "io/jsonwriter.h"

#include "io/parseddocument.h"
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

// Whether the node is written in pieces rather than as one small document:
// it has many children, or its subtree holds more values than a batch takes.
// Unmade subtrees count their parsed values and stay unmade; the count stops
// at the batch size, so asking costs little however large the subtree.
bool isPiecewise(const JsonNode *node)
{
    if (!node->isContainer())
        return false;
    if (yyjson_val *value = ParsedDocument::unmadeValue(node))
        return ParsedDocument::subtreeSize(value) > size_t(batchSize);
    if (node->childCount() >= piecewiseChildCount)
        return true;
    size_t weight = 0;
    std::vector<const JsonNode *> pending {node};
    while (!pending.empty() && weight <= size_t(batchSize)) {
        const JsonNode *next = pending.back();
        pending.pop_back();
        if (yyjson_val *value = ParsedDocument::unmadeValue(next)) {
            weight += ParsedDocument::subtreeSize(value);
            continue;
        }
        weight += 1;
        for (int row = 0; row < next->childCount(); ++row)
            pending.push_back(next->child(row));
    }
    return weight > size_t(batchSize);
}

} // namespace

JsonWriter::JsonWriter(bool pretty, const Sink &sink, const Progress &progress)
    : m_pretty(pretty)
    , m_sink(sink)
    , m_progress(progress)
    , m_allocator(yyjson_alc_dyn_new())
    , m_encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless)
{
}

bool JsonWriter::write(const JsonNode *node, bool pretty, const Sink &sink,
                       const Progress &progress)
{
    JsonWriter writer(pretty, sink, progress);
    if (!writer.m_allocator)
        return false;
    const bool written = isPiecewise(node)
            ? writer.writeTree(node)
            : writer.writeAlone([&](yyjson_mut_doc *doc) { return writer.convert(node, doc); });
    return written && sink(writer.m_text);
}

bool JsonWriter::writeLines(const JsonNode *array, const Sink &sink, const Progress &progress)
{
    JsonWriter writer(false, sink, progress);
    writer.m_lines = true;
    return writer.m_allocator && writer.writeTree(array) && sink(writer.m_text);
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

bool JsonWriter::writeFile(const QString &path, const JsonNode *node, bool pretty, QString *error,
                           const Progress &progress)
{
    return saveFile(path, error, [&](QIODevice *device) {
        return writeDevice(device, node, pretty, error, progress);
    });
}

bool JsonWriter::writeLinesFile(const QString &path, const JsonNode *array, QString *error,
                                const Progress &progress)
{
    const TextWriter lines = [array](const Sink &sink, const Progress &watched) {
        return writeLines(array, sink, watched);
    };
    return saveFile(path, error, [&](QIODevice *device) {
        return writeTo(device, array, lines, error, progress);
    });
}

bool JsonWriter::saveFile(const QString &path, QString *error,
                          const std::function<bool(QIODevice *)> &writeDevice)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    // QSaveFile discards what it holds unless committed.
    if (!writeDevice(&file))
        return false;
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool JsonWriter::writeDevice(QIODevice *device, const JsonNode *node, bool pretty, QString *error,
                             const Progress &progress)
{
    const TextWriter text = [node, pretty](const Sink &sink, const Progress &watched) {
        return node ? write(node, pretty, sink, watched) : sink("{}");
    };
    return writeTo(device, node, text, error, progress);
}

bool JsonWriter::writeTo(QIODevice *device, const JsonNode *node, const TextWriter &write,
                         QString *error, const Progress &progress)
{
    bool cancelled = false;
    const Progress watched = [&](qint64 done, qint64 total) {
        cancelled = progress && !progress(done, total);
        return !cancelled;
    };
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
    if (write(sink, watched))
        return true;
    if (cancelled) {
        error->clear();
        return false;
    }
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
        // Parsed values are finite numbers all: unmade children stay unmade.
        for (int row = node->unmadeChildren() ? -1 : node->childCount() - 1; row >= 0; --row)
            pending.push_back(node->child(row));
    }
    return tr("The document could not be turned into JSON text.");
}

// The containers with many children are opened and closed here; the runs of
// children between them are written in batches, and the children of an
// unmade container one by one from their parsed values. An explicit stack
// keeps deep trees off the call stack.
bool JsonWriter::writeTree(const JsonNode *top)
{
    struct Frame
    {
        const JsonNode *container; // null for a container read from parsed values
        yyjson_val *value; // the parsed container whose children are written, if any
        int next;
        int depth;
        bool first;
        yyjson_arr_iter elements;
        yyjson_obj_iter members;
    };
    std::vector<Frame> stack;
    // JSON Lines have no brackets around the top-level array, and a line
    // break where it has commas.
    const auto open = [this, &stack](const JsonNode *container, yyjson_val *value, int depth) {
        const bool isObject
                = value ? yyjson_is_obj(value) : container->type() == JsonNodeType::Object;
        if (!m_lines || !stack.empty())
            m_text += isObject ? '{' : '[';
        if (m_pretty)
            m_text += '\n';
        Frame frame {container, value, 0, depth, true, {}, {}};
        if (value && isObject)
            yyjson_obj_iter_init(value, &frame.members);
        else if (value)
            yyjson_arr_iter_init(value, &frame.elements);
        stack.push_back(frame);
    };
    const auto close = [this, &stack](bool isObject) {
        if (m_pretty) {
            m_text += '\n';
            indent(stack.back().depth);
        }
        if (!m_lines || stack.size() > 1)
            m_text += isObject ? '}' : ']';
        else if (!stack.back().first)
            m_text += '\n';
        stack.pop_back();
    };
    // JSON Lines end each top-level element with a line break instead.
    const auto separateElements = [this, &stack](bool &first) {
        if (!first)
            m_text += m_lines && stack.size() == 1 ? "\n" : m_pretty ? ",\n" : ",";
        first = false;
    };
    open(top, ParsedDocument::unmadeValue(top), 0);
    m_topTotal = top->childCount();
    while (!stack.empty()) {
        Frame &frame = stack.back();
        if (stack.size() == 1) {
            m_topDone = frame.value
                    ? qint64(yyjson_is_obj(frame.value) ? frame.members.idx : frame.elements.idx)
                    : frame.next;
        }
        if (frame.value) {
            const bool isObject = yyjson_is_obj(frame.value);
            yyjson_val *key = isObject ? yyjson_obj_iter_next(&frame.members) : nullptr;
            yyjson_val *child = isObject ? (key ? yyjson_obj_iter_get_val(key) : nullptr)
                                         : yyjson_arr_iter_next(&frame.elements);
            if (!child) {
                close(isObject);
                continue;
            }
            separateElements(frame.first);
            if (m_pretty)
                indent(frame.depth + 1);
            if (key && !writeValue(key, 0))
                return false;
            if (key)
                m_text += m_pretty ? ": " : ":";
            if (ParsedDocument::subtreeSize(child) > size_t(batchSize))
                open(nullptr, child, frame.depth + 1);
            else if (!writeValue(child, frame.depth + 1) || !flushIfFull())
                return false;
            continue;
        }
        const int count = frame.container->childCount();
        if (frame.next == count) {
            close(frame.container->type() == JsonNodeType::Object);
            continue;
        }
        separateElements(frame.first);
        const JsonNode *child = frame.container->child(frame.next);
        if (!isPiecewise(child)) {
            // A batch is written with commas between its values: one line
            // is one batch.
            const int batchEnd = m_lines && stack.size() == 1 ? frame.next + 1 : count;
            int end = frame.next;
            for (int size = 0; end < batchEnd && size < batchSize; ++end) {
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
        open(child, ParsedDocument::unmadeValue(child), frame.depth + 1);
    }
    return true;
}
