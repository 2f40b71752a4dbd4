#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <functional>
#include <stdexcept>

// What a worker process found besides its times: for the scenarios that hold
// a whole document, its number of JSON values and the memory it keeps.
struct WorkerFindings
{
    qint64 values = -1;
    qint64 heldBytes = -1;
};

// One run of a scenario, its untimed parts included; returns the time in
// milliseconds of the part that counts.
using ScenarioRun = std::function<double()>;

// A named measurement: an untimed setup, once per process, that makes the
// run. Setups and runs throw ScenarioFailure when something goes wrong.
struct Scenario
{
    enum Kind {
        Model, // the document model alone, in a QCoreApplication
        Window, // the main window, in a BenchApplication
        Peer, // a program to compare with, set up as it comes
    };

    const char *name;
    Kind kind;
    // Times an opening, which gets a fresh process every run: a later run in
    // the same process would reuse memory the document before it left behind,
    // which a user's first opening never finds.
    bool coldStart;
    ScenarioRun (*setup)(const QString &path, WorkerFindings &findings);
};

struct ScenarioFailure : std::runtime_error
{
    explicit ScenarioFailure(const QString &why)
        : std::runtime_error(why.toStdString())
    {
    }
};

// The tables, each in the order of the report.
QList<Scenario> ownScenarios();
QList<Scenario> peerScenarios();

template<typename Timed> double timeMs(Timed &&timed)
{
    QElapsedTimer timer;
    timer.start();
    timed();
    return double(timer.nsecsElapsed()) / 1e6;
}

QByteArray readWholeFile(const QString &path);
// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"); -1 when unknown.
qint64 memoryStatus(const char *field);
