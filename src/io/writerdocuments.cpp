// JsonWriter's values as yyjson documents, and their text: a node alone, a
// batch of siblings, a parsed value as it is; indentation and chunks.

#include "io/jsonwriter.h"

#include "io/cdeleter.h"
#include "io/parseddocument.h"
#include "tree/jsonnode.h"

#include <yyjson.h>

#include <vector>

namespace {

// Output is passed to the sink in chunks of about this many bytes.
constexpr qsizetype pieceSize = 1 << 20;

} // namespace

// A parsed value as it is: its text follows an indent already written, and
// its further lines are indented by `depth` more levels.
bool JsonWriter::writeValue(yyjson_val *value, int depth)
{
    size_t length = 0;
    const yyjson_write_flag flags = m_pretty ? YYJSON_WRITE_PRETTY : YYJSON_WRITE_NOFLAG;
    const CPointer<char> written(yyjson_val_write_opts(value, flags, nullptr, &length, nullptr));
    if (!written)
        return false;
    appendIndented(QByteArrayView(written.get(), qsizetype(length)), depth, false);
    return true;
}

// One value as a document of its own: a whole small tree, or a member name.
bool JsonWriter::writeAlone(const std::function<yyjson_mut_val *(yyjson_mut_doc *)> &value)
{
    // Without memory for the document its values are null, and so is the text.
    const CPointer<yyjson_mut_doc> doc = newDocument();
    return writeDocument(doc.get(), value(doc.get()), 0, 0);
}

// The children first..end-1 of the container, written as the members of a
// container of the same kind, without its brackets: exactly the text they
// have inside the real one.
bool JsonWriter::writeBatch(const JsonNode *container, int first, int end, int depth)
{
    const CPointer<yyjson_mut_doc> document = newDocument();
    yyjson_mut_doc *doc = document.get();
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
    return built && writeDocument(doc, batch, m_pretty ? 2 : 1, depth);
}

// Appends the document's text without `trim` bytes at either end. A text that
// belongs `depth` levels down is indented by as many more levels on every
// line.
bool JsonWriter::writeDocument(yyjson_mut_doc *doc, yyjson_mut_val *root, qsizetype trim, int depth)
{
    if (!root)
        return false;
    yyjson_mut_doc_set_root(doc, root);
    size_t length = 0;
    const yyjson_write_flag flags = m_pretty ? YYJSON_WRITE_PRETTY : YYJSON_WRITE_NOFLAG;
    const CPointer<char> written(yyjson_mut_write_opts(doc, flags, nullptr, &length, nullptr));
    if (!written)
        return false;
    const QByteArrayView part = QByteArrayView(written.get(), qsizetype(length))
                                        .sliced(trim, qsizetype(length) - 2 * trim);
    appendIndented(part, depth, true);
    return true;
}

// In yyjson's output every line break is between values, since strings escape
// theirs: each line gets the margin, the first one only when asked.
void JsonWriter::appendIndented(QByteArrayView text, int depth, bool marginFirst)
{
    if (!m_pretty || depth == 0) {
        m_text += text;
        return;
    }
    const QByteArray margin(4 * depth, ' ');
    qsizetype lineStart = 0;
    for (bool first = true;; first = false) {
        if (marginFirst || !first)
            m_text += margin;
        const qsizetype lineEnd = text.indexOf('\n', lineStart);
        if (lineEnd < 0) {
            m_text += text.sliced(lineStart);
            return;
        }
        m_text += text.sliced(lineStart, lineEnd + 1 - lineStart);
        lineStart = lineEnd + 1;
    }
}

bool JsonWriter::flushIfFull()
{
    if (m_text.size() < pieceSize)
        return true;
    const bool taken = m_sink(m_text);
    m_text.resize(0); // keeps its capacity for the next chunk, unlike clear()
    return taken && (!m_progress || m_progress(m_topDone, m_topTotal));
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
    if (top && node->childCount() > 0 && !node->unmadeChildren())
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
        if (child->childCount() > 0 && !child->unmadeChildren())
            stack.push_back({child, childValue, 0});
    }
    return top;
}

// The value of one node, without its children.
yyjson_mut_val *JsonWriter::shallowValue(const JsonNode *node, yyjson_mut_doc *doc)
{
    // A small unmade subtree is copied whole from its parsed values.
    if (yyjson_val *value = ParsedDocument::unmadeValue(node))
        return yyjson_val_mut_copy(doc, value);
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

CPointer<yyjson_mut_doc> JsonWriter::newDocument()
{
    ++m_generation; // invalidates the key cache entries of the previous document
    return CPointer<yyjson_mut_doc>(yyjson_mut_doc_new(m_allocator.get()));
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
