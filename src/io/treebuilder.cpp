#include "io/treebuilder.h"

#include "io/jsonreader.h"

#include "tree/jsonnode.h"
#include "tree/textpool.h"

#include <yyjson.h>

#include <limits>
#include <utility>
#include <vector>

namespace {

// Member names repeat from record to record, and so do short values ("red",
// "EUR", "M"); longer values rarely do and are not worth looking up.
constexpr qsizetype maxPooledNameLength = 64;
constexpr qsizetype maxPooledValueLength = 16;

QString pooledText(TextPool &texts, yyjson_val *string, qsizetype maxPooledLength)
{
    return texts.text(yyjson_get_str(string), qsizetype(yyjson_get_len(string)), maxPooledLength);
}

// A variant holding the text, made without the copy (and the atomic reference
// counting) that QVariant(const QString &) costs for every string value.
QVariant stringVariant(QString text)
{
    QVariant variant(QMetaType::fromType<QString>());
    *static_cast<QString *>(variant.data()) = std::move(text);
    return variant;
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

} // namespace

std::unique_ptr<JsonNode> TreeBuilder::build(yyjson_val *value, const QString &key)
{
    TextPool texts;
    std::unique_ptr<JsonNode> top = node(value, key, texts);
    if (!top || !top->isContainer())
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
    auto open = [&stack](JsonNode *node, yyjson_val *container) {
        Frame frame {node, {}, {}};
        node->reserveChildren(int(yyjson_get_len(container)));
        if (node->type() == JsonNodeType::Object)
            yyjson_obj_iter_init(container, &frame.members);
        else
            yyjson_arr_iter_init(container, &frame.elements);
        stack.push_back(frame);
    };
    open(top.get(), value);
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
            childKey = memberName(name, texts);
        } else {
            childValue = yyjson_arr_iter_next(&frame.elements);
            if (!childValue) {
                stack.pop_back();
                continue;
            }
            childKey = texts.positionLabel(frame.elements.idx - 1);
        }
        std::unique_ptr<JsonNode> child = node(childValue, std::move(childKey), texts);
        if (!child || (yyjson_is_ctn(childValue) && stack.size() >= size_t(JsonReader::maxDepth)))
            return nullptr;
        JsonNode *placed = child.release();
        frame.node->appendChild(placed);
        if (yyjson_is_ctn(childValue))
            open(placed, childValue);
    }
    return top;
}

std::unique_ptr<JsonNode> TreeBuilder::node(yyjson_val *value, QString key, TextPool &texts)
{
    switch (yyjson_get_type(value)) {
    case YYJSON_TYPE_BOOL:
        return std::make_unique<JsonNode>(
                std::move(key), QVariant(yyjson_get_subtype(value) == YYJSON_SUBTYPE_TRUE),
                JsonNodeType::Boolean);
    case YYJSON_TYPE_NUM:
        return std::make_unique<JsonNode>(std::move(key), numberValue(value), JsonNodeType::Number);
    case YYJSON_TYPE_STR:
        return std::make_unique<JsonNode>(
                std::move(key), stringVariant(pooledText(texts, value, maxPooledValueLength)),
                JsonNodeType::String);
    case YYJSON_TYPE_RAW: {
        // Digits of an integer beyond 64 bits; anything else too large is refused.
        const QString digits
                = QString::fromLatin1(yyjson_get_raw(value), qsizetype(yyjson_get_len(value)));
        if (!JsonNode::isIntegerText(digits))
            return nullptr;
        return std::make_unique<JsonNode>(std::move(key), digits, JsonNodeType::Number);
    }
    case YYJSON_TYPE_ARR:
        return std::make_unique<JsonNode>(std::move(key), QVariant(), JsonNodeType::Array);
    case YYJSON_TYPE_OBJ:
        return std::make_unique<JsonNode>(std::move(key), QVariant(), JsonNodeType::Object);
    default: // null, none and a null pointer alike
        return std::make_unique<JsonNode>(std::move(key), QVariant(), JsonNodeType::Null);
    }
}

QString TreeBuilder::memberName(yyjson_val *name, TextPool &texts)
{
    return pooledText(texts, name, maxPooledNameLength);
}
