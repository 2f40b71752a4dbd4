#pragma once

#include "io/jsonreader.h"

#include <QString>

#include <memory>

class ParsedDocument;

// Reads and parses a file on a thread of its own, so that the window keeps
// painting while a large file opens. It makes no node: the document adopts
// the result (JsonDocument::adoptFile) on its own thread.
//
// Cancelling, or destroying the opening before it finished, leaves the
// thread to end alone, as soon as it notices or its parser returns, and
// drops what it read.
class FileOpening
{
public:
    // Reads the file in `format`; by default, the one its name asks for.
    explicit FileOpening(const QString &path);
    FileOpening(const QString &path, JsonReader::Format format);
    ~FileOpening();

    Q_DISABLE_COPY_MOVE(FileOpening)

    const QString &path() const { return m_path; }
    void cancel();
    bool isFinished() const;
    // The bytes read so far, of the file's size (0 when it tells none).
    qint64 bytesRead() const;
    qint64 size() const;

    // Once finished: the parsed file, taken once; null when it could not be
    // read or parsed, and then one of the errors says why.
    std::unique_ptr<ParsedDocument> takeParsed();
    QString parseError() const;
    QString readError() const;
    // Whether a JSON file that did not parse would with comments and
    // trailing commas allowed.
    bool readsWithComments() const;

private:
    struct State;

    QString m_path;
    std::shared_ptr<State> m_state;
};
