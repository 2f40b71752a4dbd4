#pragma once

#include <QList>
#include <QString>

#include <functional>

// Writes a benchmark document of about targetBytes: a top-level array of
// compact records, one per line, dense in values (the worst case for a tree of
// nodes), nested up to eight levels, text in many scripts with escapes, one
// record in eight in ASCII only with \u escapes. The same seed and size give
// the same bytes everywhere.
bool generateDocument(const QString &path, qint64 targetBytes, quint64 seed, QString *error);

// The documents of fixed size that some scenarios take instead of the sized
// ones: an object whose one member holds 200,000 numbers, an object with one
// member whose key is 7,000,000 characters long, and an array of 1,000,000
// numbers two levels down, where an opening leaves it collapsed.
constexpr char pasteDocument[] = "paste-200k.json";
constexpr char longKeyDocument[] = "long-key-7mb.json";
constexpr char millionDocument[] = "million-array.json";
// The bytes of the fixed document of that file name; empty for another name.
QByteArray fixedDocument(const QString &name);

// A named measurement: its setup, untimed and once per worker process, makes
// its run, which returns the milliseconds of the part that counts.
struct Scenario
{
    // A Window needs widgets; a Peer runs without the program's own set-up.
    enum Kind { Model, Window, Peer };

    const char *name;
    Kind kind;
    // An opening gets a fresh process every run: a later run would reuse the
    // memory a document before it left, which a user's first opening never finds.
    bool coldStart;
    std::function<double()> (*setup)(const QString &path);
    // The fixed document it runs on once, whatever the sizes; none: each size.
    const char *document = nullptr;
};

// Ours, then the peers: the order of the report.
QList<Scenario> allScenarios();

// The worker prints the milliseconds of each run, its peak memory (VmHWM) and
// the memory held per JSON value or -1; on failure, the reason on stderr.
int runScenario(const Scenario &scenario, const QString &path, int runs, int &argc, char **argv);
