#include "jsontext.h"

namespace {

const char hexDigits[] = "0123456789abcdef";

QByteArray fixedPoint(qint64 units, int digits)
{
    const bool negative = units < 0;
    QByteArray magnitude = QByteArray::number(negative ? -units : units);
    if (magnitude.size() <= digits)
        magnitude.prepend(QByteArray(digits + 1 - magnitude.size(), '0'));
    QByteArray text = magnitude.left(magnitude.size() - digits);
    QByteArray fraction = magnitude.right(digits);
    while (fraction.size() > 1 && fraction.endsWith('0'))
        fraction.chop(1);
    text += '.' + (fraction.isEmpty() ? QByteArray("0") : fraction);
    return negative ? '-' + text : text;
}

} // namespace

JsonText::JsonText(QByteArray &out, bool asciiOnly)
    : out(out)
    , asciiOnly(asciiOnly)
{
}

void JsonText::beginValue()
{
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (!empty.isEmpty()) {
        if (!empty.back())
            out += ',';
        empty.back() = false;
    }
}

void JsonText::beginObject()
{
    beginValue();
    out += '{';
    empty.append(true);
}

void JsonText::endObject()
{
    empty.removeLast();
    out += '}';
}

void JsonText::beginArray()
{
    beginValue();
    out += '[';
    empty.append(true);
}

void JsonText::endArray()
{
    empty.removeLast();
    out += ']';
}

void JsonText::key(std::string_view name)
{
    beginValue();
    quoted(name);
    out += ':';
    afterKey = true;
}

void JsonText::string(std::string_view utf8)
{
    beginValue();
    quoted(utf8);
}

void JsonText::integer(qint64 value)
{
    beginValue();
    out += QByteArray::number(value);
}

void JsonText::decimal(qint64 units, int digits)
{
    beginValue();
    out += fixedPoint(units, digits);
}

void JsonText::scientific(qint64 units, int digits, int exponent)
{
    beginValue();
    out += fixedPoint(units, digits) + 'e' + QByteArray::number(exponent);
}

void JsonText::boolean(bool value)
{
    beginValue();
    out += value ? "true" : "false";
}

void JsonText::null()
{
    beginValue();
    out += "null";
}

void JsonText::escapeCodeUnit(uint unit)
{
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hexDigits[(unit >> shift) & 0xf];
}

void JsonText::quoted(std::string_view utf8)
{
    out += '"';
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = uchar(utf8[i]);
        switch (byte) {
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        case '\b':
            out += "\\b";
            continue;
        case '\f':
            out += "\\f";
            continue;
        default:
            break;
        }
        if (byte < 0x20) {
            escapeCodeUnit(byte);
        } else if (byte < 0x80 || !asciiOnly) {
            out += char(byte);
        } else {
            // The word lists hold valid UTF-8 only.
            const int length = byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : 2;
            uint codePoint = byte & (0x7f >> length);
            for (int k = 1; k < length; ++k)
                codePoint = (codePoint << 6) | (uchar(utf8[i + size_t(k)]) & 0x3f);
            i += size_t(length - 1);
            if (codePoint >= 0x10000) {
                codePoint -= 0x10000;
                escapeCodeUnit(0xd800 + (codePoint >> 10));
                escapeCodeUnit(0xdc00 + (codePoint & 0x3ff));
            } else {
                escapeCodeUnit(codePoint);
            }
        }
    }
    out += '"';
}
