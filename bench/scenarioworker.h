#pragma once

#include <QJsonObject>
#include <QList>

struct Scenario;
class QString;

// The worker side: one scenario in a process of its own, so that its peak
// memory is its own and no run inherits the heap of another.
namespace ScenarioWorker {

// Runs the scenario and returns its report: the times of the runs, their
// median, the peak resident memory at the end, and where the scenario holds a
// whole document its value count and the heap it keeps. Holds "error" on
// failure.
QJsonObject run(const Scenario &scenario, const QString &path, int runs);

double median(QList<double> values);

} // namespace ScenarioWorker
