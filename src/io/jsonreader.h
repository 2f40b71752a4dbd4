#pragma once

#include <QByteArrayView>
#include <QCoreApplication>

class JsonNode;
struct yyjson_val;

// Turns strict JSON text into a detached node tree. It knows the node tree
// only: whoever asked for the tree decides what to do with it.
class JsonReader
{
    Q_DECLARE_TR_FUNCTIONS(JsonReader)

public:
    // Containers nested deeper than this are refused: the tree itself never
    // recurses, but views and their layouts do.
    static constexpr int maxDepth = 10000;

    // Parses one JSON value (UTF-8 without byte-order mark). Returns the tree,
    // its top node keyed with the empty string, or null when the text does not
    // parse; then *error holds the reason with its line and column.
    static JsonNode *parse(QByteArrayView utf8, QString *error);

    // The tree of a file's content, read as it is (no text mode). Null when
    // the file cannot be read, with *error left empty, or when its text does
    // not parse, with *error saying why and where.
    static JsonNode *readFile(const QString &path, QString *error);

    // A detached subtree built from a parsed value, its top node keyed `key`;
    // null when the value nests deeper than maxDepth or holds a raw number
    // that is no integer.
    static JsonNode *buildTree(yyjson_val *value, const QString &key);

private:
    // The reason followed by the line and column (counted in characters, from 1)
    // of the byte at `position`.
    static QString describeFault(QByteArrayView utf8, size_t position, const QString &reason);
};
