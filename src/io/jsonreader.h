#pragma once

#include <QByteArrayView>
#include <QCoreApplication>

#include "io/parseddocument.h"

#include <functional>
#include <memory>

class JsonNode;

// Turns JSON text into a detached node tree: strict JSON, JSON Lines or JSON
// with comments. It knows the node tree only: whoever asked for the tree
// decides what to do with it.
class JsonReader
{
    Q_DECLARE_TR_FUNCTIONS(JsonReader)

public:
    // Containers nested deeper than this are refused: the tree itself never
    // recurses, but views and their layouts do.
    static constexpr int maxDepth = 10000;

    // How a file's text is read: strict JSON; JSON Lines, one value per
    // non-blank line, read as the array of them; or JSON with `//` and
    // `/* */` comments and trailing commas, which are dropped.
    enum class Format { Json, JsonLines, JsonWithComments };
    // The format a file's name asks for: JSON Lines for ".jsonl" and
    // ".ndjson", JSON with comments for ".jsonc", JSON for any other.
    static Format formatForPath(const QString &path);

    // Parses one JSON value (UTF-8 without byte-order mark). Returns the tree,
    // its top node keyed with the empty string, or null when the text does not
    // parse; then *error holds the reason with its line and column.
    static std::unique_ptr<JsonNode> parse(QByteArrayView utf8, QString *error);

    // The tree of a file's content, read as it is (no text mode) in the
    // format its name asks for, with the top-level node made and the rest
    // left unmade (ParsedDocument). Null when the file cannot be read, with
    // *readError giving the system's reason, or when its text does not
    // parse, with *parseError saying why and where.
    static std::unique_ptr<JsonNode> readFile(const QString &path, QString *parseError,
                                              QString *readError);

    // Told how many bytes of how many were read (0 when the size is
    // unknown); false cancels the read.
    using Progress = std::function<bool(qint64 read, qint64 size)>;
    // What readFile() reads and parses, in `format`, without making any
    // node, so that it may run on any thread. Null when cancelled, with both
    // errors empty. When a JSON file does not parse but would with comments
    // and trailing commas allowed, *readsWithComments is set.
    static std::unique_ptr<ParsedDocument> parseFile(const QString &path, Format format,
                                                     QString *parseError, QString *readError,
                                                     bool *readsWithComments = nullptr,
                                                     const Progress &progress = {});

private:
    // Why a file's bytes, or a UTF-8 text, make no document, with where;
    // made without making nodes.
    static QString diagnose(QByteArrayView bytes, Format format);
    static QString faultOf(QByteArrayView utf8, Format format = Format::Json);
    // For JSON Lines: the fault of the first line that is no JSON value.
    static QString lineFault(QByteArrayView utf8);
    // Whether the text makes no document, and then why (*reason) and where
    // (*position).
    static bool findFault(QByteArrayView utf8, Format format, size_t *position, QString *reason);
    // The reason followed by the line and column (counted in characters, from 1)
    // of the byte at `position`.
    static QString describeFault(QByteArrayView utf8, size_t position, const QString &reason);
};
