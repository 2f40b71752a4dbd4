#pragma once

#include "query/querynumber.h"
#include "query/queryvalue.h"

#include <QByteArray>
#include <QString>

// Reads a QueryValue, made or parsed alike, and never makes a node.
class QueryValueReader
{
public:
    enum class Type { Object, Array, String, Number, True, False, Null };

    // The children of an object or an array in their order, one at a time.
    class ChildCursor
    {
    public:
        explicit ChildCursor(const QueryValue &container);
        bool atEnd() const { return m_row >= m_count; }
        void next();
        QueryValue value() const;
        qsizetype row() const { return m_row; }
        // A member's name, in UTF-8.
        QByteArray name() const;
        bool hasName(const QString &name, const QByteArray &utf8) const;

    private:
        JsonNode *m_node; // the made container, or the anchor of parsed values
        yyjson_val *m_container = nullptr;
        yyjson_val *m_child = nullptr; // the current parsed child
        bool m_isObject = false;
        qsizetype m_row = 0;
        qsizetype m_count = 0;
    };

    static Type type(const QueryValue &value);
    static qsizetype childCount(const QueryValue &value);
    // An array's element; null when there is none.
    static QueryValue element(const QueryValue &array, qsizetype index);
    // A string's text in UTF-8 (whose byte order is the code points' order).
    static QByteArray text(const QueryValue &value);
    static QueryNumber number(const QueryValue &value);
    // Equality as a query compares: numbers by value, strings by code
    // points, arrays element by element, objects member by member in any order.
    static bool equal(const QueryValue &a, const QueryValue &b);
};
