#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// A number as a query compares it: by value, an integer exactly however many
// digits it has, a number written with a fraction or an exponent exactly as
// written, and a number the document holds as a double as that double.
class QueryNumber
{
public:
    QueryNumber() = default;
    static QueryNumber fromInteger(qint64 value);
    static QueryNumber fromUnsigned(quint64 value);
    static QueryNumber fromDouble(double value);
    // `text` is a number as JSON writes it (an optional "-", digits, an
    // optional fraction and exponent); kept exactly.
    static QueryNumber fromText(QByteArrayView text);

    // -1, 0 or 1 as `a` is less than, equal to or greater than `b`. A double
    // equals an exact number that rounds to it: the document's 0.1 is the
    // query's 0.1. Rounding keeps the order, so the order stays consistent.
    static int compare(const QueryNumber &a, const QueryNumber &b);

private:
    enum class Kind { Integer, Decimal, Double };

    // The exact decimal value: 0.<m_digits> * 10^m_exponent, the digits
    // without leading or trailing zeros (none for zero).
    static int compareDecimal(const QueryNumber &a, const QueryNumber &b);
    // The text as an exact decimal, never turned into an integer.
    static QueryNumber exactDecimal(QByteArrayView text);
    QueryNumber decimal() const;

    Kind m_kind = Kind::Integer;
    qint64 m_integer = 0;
    // The nearest double, for every kind.
    double m_double = 0;
    bool m_negative = false;
    QByteArray m_digits;
    qint64 m_exponent = 0;
};
