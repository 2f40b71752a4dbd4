#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QStringEncoder>

#include <array>
#include <functional>

class JsonNode;
struct yyjson_alc;
struct yyjson_mut_doc;
struct yyjson_mut_val;

// Turns a node and its subtree into JSON text through yyjson mutable
// documents. yyjson formats every value, key and separator; a large container
// is written as batches of its children, each batch a small document of its
// own, so memory stays small and warm however large the tree.
class JsonWriter
{
    Q_DECLARE_TR_FUNCTIONS(JsonWriter)

public:
    // Takes the text piece by piece; false stops the writer.
    using Sink = std::function<bool(QByteArrayView)>;

    // The node written alone as a complete JSON text in UTF-8, indented by four
    // spaces or compact, handed to `sink` in pieces that each end between two
    // values (never inside a character). False when the sink refused a piece
    // or the writer failed, as it does for a number that is NaN or infinite.
    static bool write(const JsonNode *node, bool pretty, const Sink &sink);

    // The same text as a string; empty when the writer failed. A null node
    // stands for the empty document, written as "{}".
    static QString toText(const JsonNode *node, bool pretty);

    // Writes the text to a temporary file that replaces the one at `path` only
    // when every byte is out, so a failed save (the writer's or the disk's)
    // leaves the file as it was; then *error says why.
    static bool writeFile(const QString &path, const JsonNode *node, bool pretty, QString *error);

private:
    JsonWriter(bool pretty, const Sink &sink);

    // Why the tree has no JSON text: its first number that is NaN or infinite.
    static QString unwritableNumber(const JsonNode *top);
    ~JsonWriter();

    Q_DISABLE_COPY_MOVE(JsonWriter)

    bool writeTree(const JsonNode *top);
    bool writeAlone(const std::function<yyjson_mut_val *(yyjson_mut_doc *)> &value);
    bool writeBatch(const JsonNode *container, int first, int end, int depth);
    bool writeDocument(yyjson_mut_doc *doc, yyjson_mut_val *root, qsizetype trim, int depth);
    bool flushIfFull();
    void separate(bool &first);
    void indent(int depth);

    yyjson_mut_val *convert(const JsonNode *node, yyjson_mut_doc *doc);
    yyjson_mut_val *shallowValue(const JsonNode *node, yyjson_mut_doc *doc);
    yyjson_mut_doc *newDocument();
    yyjson_mut_val *keyString(yyjson_mut_doc *doc, const QString &key);
    yyjson_mut_val *copiedString(yyjson_mut_doc *doc, const QString &text);

    const bool pretty;
    const Sink &sink;
    // Text not yet handed to the sink.
    QByteArray text;
    yyjson_alc *allocator;
    QStringEncoder encoder;
    QByteArray scratch;

    // Counts the documents made, so that a cached key is used only in its own.
    quint64 generation = 0;
    struct CachedKey
    {
        quint64 generation = 0;
        const QChar *data = nullptr;
        qsizetype size = 0;
        const char *utf8 = nullptr;
        size_t length = 0;
    };
    std::array<CachedKey, 256> keyCache;
};
