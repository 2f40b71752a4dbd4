#include "io/jsonwriter.h"

#include "model/jsonnode.h"

#include <yyjson.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// Copies the text with its length, so a U+0000 inside it is written too.
yyjson_mut_val *copiedString(yyjson_mut_doc *doc, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return yyjson_mut_strncpy(doc, utf8.constData(), size_t(utf8.size()));
}

yyjson_mut_val *numberValue(yyjson_mut_doc *doc, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return yyjson_mut_sint(doc, value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return yyjson_mut_uint(doc, value.toULongLong());
    default:
        // Text that is no number converts to 0; NaN and infinities make the
        // writer fail later.
        return yyjson_mut_real(doc, value.toDouble());
    }
}

// The value of one node, without its children.
yyjson_mut_val *shallowValue(const JsonNode *node, yyjson_mut_doc *doc)
{
    switch (node->type()) {
    case JsonNodeType::Object:
        return yyjson_mut_obj(doc);
    case JsonNodeType::Array:
        return yyjson_mut_arr(doc);
    case JsonNodeType::String:
        return copiedString(doc, node->value().toString());
    case JsonNodeType::Number:
        return numberValue(doc, node->value());
    case JsonNodeType::Boolean:
        return yyjson_mut_bool(doc, node->value().toBool());
    default:
        return yyjson_mut_null(doc);
    }
}

} // namespace

QByteArray JsonWriter::write(const JsonNode *node, bool pretty)
{
    yyjson_mut_doc *doc = yyjson_mut_doc_new(nullptr);
    if (!doc)
        return {};
    QByteArray text;
    if (yyjson_mut_val *root = nodeToYyjson(node, doc)) {
        yyjson_mut_doc_set_root(doc, root);
        size_t length = 0;
        const yyjson_write_flag flags = pretty ? YYJSON_WRITE_PRETTY : YYJSON_WRITE_NOFLAG;
        if (char *written = yyjson_mut_write_opts(doc, flags, nullptr, &length, nullptr)) {
            text = QByteArray(written, qsizetype(length));
            std::free(written);
        }
    }
    yyjson_mut_doc_free(doc);
    return text;
}

yyjson_mut_val *JsonWriter::nodeToYyjson(const JsonNode *node, yyjson_mut_doc *doc)
{
    yyjson_mut_val *top = shallowValue(node, doc);
    // Containers whose children are still to be converted, with their values.
    std::vector<std::pair<const JsonNode *, yyjson_mut_val *>> pending;
    if (top && node->childCount() > 0)
        pending.emplace_back(node, top);
    while (!pending.empty()) {
        const auto [container, value] = pending.back();
        pending.pop_back();
        for (int row = 0; row < container->childCount(); ++row) {
            const JsonNode *child = container->child(row);
            yyjson_mut_val *childValue = addToYyjsonContainer(child, doc, value);
            if (childValue && child->childCount() > 0)
                pending.emplace_back(child, childValue);
        }
    }
    return top;
}

yyjson_mut_val *JsonWriter::addToYyjsonContainer(const JsonNode *child, yyjson_mut_doc *doc,
                                                 yyjson_mut_val *container)
{
    yyjson_mut_val *value = shallowValue(child, doc);
    if (!value)
        return nullptr; // out of memory: the member is left out, the rest is written
    if (yyjson_mut_is_obj(container)) {
        yyjson_mut_val *key = copiedString(doc, child->key());
        if (!key || !yyjson_mut_obj_add(container, key, value))
            return nullptr;
    } else if (!yyjson_mut_arr_append(container, value)) {
        return nullptr;
    }
    return value;
}
