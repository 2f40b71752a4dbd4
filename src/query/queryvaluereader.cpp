#include "query/queryvaluereader.h"

#include "io/parseddocument.h"
#include "tree/jsonnode.h"

#include <yyjson.h>

QueryValueReader::ChildCursor::ChildCursor(const QueryValue &container)
    : m_node(container.anchor())
{
    yyjson_val *parsed = container.parsedValue();
    if (!parsed) {
        parsed = ParsedDocument::unmadeValue(m_node);
        if (!parsed) {
            m_isObject = m_node->type() == JsonNodeType::Object;
            m_count = m_node->isContainer() ? m_node->childCount() : 0;
            return;
        }
        m_container = parsed;
    } else {
        m_container = container.container();
    }
    if (!yyjson_is_ctn(parsed))
        return;
    m_isObject = yyjson_is_obj(parsed);
    m_count = qsizetype(yyjson_get_len(parsed));
    // A member's name comes right before its value.
    m_child = parsed + (m_isObject ? 2 : 1);
}

void QueryValueReader::ChildCursor::next()
{
    if (m_child)
        m_child += ParsedDocument::subtreeSize(m_child) + (m_isObject ? 1 : 0);
    ++m_row;
}

QueryValue QueryValueReader::ChildCursor::value() const
{
    if (m_child)
        return QueryValue(m_node, m_container, m_child);
    return QueryValue(m_node->child(int(m_row)));
}

QByteArray QueryValueReader::ChildCursor::name() const
{
    if (!m_child)
        return m_node->child(int(m_row))->key().toUtf8();
    return QByteArray::fromRawData(yyjson_get_str(m_child - 1),
                                   qsizetype(yyjson_get_len(m_child - 1)));
}

bool QueryValueReader::ChildCursor::hasName(const QString &name, const QByteArray &utf8) const
{
    if (!m_child)
        return m_node->child(int(m_row))->key() == name;
    yyjson_val *key = m_child - 1;
    return yyjson_get_len(key) == size_t(utf8.size())
            && std::memcmp(yyjson_get_str(key), utf8.data(), size_t(utf8.size())) == 0;
}

QueryValueReader::Type QueryValueReader::type(const QueryValue &value)
{
    if (const JsonNode *node = value.madeNode()) {
        switch (node->type()) {
        case JsonNodeType::Object:
            return Type::Object;
        case JsonNodeType::Array:
            return Type::Array;
        case JsonNodeType::String:
            return Type::String;
        case JsonNodeType::Number:
            return Type::Number;
        case JsonNodeType::Boolean:
            return node->value().toBool() ? Type::True : Type::False;
        default:
            return Type::Null;
        }
    }
    yyjson_val *parsed = value.parsedValue();
    switch (yyjson_get_type(parsed)) {
    case YYJSON_TYPE_OBJ:
        return Type::Object;
    case YYJSON_TYPE_ARR:
        return Type::Array;
    case YYJSON_TYPE_STR:
        return Type::String;
    case YYJSON_TYPE_NUM:
    case YYJSON_TYPE_RAW:
        return Type::Number;
    case YYJSON_TYPE_BOOL:
        return yyjson_is_true(parsed) ? Type::True : Type::False;
    default:
        return Type::Null;
    }
}

qsizetype QueryValueReader::childCount(const QueryValue &value)
{
    if (const JsonNode *node = value.madeNode())
        return node->isContainer() ? node->childCount() : 0;
    return yyjson_is_ctn(value.parsedValue()) ? qsizetype(yyjson_get_len(value.parsedValue())) : 0;
}

QueryValue QueryValueReader::element(const QueryValue &array, qsizetype index)
{
    JsonNode *node = array.madeNode();
    yyjson_val *parsed = node ? ParsedDocument::unmadeValue(node) : array.parsedValue();
    if (!parsed)
        return QueryValue(node->child(int(index)));
    yyjson_val *child = yyjson_arr_get(parsed, size_t(index));
    if (!child)
        return {};
    return QueryValue(array.anchor(), node ? parsed : array.container(), child);
}

QByteArray QueryValueReader::text(const QueryValue &value)
{
    if (const JsonNode *node = value.madeNode())
        return node->value().toString().toUtf8();
    // The document outlives every use of the text: no copy.
    yyjson_val *parsed = value.parsedValue();
    return QByteArray::fromRawData(yyjson_get_str(parsed), qsizetype(yyjson_get_len(parsed)));
}

QueryNumber QueryValueReader::number(const QueryValue &value)
{
    if (const JsonNode *node = value.madeNode()) {
        const QVariant &number = node->value();
        switch (number.typeId()) {
        case QMetaType::LongLong:
            return QueryNumber::fromInteger(number.toLongLong());
        case QMetaType::ULongLong:
            return QueryNumber::fromUnsigned(number.toULongLong());
        case QMetaType::QString: // the digits of an integer beyond 64 bits
            return QueryNumber::fromText(number.toString().toLatin1());
        default:
            return QueryNumber::fromDouble(number.toDouble());
        }
    }
    yyjson_val *parsed = value.parsedValue();
    if (yyjson_is_raw(parsed))
        return QueryNumber::fromText(
                QByteArrayView(yyjson_get_raw(parsed), qsizetype(yyjson_get_len(parsed))));
    if (yyjson_is_uint(parsed))
        return QueryNumber::fromUnsigned(yyjson_get_uint(parsed));
    if (yyjson_is_sint(parsed))
        return QueryNumber::fromInteger(yyjson_get_sint(parsed));
    return QueryNumber::fromDouble(yyjson_get_real(parsed));
}

bool QueryValueReader::equal(const QueryValue &a, const QueryValue &b)
{
    const Type type = QueryValueReader::type(a);
    if (type != QueryValueReader::type(b))
        return false;
    switch (type) {
    case Type::Number:
        return QueryNumber::compare(number(a), number(b)) == 0;
    case Type::String:
        return text(a) == text(b);
    case Type::Array: {
        if (childCount(a) != childCount(b))
            return false;
        ChildCursor left(a);
        for (ChildCursor right(b); !left.atEnd(); left.next(), right.next()) {
            if (!equal(left.value(), right.value()))
                return false;
        }
        return true;
    }
    case Type::Object: {
        if (childCount(a) != childCount(b))
            return false;
        for (ChildCursor left(a); !left.atEnd(); left.next()) {
            const QByteArray name = left.name();
            const QString key = QString::fromUtf8(name);
            ChildCursor right(b);
            while (!right.atEnd() && !right.hasName(key, name))
                right.next();
            if (right.atEnd() || !equal(left.value(), right.value()))
                return false;
        }
        return true;
    }
    default:
        return true;
    }
}
