#include "query/querynumber.h"

#include <algorithm>
#include <charconv>
#include <cstring>

QueryNumber QueryNumber::fromInteger(qint64 value)
{
    QueryNumber number;
    number.m_integer = value;
    number.m_double = double(value);
    return number;
}

QueryNumber QueryNumber::fromUnsigned(quint64 value)
{
    if (value <= quint64(std::numeric_limits<qint64>::max()))
        return fromInteger(qint64(value));
    return fromText(QByteArray::number(value));
}

QueryNumber QueryNumber::fromDouble(double value)
{
    QueryNumber number;
    number.m_kind = Kind::Double;
    number.m_double = value;
    return number;
}

QueryNumber QueryNumber::fromText(QByteArrayView text)
{
    QueryNumber number = exactDecimal(text);
    // An integer of up to 18 digits, however written ("100", "1.0", "1e2"),
    // compares fastest as one.
    if (number.m_exponent >= number.m_digits.size() && number.m_exponent <= 18) {
        qint64 integer = 0;
        for (qint64 i = 0; i < number.m_exponent; ++i)
            integer = integer * 10 + (i < number.m_digits.size() ? number.m_digits[i] - '0' : 0);
        return fromInteger(number.m_negative ? -integer : integer);
    }
    return number;
}

QueryNumber QueryNumber::exactDecimal(QByteArrayView text)
{
    QueryNumber number;
    number.m_kind = Kind::Decimal;
    // from_chars, unlike strtod, ignores the locale; beyond the double's
    // range it fails, and the value is then infinite or zero.
    const char *first = text.data();
    const char *last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, number.m_double);
    Q_UNUSED(end)
    number.m_negative = text.startsWith('-');
    qsizetype i = number.m_negative ? 1 : 0;
    qint64 point = 0;
    bool inFraction = false;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            inFraction = true;
            continue;
        }
        if (text[i] == '0' && number.m_digits.isEmpty()) {
            if (inFraction)
                --point;
            continue;
        }
        number.m_digits += text[i];
        if (!inFraction)
            ++point;
    }
    // The exponent's sign and digits, after the "e" if there is one.
    qint64 exponent = 0;
    bool negativeExponent = false;
    for (++i; i < text.size(); ++i) {
        if (text[i] == '-' || text[i] == '+')
            negativeExponent = text[i] == '-';
        else // Beyond any double's range, a larger exponent changes nothing.
            exponent = std::min<qint64>(exponent * 10 + (text[i] - '0'), qint64(1) << 50);
    }
    if (negativeExponent)
        exponent = -exponent;
    while (number.m_digits.endsWith('0'))
        number.m_digits.chop(1);
    if (number.m_digits.isEmpty()) {
        number.m_negative = false;
        number.m_double = 0;
    }
    if (error == std::errc::result_out_of_range)
        number.m_double = exponent > 0 ? (number.m_negative ? -HUGE_VAL : HUGE_VAL) : 0.0;
    number.m_exponent = point + exponent;
    return number;
}

QueryNumber QueryNumber::decimal() const
{
    return m_kind == Kind::Integer ? exactDecimal(QByteArray::number(m_integer)) : *this;
}

int QueryNumber::compare(const QueryNumber &a, const QueryNumber &b)
{
    if (a.m_kind == Kind::Integer && b.m_kind == Kind::Integer)
        return a.m_integer < b.m_integer ? -1 : a.m_integer > b.m_integer;
    if (a.m_kind == Kind::Double || b.m_kind == Kind::Double)
        return a.m_double < b.m_double ? -1 : a.m_double > b.m_double;
    return compareDecimal(a.decimal(), b.decimal());
}

int QueryNumber::compareDecimal(const QueryNumber &a, const QueryNumber &b)
{
    const auto sign = [](const QueryNumber &n) {
        return n.m_digits.isEmpty() ? 0 : n.m_negative ? -1 : 1;
    };
    if (sign(a) != sign(b))
        return sign(a) < sign(b) ? -1 : 1;
    if (sign(a) == 0) // zeros written in any way
        return 0;
    int magnitude = a.m_exponent < b.m_exponent ? -1 : a.m_exponent > b.m_exponent ? 1 : 0;
    // Without trailing zeros, the longer of two digit strings that agree is larger.
    if (magnitude == 0)
        magnitude = std::clamp(a.m_digits.compare(b.m_digits), -1, 1);
    return sign(a) < 0 ? -magnitude : magnitude;
}
