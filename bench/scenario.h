#pragma once

#include <QList>
#include <QString>

// What one scenario measured in its worker process.
struct ScenarioResult
{
    // The timed part, once per run.
    QList<double> timesMs;
    // Only where the scenario holds a whole document: its number of JSON
    // values, and the memory that document keeps once open.
    qint64 values = -1;
    qint64 heldBytes = -1;
    // Failures end the worker with this message.
    QString error;
};

// A named measurement: an untimed setup, then `runs` timings of the part that
// counts, on the document at `path`.
struct Scenario
{
    using Function = void (*)(const QString &path, int runs, ScenarioResult &result);

    QString name;
    // A program to compare with, rather than Marbletrellis itself.
    bool peer;
    // Needs a QApplication (the main window, the clipboard) rather than a
    // QCoreApplication.
    bool needsWidgets;
    // Times an opening, which is measured in a fresh process each run: a
    // later run in the same process would reuse memory the document before it
    // left behind, which a user's first opening never finds.
    bool coldStart;
    Function run;
};

// Every scenario in the order of the table: ours first, then the peers.
const QList<Scenario> &allScenarios();
const Scenario *findScenario(const QString &name);
