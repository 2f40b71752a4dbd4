#include "document/fileopening.h"

#include "io/jsonreader.h"

#include <QThread>

#include <atomic>

// Shared by the opening and its thread; whichever lets go last frees it.
struct FileOpening::State
{
    std::atomic<bool> cancelled {false};
    std::atomic<bool> finished {false};
    std::atomic<qint64> read {0};
    std::atomic<qint64> size {0};
    // Written by the thread before `finished` is set, read after.
    std::unique_ptr<ParsedDocument> parsed;
    QString parseError;
    QString readError;
    bool readsWithComments = false;
};

FileOpening::FileOpening(const QString &path)
    : FileOpening(path, JsonReader::formatForPath(path))
{
}

FileOpening::FileOpening(const QString &path, JsonReader::Format format)
    : m_path(path)
    , m_state(std::make_shared<State>())
{
    QThread *thread = QThread::create([state = m_state, path, format] {
        const auto progress = [&state](qint64 read, qint64 size) {
            state->read = read;
            state->size = size;
            return !state->cancelled;
        };
        state->parsed = JsonReader::parseFile(path, format, &state->parseError, &state->readError,
                                              &state->readsWithComments, progress);
        state->finished = true;
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

FileOpening::~FileOpening()
{
    cancel();
}

void FileOpening::cancel()
{
    m_state->cancelled = true;
}

bool FileOpening::isFinished() const
{
    return m_state->finished;
}

qint64 FileOpening::bytesRead() const
{
    return m_state->read;
}

qint64 FileOpening::size() const
{
    return m_state->size;
}

std::unique_ptr<ParsedDocument> FileOpening::takeParsed()
{
    return isFinished() ? std::move(m_state->parsed) : nullptr;
}

QString FileOpening::parseError() const
{
    return isFinished() ? m_state->parseError : QString();
}

QString FileOpening::readError() const
{
    return isFinished() ? m_state->readError : QString();
}

bool FileOpening::readsWithComments() const
{
    return isFinished() && m_state->readsWithComments;
}
