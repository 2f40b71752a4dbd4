#pragma once

#include <QList>
#include <QString>

#include <functional>

// A named measurement: its setup, untimed and once per worker process, makes
// its run, which returns the milliseconds of the part that counts.
struct Scenario
{
    // A Window needs widgets; a Peer runs without the program's own set-up.
    enum Kind { Model, Window, Peer };

    const char *name;
    Kind kind;
    // Times an opening, which gets a fresh process every run: a later run in
    // the same process would reuse memory the document before it left behind,
    // which a user's first opening never finds.
    bool coldStart;
    std::function<double()> (*setup)(const QString &path);
};

// Ours, then the peers: the order of the report.
QList<Scenario> allScenarios();

// The worker: runs the scenario in this process and prints one line, its
// peak memory (VmHWM), value count and held bytes (-1 when not measured),
// then the milliseconds of each run; on failure, the reason on stderr.
int runScenario(const Scenario &scenario, const QString &path, int runs, int &argc, char **argv);
