#pragma once

#include <QString>

#include <memory>

class JsonNode;

// Reads clipboard text the way Paste takes it: a member ("key": value), any
// other JSON text, or plain text. Every text is parsed
// once, by the reader and within the limits that loading a file has.
class PasteParser
{
public:
    enum class Kind { KeyValue, Json, Text };

    struct Result
    {
        Kind kind = Kind::Text;
        // The member's name, for KeyValue only.
        QString key;
        // The parsed value keyed with the empty string, or for Text a String
        // node holding the whole text.
        std::unique_ptr<JsonNode> node;
    };

    // `text` comes trimmed, as Paste reads it.
    static Result parse(const QString &text);

    // The member form as Copy writes it, without its value check: a whole
    // JSON string, ": ", then the value's text. The key is decoded, whatever
    // characters it holds.
    static bool splitQuotedKey(const QString &text, QString &key, QString &valueText);

    // The member form typed by hand, tried when the first does not hold: the
    // text splits at its first ": ", the key loses one pair of enclosing
    // quotation marks (nothing is unescaped) and holds no '{' or '['.
    static bool splitKeyValue(const QString &text, QString &key, QString &valueText);

    // The text as JSON; null when it does not parse or nests too deep.
    static std::unique_ptr<JsonNode> parseJson(const QString &text);
};
