#pragma once

#include <QByteArrayView>
#include <QCoreApplication>

#include "io/parseddocument.h"

#include <functional>
#include <memory>

class JsonNode;

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
    static std::unique_ptr<JsonNode> parse(QByteArrayView utf8, QString *error);

    // The tree of a file's content, read as it is (no text mode), with the
    // top-level node made and the rest left unmade (ParsedDocument). Null
    // when the file cannot be read, with *readError giving the system's
    // reason, or when its text does not parse, with *parseError saying why
    // and where.
    static std::unique_ptr<JsonNode> readFile(const QString &path, QString *parseError,
                                              QString *readError);

    // Told how many bytes of how many were read (0 when the size is
    // unknown); false cancels the read.
    using Progress = std::function<bool(qint64 read, qint64 size)>;
    // What readFile() reads and parses, without making any node, so that it
    // may run on any thread. Null when cancelled, with both errors empty.
    static std::unique_ptr<ParsedDocument> parseFile(const QString &path, QString *parseError,
                                                     QString *readError,
                                                     const Progress &progress = {});

private:
    // Why a file's bytes, or a UTF-8 text, make no document, with where;
    // made without making nodes.
    static QString diagnose(QByteArrayView bytes);
    static QString faultOf(QByteArrayView utf8);
    // The reason followed by the line and column (counted in characters, from 1)
    // of the byte at `position`.
    static QString describeFault(QByteArrayView utf8, size_t position, const QString &reason);
};
