#pragma once

#include "io/cdeleter.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QStringEncoder>

#include <array>
#include <functional>

class JsonNode;
class QIODevice;

// Turns a node and its subtree into JSON text through yyjson mutable
// documents. yyjson formats every value, key and separator; a large container
// is written as batches of its children, each batch a small document of its
// own, so memory use stays small and cache-friendly however large the tree.
class JsonWriter
{
    Q_DECLARE_TR_FUNCTIONS(JsonWriter)

public:
    // Receives the output in chunks; returning false aborts the write.
    using Sink = std::function<bool(QByteArrayView)>;
    // Told, after each chunk, how many of the top-level value's items were
    // written, of how many; returning false cancels the write.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // Writes the node alone as a complete JSON text in UTF-8, indented by four
    // spaces or compact, passed to `sink` in chunks that each end between two
    // values (never inside a character). Returns false when the sink rejects a
    // chunk or writing fails, as it does for a number that is NaN or infinite.
    static bool write(const JsonNode *node, bool pretty, const Sink &sink,
                      const Progress &progress = {});

    // The same text as a string; empty when writing failed. A null node
    // stands for the empty document, written as "{}".
    static QString toText(const JsonNode *node, bool pretty);

    // Writes the text to a temporary file that replaces the one at `path` only
    // when every byte is written, so a failed save (the writer's or the disk's)
    // leaves the file unchanged; *error then holds the reason, and is empty
    // when `progress` cancelled the write.
    static bool writeFile(const QString &path, const JsonNode *node, bool pretty, QString *error,
                          const Progress &progress = {});

    // Writes the text to an open device; false with *error saying why when
    // the device took less than all of it or the writer failed.
    static bool writeDevice(QIODevice *device, const JsonNode *node, bool pretty, QString *error,
                            const Progress &progress = {});

    // The elements of an array as JSON Lines: each compact, each on a line
    // of its own ended by "\n". Passed to `sink` as write() passes its text.
    static bool writeLines(const JsonNode *array, const Sink &sink, const Progress &progress = {});
    // writeFile() for JSON Lines.
    static bool writeLinesFile(const QString &path, const JsonNode *array, QString *error,
                               const Progress &progress = {});

private:
    JsonWriter(bool pretty, const Sink &sink, const Progress &progress);

    // The error message for a tree that cannot be written: it names the first
    // number that is NaN or infinite.
    static QString unwritableNumber(const JsonNode *top);

    Q_DISABLE_COPY_MOVE(JsonWriter)

    using TextWriter = std::function<bool(const Sink &, const Progress &)>;
    // Writes with `writeDevice` into a file that replaces the one at `path`
    // only once all of it is written.
    static bool saveFile(const QString &path, QString *error,
                         const std::function<bool(QIODevice *)> &writeDevice);
    // Passes the text `write` makes to the device, with the device's or the
    // writer's reason in *error when it fails.
    static bool writeTo(QIODevice *device, const JsonNode *node, const TextWriter &write,
                        QString *error, const Progress &progress);
    bool writeTree(const JsonNode *top);
    bool writeAlone(const std::function<yyjson_mut_val *(yyjson_mut_doc *)> &value);
    bool writeBatch(const JsonNode *container, int first, int end, int depth);
    bool writeDocument(yyjson_mut_doc *doc, yyjson_mut_val *root, qsizetype trim, int depth);
    bool writeValue(yyjson_val *value, int depth);
    void appendIndented(QByteArrayView text, int depth, bool marginFirst);
    bool flushIfFull();
    void indent(int depth);

    yyjson_mut_val *convert(const JsonNode *node, yyjson_mut_doc *doc);
    yyjson_mut_val *shallowValue(const JsonNode *node, yyjson_mut_doc *doc);
    CPointer<yyjson_mut_doc> newDocument();
    yyjson_mut_val *keyString(yyjson_mut_doc *doc, const QString &key);
    yyjson_mut_val *copiedString(yyjson_mut_doc *doc, const QString &text);

    const bool m_pretty;
    // JSON Lines: the top-level array's values one per line.
    bool m_lines = false;
    const Sink &m_sink;
    const Progress &m_progress;
    // The top-level value's items written so far, and their number.
    qint64 m_topDone = 0;
    qint64 m_topTotal = 0;
    // Output not yet passed to the sink.
    QByteArray m_text;
    const CPointer<yyjson_alc> m_allocator;
    QStringEncoder m_encoder;
    QByteArray m_scratch;

    // Counts the documents created, so that a cached key is reused only in the
    // document it was copied into.
    quint64 m_generation = 0;
    struct CachedKey
    {
        quint64 generation = 0;
        const QChar *data = nullptr;
        const char *utf8 = nullptr;
        size_t length = 0;
    };
    std::array<CachedKey, 256> m_keyCache;
};
