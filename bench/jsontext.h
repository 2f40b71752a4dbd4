#pragma once

#include <QByteArray>
#include <QVarLengthArray>

#include <string_view>

// Appends compact JSON to a byte array, placing the commas itself. Strings
// are UTF-8; with asciiOnly every character beyond ASCII is written as a
// \uXXXX escape (a surrogate pair beyond the Basic Multilingual Plane).
class JsonText
{
public:
    JsonText(QByteArray &out, bool asciiOnly);

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);

    void string(std::string_view utf8);
    void integer(qint64 value);
    // units / 10^digits, written with its fraction digits (at least one).
    void decimal(qint64 units, int digits);
    // units / 10^digits * 10^exponent, in exponent form.
    void scientific(qint64 units, int digits, int exponent);
    void boolean(bool value);
    void null();

private:
    void beginValue();
    void quoted(std::string_view utf8);
    void escapeCodeUnit(uint unit);

    QByteArray &out;
    bool asciiOnly;
    // Per open container: whether it still has no element.
    QVarLengthArray<bool, 16> empty;
    bool afterKey = false;
};
