#pragma once

#include <QString>
#include <QStringList>

struct Measurement;
class ResultTable;

// The driver side: makes the documents it lacks, runs every scenario on every
// size in a worker process of its own, and prints one table.
struct Scenario;

class BenchDriver
{
public:
    struct Options
    {
        QString dataFolder;
        QStringList sizes;
        QStringList scenarios;
        int runs = 5;
        // For the documents of 500 MB and more.
        int largeRuns = 3;
        quint64 seed = 1;
        bool markdown = false;
    };

    explicit BenchDriver(const Options &options);

    // The exit code: 0 when every scenario ran.
    int run();

    // The document of that size ("small" or megabytes) in the data folder,
    // generated first when it is missing. Empty, with *error set, on failure.
    static QString document(const QString &folder, const QString &size, quint64 seed,
                            QString *error);
    static qint64 targetBytes(const QString &size);

private:
    Measurement measure(const Scenario &scenario, const QString &path, int runs) const;
    Measurement runWorker(const QString &scenario, const QString &path, int runs) const;

    Options options;
};
