#pragma once

#include <QByteArrayView>
#include <QCoreApplication>

class JsonNode;

// Turns strict JSON text into a detached node tree.
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

    // Whether containers in the text, taken as JSON, nest deeper than maxDepth.
    static bool nestsTooDeep(QByteArrayView utf8);

private:
    // The reason followed by the line and column (counted in characters, from 1)
    // of the byte at `position`.
    static QString describeFault(QByteArrayView utf8, size_t position, const QString &reason);
};
