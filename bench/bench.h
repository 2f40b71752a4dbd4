#pragma once

#include <QList>
#include <QString>

#include <functional>

// Writes a benchmark document: one top-level array of compact records, one
// record per line, dense in values, the worst case for a tree of nodes, up to
// targetBytes. Records mix objects, arrays, text in many scripts with escapes,
// small and 64-bit integers, decimals, booleans and nulls, nested up to eight
// levels (the top array counting as one). About one record in eight is
// written in ASCII only, so both raw UTF-8 and \u escapes (surrogate pairs
// included) occur. The same seed and size give the same bytes everywhere.
bool generateDocument(const QString &path, qint64 targetBytes, quint64 seed, QString *error);

// The key every record starts with.
constexpr char recordIdKey[] = "id";

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

// The worker: runs the scenario in this process and prints one line, the
// milliseconds of each run, its peak memory (VmHWM) and the memory held per
// JSON value (-1 when not measured); on failure, the reason on stderr.
int runScenario(const Scenario &scenario, const QString &path, int runs, int &argc, char **argv);
