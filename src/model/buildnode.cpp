// JsonTreeModel::buildNode: a node tree from a parsed yyjson value.

#include "model/jsontreemodel.h"

#include "io/jsonreader.h"
#include "model/jsonnode.h"

#include <yyjson.h>

#include <QHash>
#include <QStringDecoder>

#include <limits>
#include <vector>

namespace {

QString utf8Text(const char *text, size_t length)
{
    const QByteArrayView bytes(text, qsizetype(length));
    // fromUtf8 drops a leading byte-order mark, but at the start of a string
    // or a name it is a character of the text (U+FEFF) and must stay.
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder(bytes);
    }
    return QString::fromUtf8(bytes);
}

QVariant numberValue(yyjson_val *value)
{
    switch (yyjson_get_subtype(value)) {
    case YYJSON_SUBTYPE_UINT: {
        const quint64 number = yyjson_get_uint(value);
        // Above the signed range the unsigned value is kept as it is, so it is
        // shown and written back with every digit.
        if (number > quint64(std::numeric_limits<qint64>::max()))
            return QVariant::fromValue(number);
        return QVariant::fromValue(qint64(number));
    }
    case YYJSON_SUBTYPE_SINT:
        return QVariant::fromValue(qint64(yyjson_get_sint(value)));
    default:
        return QVariant(yyjson_get_real(value));
    }
}

// A node for the value itself, without its children.
JsonNode *scalarNode(yyjson_val *value, const QString &key)
{
    switch (yyjson_get_type(value)) {
    case YYJSON_TYPE_BOOL:
        return new JsonNode(key, QVariant(yyjson_get_subtype(value) == YYJSON_SUBTYPE_TRUE),
                            JsonNodeType::Boolean);
    case YYJSON_TYPE_NUM:
        return new JsonNode(key, numberValue(value), JsonNodeType::Number);
    case YYJSON_TYPE_STR:
        return new JsonNode(key, utf8Text(yyjson_get_str(value), yyjson_get_len(value)),
                            JsonNodeType::String);
    case YYJSON_TYPE_ARR:
        return new JsonNode(key, QVariant(), JsonNodeType::Array);
    case YYJSON_TYPE_OBJ:
        return new JsonNode(key, QVariant(), JsonNodeType::Object);
    default: // null, none, raw and a null pointer alike
        return new JsonNode(key, QVariant(), JsonNodeType::Null);
    }
}

// Member names repeat from record to record, and every array has a "[0]": each
// distinct key text is made once per build and shared by all the nodes that
// carry it, instead of one allocation per node.
class KeyPool
{
public:
    const QString &label(size_t position)
    {
        while (labels.size() <= position)
            labels.push_back(JsonNode::positionLabel(qsizetype(labels.size())));
        return labels[position];
    }

    QString name(yyjson_val *key)
    {
        const char *text = yyjson_get_str(key);
        const size_t length = yyjson_get_len(key);
        if (length > maxPooledLength)
            return utf8Text(text, length);
        const QByteArray bytes = QByteArray::fromRawData(text, qsizetype(length));
        const auto found = names.constFind(bytes);
        if (found != names.cend())
            return *found;
        const QString decoded = utf8Text(text, length);
        // The pool keeps a copy of the name: the parsed document is freed later.
        if (names.size() < maxPooledNames)
            names.insert(QByteArray(text, qsizetype(length)), decoded);
        return decoded;
    }

private:
    static constexpr size_t maxPooledLength = 64;
    static constexpr qsizetype maxPooledNames = 65536;
    std::vector<QString> labels;
    QHash<QByteArray, QString> names;
};

} // namespace

JsonNode *JsonTreeModel::buildNode(yyjson_val *value, const QString &key)
{
    JsonNode *top = scalarNode(value, key);
    if (!top->isContainer())
        return top;

    // One frame per open container, innermost last: the height of the stack
    // is the nesting depth reached so far.
    struct Frame
    {
        JsonNode *node;
        yyjson_arr_iter elements;
        yyjson_obj_iter members;
    };
    std::vector<Frame> stack;
    KeyPool keys;
    auto open = [&stack](JsonNode *node, yyjson_val *container) {
        Frame frame {node, {}, {}};
        node->reserveChildren(int(yyjson_get_len(container)));
        if (node->type() == JsonNodeType::Object)
            yyjson_obj_iter_init(container, &frame.members);
        else
            yyjson_arr_iter_init(container, &frame.elements);
        stack.push_back(frame);
    };
    open(top, value);
    while (!stack.empty()) {
        Frame &frame = stack.back();
        yyjson_val *childValue;
        QString childKey;
        if (frame.node->type() == JsonNodeType::Object) {
            yyjson_val *name = yyjson_obj_iter_next(&frame.members);
            if (!name) {
                stack.pop_back();
                continue;
            }
            childValue = yyjson_obj_iter_get_val(name);
            childKey = keys.name(name);
        } else {
            childValue = yyjson_arr_iter_next(&frame.elements);
            if (!childValue) {
                stack.pop_back();
                continue;
            }
            childKey = keys.label(frame.elements.idx - 1);
        }
        JsonNode *child = scalarNode(childValue, childKey);
        frame.node->appendChild(child);
        if (yyjson_is_ctn(childValue)) {
            if (stack.size() >= size_t(JsonReader::maxDepth)) {
                delete top;
                return nullptr;
            }
            open(child, childValue);
        }
    }
    return top;
}
